// Menu item arrays over QMenu / QAction.
#include "core/MenuArray.h"

#include <QAction>
#include <algorithm>

MenuArray::MenuArray(QMenu* menu, std::function<void(int)> onClick, bool checkable)
    : menu_(menu), onClick_(std::move(onClick)), checkable_(checkable) {
  QObject::connect(menu_, &QMenu::triggered, menu_, [this](QAction* a) {
    auto it = std::find(items_.begin(), items_.end(), a);
    if (it != items_.end() && onClick_) onClick_(static_cast<int>(it - items_.begin()) + 1);
  });
  Load();
}

QAction* MenuArray::Load() {
  QAction* a = menu_->addAction(QString());
  a->setCheckable(checkable_);
  a->setData(QString());
  items_.push_back(a);
  return a;
}

bool MenuArray::Unload(int n) {
  if (n <= 1 || n > Count()) return false;
  QAction* a = items_[static_cast<std::size_t>(n - 1)];
  items_.erase(items_.begin() + (n - 1));
  menu_->removeAction(a);
  delete a;
  return true;
}

QString MenuArray::DisplayText(const QString& text) {
  QString shown = text;
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  qsizetype tab = shown.indexOf(QLatin1Char('\t'));
  if (tab >= 0) {
    for (qsizetype i = tab + 1; i < shown.size(); ++i)
      if (shown[i] == QLatin1Char('\t')) shown[i] = QLatin1Char(' ');
  }
  return shown;
}

void MenuArray::SetCaption(int n, const QString& text) {
  QAction* a = Item(n);
  a->setData(text);
  a->setText(DisplayText(text));
}

QString MenuArray::Caption(int n) const {
  return Item(n)->data().toString();
}
void MenuArray::SetEnabled(int n, bool enabled) {
  Item(n)->setEnabled(enabled);
}
void MenuArray::SetChecked(int n, bool checked) {
  Item(n)->setChecked(checked);
}
