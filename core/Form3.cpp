// About box layout.
#include "core/Form3.h"

#include <QLabel>
#include <QPushButton>

#include "core/Icons.h"
#include "platform/Screen.h"
#include "platform/Twips.h"

Form3::Form3(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Dialnest Plus のﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  const double tx = screen::TwipsPerPixelX(), ty = screen::TwipsPerPixelY();
  auto place = [tx, ty](QWidget* w, int l, int t, int wd, int h) {
    w->setGeometry(twips::ToPixels(l, tx), twips::ToPixels(t, ty), twips::ToPixels(wd, tx), twips::ToPixels(h, ty));
  };
  setFixedSize(twips::ToPixels(3435, tx), twips::ToPixels(1305, ty));

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setPixmap(icons::PhoneBook(16));
  place(picture, 240, 240, 240, 240);

  Label1 = new QLabel(QStringLiteral("Dialnest Plus  Ver1.50"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont f = Label1->font();
  f.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("Noto Serif CJK JP"),
                 QStringLiteral("IPAPMincho"), QStringLiteral("serif")});
  f.setPointSize(11);
  Label1->setFont(f);
  place(Label1, 720, 210, 2600, 330);

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  place(Command1, 1200, 780, 1035, 375);
  connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void Form3::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  screen::CentreOnScreen(this);
}
