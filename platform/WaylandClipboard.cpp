// Data-control clipboard over libwayland-client: the two protocol families share their wire layout, so
// one set of calls serves both with the family's interface tables.
#include "platform/WaylandClipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "ext-data-control-v1-client-protocol.h"
#include "platform/Log.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace wlclip {

namespace {

struct Family {
  const wl_interface* manager;
  const wl_interface* device;
  const wl_interface* source;
  const wl_interface* offer;
};
const Family kExt{&ext_data_control_manager_v1_interface, &ext_data_control_device_v1_interface,
                  &ext_data_control_source_v1_interface, &ext_data_control_offer_v1_interface};
const Family kWlr{&zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface,
                  &zwlr_data_control_source_v1_interface, &zwlr_data_control_offer_v1_interface};

// Request numbers, the same in both families.
constexpr uint32_t kCreateDataSource = 0;
constexpr uint32_t kGetDataDevice = 1;
constexpr uint32_t kManagerDestroy = 2;
constexpr uint32_t kSetSelection = 0;
constexpr uint32_t kDeviceDestroy = 1;
constexpr uint32_t kSourceOffer = 0;
constexpr uint32_t kSourceDestroy = 1;
constexpr uint32_t kOfferReceive = 0;
constexpr uint32_t kOfferDestroy = 1;

// What other programs ask for when they paste text; the first is the one read back.
constexpr const char* kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT",
                                      "STRING"};
constexpr int kReadBackMs = 1000;

uint32_t Version(wl_proxy* p) {
  return wl_proxy_get_version(p);
}

void Destroy(wl_proxy* p, uint32_t opcode) {
  if (p) wl_proxy_marshal_flags(p, opcode, nullptr, Version(p), WL_MARSHAL_FLAG_DESTROY);
}

// An offer of the selection and the types it comes in.
struct Offer {
  wl_proxy* proxy = nullptr;
  std::vector<std::string> types;
};

// Data written to a reader's pipe, as far as the pipe takes it without blocking.
struct Write {
  int fd = -1;
  QByteArray data;
  qsizetype done = 0;
  std::unique_ptr<QSocketNotifier> notifier;
};

// The first text type the offer comes in, or null.
const char* TextTypeOf(const Offer& offer) {
  for (const char* t : kTextTypes)
    if (std::find(offer.types.begin(), offer.types.end(), t) != offer.types.end()) return t;
  return nullptr;
}

}  // namespace

struct DataControl::State {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_proxy* seat = nullptr;
  wl_proxy* manager = nullptr;
  const Family* family = nullptr;
  uint32_t extName = 0;
  uint32_t wlrName = 0;
  wl_proxy* device = nullptr;
  wl_proxy* source = nullptr;
  QByteArray served;
  Offer* selection = nullptr;
  std::list<Offer> offers;
  std::list<Write> writes;
  std::unique_ptr<QSocketNotifier> notifier;

  bool Alive() const { return display && wl_display_get_error(display) == 0; }

  void Flush() {
    if (display) wl_display_flush(display);
  }

  // Reads and handles whatever the compositor sent; never blocks when called with the socket readable.
  void Pump(bool readable) {
    while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
    wl_display_flush(display);
    if (readable)
      wl_display_read_events(display);
    else
      wl_display_cancel_read(display);
    wl_display_dispatch_pending(display);
    wl_display_flush(display);
    if (!Alive() && notifier) {
      qCWarning(lcClipboard) << "Wayland connection lost:" << strerror(wl_display_get_error(display));
      notifier->setEnabled(false);
    }
  }

