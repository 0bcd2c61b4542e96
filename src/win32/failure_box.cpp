#include "win32/failure_box.h"

#include "core/error.h"
#include "form/startup_failure.h"
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

int showStartupFailure(const std::exception& failure, std::wstring_view executablePath) {
    const std::wstring_view module = executablePath.substr(executablePath.find_last_of(L"\\/") + 1);
    const std::wstring text = wideFromUtf8(startupFailureText(failure, utf8FromWide(module)));
    MessageBoxW(nullptr, text.c_str(), L"Application Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

}  // namespace geocalc::win32
