// Settings dialog: reads the group item captions and switches, writes them back on OK.
#include "core/Form4.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/IniFile.h"
#include "core/Module1.h"
#include "core/Settings.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"

Form4::Form4(const QString& clipen, const QString& topview, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Dialnest Plus 設定"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  screen::FixedSizeTwips(this, 3960, 4695);
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

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  screen::PlaceTwips(Command1, 1230, 4170, 1215, 390);
  Command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  screen::PlaceTwips(Command2, 2625, 4170, 1215, 390);
  connect(Command1, &QPushButton::clicked, this, &Form4::Ok);
  connect(Command2, &QPushButton::clicked, this, &QWidget::close);

  for (int i = 0; i < Module1::kGroupCount; ++i)
    Text1[i]->setText(QString::fromStdString(Module1::GroupName(i + 1)));
  Check1->setChecked(textchars::TextIsTrue(clipen.toStdString()));
  Check2->setChecked(textchars::TextIsTrue(topview.toStdString()));
}

void Form4::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  screen::CentreOnScreen(this);
}

void Form4::Ok() {
  std::array<QString, 5> names;
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
  const QString clipen = Check1->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
  const QString topview = Check2->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
  for (int i = 0; i < Module1::kGroupCount; ++i) Module1::SetGroupName(i + 1, names[i].toStdString());
  emit Applied(clipen, topview);
  // One rewrite for all seven: a failure leaves the whole file as it was.
  IniFile::KeyValues values;
  for (int i = 0; i < 5; ++i) values.emplace_back("DATA" + std::to_string(i + 1), names[i].toStdString());
  values.emplace_back("Clipen", clipen.toStdString());
  values.emplace_back("Topview", topview.toStdString());
  const bool saved = IniFile(Module1::IniPath()).PutAll(settings::kSection, values);
  // The new values hold for this run either way; only the next start would not see them.
  if (!saved) MsgBox(QStringLiteral("設定を保存できませんでした"), MsgIcon::Error);
  close();
}