  // Waits up to `waitMs` for the compositor, our own pending writes (the reader may be this very
  // program) or data on `fd`, and appends what `fd` gave to `text`; false once `fd` is closed or failed.
  bool WaitAndRead(int fd, int waitMs, QByteArray& text) {
    std::vector<pollfd> fds{{wl_display_get_fd(display), POLLIN, 0}, {fd, POLLIN, 0}};
    for (const Write& w : writes)
      if (w.fd >= 0) fds.push_back({w.fd, POLLOUT, 0});
    while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
    wl_display_flush(display);
    if (::poll(fds.data(), fds.size(), waitMs) < 0 && errno != EINTR) {
      wl_display_cancel_read(display);
      return false;
    }
    if (fds[0].revents & POLLIN)
      wl_display_read_events(display);
    else
      wl_display_cancel_read(display);
    wl_display_dispatch_pending(display);
    writes.remove_if([](Write& w) { return w.fd < 0 || Advance(w); });
    if (!(fds[1].revents & (POLLIN | POLLHUP))) return true;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) text.append(buf, n);
    return n > 0 || (n < 0 && errno == EINTR);
  }

  // Moves on a pending write; true when it is finished (and its pipe closed).
  static bool Advance(Write& w) {
    while (w.done < w.data.size()) {
      const ssize_t n =
          ::write(w.fd, w.data.constData() + w.done, static_cast<size_t>(w.data.size() - w.done));
      if (n > 0) {
        w.done += n;
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && errno == EAGAIN) {
        return false;
      } else {
        break;  // the reader went away
      }
    }
    ::close(w.fd);
    w.fd = -1;
    return true;
  }

  void Serve(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    writes.push_back(Write{fd, served, 0, nullptr});
    Write& w = writes.back();
    if (Advance(w)) {
      writes.pop_back();
      return;
    }
    // A big entry for a slow reader: the rest goes as the pipe drains.
    w.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    Write* wp = &w;
    QObject::connect(w.notifier.get(), &QSocketNotifier::activated, w.notifier.get(), [this, wp] {
      if (!Advance(*wp)) return;
      wp->notifier.release()->deleteLater();  // not deleted inside its own signal
      writes.remove_if([wp](const Write& x) { return &x == wp; });
    });
  }

  void DropOffer(Offer* o) {
    if (!o) return;
    Destroy(o->proxy, kOfferDestroy);
    offers.remove_if([o](const Offer& x) { return &x == o; });
  }

  void DropSource() {
    Destroy(source, kSourceDestroy);
    source = nullptr;
    served.clear();
  }
};

namespace {

using State = DataControl::State;

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  auto* s = static_cast<State*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !s->seat) {
    s->seat =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 1U)));
  } else if (std::strcmp(interface, kExt.manager->name) == 0) {
    s->extName = name;
  } else if (std::strcmp(interface, kWlr.manager->name) == 0) {
    s->wlrName = name;
  }
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

void OnOfferType(void* data, zwlr_data_control_offer_v1*, const char* type) {
  static_cast<Offer*>(data)->types.emplace_back(type);
}
const zwlr_data_control_offer_v1_listener kOfferListener{OnOfferType};

void OnDataOffer(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* id) {
  auto* s = static_cast<State*>(data);
  s->offers.push_back(Offer{reinterpret_cast<wl_proxy*>(id), {}});
  Offer& o = s->offers.back();
  wl_proxy_add_listener(
      o.proxy,
      reinterpret_cast<void (**)(void)>(const_cast<zwlr_data_control_offer_v1_listener*>(&kOfferListener)),
      &o);
}
void OnSelection(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* id) {
  auto* s = static_cast<State*>(data);
  Offer* next = nullptr;
  for (Offer& o : s->offers)
    if (o.proxy == reinterpret_cast<wl_proxy*>(id)) next = &o;
  if (s->selection != next) s->DropOffer(s->selection);
  s->selection = next;
}
void OnFinished(void* data, zwlr_data_control_device_v1*) {
  auto* s = static_cast<State*>(data);
  qCWarning(lcClipboard) << "the compositor withdrew the clipboard device";
  Destroy(s->device, kDeviceDestroy);
  s->device = nullptr;
}
void OnPrimarySelection(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* id) {
  auto* s = static_cast<State*>(data);
  for (Offer& o : s->offers)
    if (o.proxy == reinterpret_cast<wl_proxy*>(id)) {
      s->DropOffer(&o);
      break;
    }
}
const zwlr_data_control_device_v1_listener kDeviceListener{OnDataOffer, OnSelection, OnFinished,
                                                           OnPrimarySelection};

