// Settings dialog: reads the group item captions and switches, writes them back on OK.
#include "core/Form4.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/IniFile.h"
#include "core/Module1.h"
#include "core/SaveFailure.h"
#include "core/Settings.h"
#include "platform/Autostart.h"
#include "platform/Fonts.h"
#include "platform/Log.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"

namespace {
// Twips the quick-find and start-up boxes add below the designed boxes.
constexpr int kFindBoxHeight = 1500;
constexpr int kStartBoxHeight = 825;
constexpr int kAddedHeight = kFindBoxHeight + kStartBoxHeight;
}  // namespace

Form4::Form4(const Values& values, AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Dialnest Plus 設定"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  screen::FixedSizeTwips(this, 3960, 4695 + kAddedHeight);
  setFont(fonts::Form());

  auto* names = new QGroupBox(QStringLiteral("グループ名設定"), this);
  screen::PlaceTwips(names, 120, 90, 3720, 2280);
  for (int i = 0; i < 5; ++i) {
    auto* l = new QLabel(QStringLiteral("グループ%1：").arg(i + 1), names);
    l->setObjectName(QStringLiteral("Label1_%1").arg(i));
    screen::PlaceTwips(l, 180, 375 + i * 390, 1020, 270);
    Text1[i] = new QLineEdit(names);
    Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    screen::PlaceTwips(Text1[i], 1260, 345 + i * 390, 2340, 330);
  }

  auto* click = new QGroupBox(QStringLiteral("Dialnest メニュークリック設定"), this);
  screen::PlaceTwips(click, 120, 2475, 3720, 735);
  Check1 = new QCheckBox(QStringLiteral("クリップボードにコピーする"), click);
  Check1->setObjectName(QStringLiteral("Check1"));
  screen::PlaceTwips(Check1, 240, 345, 3300, 300);

  auto* view = new QGroupBox(QStringLiteral("表示設定"), this);
  screen::PlaceTwips(view, 120, 3300, 3720, 735);
  Check2 = new QCheckBox(QStringLiteral("常に手前に表示する"), view);
  Check2->setObjectName(QStringLiteral("Check2"));
  screen::PlaceTwips(Check2, 240, 345, 3300, 300);

  // The quick-find shortcut under the designed boxes; the buttons keep their place below the boxes.
  auto* find = new QGroupBox(QStringLiteral("クイック検索"), this);
  screen::PlaceTwips(find, 120, 4125, 3720, kFindBoxHeight - 90);
  Check3 = new QCheckBox(QStringLiteral("ショートカットキー"), find);
  Check3->setObjectName(QStringLiteral("Check3"));
  screen::PlaceTwips(Check3, 240, 345, 1700, 300);
  Text2 = new QKeySequenceEdit(find);
  Text2->setObjectName(QStringLiteral("Text2"));
  screen::PlaceTwips(Text2, 1980, 315, 1620, 330);
  connect(Check3, &QCheckBox::toggled, Text2, &QWidget::setEnabled);
  Label2 = new QLabel(find);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  screen::PlaceTwips(Label2, 240, 720, 3360, kFindBoxHeight - 900);

  auto* start = new QGroupBox(QStringLiteral("起動"), this);
  screen::PlaceTwips(start, 120, 4125 + kFindBoxHeight, 3720, kStartBoxHeight - 90);
  Check4 = new QCheckBox(QStringLiteral("ログイン時に起動する"), start);
  Check4->setObjectName(QStringLiteral("Check4"));
  screen::PlaceTwips(Check4, 240, 345, 3300, 300);

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  screen::PlaceTwips(Command1, 1230, 4170 + kAddedHeight, 1215, 390);
  Command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  screen::PlaceTwips(Command2, 2625, 4170 + kAddedHeight, 1215, 390);
  connect(Command1, &QPushButton::clicked, this, &Form4::Ok);
  connect(Command2, &QPushButton::clicked, this, &QWidget::close);

  for (int i = 0; i < phonebook::kGroups; ++i)
    Text1[i]->setText(QString::fromStdString(ctx_.session.GroupName(i + 1)));
  Check1->setChecked(values.clipen.On());
  Check2->setChecked(values.topview.On());
  storedFindKey_ = values.findKey;
  Check3->setChecked(!values.findKey.isEmpty());
  Text2->setEnabled(Check3->isChecked());
  Text2->setKeySequence(QKeySequence(values.findKey.isEmpty() ? Q(settings::kFindKeyDefault) : values.findKey,
                                     QKeySequence::PortableText));
  Label2->setText(values.findKeyProblem);
  Check4->setChecked(autostart::Enabled());
  shown_ = Entered();
  // A name the file lacks (shown as its sentinel) is stored by OK, changed or not.
  const IniFile ini(ctx_.SettingsPath());
  for (int g = 1; g <= phonebook::kGroups; ++g) {
    std::string& value = shown_[static_cast<std::size_t>(g - 1)].second;
    if (!ini.Get(settings::kSection, settings::GroupKey(g))) value = "\n";
  }
}

