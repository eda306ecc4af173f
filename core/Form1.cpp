// Main window start-up, tray message handling and the popup menu's commands.
#include "core/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "core/Alarm.h"
#include "core/BookWatch.h"
#include "core/DataFiles.h"
#include "core/Form3.h"
#include "core/Form4.h"
#include "core/Help.h"
#include "core/Icons.h"
#include "core/Module1.h"
#include "core/PhoneBookFile.h"
#include "core/Settings.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/GlobalShortcut.h"
#include "platform/Log.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/ScreenSaver.h"
#include "platform/TrayIcon.h"
#include "platform/Twips.h"

Form1::Form1(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
  BuildLayout();
  BuildMenu();
  StartUp();
}

Form1::~Form1() {
  delete phoneMenu_;
  delete mnuTEL_;
}

void Form1::BuildLayout() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kAppTitle);
  setWindowIcon(icons::TrayIcon());
  // Fixed single border, no minimise or maximise box, and no close command.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  screen::FixedSizeTwips(this, 3075, 1170);
  setFont(fonts::Form());

  Image2 = new QLabel(this);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setPixmap(icons::AlarmBell(32));
  screen::PlaceTwips(Image2, 120, 120, 480, 480);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  screen::PlaceTwips(Label1, 660, 240, 2355, 420);

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  screen::PlaceTwips(Command1, 960, 690, 1170, 345);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

  Timer1.setInterval(10000);
  Timer2.setInterval(700);
  Timer3.setInterval(59000);
  connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
  connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
  connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
}

void Form1::BuildMenu() {
  mnuTEL_ = new QMenu(QStringLiteral("電話番号(&D)"));
  mnuTEL_->setObjectName(QStringLiteral("mnuTEL"));
  connect(mnuTEL_, &QMenu::aboutToHide, this, [this] { ctx_.session.PopupBusy = false; });

  QAction* mnuFind = mnuTEL_->addAction(QStringLiteral("クイック検索(&F)..."));
  mnuFind->setObjectName(QStringLiteral("mnuFind"));
  connect(mnuFind, &QAction::triggered, this, &Form1::OpenQuickFind);
  mnuTEL_->addSeparator();
  phoneMenu_ = new PhoneMenu(mnuTEL_, this);
  connect(phoneMenu_, &PhoneMenu::EntryChosen, this, &Form1::CopyEntry);
  mnuTEL_->addSeparator();

  QAction* mnuI = mnuTEL_->addAction(QStringLiteral("番号登録(&I)..."));
  mnuI->setObjectName(QStringLiteral("mnuI"));
  connect(mnuI, &QAction::triggered, this, [this] { OpenFactoryWindow(SubWindow::Editor); });

  QMenu* mnuC = mnuTEL_->addMenu(QStringLiteral("表示切替(&C)"));
  mnuC->setObjectName(QStringLiteral("mnuC"));
  groupItems_ = std::make_unique<MenuArray>(
      mnuC, [this](int g) { mnuC1_Click(g); }, true);
  groupItems_->SetCaption(1, QStringLiteral("データ １"));
  groupItems_->SetChecked(1, true);

  QMenu* mnuOption = mnuTEL_->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
  mnuOption->setObjectName(QStringLiteral("mnuOption"));
  QAction* mnuPost = mnuOption->addAction(QStringLiteral("郵便番号・住所 検索(&P)..."));
  mnuPost->setObjectName(QStringLiteral("mnuPost"));
  connect(mnuPost, &QAction::triggered, this, &Form1::mnuPost_Click);
  mnuOption->addSeparator();
  QAction* mnuSeo = mnuOption->addAction(QStringLiteral("DialnestPlus設定(&G)..."));
  mnuSeo->setObjectName(QStringLiteral("mnuSeo"));
  connect(mnuSeo, &QAction::triggered, this, [this] {
    OpenSubWindow([this] {
      auto* f = new Form4({Clipen, Topview, findKey_, shortcut_->Problem()}, ctx_);
      connect(f, &Form4::Applied, this, [this](const Form4::Values& v) {
        Clipen = v.clipen;
        Topview = v.topview;
        ShowGroupNames();
        SetFindKey(v.findKey);
      });
      return f;
    });
  });

  QMenu* mnuHLP = mnuTEL_->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&E)"));
  mnuHLP->setObjectName(QStringLiteral("mnuHLP"));
  QAction* mnuHelp = mnuHLP->addAction(QStringLiteral("Dialnest Plus ﾍﾙﾌﾟ(&M)..."));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  connect(mnuHelp, &QAction::triggered, this, &Form1::mnuHelp_Click);
  mnuHLP->addSeparator();
  QAction* mnuVer = mnuHLP->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  mnuVer->setObjectName(QStringLiteral("mnuVer"));
  connect(mnuVer, &QAction::triggered, this, [this] { OpenSubWindow([this] { return new Form3(ctx_); }); });

  mnuTEL_->addSeparator();
  QAction* mnuQ = mnuTEL_->addAction(QStringLiteral("終了(&Q)"));
  mnuQ->setObjectName(QStringLiteral("mnuQ"));
  connect(mnuQ, &QAction::triggered, this, &Form1::mnuQ_Click);
}

