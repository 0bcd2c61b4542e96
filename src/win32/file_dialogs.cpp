#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "win32/wide_text.h"

namespace geocalc::win32 {

namespace {

constexpr DWORD kPathRoom = 32768;  // the longest path Windows takes

// "Таблица даных (*.dat)" gives "Таблица даных (*.dat)\0*.dat\0": the
// pattern is what the parentheses hold.
std::wstring filterOf(const std::string& ansiFilter) {
    const std::wstring shown = wideFromAnsi(ansiFilter);
    const std::size_t open = shown.rfind(L'('), close = shown.rfind(L')');
    const std::wstring pattern = open != std::wstring::npos && close > open
                                     ? shown.substr(open + 1, close - open - 1)
                                     : L"*.*";
    std::wstring filter = shown;
    filter += L'\0';
    filter += pattern;
    filter += L'\0';
    return filter;
}

std::wstring filtersOf(const FileDialogSettings& settings) {
    std::wstring filters = filterOf(settings.filter);
    for (const std::string& more : settings.moreFilters) filters += filterOf(more);
    return filters;  // the string's own terminator ends the list
}

}  // namespace

std::optional<std::string> showFileDialog(HWND owner, const FileDialogSettings& settings) {
    const std::wstring filter = filtersOf(settings);
    const std::wstring suffix = wideFromUtf8(settings.defaultSuffix);
    std::vector<wchar_t> path(kPathRoom, L'\0');
    const std::wstring initial = wideFromUtf8(settings.fileName);
    if (initial.size() < path.size()) std::copy(initial.begin(), initial.end(), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathRoom;
    dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    // A typed name of a file that does not exist is taken.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (settings.confirmReplace ? OFN_OVERWRITEPROMPT : 0);
    const bool chosen = settings.kind == FileDialogSettings::Kind::Open
                            ? GetOpenFileNameW(&dialog) != 0
                            : GetSaveFileNameW(&dialog) != 0;
    if (!chosen) return std::nullopt;
    return utf8FromWide(path.data());
}

}  // namespace geocalc::win32
