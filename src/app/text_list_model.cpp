#include "app/text_list_model.h"

#include "app/ansi_text.h"

namespace geocalc::app {

TextListModel::TextListModel(TextList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {
    TextList::Observer observer;
    observer.before = [this](const TextList::Change& change) {
        switch (change.kind) {
            case TextList::Change::Append:
                beginInsertRows({}, change.index, change.index);
                break;
            case TextList::Change::Remove:
                beginRemoveRows({}, change.index, change.index);
                break;
            case TextList::Change::Clear:
                beginResetModel();
                break;
            case TextList::Change::Select:
                break;
        }
    };
    observer.after = [this](const TextList::Change& change) {
        switch (change.kind) {
            case TextList::Change::Append:
                endInsertRows();
                break;
            case TextList::Change::Remove:
                endRemoveRows();
                break;
            case TextList::Change::Clear:
                endResetModel();
                break;
            case TextList::Change::Select:
                emit selectionSet();
                break;
        }
    };
    list_.setObserver(std::move(observer));
}

TextListModel::~TextListModel() { list_.setObserver({}); }

int TextListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.count();
}

QVariant TextListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count() || role != Qt::DisplayRole) return {};
    return fromAnsi(list_.at(index.row()));
}

Qt::ItemFlags TextListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

}  // namespace geocalc::app
