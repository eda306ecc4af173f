// ToDo items as a list model: ticks and texts as the ToDo line codec reads and writes them.
#include "organizer/TodoItems.h"

#include <utility>

#include "organizer/TodoStore.h"
#include "platform/QtText.h"

void TodoItems::Show(const std::vector<std::string>& lines) {
  beginResetModel();
  items_.clear();
  if (!todo::IsEmpty(lines)) {
    items_.reserve(lines.size());
    for (const std::string& line : lines) items_.push_back({todo::IsDone(line), todo::ListText(line)});
  }
  endResetModel();
}

std::vector<std::string> TodoItems::Lines() const {
  std::vector<std::string> out;
  out.reserve(items_.size());
  for (const Item& it : items_) out.push_back(todo::LineOf(it.done, it.text));
  return out;
}

void TodoItems::Add(std::string text) {
  beginInsertRows({}, Count(), Count());
  items_.push_back({false, std::move(text)});
  endInsertRows();
}

void TodoItems::Replace(int row, std::string text) {
  if (!Has(row)) return;
  items_[static_cast<std::size_t>(row)].text = std::move(text);
  emit dataChanged(index(row), index(row), {Qt::DisplayRole});
}

bool TodoItems::Move(int row, bool up) {
  if (!Has(row) || (up && row == 0) || (!up && row == Count() - 1)) return false;
  const int to = up ? row - 1 : row + 1;
  // Qt counts the destination before the move: one past the neighbour when going down.
  beginMoveRows({}, row, row, {}, up ? to : to + 1);
  std::swap(items_[static_cast<std::size_t>(row)], items_[static_cast<std::size_t>(to)]);
  endMoveRows();
  return true;
}

void TodoItems::Remove(int row) {
  if (!Has(row)) return;
  beginRemoveRows({}, row, row);
  items_.erase(items_.begin() + row);
  endRemoveRows();
}

void TodoItems::Clear() {
  beginResetModel();
  items_.clear();
  endResetModel();
}

void TodoItems::SetDone(int row, bool done) {
  if (!Has(row) || items_[static_cast<std::size_t>(row)].done == done) return;
  items_[static_cast<std::size_t>(row)].done = done;
  emit dataChanged(index(row), index(row), {Qt::CheckStateRole});
}

int TodoItems::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant TodoItems::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !Has(index.row())) return {};
  const Item& it = At(index.row());
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return Q(it.text);
  if (role == Qt::CheckStateRole) return it.done ? Qt::Checked : Qt::Unchecked;
  return {};
}

bool TodoItems::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || !Has(index.row())) return false;
  SetDone(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags TodoItems::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}
