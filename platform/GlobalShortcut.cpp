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
bool NoShortcut::Set(const QKeySequence& key) {
  problem_ = key.isEmpty() ? QString() : NoGrabText();
  return key.isEmpty();
}
}  // namespace globalshortcut
