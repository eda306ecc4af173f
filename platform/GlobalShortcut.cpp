// What every global shortcut shares: the settings dialog's texts, and the stand-in where there is none.
#include "platform/GlobalShortcut.h"

#include "platform/GlobalShortcutDetail.h"

QString GlobalShortcut::NoGrabText() {
  return QStringLiteral(
      "このデスクトップではグローバルショートカットを登録できません。"
      "デスクトップのキーボード設定で「dialnestplus --find」にキーを割り当ててください。");
}

QString GlobalShortcut::UnusableKeyText(const QKeySequence& key) {
  return QStringLiteral("このキー（%1）はショートカットに使えません")
      .arg(key.toString(QKeySequence::NativeText));
}

namespace globalshortcut {
Key Classify(int qtKey) {
  using K = Key::Kind;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return {K::Letter, qtKey - Qt::Key_A};
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return {K::Digit, qtKey - Qt::Key_0};
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return {K::Function, qtKey - Qt::Key_F1};
  switch (qtKey) {
    case Qt::Key_Space:
      return {K::Space};
    case Qt::Key_Insert:
      return {K::Insert};
    case Qt::Key_Home:
      return {K::Home};
    case Qt::Key_End:
      return {K::End};
    default:
      return {};
  }
}

bool NoShortcut::Set(const QKeySequence& key) {
  problem_ = key.isEmpty() ? QString() : NoGrabText();
  return key.isEmpty();
}
}  // namespace globalshortcut
