#include "app/list_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include <QKeyEvent>
#include <QScopedValueRollback>

#include "app/ansi_text.h"

namespace geocalc::app {

ListBox::ListBox(TextList& list, QWidget* parent)
    : QListView(parent), model_(new TextListModel(list, this)) {
    // Around a removal the view moves its own selection; the core list's
    // selection is the one that counts, so the view is set back to it after.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { syncing_ = true; });
    setModel(model_);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ListBox::showListSelection);
    connect(model_, &TextListModel::selectionSet, this, &ListBox::showListSelection);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Entries wider than the list scroll into view sideways, so that each can
    // be read whole; every entry's own width counts for that.
    setUniformItemSizes(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    clock_.start();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBox::selectionMoved);
}

// The core list is the one place the selection lives; deleting the selected
// entry leaves none, which the view then shows.
void ListBox::selectionMoved() {
    if (syncing_) return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const int index = selected.isEmpty() ? -1 : selected.first().row();
    if (selector_) {
        selector_(index);
    } else {
        list().select(index);
    }
}

void ListBox::showListSelection() {
    QScopedValueRollback guard(syncing_, true);
    const int selected = list().selectedIndex();
    if (selected < 0) {
        selectionModel()->clearSelection();
    } else {
        selectionModel()->setCurrentIndex(model_->index(selected),
                                          QItemSelectionModel::ClearAndSelect);
        scrollTo(model_->index(selected));
    }
}

void ListBox::selectRow(int row) {
    if (row < 0) return;
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ListBox::keyboardSearch(const QString& search) {
    for (char c : toAnsi(search)) selectRow(typeAhead_.type(list(), c, clock_.elapsed()));
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && copier_) {
        const std::string copied = copier_(list());
        if (!copied.empty()) QGuiApplication::clipboard()->setText(fromAnsi(copied));
        return;
    }
    switch (event->key()) {
        case Qt::Key_Backspace:
            selectRow(typeAhead_.backspace(list(), clock_.elapsed()));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->ignore();  // neither does anything here, nor in the window
            return;
        default:
            QListView::keyPressEvent(event);
    }
}

}  // namespace geocalc::app
