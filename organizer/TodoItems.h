// The ToDo list's model: the items the page's list shows (tick and "yy/mm/dd text"), held here rather
// than in the widget, so the page reads and changes them without parsing what a row displays.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

class TodoItems : public QAbstractListModel {
  Q_OBJECT
 public:
  struct Item {
    bool done = false;
    std::string text;  // the line without its flag: "04/12/05 資料を送る"
  };

  explicit TodoItems(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  // The ToDo lines as items: none when the first line is empty (the list shows no items then).
  void Show(const std::vector<std::string>& lines);
  // The items as ToDo lines, the tick as the flag "1" or "0".
  std::vector<std::string> Lines() const;

  int Count() const { return static_cast<int>(items_.size()); }
  const Item& At(int row) const { return items_[static_cast<std::size_t>(row)]; }

  void Add(std::string text);               // at the end, open
  void Replace(int row, std::string text);  // the tick stays
  bool Move(int row, bool up);              // false at either end
  void Remove(int row);
  void Clear();
  void SetDone(int row, bool done);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  bool Has(int row) const { return row >= 0 && row < Count(); }
  std::vector<Item> items_;
};
