// A single-selection list of the window over a core text list: the user's
// selection goes into the core list; typing selects by prefix.
#pragma once

#include <QElapsedTimer>
#include <QListView>

#include "app/text_list_model.h"
#include "points/type_ahead.h"

namespace geocalc::app {

class ListBox : public QListView {
    Q_OBJECT
public:
    ListBox(TextList& list, QWidget* parent);

    TextList& list() const { return model_->list(); }

    void keyboardSearch(const QString& search) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void selectRow(int row);
    void selectionMoved();
    void showListSelection();

    TextListModel* model_;
    TypeAhead typeAhead_;
    QElapsedTimer clock_;
    bool syncing_ = false;
};

}  // namespace geocalc::app
