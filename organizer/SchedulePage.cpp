// Schedule entry: registration refuses what the file could not carry, before it is in the month.
#include "organizer/SchedulePage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>

#include "core/Alarm.h"
#include "core/DataFiles.h"
#include "core/Module1.h"
#include "core/SaveFailure.h"
#include "organizer/CalendarModel.h"
#include "organizer/CalendarPictures.h"
#include "organizer/OrganizerLayout.h"
#include "platform/Clock.h"
#include "platform/CommonControls.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/Twips.h"

namespace L = organizer_layout;

namespace {
void Place(QWidget* w, const L::Rect& r) {
  screen::PlaceTwips(w, r.left, r.top, r.width, r.height);
}
// Background colours of the first four marks; the others show only their picture.
const std::array<QColor, 4> kMarkColours{QColor(), QColor(192, 255, 255), QColor(192, 255, 192),
                                         QColor(255, 192, 255)};
QString MonthFileName(int year, int month) {
  const std::string path = datafiles::ScheduleMonth(year, month);
  return Q(path.substr(path.find_last_of('/') + 1));
}
}  // namespace

SchedulePage::SchedulePage(QWidget* frame, AppContext& ctx) : QObject(frame), ctx_(ctx) {
  Text1 = new QPlainTextEdit(frame);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setEnabled(false);
  Place(Text1, L::kText1);

  Label3[0] = new QLabel(QStringLiteral("背景選択"), frame);
  Label3[1] = new QLabel(QStringLiteral("ﾒｯｾｰｼﾞ 時刻"), frame);
  Place(Label3[0], L::kLabel3Mark);
  Place(Label3[1], L::kLabel3Time);

  auto* group = new QButtonGroup(this);
  for (int k = 0; k < 8; ++k) {
    auto* b = new QToolButton(frame);
    b->setObjectName(QStringLiteral("Option1_%1").arg(k));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setIcon(QIcon(calendar_pictures::MarkChoice(k)));
    if (k > 0 && k < 4)
      b->setStyleSheet(
          QStringLiteral("QToolButton { background: %1; } QToolButton:checked { border: 2px solid "
                         "rgb(60, 70, 120); }")
              .arg(kMarkColours[static_cast<std::size_t>(k)].name()));
    else
      b->setStyleSheet(QStringLiteral("QToolButton:checked { border: 2px solid rgb(60, 70, 120); }"));
    screen::PlaceTwips(b, L::kOptionLeft[static_cast<std::size_t>(k % 4)],
                       L::kOptionTop[static_cast<std::size_t>(k / 4)], L::kOptionWidth, L::kOptionHeight);
    group->addButton(b, k);
    connect(b, &QToolButton::clicked, this, [this] {
      if (Text1->isEnabled()) Text1->setFocus();
    });
    Option1[static_cast<std::size_t>(k)] = b;
  }
  Option1[0]->setChecked(true);

  Check1 = new QCheckBox(frame);
  Check1->setObjectName(QStringLiteral("Check1"));
  Place(Check1, L::kCheck1);
  connect(Check1, &QCheckBox::clicked, this, [this](bool on) {
    if (day_ != 0 && Text1->isEnabled()) month_.DayAlarm[static_cast<std::size_t>(day_ - 1)] = on ? 1 : 0;
  });

  Picture3 = new QWidget(frame);
  Picture3->setObjectName(QStringLiteral("Picture3"));
  Place(Picture3, L::kPicture3);
  hDtp = CreateTimePicker(Picture3, QStringLiteral("HH:mm"));
  hDtp->setObjectName(QStringLiteral("hDtp"));

  Command1 = new QPushButton(QStringLiteral("登録(&S)"), frame);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setToolTip(QStringLiteral("入力した内容を登録"));
  Command1->setEnabled(false);
  Place(Command1, L::kCommand1);
  connect(Command1, &QPushButton::clicked, this, &SchedulePage::Command1_Click);
  SetDayControlsEnabled(false);
  // Tab leaves the day text for the marks, the alarm switch, the time and 登録, in that order; a TAB is
  // never typed into the day's schedule.
  Text1->setTabChangesFocus(true);
  QWidget* previous = Text1;
  for (QWidget* next :
       std::initializer_list<QWidget*>{Option1[0], Option1[1], Option1[2], Option1[3], Option1[4], Option1[5],
                                       Option1[6], Option1[7], Check1, hDtp, Command1}) {
    QWidget::setTabOrder(previous, next);
    previous = next;
  }
}