void OnSend(void* data, zwlr_data_control_source_v1*, const char*, int32_t fd) {
  static_cast<State*>(data)->Serve(fd);
}
void OnCancelled(void* data, zwlr_data_control_source_v1* source) {
  auto* s = static_cast<State*>(data);
  // Another program took the clipboard: this source serves no one any more.
  if (s->source == reinterpret_cast<wl_proxy*>(source))
    s->DropSource();
  else
    Destroy(reinterpret_cast<wl_proxy*>(source), kSourceDestroy);
}
const zwlr_data_control_source_v1_listener kSourceListener{OnSend, OnCancelled};

template <typename Listener>
void Listen(wl_proxy* p, const Listener& l, void* data) {
  wl_proxy_add_listener(p, reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&l)), data);
}

}  // namespace

DataControl::DataControl() : s_(std::make_unique<State>()) {}

DataControl::~DataControl() {
  if (!s_->display) return;
  for (Write& w : s_->writes)
    if (w.fd >= 0) ::close(w.fd);
  s_->writes.clear();
  s_->notifier.reset();
  if (s_->Alive()) {
    s_->DropSource();
    while (!s_->offers.empty()) s_->DropOffer(&s_->offers.front());
    Destroy(s_->device, kDeviceDestroy);
    Destroy(s_->manager, kManagerDestroy);
    wl_display_flush(s_->display);
  }
  // Proxies without a destructor request are only freed on our side.
  if (s_->seat) wl_proxy_destroy(s_->seat);
  if (s_->registry) wl_registry_destroy(s_->registry);
  wl_display_disconnect(s_->display);
}

std::unique_ptr<DataControl> DataControl::Connect() {
  if (!std::getenv("WAYLAND_DISPLAY") && !std::getenv("WAYLAND_SOCKET")) return nullptr;
  std::unique_ptr<DataControl> dc(new DataControl);
  State& s = *dc->s_;
  s.display = wl_display_connect(nullptr);
  if (!s.display) return nullptr;
  s.registry = wl_display_get_registry(s.display);
  wl_registry_add_listener(s.registry, &kRegistryListener, &s);
  wl_display_roundtrip(s.display);
  const uint32_t name = s.extName ? s.extName : s.wlrName;
  if (!s.seat || name == 0) {
    qCInfo(lcClipboard) << "the compositor offers no data-control clipboard";
    return nullptr;
  }
  s.family = s.extName ? &kExt : &kWlr;
  s.manager = static_cast<wl_proxy*>(wl_registry_bind(s.registry, name, s.family->manager, 1));
  s.device = wl_proxy_marshal_flags(s.manager, kGetDataDevice, s.family->device, Version(s.manager), 0,
                                    nullptr, s.seat);
  Listen(s.device, kDeviceListener, &s);
  wl_display_roundtrip(s.display);
  if (!s.Alive()) return nullptr;
  s.notifier = std::make_unique<QSocketNotifier>(wl_display_get_fd(s.display), QSocketNotifier::Read);
  QObject::connect(s.notifier.get(), &QSocketNotifier::activated, s.notifier.get(), [&s] { s.Pump(true); });
  qCInfo(lcClipboard) << "clipboard through" << s.family->manager->name;
  return dc;
}

bool DataControl::Connected() const {
  return s_->Alive();
}

const char* DataControl::ProtocolName() const {
  return s_->family->manager->name;
}

bool DataControl::Claim(const QByteArray& utf8) {
  State& s = *s_;
  if (!s.Alive() || !s.device) return false;
  s.DropSource();
  s.served = utf8;
  s.source =
      wl_proxy_marshal_flags(s.manager, kCreateDataSource, s.family->source, Version(s.manager), 0, nullptr);
  Listen(s.source, kSourceListener, &s);
  for (const char* type : kTextTypes)
    wl_proxy_marshal_flags(s.source, kSourceOffer, nullptr, Version(s.source), 0, type);
  wl_proxy_marshal_flags(s.device, kSetSelection, nullptr, Version(s.device), 0, s.source);
  // The selection event for our own source comes before the answer to this round trip.
  return wl_display_roundtrip(s.display) >= 0;
}

