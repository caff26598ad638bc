#include "platform/ui/widgets/pick_list_model.h"

#include "platform/text/codepage.h"
#include "platform/ui/pick_list.h"

#include <QAbstractItemView>
#include <QListView>

namespace fw::ui {

PickListModel::PickListModel(std::shared_ptr<const PickList> list, QObject* parent)
    : QAbstractListModel(parent), list_(std::move(list)), last_(list_->Size()) {}

int PickListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(last_ - first_);
}

QVariant PickListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const std::size_t row = first_ + static_cast<std::size_t>(index.row());
    if (row >= last_) return {};
    return AnsiToQString(list_->At(row));
}

void PickListModel::SetRange(std::size_t first, std::size_t last) {
    if (first == first_ && last == last_) return;
    beginResetModel();
    first_ = first;
    last_ = last;
    endResetModel();
}

PickListCompleter::PickListCompleter(std::shared_ptr<const PickList> list, QObject* parent)
    : QCompleter(parent), range_(new PickListModel(std::move(list), this)) {
    setModel(range_);
    setCompletionMode(QCompleter::PopupCompletion);
    setCaseSensitivity(Qt::CaseInsensitive);
    setMaxVisibleItems(12);
    auto* view = new QListView;
    view->setUniformItemSizes(true);  // no pass over every row to lay them out
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    setPopup(view);
}

void PickListCompleter::Narrow(const QString& typed) {
    const auto [first, last] = range_->List().PrefixRange(QStringToAnsi(typed));
    range_->SetRange(first, last);
}

int PickListCompleter::Offered() const { return range_->rowCount(); }

QStringList PickListCompleter::splitPath(const QString&) const { return {QString()}; }

}  // namespace fw::ui
