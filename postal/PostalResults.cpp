// Result rows decoded from code page 932 on demand.
#include "postal/PostalResults.h"

#include "platform/Sjis.h"

void PostalResults::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void PostalResults::Append(const std::vector<postal::LineRef>& rows) {
  if (rows.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  rows_.insert(rows_.end(), rows.begin(), rows.end());
  endInsertRows();
}

QString PostalResults::Line(int row) const {
  if (row < 0 || row >= rowCount()) return {};
  const postal::LineRef r = rows_[static_cast<std::size_t>(row)];
  return QString::fromStdString(sjis::Decode(data_.substr(r.offset, r.length)).text);
}

int PostalResults::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant PostalResults::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return Line(index.row());
}
