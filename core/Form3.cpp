// About box layout.
#include "core/Form3.h"

#include <QLabel>
#include <QPushButton>

#include "core/CommandLine.h"
#include "core/Icons.h"
#include "platform/Fonts.h"
#include "platform/Screen.h"

Form3::Form3(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Dialnest Plus のﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  screen::FixedSizeTwips(this, 3435, 1305);
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
}

void Form3::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  screen::CentreOnScreen(this);
}
