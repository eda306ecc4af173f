// The clipboard of a Wayland session set over the data-control protocol, on the program's own Wayland
// connection: a tray program has no focused window when a menu item is chosen, and only the focused
// client may set the clipboard the ordinary way. Works whichever Qt plugin draws the windows.
#pragma once

#include <QByteArray>
#include <functional>
#include <memory>

namespace wlclip {

class DataControl;

// The session's data-control clipboard, or nullptr where there is no Wayland session or the compositor
// offers neither ext_data_control_v1 nor zwlr_data_control_manager_v1 (GNOME). Connected on first use.
DataControl* Session();

class DataControl {
 public:
  ~DataControl();
  DataControl(const DataControl&) = delete;
  DataControl& operator=(const DataControl&) = delete;

  // Connects to the compositor of WAYLAND_DISPLAY; nullptr when it offers no data-control manager.
  static std::unique_ptr<DataControl> Connect();

  // Makes `utf8` the selection, serves it to every reader until another client takes the selection,
  // and reads the selection back: true only when what is read equals what was set. Waits at most 1 s.
  [[nodiscard]] bool SetText(const QByteArray& utf8);
  // SetText without waiting: `landed` is called from the event loop once the read-back is done (at
  // once when the selection could not be set). For the window thread, where a clipboard owner that
  // never answers must not stall it.
  void SetTextThen(const QByteArray& utf8, std::function<void(bool)> landed);
  // The current selection as text (empty when there is none or it offers no text); waits at most 1 s.
  QByteArray Text();
  // Text without waiting: `got` is called from the event loop with the text, empty after 1 s without an
  // answer.
  void TextThen(std::function<void(const QByteArray&)> got);
  bool Connected() const;
  // "ext_data_control_manager_v1" or "zwlr_data_control_manager_v1".
  const char* ProtocolName() const;

  struct State;

 private:
  DataControl();
  // Offers `utf8` as the selection; false when the compositor is gone.
  bool Claim(const QByteArray& utf8);
  // Asks the selection's owner for its text: the pipe's non-blocking read end, or -1.
  int Receive();
  std::unique_ptr<State> s_;
};

}  // namespace wlclip
