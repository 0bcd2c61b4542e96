#include "win32/list_box_view.h"

#include <commctrl.h>

#include "win32/wide_text.h"

namespace geocalc::win32 {

ListBoxView::ListBoxView(HWND listBox, TextList& list, std::function<void(int)> select)
    : listBox_(listBox), list_(list), select_(std::move(select)) {
    TextList::Observer observer;
    observer.after = [this](const TextList::Change& change) {
        switch (change.kind) {
            case TextList::Change::Append:
                SendMessageW(listBox_, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(wideFromAnsi(list_.at(change.index)).c_str()));
                break;
            case TextList::Change::Remove:
                SendMessageW(listBox_, LB_DELETESTRING, WPARAM(change.index), 0);
                showSelection();
                break;
            case TextList::Change::Clear: SendMessageW(listBox_, LB_RESETCONTENT, 0, 0); break;
            case TextList::Change::Select: showSelection(); break;
        }
    };
    list_.setObserver(std::move(observer));
    SetWindowSubclass(listBox_, procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

ListBoxView::~ListBoxView() {
    RemoveWindowSubclass(listBox_, procedure, 0);
    list_.setObserver({});
}

LRESULT CALLBACK ListBoxView::procedure(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    auto* view = reinterpret_cast<ListBoxView*>(self);
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
