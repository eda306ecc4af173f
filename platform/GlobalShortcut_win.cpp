// The Windows hot key: RegisterHotKey for the program's thread, its WM_HOTKEY taken from Qt's native
// event filter.
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include "platform/GlobalShortcut.h"
#include "platform/Log.h"

namespace {

// The virtual-key code of a Qt key a shortcut can be made of; 0 for any other.
UINT VirtualKeyOf(int key) {
  using K = globalshortcut::Key::Kind;
  const globalshortcut::Key k = globalshortcut::Classify(key);
  const auto at = static_cast<UINT>(k.index);
  switch (k.kind) {
    case K::Letter:
      return 'A' + at;
    case K::Digit:
      return '0' + at;
    case K::Function:
      return VK_F1 + at;
    case K::Space:
      return VK_SPACE;
    case K::Insert:
      return VK_INSERT;
    case K::Home:
      return VK_HOME;
    case K::End:
      return VK_END;
    case K::None:
      break;
  }
  return 0;
}

class HotKey final : public GlobalShortcut, public QAbstractNativeEventFilter {
 public:
  HotKey() { QCoreApplication::instance()->installNativeEventFilter(this); }
  ~HotKey() override {
    Unregister();
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool Set(const QKeySequence& key) override {
    Unregister();
    problem_.clear();
    if (key.isEmpty()) return true;
    const QKeyCombination combo = key[0];
    const UINT vk = VirtualKeyOf(combo.key());
    if (vk == 0) {
      problem_ = UnusableKeyText(key);
      return false;
    }
    UINT mods = MOD_NOREPEAT;
    const Qt::KeyboardModifiers m = combo.keyboardModifiers();
    if (m & Qt::ShiftModifier) mods |= MOD_SHIFT;
    if (m & Qt::ControlModifier) mods |= MOD_CONTROL;
    if (m & Qt::AltModifier) mods |= MOD_ALT;
    if (m & Qt::MetaModifier) mods |= MOD_WIN;
    if (!RegisterHotKey(nullptr, kId, mods, vk)) {
      problem_ =
          QStringLiteral("%1 はほかのプログラムが使っています").arg(key.toString(QKeySequence::NativeText));
      qCWarning(lcSession) << "hot key" << key.toString() << "is taken:" << GetLastError();
      return false;
    }
    registered_ = true;
    qCInfo(lcSession) << "hot key" << key.toString() << "registered";
    return true;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (!registered_ || type != "windows_generic_MSG") return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_HOTKEY || msg->wParam != kId) return false;
    emit Activated();
    return true;
  }

 private:
  static constexpr int kId = 0x444E;  // any number of this thread's own

  void Unregister() {
    if (registered_) UnregisterHotKey(nullptr, kId);
    registered_ = false;
  }

  bool registered_ = false;
};

}  // namespace

std::unique_ptr<GlobalShortcut> GlobalShortcut::Create() {
  return std::make_unique<HotKey>();
}
