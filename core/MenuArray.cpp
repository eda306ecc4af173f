// Menu item arrays over QMenu / QAction, the actions made on demand.
#include "core/MenuArray.h"

#include <QAction>
#include <algorithm>

#include "platform/LazyMenu.h"

MenuArray::MenuArray(QMenu* menu, std::function<void(int)> onClick, bool checkable)
    : menu_(menu), onClick_(std::move(onClick)), checkable_(checkable) {
  QObject::connect(menu_, &QMenu::triggered, menu_, [this](QAction* a) {
    auto it = std::find(actions_.begin(), actions_.end(), a);
    if (it != actions_.end() && onClick_) onClick_(static_cast<int>(it - actions_.begin()) + 1);
  });
  lazymenu::SetPopulate(menu_, [this] { Build(); });
  Load();
}

QAction* MenuArray::MakeAction(const Entry& e) {
  QAction* a = new QAction(DisplayText(e.caption), menu_);
  a->setCheckable(checkable_);
  a->setEnabled(e.enabled);
  a->setChecked(e.checked);
  return a;
}

void MenuArray::Build() {
  if (built_) return;
  actions_.reserve(items_.size());
  for (const Entry& e : items_) actions_.push_back(MakeAction(e));
  QList<QAction*> list(actions_.begin(), actions_.end());
  menu_->addActions(list);
  built_ = true;
}

void MenuArray::Unbuild() {
  if (!built_) return;
  for (QAction* a : actions_) {
    menu_->removeAction(a);
    delete a;
  }
  actions_.clear();
  built_ = false;
}

QAction* MenuArray::Item(int n) {
  Build();
  return actions_.at(static_cast<std::size_t>(n - 1));
}

void MenuArray::Load() {
  items_.push_back(Entry{});
  if (!built_) return;
  actions_.push_back(MakeAction(items_.back()));
  menu_->addAction(actions_.back());
}

bool MenuArray::Unload(int n) {
  if (n <= 1 || n > Count()) return false;
  if (QAction* a = Built(n)) {
    actions_.erase(actions_.begin() + (n - 1));
    menu_->removeAction(a);
    delete a;
  }
  items_.erase(items_.begin() + (n - 1));
  // Emptied: the next load of a big book builds nothing until the menu is shown.
  if (items_.size() == 1) Unbuild();
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

void MenuArray::Fill(std::vector<QString> captions) {
  items_.reserve(captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (n > Count() && !built_) {  // the usual case: texts only, no action yet
      items_.push_back(Entry{std::move(captions[i]), true, false});
      continue;
    }
    if (n > Count()) Load();
    SetEnabled(n, true);
    SetCaption(n, captions[i]);
  }
}

void MenuArray::SetCaption(int n, const QString& text) {
  items_.at(static_cast<std::size_t>(n - 1)).caption = text;
  if (QAction* a = Built(n)) a->setText(DisplayText(text));
}

QString MenuArray::Caption(int n) const {
  return items_.at(static_cast<std::size_t>(n - 1)).caption;
}

void MenuArray::SetEnabled(int n, bool enabled) {
  items_.at(static_cast<std::size_t>(n - 1)).enabled = enabled;
  if (QAction* a = Built(n)) a->setEnabled(enabled);
}

void MenuArray::SetChecked(int n, bool checked) {
  items_.at(static_cast<std::size_t>(n - 1)).checked = checked;
  if (QAction* a = Built(n)) a->setChecked(checked);
}
