// A LISTBOX control showing one of the form's text lists: every change of
// the list is shown, and the user's selection goes back to the form.
#pragma once

#include <windows.h>

#include <functional>

#include "points/text_list.h"

namespace geocalc::win32 {

class ListBoxView {
public:
    // `select` takes the user's selection (-1 for none).
    ListBoxView(HWND listBox, TextList& list, std::function<void(int)> select);
    ~ListBoxView();
    ListBoxView(const ListBoxView&) = delete;
    ListBoxView& operator=(const ListBoxView&) = delete;

    HWND handle() const { return listBox_; }
    // LBN_SELCHANGE: the user selected an entry.
    void selectionChanged();

private:
    void showSelection();

    HWND listBox_;
    TextList& list_;
    std::function<void(int)> select_;
};

}  // namespace geocalc::win32
