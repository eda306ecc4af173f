// Asking the X server who owns CLIPBOARD and what time it is, over Qt's XCB connection.
#include "platform/X11Selection.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <cstring>

namespace x11selection {
namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(r);
  return a;
}

// A window of our own whose property changes bring the server's time; waits for its notification.
class TimeSource final : public QAbstractNativeEventFilter {
 public:
  explicit TimeSource(xcb_connection_t* c) : c_(c), atom_(Atom(c, "_DIALNEST_TIME")) {
    window_.create();
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~TimeSource() override {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  void Request(std::function<void()> then) {
    waiting_.push_back(std::move(then));
    if (waiting_.size() > 1) return;
    // Appending nothing changes nothing but still tells every listener, with the time.
    xcb_change_property(c_, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window_.winId()), atom_,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c_);
    QTimer::singleShot(500, &window_, [this] { RunWaiting(); });
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (waiting_.empty() || type != "xcb_generic_event_t") return false;
    auto* ev = static_cast<xcb_generic_event_t*>(message);
    if ((ev->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
    auto* pn = reinterpret_cast<xcb_property_notify_event_t*>(ev);
    if (pn->window != window_.winId() || pn->atom != atom_) return false;
    // Qt takes the time from this event after the filter: the callers run after that.
    QTimer::singleShot(0, &window_, [this] { RunWaiting(); });
    return false;
  }

 private:
  void RunWaiting() {
    auto run = std::move(waiting_);
    waiting_.clear();
    for (auto& f : run) f();
  }

  xcb_connection_t* c_;
  xcb_atom_t atom_;
  QWindow window_;
  std::vector<std::function<void()>> waiting_;
};

}  // namespace

bool Available() {
  return Connection() != nullptr;
}

bool OwnedByUs() {
  xcb_connection_t* c = Connection();
  if (!c) return false;
  static const xcb_atom_t clipboard = Atom(c, "CLIPBOARD");  // one round trip, once
  xcb_get_selection_owner_reply_t* r =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
  const xcb_window_t owner = r ? r->owner : XCB_NONE;
  std::free(r);
  // Every window this program makes comes from its one connection's range of ids.
  const xcb_setup_t* setup = xcb_get_setup(c);
  return owner != XCB_NONE && (owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

void RefreshTimeThen(std::function<void()> then) {
  xcb_connection_t* c = Connection();
  if (!c) {
    QTimer::singleShot(0, qApp, std::move(then));
    return;
  }
  // Made once, and gone before the application object (its window must not outlive the display).
  static TimeSource* source = nullptr;
  if (!source) {
    source = new TimeSource(c);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
      delete source;
      source = nullptr;
    });
  }
  source->Request(std::move(then));
}
}  // namespace x11selection
