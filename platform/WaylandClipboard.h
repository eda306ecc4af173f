// The clipboard of a Wayland session set over the data-control protocol, on the program's own Wayland
// connection: a tray program has no focused window when a menu item is chosen, and only the focused
// client may set the clipboard the ordinary way. Works whichever Qt plugin draws the windows.
#pragma once

#include <QByteArray>
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
  // and reads the selection back: true only when what is read equals what was set.
  [[nodiscard]] bool SetText(const QByteArray& utf8);
  // The current selection as text (empty when there is none or it offers no text); waits at most 1 s.
  QByteArray Text();
  bool Connected() const;
  // "ext_data_control_manager_v1" or "zwlr_data_control_manager_v1".
  const char* ProtocolName() const;

  struct State;

 private:
  DataControl();
  std::unique_ptr<State> s_;
};

}  // namespace wlclip
