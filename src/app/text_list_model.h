// A Qt list model over one of the core's text lists.
#pragma once

#include <QAbstractListModel>

#include "points/text_list.h"

namespace geocalc::app {

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    TextListModel(TextList& list, QObject* parent);
    ~TextListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TextList& list() const { return list_; }

signals:
    // The core list's selection was set, by this view or another.
    void selectionSet();

private:
    TextList& list_;
};

}  // namespace geocalc::app
