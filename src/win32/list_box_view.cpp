#include "win32/list_box_view.h"

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
}

ListBoxView::~ListBoxView() { list_.setObserver({}); }

void ListBoxView::selectionChanged() {
    const LRESULT selected = SendMessageW(listBox_, LB_GETCURSEL, 0, 0);
    select_(selected == LB_ERR ? -1 : int(selected));
}

void ListBoxView::showSelection() {
    SendMessageW(listBox_, LB_SETCURSEL, WPARAM(list_.selectedIndex()), 0);  // -1 selects none
}

}  // namespace geocalc::win32
