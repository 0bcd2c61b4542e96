// A LISTBOX control showing one of the form's text lists: every change of
// the list is shown, the user's selection goes back to the form, and typing
// selects by prefix as the form's lists do (TypeAhead), not by the first
// letter alone as the system's list box would. Entries wider than the list
// scroll into view sideways.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "points/text_list.h"
#include "points/type_ahead.h"

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
    // What Ctrl+C puts on the clipboard (the core's code page; nothing for
    // an empty text).
    void setCopier(std::function<std::string(const TextList&)> copier) {
        copier_ = std::move(copier);
    }

private:
    static LRESULT CALLBACK procedure(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self);
    void showSelection();
    void selectTyped(int index);
    // The horizontal scroll bar reaches the widest entry, so that every
    // entry can be read whole.
    int textWidth(const std::wstring& text) const;
    void widenFor(const std::wstring& text);
    void measureAll();

    HWND listBox_;
    int widest_ = 0;  // pixels, in the list's font
    TypeAhead typeAhead_;
    TextList& list_;
    std::function<void(int)> select_;
    std::function<std::string(const TextList&)> copier_;
};

}  // namespace geocalc::win32
