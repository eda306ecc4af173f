// A key that works whatever window has the focus. Chosen at start-up behind one interface: on Windows a
// hot key (RegisterHotKey); on an X11 display the key is grabbed from the X server; on a Wayland session
// it is asked of the desktop portal (GlobalShortcuts) where the desktop offers one; elsewhere the object
// says why there is none.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <memory>

namespace globalshortcut {
// The keys a shortcut can be made of, the same on every system: a letter, a digit, F1 to F24, Space,
// Insert, Home or End (with any modifiers). Each system maps them to its own key codes.
struct Key {
  enum class Kind { None, Letter, Digit, Function, Space, Insert, Home, End };
  Kind kind = Kind::None;
  int index = 0;  // for a letter, digit or F-key: its place from 'A', '0' or F1
};
Key Classify(int qtKey);
}  // namespace globalshortcut

class GlobalShortcut : public QObject {
  Q_OBJECT
 public:
  // The implementation for the display the program runs on.
  static std::unique_ptr<GlobalShortcut> Create();

  // Registers `key` (its first chord), replacing the previous; an empty key switches it off. False
  // when it could not be registered (Problem() says why).
  virtual bool Set(const QKeySequence& key) = 0;
  // Why the key does not work, in Japanese for the settings dialog; empty while it works (or is off).
  QString Problem() const { return problem_; }

 signals:
  void Activated();

 protected:
  // The settings dialog's texts: no way to register a key here, and a key that cannot be one.
  static QString NoGrabText();
  static QString UnusableKeyText(const QKeySequence& key);

  QString problem_;
};