namespace {
bool SameAsSet(const QByteArray& back, const QByteArray& set) {
  if (back != set)
    qCWarning(lcClipboard) << "the clipboard read back" << back.size() << "bytes, not the" << set.size()
                           << "set";
  return back == set;
}
}  // namespace

bool DataControl::SetText(const QByteArray& utf8) {
  return Claim(utf8) && SameAsSet(Text(), utf8);
}

void DataControl::SetTextThen(const QByteArray& utf8, std::function<void(bool)> landed) {
  if (!Claim(utf8)) {
    landed(false);
    return;
  }
  TextThen([utf8, landed = std::move(landed)](const QByteArray& back) { landed(SameAsSet(back, utf8)); });
}

int DataControl::Receive() {
  State& s = *s_;
  if (!s.Alive() || !s.selection) return -1;
  const char* type = TextTypeOf(*s.selection);
  if (!type) return -1;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  wl_proxy_marshal_flags(s.selection->proxy, kOfferReceive, nullptr, Version(s.selection->proxy), 0, type,
                         fds[1]);
  ::close(fds[1]);
  s.Flush();
  return fds[0];
}

QByteArray DataControl::Text() {
  State& s = *s_;
  const int fd = Receive();
  if (fd < 0) return {};
  // The writer may be this very program: keep serving its own pipes while reading.
  QByteArray text;
  QElapsedTimer clock;
  clock.start();
  bool open = true;
  while (open && s.Alive() && clock.elapsed() < kReadBackMs)
    open = s.WaitAndRead(fd, std::max(kReadBackMs - static_cast<int>(clock.elapsed()), 0), text);
  ::close(fd);
  if (open) {
    qCWarning(lcClipboard) << "no answer from the clipboard within" << kReadBackMs << "ms";
    return {};
  }
  return text;
}

void DataControl::TextThen(std::function<void(const QByteArray&)> got) {
  const int fd = Receive();
  if (fd < 0) {
    got({});
    return;
  }
  // The pipe is read as it fills, from the event loop that also serves our own source (the writer may be
  // this very program); a writer that never finishes is given up after the same second as Text().
  struct Reading {
    int fd;
    QByteArray text;
    QSocketNotifier notifier;
    QTimer patience;
    std::function<void(const QByteArray&)> got;
    Reading(int f, std::function<void(const QByteArray&)> g)
        : fd(f), notifier(f, QSocketNotifier::Read), got(std::move(g)) {}
  };
  auto* r = new Reading(fd, std::move(got));
  auto finish = [r](bool answered) {
    r->notifier.setEnabled(false);
    r->patience.stop();
    ::close(r->fd);
    if (!answered) qCWarning(lcClipboard) << "no answer from the clipboard within" << kReadBackMs << "ms";
    const QByteArray text = answered ? r->text : QByteArray();
    const auto got = std::move(r->got);
    QTimer::singleShot(0, [r] { delete r; });  // not deleted inside its own notifier's signal
    got(text);
  };
  QObject::connect(&r->notifier, &QSocketNotifier::activated, &r->notifier, [r, finish] {
    char buf[4096];
    const ssize_t n = ::read(r->fd, buf, sizeof buf);
    if (n > 0)
      r->text.append(buf, n);
    else if (n == 0 || (errno != EINTR && errno != EAGAIN))
      finish(n == 0);
  });
  r->patience.setSingleShot(true);
  QObject::connect(&r->patience, &QTimer::timeout, &r->notifier, [finish] { finish(false); });
  r->patience.start(kReadBackMs);
}

DataControl* Session() {
  static std::unique_ptr<DataControl> session;
  static bool tried = false;
  // A compositor restart drops the connection: the next copy connects again.
  if (!tried || (session && !session->Connected())) {
    tried = true;
    session = DataControl::Connect();
  }
  return session.get();
}

}  // namespace wlclip
