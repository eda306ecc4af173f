// The Windows hot key: RegisterHotKey for the program's thread, its WM_HOTKEY taken from Qt's native
// event filter.
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include "platform/GlobalShortcut.h"
#include "platform/Log.h"

namespace {

// The virtual-key code of a Qt key, for the keys a shortcut is made of; 0 for any other.
UINT VirtualKeyOf(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<UINT>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<UINT>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    default:
      return 0;
  }
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
