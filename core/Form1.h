// The hidden main window: tray icon, popup menu with the letter menus and group items, the commands
// that open every other window, and (as the alarm window) its small layout.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>

#include "core/AppContext.h"
#include "core/Kana.h"
#include "core/MenuArray.h"
#include "core/Module1.h"
#include "core/PhoneMenu.h"
#include "core/Settings.h"

class QAction;
class QLabel;
class QMenu;
class BookWatch;
class QPushButton;
class TrayIcon;
class GlobalShortcut;

class Form1 : public QWidget {
  Q_OBJECT
 public:
  // Windows opened from the tray that live in other rooms; the program wires their makers in.
  enum class SubWindow { Editor, Organizer, Postal, Find };
  using Factory = std::function<QWidget*()>;

  // `ctx`: the run's context, which the tray's windows share (main's own; a test's fresh one).
  explicit Form1(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);
  ~Form1() override;

  // Puts the entry on the clipboard when Clipen reads as true.
  void CopyEntry(const QString& text);
  // Switches the letter menus to group g (also reloads the current group).
  void mnuC1_Click(int g);
  // One tray mouse message (0x200, 0x201, 0x204) with the pointer in screen pixels.
  void TrayMessage(int msg, QPoint pixels);

  // The alarm: clock check every 10 s, caption flashing every 700 ms while the alarm window is up, and
  // the clock check switched back on 59 s after an alarm.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  // OK on the alarm window.
  void Command1_Click();

  // Where the organiser opens for a left click at `pixels`: its top-left in twips, its lower right
  // corner at the pointer (below the pointer when the tray is near the top of the screen).
  static QPoint OrganizerPosition(QPoint pixels, double twipsPerPixelX, double twipsPerPixelY);

  void SetWindowFactory(SubWindow w, Factory f) { factories_[w] = std::move(f); }
  // A window that changes phone books or clears the letter menus: its PhoneMenusStale signal reloads
  // them. The connection is made by type, so a renamed signal fails the build instead of the reload.
  template <class Make>
  void SetBookWindowFactory(SubWindow w, Make make) {
    using Window = std::remove_pointer_t<std::invoke_result_t<Make&>>;
    SetWindowFactory(w, [this, make = std::move(make)]() mutable -> QWidget* {
      Window* window = make();
      if (window) connect(window, &Window::PhoneMenusStale, this, &Form1::ReloadPhoneMenus);
      return window;
    });
  }
  // Shows a tray window: sets SubWinOpen until the window is destroyed (closing deletes it).
  // Makes and shows a tray window unless one is open already.
  void OpenSubWindow(const std::function<QWidget*()>& make);

  MenuArray& LetterItems(int kanaIndex) { return phoneMenu_->LetterItems(kanaIndex); }
  PhoneMenu& Phones() { return *phoneMenu_; }
  MenuArray& GroupItems() { return *groupItems_; }
  QMenu* PopupMenu() const { return mnuTEL_; }
  TrayIcon* Tray() const { return tray_; }

  // The in-memory switches ("True" / "False" or whatever the file held).
  settings::Switch Clipen;
  settings::Switch Topview;

 public slots:
  // The current group's file into the letter menus again (a tray window changed it).
  void ReloadPhoneMenus();
  // Opens the quick-find window, or brings the open one to the front.
  void OpenQuickFind();
  // The organiser as a left click at `pixels` opens it (a second start's `--organizer`).
  void OpenOrganizerAt(QPoint pixels);

 signals:
  void QuitRequested();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildLayout();
  void BuildMenu();
  void StartUp();
  void OpenFactoryWindow(SubWindow w);
  void mnuPost_Click();
  void mnuHelp_Click();
  void mnuQ_Click();
  // The group's book in the letter menus; it becomes the current group.
  void LoadGroup(int group);
  void ShowPopup(QPoint pixels);
  void OpenOrganizer(QPoint pixels);
  void UpdateTrayMenu();
  // The group items' captions from the stored group names.
  void ShowGroupNames();
  void SetFindKey(const QString& portableText);
  // Opens a window that lives beside the tray windows (postal search, quick find): one at a time.
  void OpenBesideTray(QPointer<QWidget>& open, SubWindow w);

  TrayIcon* tray_ = nullptr;
  QMenu* mnuTEL_ = nullptr;
  PhoneMenu* phoneMenu_ = nullptr;
  AppContext& ctx_;
  std::unique_ptr<MenuArray> groupItems_;
  std::map<SubWindow, Factory> factories_;

  bool flashed_ = false;
  BookWatch* bookWatch_ = nullptr;  // another program's change to the current book
  QPointer<QWidget> postal_;        // the open postal search window
  QPointer<QWidget> quickFind_;     // the open quick-find window
  std::unique_ptr<GlobalShortcut> shortcut_;
  QString findKey_;  // FindKey as this run uses it; empty: off

 public:
  QLabel* Image2 = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;
  QTimer Timer1;
  QTimer Timer2;
  QTimer Timer3;
};
