// A single-selection list of the window over a core text list: the user's
// selection goes to the core (into the list itself, or to whatever shares it
// between lists), and the view shows the core list's selection; typing
// selects by prefix.
#pragma once

#include <QElapsedTimer>
#include <QListView>
#include <functional>

#include "app/text_list_model.h"
#include "points/type_ahead.h"

namespace geocalc::app {

class ListBox : public QListView {
    Q_OBJECT
public:
    ListBox(TextList& list, QWidget* parent);

    TextList& list() const { return model_->list(); }
    // What Ctrl+C puts on the clipboard (the core's code page; nothing for
    // an empty text).
    void setCopier(std::function<std::string(const TextList&)> copier) {
        copier_ = std::move(copier);
    }

    // Where the user's selection goes; by default into this list alone.
    using Selector = std::function<void(int index)>;
    void setSelector(Selector selector) { selector_ = std::move(selector); }

    void keyboardSearch(const QString& search) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void selectRow(int row);
    std::function<std::string(const TextList&)> copier_;
    void selectionMoved();
    void showListSelection();

    TextListModel* model_;
    TypeAhead typeAhead_;
    QElapsedTimer clock_;
    bool syncing_ = false;
    Selector selector_;
};

}  // namespace geocalc::app