void SchedulePage::SetPickerTime(int hour, int minute) {
  const QTime t(hour, minute);
  if (t.isValid()) hDtp->setTime(t);
}

void SchedulePage::ShowDay(int day) {
  day_ = day;
  const std::size_t i = static_cast<std::size_t>(day - 1);
  Text1->setEnabled(true);
  QString text = QString::fromStdString(month_.DayText[i]);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Text1->setPlainText(text);
  Text1->setFocus();
  const int mark = month_.DayMark[i];
  if (mark >= 0 && mark < 8) Option1[static_cast<std::size_t>(mark)]->setChecked(true);
  Check1->setChecked(month_.DayAlarm[i] == 1);
  const std::string& time = month_.DayTime[i];
  if (!time.empty())
    SetPickerTime(static_cast<int>(textchars::LeadingNumber(time.substr(0, 2))),
                  static_cast<int>(textchars::LeadingNumber(time.size() > 3 ? time.substr(3, 2) : "")));
  else
    SetPickerTime(0, 0);
  Command1->setEnabled(true);
  SetDayControlsEnabled(true);
}

void SchedulePage::SetDayControlsEnabled(bool on) {
  // They act on the picked day: usable only while a day of the month shown is picked.
  Check1->setEnabled(on);
  Picture3->setEnabled(on);
  for (QToolButton* b : Option1) b->setEnabled(on);
}

int SchedulePage::SelectedMark() const {
  for (int k = 0; k < 8; ++k)
    if (Option1[static_cast<std::size_t>(k)]->isChecked()) return k;
  return -1;
}

void SchedulePage::Command1_Click() {
  if (day_ < 1 || day_ > MonthSchedule::kDays) return;
  const std::string text = calendar::RegisteredText(Text1->toPlainText().toStdString());
  // Refused before it is in the month, so the month stays savable and nothing is changed silently.
  if (const std::string bad = sjis::FirstUnencodable(text); !bad.empty()) {
    MsgBox(QStringLiteral("スケジュールに使えない文字があります：%1").arg(QString::fromStdString(bad)),
           MsgIcon::Error);
    Text1->setFocus();
    return;
  }
  if (schedule::TextHasMarkerLine(text)) {
    MsgBox(QStringLiteral("「[D@TA]」で始まる行は登録できません"), MsgIcon::Error);
    Text1->setFocus();
    return;
  }
  const std::size_t i = static_cast<std::size_t>(day_ - 1);
  if (int k = SelectedMark(); k >= 0) month_.DayMark[i] = k;
  const QTime t = hDtp->time();
  month_.DayTime[i] = alarmclock::FormatTime(t.hour(), t.minute());
  month_.DayText[i] = text;
  dirty_ = true;
  emit Registered(day_);
  ctx_.alarm.Registered(Clock::Now(), year_, monthNo_, day_,
                        month_.DayAlarm[i] == 1 ? month_.DayTime[i] : std::string());
}

void SchedulePage::DisableEntry(bool clear) {
  if (clear) Text1->clear();
  Text1->setEnabled(false);
  Command1->setEnabled(false);
  SetDayControlsEnabled(false);
}

void SchedulePage::SetMarksEnabled(bool on) {
  for (QToolButton* b : Option1) b->setEnabled(on && Text1->isEnabled());
}

bool SchedulePage::UsesCalendar() const {
  return true;
}

