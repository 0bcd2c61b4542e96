#include "win32/failure_box.h"

#include "core/error.h"
#include "win32/wide_text.h"

namespace geocalc::win32 {

namespace {

std::wstring& title() {
    static std::wstring instance;
    return instance;
}

}  // namespace

void setApplicationTitle(const std::string& utf8Title) { title() = wideFromUtf8(utf8Title); }

const std::wstring& applicationTitle() { return title(); }

void showFailure(HWND owner, const std::exception& failure) {
    if (dynamic_cast<const SilentAbort*>(&failure)) return;
    const std::wstring text = wideFromAnsi(withClosingPeriod(failure.what()));
    MessageBoxW(owner, text.c_str(), title().c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace geocalc::win32
