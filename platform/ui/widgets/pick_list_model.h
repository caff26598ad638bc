#pragma once
// A pick list (platform/ui/pick_list.h) as a Qt model, and the completer
// that narrows it as the user types. Rows are converted to Unicode only
// when a view asks for them, so a model of 300,000 titles costs nothing to
// set on a combo box; narrowing is a binary search and a model reset, so a
// keystroke costs the same whatever the list's size.
//
//   auto* model = new fw::ui::PickListModel(list, combo);
//   combo->setModel(model);
//   combo->setCompleter(new fw::ui::PickListCompleter(list, combo));

#include <QAbstractListModel>
#include <QCompleter>

#include <cstddef>
#include <memory>

namespace fw {
class PickList;
}

namespace fw::ui {

class PickListModel : public QAbstractListModel {
public:
    PickListModel(std::shared_ptr<const PickList> list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Shows only the entries first..last-1 of the list (the whole list at first).
    void SetRange(std::size_t first, std::size_t last);
    std::size_t First() const { return first_; }
    const PickList& List() const { return *list_; }

private:
    std::shared_ptr<const PickList> list_;
    std::size_t first_ = 0, last_ = 0;
};

// Offers the entries that begin with the typed text (letter case ignored)
// in a pop-up under the line edit. The narrowing is the list's own binary
// search; Qt's matching is given an empty key, so it filters nothing.
class PickListCompleter : public QCompleter {
public:
    PickListCompleter(std::shared_ptr<const PickList> list, QObject* parent);

    // Narrows the offered entries to those beginning with `typed`.
    void Narrow(const QString& typed);
    // Entries offered now.
    int Offered() const;

    QStringList splitPath(const QString& path) const override;

private:
    PickListModel* range_;
};

}  // namespace fw::ui