void SchedulePage::Enter() {
  SetMarksEnabled(true);
  DisableEntry(true);
  SetPickerTime(0, 0);
}

void SchedulePage::Leave(bool) {
  DisableEntry(false);
  SetMarksEnabled(false);
}

bool SchedulePage::Close() {
  // A changed month is saved (or given up by the user's choice); the tray's alarm takes today's time
  // from what is stored now.
  if (!SaveIfDirty()) return false;
  ctx_.alarm.Load(Clock::Now());
  return true;
}

QString SchedulePage::Title() const {
  return QStringLiteral("ｽｹｼﾞｭｰﾙ");
}

void SchedulePage::Attach(PageHost& host) {
  connect(this, &SchedulePage::Registered, this, [&host](int day) {
    host.Redraw();
    host.ShowDayCaption(day);
  });
  connect(this, &SchedulePage::Reloaded, this, [&host] { host.Redraw(); });
}

bool SchedulePage::Ready() const {
  // The picker is the control this toolkit might refuse its format.
  return hDtp->displayFormat() == QStringLiteral("HH:mm");
}

std::vector<QWidget*> SchedulePage::PointerTargets() const {
  return {Text1->viewport()};
}

void SchedulePage::InputOpened() {
  SetPickerTime(0, 0);
}

void SchedulePage::InputClosed() {
  DisableEntry(true);
  if (Dirty() && SaveIfDirty()) ctx_.alarm.Load(Clock::Now());
}

bool SchedulePage::MonthLeaving() {
  return SaveIfDirty();
}

void SchedulePage::MonthShown(int year, int month) {
  DisableEntry(false);
  dirty_ = false;
  LoadMonth(year, month);
}

void SchedulePage::DayPicked(int, int, int day) {
  ShowDay(day);
}

void SchedulePage::FocusEntry() {
  if (Text1->isEnabled()) Text1->setFocus();
}

void SchedulePage::LoadMonth(int year, int month) {
  year_ = year;
  monthNo_ = month;
  if (schedule::LoadSchedule(ctx_.AppDir(), year, month, month_)) return;
  MsgBox(QStringLiteral("スケジュールファイル(%1)を正しく読み込めませんでした\nこの月の変更は保存されません")
             .arg(MonthFileName(year, month)),
         MsgIcon::Error);
}

bool SchedulePage::SaveIfDirty() {
  if (!dirty_) return true;
  schedule::SaveOutcome o = schedule::SaveSchedule(ctx_.AppDir(), year_, monthNo_, month_);
  if (o.kind == schedule::SaveResult::ChangedOnDisk) {
    switch (AskAboutChangedFile(MonthFileName(year_, monthNo_))) {
      case ChangedFileChoice::Overwrite:
        o = schedule::SaveSchedule(ctx_.AppDir(), year_, monthNo_, month_, true);
        break;
      case ChangedFileChoice::TakeTheirs:
        dirty_ = false;
        LoadMonth(year_, monthNo_);
        emit Reloaded();
        return true;
      case ChangedFileChoice::KeepBoth:
        return false;
    }
  }
  if (o.kind == schedule::SaveResult::Saved) {
    dirty_ = false;
    return true;
  }
  const QString refused = o.kind == schedule::SaveResult::Refused
                              ? QStringLiteral("%1日の予定に「[D@TA]」で始まる行があります").arg(o.item)
                              : QStringLiteral("%1日の予定に保存できない文字があります").arg(o.item);
  const QString why =
      WhyNotSaved(o, QStringLiteral("スケジュールファイル(%1)").arg(MonthFileName(year_, monthNo_)), refused);
  if (!GiveUpChanges(QStringLiteral("スケジュールを保存できませんでした"), why,
                     QStringLiteral("変更を破棄して続けますか？\n"
                                    "（いいえ：変更を残します。もう一度操作すると保存し直します）")))
    return false;
  dirty_ = false;
  LoadMonth(year_, monthNo_);  // the grid shows what is stored again
  emit Reloaded();
  return true;
}