void Form1::StartUp() {
  if (const std::size_t n = Module1::RemoveLeftoverFiles())
    qInfo("removed %zu temporary files left by interrupted saves", n);
  bool settingsSaved = settings::ApplyFirstRunDefaults(IniFile(ctx_.SettingsPath())).saved;
  ctx_.session.CaptionHeight = screen::CaptionHeightPixels();

  tray_ = TrayIcon::Create(icons::TrayIcon(), this);
  connect(tray_, &TrayIcon::Message, this, &Form1::TrayMessage);
  tray_->SetTip(kAppTitle);
  tray_->SetMenu(mnuTEL_);

  LoadGroup(1);

  const IniFile ini(ctx_.SettingsPath());
  Clipen = settings::ReadSwitch(ini, settings::kClipen, settingsSaved);
  Topview = settings::ReadSwitch(ini, settings::kTopview, settingsSaved);

  for (int g = 1; g <= phonebook::kGroups; ++g)
    ctx_.session.SetGroupName(g, Module1::GetIni(settings::GroupKey(g)));
  ShowGroupNames();
  for (int g = 2; g <= phonebook::kGroups; ++g) groupItems_->SetChecked(g, false);
  groupItems_->SetChecked(1, true);
  // The icon comes up once its menu can answer: a big phone book takes a while to load.
  tray_->Add();
  bookWatch_ = new BookWatch(ctx_, this);
  connect(bookWatch_, &BookWatch::Stale, this, &Form1::ReloadPhoneMenus);

  shortcut_ = GlobalShortcut::Create();
  connect(shortcut_.get(), &GlobalShortcut::Activated, this, &Form1::OpenQuickFind);
  SetFindKey(Q(settings::ReadFindKey(ini)));

  const DateTime now = Clock::Now();
  ctx_.alarm.Start(now);
  Timer1.start();
  if (!settingsSaved)
    MsgBox(QStringLiteral("設定ファイル(%1)に書き込めませんでした\n設定は保存されません")
               .arg(Q(settings::kFileName)),
           MsgIcon::Error);
}

void Form1::Timer1_Timer() {
  const DateTime now = Clock::Now();
  const std::optional<std::string> due = ctx_.alarm.Check(now);
  if (!due) return;
  qCInfo(lcOrganizer, "alarm for %s went off at %02d:%02d:%02d", due->c_str(), now.hour, now.minute,
         now.second);
  const QString message = QString::fromStdString(alarmclock::Message(now, *due))
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  fonts::FitText(Label1, message, font());
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  show();
  screen::CentreOnScreen(this);
  raise();
  screensaver::Wake();  // once per alarm, without waiting for the screen saver's answer
  // A late alarm (the machine slept through its minute) is also left with the desktop, for a user who
  // is not at the screen yet.
  if (alarmclock::IsLate(now, *due) && tray_) tray_->Notify(kAppTitle, message);
  Timer2.start();
  Timer1.stop();
  Timer3.start();
}

void Form1::Timer2_Timer() {
  // The caption takes turns with a marked one, and the desktop is asked to draw attention to the window.
  flashed_ = !flashed_;
  setWindowTitle(flashed_ ? QStringLiteral("★ %1 ★").arg(kAppTitle) : kAppTitle);
  QApplication::alert(this, 0);
}

void Form1::Timer3_Timer() {
  Timer1.start();
}

void Form1::Command1_Click() {
  setWindowFlag(Qt::WindowStaysOnTopHint, false);
  hide();
  Timer2.stop();
  flashed_ = false;
  setWindowTitle(kAppTitle);
}

void Form1::ShowGroupNames() {
  for (int g = 1; g <= phonebook::kGroups; ++g) {
    if (g > groupItems_->Count()) groupItems_->Load();
    groupItems_->SetCaption(g, Q(ctx_.session.GroupName(g)));
  }
}

void Form1::ReloadPhoneMenus() {
  LoadGroup(ctx_.session.CurGroup);
  bookWatch_->Loaded();
}

void Form1::CopyEntry(const QString& text) {
  if (Clipen.On()) CopyToClipboard(text);
}

void Form1::LoadGroup(int group) {
  ctx_.session.CurGroup = group;
  phoneMenu_->Reload(ctx_.DataPath(datafiles::PhoneBook(group)));
}

