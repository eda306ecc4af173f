// The X11 key grab through xcb; the desktop portal on Wayland sessions.
#include "platform/GlobalShortcut.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <array>
#include <vector>

#include "platform/GlobalShortcutDetail.h"
#include "platform/Log.h"
#include "platform/PortalShortcut.h"

namespace {

// The X keysym of a Qt key a shortcut can be made of; 0 for any other.
xcb_keysym_t KeysymOf(int key) {
  using K = globalshortcut::Key::Kind;
  const globalshortcut::Key k = globalshortcut::Classify(key);
  const auto at = static_cast<xcb_keysym_t>(k.index);
  switch (k.kind) {
    case K::Letter:
      return 'a' + at;
    case K::Digit:
      return '0' + at;
    case K::Function:
      return 0xFFBE + at;
    case K::Space:
      return 0x20;
    case K::Insert:
      return 0xFF63;
    case K::Home:
      return 0xFF50;
    case K::End:
      return 0xFF57;
    case K::None:
      break;
  }
  return 0;
}

class X11Shortcut final : public GlobalShortcut, public QAbstractNativeEventFilter {
 public:
  explicit X11Shortcut(xcb_connection_t* c) : c_(c) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~X11Shortcut() override {
    Ungrab();
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool Set(const QKeySequence& key) override {
    Ungrab();
    problem_.clear();
    if (key.isEmpty()) return true;
    const QKeyCombination combo = key[0];
    const xcb_keysym_t sym = KeysymOf(combo.key());
    keycode_ = sym ? KeycodeOf(sym) : 0;
    mods_ = ModsOf(combo.keyboardModifiers());
    if (keycode_ == 0) {
      problem_ = UnusableKeyText(key);
      return false;
    }
    // The same key with Caps Lock or Num Lock on is the same shortcut.
    bool ok = true;
    for (uint16_t extra : kLockMasks) {
      xcb_void_cookie_t ck = xcb_grab_key_checked(c_, 1, root_, mods_ | extra, keycode_, XCB_GRAB_MODE_ASYNC,
                                                  XCB_GRAB_MODE_ASYNC);
      if (xcb_generic_error_t* err = xcb_request_check(c_, ck)) {
        ok = false;
        free(err);
      }
    }
    if (!ok) {
      Ungrab();
      problem_ =
          QStringLiteral("%1 はほかのプログラムが使っています").arg(key.toString(QKeySequence::NativeText));
      qCWarning(lcSession) << "global shortcut" << key.toString() << "is taken";
      return false;
    }
    qCInfo(lcSession) << "global shortcut" << key.toString() << "grabbed";
    return true;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (keycode_ == 0 || type != "xcb_generic_event_t") return false;
    auto* ev = static_cast<xcb_generic_event_t*>(message);
    if ((ev->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    auto* kp = reinterpret_cast<xcb_key_press_event_t*>(ev);
    const uint16_t relevant =
        kp->state & (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4);
    if (kp->detail != keycode_ || relevant != mods_) return false;
    emit Activated();
    return true;
  }

 private:
  static constexpr std::array<uint16_t, 4> kLockMasks{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                      XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

  static uint16_t ModsOf(Qt::KeyboardModifiers m) {
    uint16_t x = 0;
    if (m & Qt::ShiftModifier) x |= XCB_MOD_MASK_SHIFT;
    if (m & Qt::ControlModifier) x |= XCB_MOD_MASK_CONTROL;
    if (m & Qt::AltModifier) x |= XCB_MOD_MASK_1;
    if (m & Qt::MetaModifier) x |= XCB_MOD_MASK_4;
    return x;
  }

  xcb_keycode_t KeycodeOf(xcb_keysym_t sym) {
    const xcb_setup_t* setup = xcb_get_setup(c_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        c_, xcb_get_keyboard_mapping(c_, setup->min_keycode, static_cast<uint8_t>(count)), nullptr);
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    const int per = map->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int k = 0; k < count && found == 0; ++k)
      for (int j = 0; j < per; ++j)
        if (syms[k * per + j] == sym) {
          found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
          break;
        }
    free(map);
    return found;
  }

  void Ungrab() {
    if (keycode_ == 0) return;
    for (uint16_t extra : kLockMasks) xcb_ungrab_key(c_, keycode_, root_, mods_ | extra);
    xcb_flush(c_);
    keycode_ = 0;
  }

  xcb_connection_t* c_;
  xcb_window_t root_ = 0;
  xcb_keycode_t keycode_ = 0;
  uint16_t mods_ = 0;
};

}  // namespace

std::unique_ptr<GlobalShortcut> GlobalShortcut::Create() {
  // Under XWayland a grab only sees keys while one of its own windows has the focus: no use there.
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 && x11->connection() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return std::make_unique<X11Shortcut>(x11->connection());
  if (QDBusConnection bus = QDBusConnection::sessionBus(); bus.isConnected())
    return std::make_unique<PortalShortcut>(bus);
  return std::make_unique<globalshortcut::NoShortcut>();
}
