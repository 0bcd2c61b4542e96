#include "win32/list_box_view.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/wide_text.h"

namespace geocalc::win32 {

ListBoxView::ListBoxView(HWND listBox, TextList& list, std::function<void(int)> select)
    : listBox_(listBox), list_(list), select_(std::move(select)) {
    TextList::Observer observer;
    observer.after = [this](const TextList::Change& change) {
        switch (change.kind) {
            case TextList::Change::Append: {
                const std::wstring text = wideFromAnsi(list_.at(change.index));
                SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
                widenFor(text);
                break;
            }
            case TextList::Change::Remove:
                SendMessageW(listBox_, LB_DELETESTRING, WPARAM(change.index), 0);
                measureAll();
                showSelection();
                break;
            case TextList::Change::Clear:
                SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
                measureAll();
                break;
            case TextList::Change::Select:
                showSelection();
                break;
        }
    };
    list_.setObserver(std::move(observer));
    SetWindowSubclass(listBox_, procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

ListBoxView::~ListBoxView() {
    RemoveWindowSubclass(listBox_, procedure, 0);
    list_.setObserver({});
}

int ListBoxView::textWidth(const std::wstring& text) const {
    const HDC dc = GetDC(listBox_);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(listBox_, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(listBox_, dc);
    constexpr int kMargin = 6;  // the room the list keeps round an entry's text
    return size.cx + kMargin;
}

void ListBoxView::widenFor(const std::wstring& text) {
    const int width = textWidth(text);
    if (width <= widest_) return;
    widest_ = width;
    SendMessageW(listBox_, LB_SETHORIZONTALEXTENT, WPARAM(widest_), 0);
}

void ListBoxView::measureAll() {
    widest_ = 0;
    for (int i = 0; i < list_.count(); ++i)
        widest_ = std::max(widest_, textWidth(wideFromAnsi(list_.at(i))));
    SendMessageW(listBox_, LB_SETHORIZONTALEXTENT, WPARAM(widest_), 0);
}

namespace {

void putOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

}  // namespace

LRESULT CALLBACK ListBoxView::procedure(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* view = reinterpret_cast<ListBoxView*>(self);
    if (message == WM_KEYDOWN && wParam == 'C' && GetKeyState(VK_CONTROL) < 0 && view->copier_) {
        const std::string copied = view->copier_(view->list_);
        if (!copied.empty()) putOnClipboard(listBox, wideFromAnsi(copied));
        return 0;
    }
    if (message == WM_SETFONT) {  // another screen's font: the entries measured again
        const LRESULT result = DefSubclassProc(listBox, message, wParam, lParam);
        view->measureAll();
        return result;
    }
    if (message == WM_CHAR) {
        const long long now = GetTickCount64();
        if (wParam == VK_BACK) {
            view->selectTyped(view->typeAhead_.backspace(view->list_, now));
            return 0;
        }
        if (wParam >= 0x20) {
            for (const char c : ansiFromUtf8(utf8FromWide(std::wstring(1, wchar_t(wParam))))) {
                view->selectTyped(view->typeAhead_.type(view->list_, c, now));
            }
            return 0;
        }
    }
    return DefSubclassProc(listBox, message, wParam, lParam);
}

void ListBoxView::selectTyped(int index) {
    if (index < 0) return;
    SendMessageW(listBox_, LB_SETCURSEL, WPARAM(index), 0);
    selectionChanged();
}

void ListBoxView::selectionChanged() {
    const LRESULT selected = SendMessageW(listBox_, LB_GETCURSEL, 0, 0);
    select_(selected == LB_ERR ? -1 : int(selected));
}

void ListBoxView::showSelection() {
    SendMessageW(listBox_, LB_SETCURSEL, WPARAM(list_.selectedIndex()), 0);  // -1 selects none
}

}  // namespace geocalc::win32