void Form4::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  screen::CentreOnScreen(this);
}

IniFile::KeyValues Form4::Entered() const {
  IniFile::KeyValues v;
  for (int i = 0; i < 5; ++i)
    v.emplace_back(settings::GroupKey(i + 1), std::string(textchars::Trim(Text1[i]->text().toStdString())));
  v.emplace_back(settings::kClipen, settings::Switch::Of(Check1->isChecked()).Text());
  v.emplace_back(settings::kTopview, settings::Switch::Of(Check2->isChecked()).Text());
  v.emplace_back(std::string(settings::kFindKey),
                 Check3->isChecked() ? Text2->keySequence().toString(QKeySequence::PortableText).toStdString()
                                     : std::string());
  return v;
}

void Form4::Ok() {
  std::array<QString, phonebook::kGroups> names;
  for (int i = 0; i < 5; ++i) {
    names[i] = QString::fromStdString(std::string(textchars::Trim(Text1[i]->text().toStdString())));
    if (names[i].isEmpty()) {
      MsgBox(QStringLiteral("文字を入力して下さい"));
      return;
    }
  }
  for (int i = 0; i < 5; ++i) {
    // A pasted line break or tab would be refused by the settings file (or lost around the value).
    if (names[i].contains(QLatin1Char('\r')) || names[i].contains(QLatin1Char('\n')) ||
        names[i].contains(QLatin1Char('\t'))) {
      MsgBox(QStringLiteral("グループ名に改行やタブは使えません"), MsgIcon::Error);
      Text1[i]->setFocus();
      return;
    }
    std::string bad = sjis::FirstUnencodable(names[i].toStdString());
    if (!bad.empty()) {
      MsgBox(QStringLiteral("グループ名に使えない文字があります：%1").arg(QString::fromStdString(bad)),
             MsgIcon::Error);
      Text1[i]->setFocus();
      return;
    }
  }
  const IniFile::KeyValues entered = Entered();
  const settings::Switch clipen(entered[5].second);
  const settings::Switch topview(entered[6].second);
  const QString findKey = Check3->isChecked() ? Q(entered[7].second) : QString();
  for (int i = 0; i < phonebook::kGroups; ++i) ctx_.session.SetGroupName(i + 1, names[i].toStdString());
  emit Applied({clipen, topview, findKey, {}});
  // The login entry is its own setting, outside the settings file.
  if (QString why;
      Check4->isChecked() != autostart::Enabled() && !autostart::Set(Check4->isChecked(), &why)) {
    qCWarning(lcSession) << "login start:" << why;
    MsgBox(QStringLiteral("ログイン時の起動を設定できませんでした"), MsgIcon::Error);
  }
  // Only what the user changed here is written (one rewrite, all or nothing): OK with nothing changed
  // leaves the file alone, another program's change to a key not touched here stays, and a file
  // without the shortcut key keeps its bytes until the user changes the key.
  IniFile::KeyValues values;
  for (std::size_t i = 0; i < entered.size(); ++i)
    if (entered[i].second != shown_[i].second) values.push_back(entered[i]);
  if (values.empty()) {
    close();
    return;
  }
  const IniFile::PutResult saved = IniFile(ctx_.SettingsPath()).PutAll(settings::kSection, values);
  // The new values hold for this run either way; only the next start would not see them.
  if (!saved) {
    const QString why = WhyNotSaved(saved, QStringLiteral("設定ファイル(%1)").arg(Q(settings::kFileName)),
                                    QStringLiteral("%1 に保存できない文字があります").arg(Q(saved.key)));
    MsgBox(QStringLiteral("設定を保存できませんでした\n%1").arg(why), MsgIcon::Error);
  }
  close();
}
