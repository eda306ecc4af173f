// The result list's model: references into the data file, decoded only when a row is shown, so a
// blank search can list every line at once and scroll smoothly.
#pragma once

#include <QAbstractListModel>
#include <string_view>
#include <vector>

#include "postal/PostalData.h"

class PostalResults : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit PostalResults(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  void SetData(std::string_view data) { data_ = data; }
  void Clear();
  void Append(const std::vector<postal::LineRef>& rows);
  QString Line(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  std::string_view data_;
  std::vector<postal::LineRef> rows_;
};
