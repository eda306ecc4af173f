// About box layout.
#include "core/Form3.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "core/CommandLine.h"
#include "core/Icons.h"
#include "core/Module1.h"
#include "platform/Desktop.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"

Form3::Form3(AppContext& ctx, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Dialnest Plus のﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  // The design's box, with the data folder below it: users ask where their files are.
  screen::FixedSizeTwips(this, 3435, 2340);
  setFont(fonts::Form());

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setPixmap(icons::PhoneBook(16));
  screen::PlaceTwips(picture, 240, 240, 240, 240);

  Label1 = new QLabel(QStringLiteral("Dialnest Plus  Ver") + QString::fromUtf8(commandline::kVersion), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(fonts::Design(fonts::Face::PMincho, 11));
  screen::PlaceTwips(Label1, 720, 210, 2600, 330);

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  screen::PlaceTwips(Command1, 1200, 780, 1035, 375);
  connect(Command1, &QPushButton::clicked, this, &QWidget::close);

  auto* heading = new QLabel(QStringLiteral("データフォルダ："), this);
  heading->setObjectName(QStringLiteral("Label2"));
  screen::PlaceTwips(heading, 240, 1230, 2955, 285);
  Label3 = new QLabel(this);
  Label3->setObjectName(QStringLiteral("Label3"));
  screen::PlaceTwips(Label3, 240, 1485, 2955, 285);
  const QString folder = QDir::toNativeSeparators(QString::fromStdString(ctx.AppDir()));
  // A long path keeps its end (the folder's own name) in view; the whole of it is the tooltip.
  Label3->setText(Label3->fontMetrics().elidedText(folder, Qt::ElideMiddle, Label3->width()));
  Label3->setToolTip(folder);
  Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Command2 = new QPushButton(QStringLiteral("フォルダを開く(&F)"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  screen::PlaceTwips(Command2, 960, 1845, 1515, 345);
  connect(Command2, &QPushButton::clicked, this, [folder] {
    desktop::Open(folder, [folder] {
      MsgBox(
          QStringLiteral("フォルダを開くプログラムが見つかりませんでした\nデータフォルダ：\n%1").arg(folder),
          MsgIcon::Information);
    });
  });
}

void Form3::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  screen::CentreOnScreen(this);
}