void Form1::mnuC1_Click(int g) {
  LoadGroup(g);
  for (int i = 1; i <= groupItems_->Count(); ++i) groupItems_->SetChecked(i, false);
  groupItems_->SetChecked(g, true);
}

QPoint Form1::OrganizerPosition(QPoint pixels, double twipsPerPixelX, double twipsPerPixelY) {
  // Whole-screen positions do not fit 16 bits on wide screens, so the rounded value is kept whole.
  double y = pixels.y() * twipsPerPixelY;
  if (pixels.y() >= 90) y -= 2370;
  double x = pixels.x() * twipsPerPixelX - 2870;
  return {static_cast<int>(twips::RoundHalfEven(x)), static_cast<int>(twips::RoundHalfEven(y))};
}

void Form1::TrayMessage(int msg, QPoint pixels) {
  switch (msg) {
    case TrayIcon::kMouseMove:
      tray_->SetTip(kAppTitle);
      break;
    case TrayIcon::kLeftDown:
      if (!ctx_.session.SubWinOpen) OpenOrganizer(pixels);
      break;
    case TrayIcon::kRightDown:
      if (ctx_.session.PopupBusy || ctx_.session.SubWinOpen) return;
      ShowPopup(pixels);
      break;
    default:
      break;
  }
}

void Form1::ShowPopup(QPoint pixels) {
  ctx_.session.PopupBusy = true;
  mnuTEL_->popup(pixels);
  if (!mnuTEL_->isVisible()) ctx_.session.PopupBusy = false;
}

void Form1::OpenOrganizerAt(QPoint pixels) {
  if (!ctx_.session.SubWinOpen) OpenOrganizer(pixels);
}

void Form1::OpenOrganizer(QPoint pixels) {
  auto it = factories_.find(SubWindow::Organizer);
  if (it == factories_.end() || !it->second) return;
  OpenSubWindow([&] {
    QPoint pos = OrganizerPosition(pixels, screen::TwipsPerPixelX(), screen::TwipsPerPixelY());
    phoneMenu_->Clear();
    QWidget* w = it->second();
    w->move(twips::ToPixels(pos.x(), screen::TwipsPerPixelX()),
            twips::ToPixels(pos.y(), screen::TwipsPerPixelY()));
    w->setWindowFlag(Qt::WindowStaysOnTopHint, Topview.On());
    return w;
  });
}

void Form1::OpenFactoryWindow(SubWindow w) {
  auto it = factories_.find(w);
  if (it != factories_.end() && it->second) OpenSubWindow(it->second);
}

void Form1::OpenSubWindow(const std::function<QWidget*()>& make) {
  // One tray window at a time, whichever way the command came (a panel may keep showing its menu).
  if (ctx_.session.SubWinOpen) return;
  QWidget* w = make();
  if (!w) return;
  w->setAttribute(Qt::WA_DeleteOnClose);
  ctx_.session.SubWinOpen = true;
  UpdateTrayMenu();
  connect(w, &QObject::destroyed, this, [this] {
    ctx_.session.SubWinOpen = false;
    UpdateTrayMenu();
    bookWatch_->WindowsClosed();
  });
  w->show();
}

void Form1::UpdateTrayMenu() {
  tray_->SetMenuAvailable(!ctx_.session.SubWinOpen);
}

void Form1::mnuPost_Click() {
  // The window's factory tells the user when there is no list to search (and makes no window).
  OpenBesideTray(postal_, SubWindow::Postal);
}

void Form1::OpenBesideTray(QPointer<QWidget>& open, SubWindow w) {
  // One such window: asked for again, the open one comes to the front.
  if (open) {
    open->show();
    open->raise();
    open->activateWindow();
    return;
  }
  auto it = factories_.find(w);
  if (it == factories_.end() || !it->second) return;
  QWidget* made = it->second();
  if (!made) return;
  made->setAttribute(Qt::WA_DeleteOnClose);
  open = made;
  made->show();
}

void Form1::SetFindKey(const QString& portableText) {
  findKey_ = portableText;
  if (!shortcut_->Set(QKeySequence(portableText, QKeySequence::PortableText)))
    qCInfo(lcSession) << "quick-find shortcut not available:" << shortcut_->Problem();
}

void Form1::OpenQuickFind() {
  // Like the postal search: beside the other tray windows (SubWinOpen stays as it is).
  OpenBesideTray(quickFind_, SubWindow::Find);
}

void Form1::mnuHelp_Click() {
  help::Open(ctx_);
}

void Form1::mnuQ_Click() {
  tray_->Remove();
  hide();
  emit QuitRequested();
}

void Form1::closeEvent(QCloseEvent* e) {
  // The title bar offers no close; only OK hides the alarm window and only the menu ends the program.
  e->ignore();
}
