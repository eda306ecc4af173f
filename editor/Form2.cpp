// Editor window: controls in twips, enabling rules, size memory and the save on closing.
#include "editor/Form2.h"

#include <limits>

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

#include "core/DataFiles.h"
#include "core/Kana.h"
#include "core/Module1.h"
#include "core/PhoneBookFile.h"
#include "core/SaveFailure.h"
#include "core/Settings.h"
#include "editor/EditorLayout.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/Twips.h"

namespace {

constexpr std::array<const char*, kana::kLetterCount> kLetterCommands{
    "mnuAA", "mnuAI", "mnuAU", "mnuAE", "mnuAO", "mnuKA", "mnuKI", "mnuKU", "mnuKE", "mnuKO", "mnuSA",
    "mnuSI", "mnuSU", "mnuSe", "mnuSO", "mnuTA", "mnuTI", "mnuTU", "mnuTE", "mnuTO", "mnuNA", "mnuNI",
    "mnuNU", "mnuNE", "mnuNO", "mnuHA", "mnuHI", "mnuHU", "mnuHE", "mnuHO", "mnuMA", "mnuMI", "mnuMU",
    "mnuME", "mnuMO", "mnuYA", "mnuYU", "mnuYO", "mnuRA", "mnuRI", "mnuRU", "mnuRE", "mnuRO", "mnuWA"};

double Tx() {
  return screen::TwipsPerPixelX();
}
double Ty() {
  return screen::TwipsPerPixelY();
}

// The client area with the etched rule under the menu bar.
class EtchedClient : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, width(), 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, width(), 1);
  }
};

}  // namespace

Form2::Form2(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("Form2"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  setFont(fonts::Form());
  BuildControls();
  BuildMenu();

  // Opening: stored size, title, centring, topmost, then the group file. A size that is missing (the
  // file's sentinel would give a window 999 twips wide) or not a number falls back to the default
  // rather than leaving the window half set up.
  const settings::EditorSize size = settings::ReadEditorSize(IniFile(ctx_.SettingsPath()));
  storedSize_ = size;
  SetOuterSize(size.width, size.height + CaptionCorrection());
  const QString group = Q(ctx_.session.GroupName(ctx_.session.CurGroup));
  setWindowTitle(QStringLiteral("DialnestPlus 新規登録・修正 ⇒ ") + group);

  switch (model_.Open(GroupPath())) {
    case PhoneBookEditor::OpenResult::Unreadable:
      MsgBox(
          QStringLiteral("電話帳ファイル(%1)を正しく読み込めませんでした\nこのグループの変更は保存されません")
              .arg(Q(datafiles::PhoneBook(ctx_.session.CurGroup))),
          MsgIcon::Warning);
      break;
    default:
      break;
  }
}

int Form2::CaptionCorrection() const {
  return ctx_.session.CaptionCorrection();
}

std::string Form2::GroupPath() const {
  return ctx_.DataPath(datafiles::PhoneBook(ctx_.session.CurGroup));
}

void Form2::BuildControls() {
  client_ = new EtchedClient(this);
  client_->setObjectName(QStringLiteral("client"));
  setCentralWidget(client_);

  auto label = [this](const QString& text, const char* name) {
    auto* l = new QLabel(text, client_);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
  };
  Label2[2] = label(QStringLiteral("電話番号入力"), "Label2_2");
  screen::PlaceTwips(Label2[2], 0, 120, 1275, 285);
  Label2[0] = label(QStringLiteral("選択文字"), "Label2_0");
  screen::PlaceTwips(Label2[0], 4590, 90, 795, 195);
  Label2[1] = label(QStringLiteral("登録一覧"), "Label2_1");
  screen::PlaceTwips(Label2[1], 0, 690, 915, 285);

  Text1 = new QLineEdit(QStringLiteral("ここに登録する電話番号等を入力します"), client_);
  Text1->setMaxLength(std::numeric_limits<int>::max());  // entries have no length limit
  Text1->setObjectName(QStringLiteral("Text1"));
  // The designed pale yellow, with dark text under any palette (a dark theme's text is light).
  QPalette pal = Text1->palette();
  pal.setColor(QPalette::Base, QColor(255, 255, 192));
  pal.setColor(QPalette::Text, Qt::black);
  pal.setColor(QPalette::Disabled, QPalette::Base, QColor(255, 255, 192));
  pal.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
  Text1->setPalette(pal);
  Text1->setEnabled(false);
  screen::PlaceTwips(Text1, 75, 360, 4440, 285);

  Label1 = label("", "Label1");
  Label1->setFrameShape(QFrame::Box);
  Label1->setFont(fonts::Design(fonts::Face::PGothic, 11.25, true));
  screen::PlaceTwips(Label1, 4680, 360, 645, 285);

  List1 = new QListWidget(client_);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setToolTip(QStringLiteral("登録された内容が表示されます"));
  List1->setEnabled(false);
  screen::PlaceTwips(List1, 60, 900, 4440, 2760);

  const std::array<QString, 4> captions{QStringLiteral("修正(&C)"), QStringLiteral("閉じる"),
                                        QStringLiteral("削除"), QStringLiteral("追加(&Z)")};
  const std::array<int, 4> tops{900, 3270, 1800, 1350};
  for (int i = 0; i < 4; ++i) {
    Command1[i] = new QPushButton(captions[i], client_);
    Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    Command1[i]->setAutoDefault(false);
    Command1[i]->setEnabled(i == 1);
    screen::PlaceTwips(Command1[i], i == 1 ? 4575 : 4590, tops[i], 825, 375);
  }
  connect(Command1[0], &QPushButton::clicked, this, &Form2::OnModify);
  connect(Command1[1], &QPushButton::clicked, this, [this] {
    hide();
    close();
  });
  connect(Command1[2], &QPushButton::clicked, this, &Form2::OnDelete);
  connect(Command1[3], &QPushButton::clicked, this, &Form2::OnAdd);
  connect(Text1, &QLineEdit::textChanged, this, &Form2::ApplyInputRule);
  connect(List1, &QListWidget::itemSelectionChanged, this, &Form2::OnSelectionChanged);
  // A click on the entry that is already selected is a selection too: it resets an edited input.
  connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) {
    if (it->isSelected() && List1->selectedItems().size() == 1) OnSelectionChanged();
  });

  // Tab order: close, input, list, then Modify, Delete, Add (labels take no focus).
  setTabOrder(Command1[1], Text1);
  setTabOrder(Text1, List1);
  setTabOrder(List1, Command1[0]);
  setTabOrder(Command1[0], Command1[2]);
  setTabOrder(Command1[2], Command1[3]);
  Command1[1]->setFocus();
}

void Form2::BuildMenu() {
  QMenu* mnuB = menuBar()->addMenu(QStringLiteral("文字選択(&B)"));
  mnuB->setObjectName(QStringLiteral("mnuB"));
  for (const kana::Row& row : kana::kRows) {
    QMenu* rowMenu = mnuB->addMenu(Q(row.caption));
    for (int k = row.first; k < row.first + row.count; ++k) {
      QAction* a = rowMenu->addAction(Q(kana::Letter(k)));
      a->setObjectName(QString::fromLatin1(kLetterCommands[static_cast<std::size_t>(k - 1)]));
      connect(a, &QAction::triggered, this, [this, k] { ReadList(k); });
    }
  }
  txtUP = menuBar()->addAction(QStringLiteral("▲(&U)"));
  txtUP->setObjectName(QStringLiteral("txtUP"));
  txtUP->setEnabled(false);
  connect(txtUP, &QAction::triggered, this, [this] { OnMove(true); });
  txtDWN = menuBar()->addAction(QStringLiteral("▼(&D)"));
  txtDWN->setObjectName(QStringLiteral("txtDWN"));
  txtDWN->setEnabled(false);
  connect(txtDWN, &QAction::triggered, this, [this] { OnMove(false); });
}

void Form2::SetOuterSize(int widthTwips, int heightTwips) {
  outerW_ = widthTwips;
  outerH_ = heightTwips;
  applying_ = true;
  ensurePolished();
  const QSize client =
      screen::ClientPixels(outerW_, outerH_, kFrameWidth, kFrameHeight + CaptionCorrection());
  appliedPx_ = QSize(client.width(), client.height() + menuBar()->sizeHint().height());
  resize(appliedPx_);
  applying_ = false;
  ApplyLayout();
}

void Form2::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (applying_) return;
  // A size the user dragged: the twips follow the pixels only where they changed, so a stored size
  // survives the round trip through whole pixels.
  outerW_ = screen::FollowDrag(outerW_, appliedPx_.width(), width(), Tx());
  outerH_ = screen::FollowDrag(outerH_, appliedPx_.height(), height(), Ty());
  appliedPx_ = size();
  ApplyLayout();
}

void Form2::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (centred_) return;
  centred_ = true;
  screen::CentreOnScreen(this);
}

void Form2::ApplyLayout() {
  EditorLayout l = LayoutEditor(outerW_, outerH_, CaptionCorrection());
  if (l.textWidth > 0) {
    screen::PlaceTwips(Text1, 75, 360, l.textWidth, 285);
    if (l.listHeight > 0) screen::PlaceTwips(List1, 60, 900, l.textWidth, l.listHeight);
  }
  screen::PlaceTwips(Label1, l.label1Left, 360, 645, 285);
  screen::PlaceTwips(Label2[0], l.label20Left, 90, 795, 195);
  screen::PlaceTwips(Command1[0], l.buttonsLeft, 900, 825, 375);
  screen::PlaceTwips(Command1[3], l.buttonsLeft, 1350, 825, 375);
  screen::PlaceTwips(Command1[2], l.buttonsLeft, 1800, 825, 375);
  screen::PlaceTwips(Command1[1], l.buttonsLeft, l.closeTop, 825, 375);
  if (l.snapHeight) SetOuterSize(outerW_, *l.snapHeight);
}

void Form2::ReadList(int k) {
  Text1->clear();
  Text1->setEnabled(true);
  model_.ReadList(k);
  List1->setEnabled(true);
  Label1->setText(Q(kana::Letter(k)));
  ShowList();
  Text1->setFocus();
}

void Form2::ShowList() {
  syncingList_ = true;
  List1->clear();
  for (const std::string& e : model_.List()) List1->addItem(QString::fromStdString(e));
  if (model_.Selected() >= 0) List1->setCurrentRow(model_.Selected());
  syncingList_ = false;
}

void Form2::ApplyInputRule() {
  if (!PhoneBookEditor::IsBlank(Text1->text().toStdString())) {
    Command1[3]->setEnabled(true);
    if (!List1->selectedItems().isEmpty() && List1->count() > 0) Command1[0]->setEnabled(true);
  } else {
    Command1[0]->setEnabled(false);
    Command1[3]->setEnabled(false);
  }
}

void Form2::OnSelectionChanged() {
  if (syncingList_) return;
  QList<QListWidgetItem*> sel = List1->selectedItems();
  if (sel.isEmpty()) {
    model_.ClearSelection();
    return;
  }
  model_.Select(List1->row(sel.first()));
  const QString entry = QString::fromStdString(model_.List()[static_cast<std::size_t>(model_.Selected())]);
  // An input already equal to the entry sends no text change, but the selection step still applies it.
  if (Text1->text() == entry)
    ApplyInputRule();
  else
    Text1->setText(entry);
  Text1->setFocus();
  Command1[2]->setEnabled(true);
  txtUP->setEnabled(true);
  txtDWN->setEnabled(true);
}

bool Form2::Refuse(PhoneBookEditor::EditResult r) {
  if (r == PhoneBookEditor::EditResult::Unencodable) {
    std::string bad = sjis::FirstUnencodable(Text1->text().toStdString());
    MsgBox(QStringLiteral("この文字は登録できません：%1").arg(QString::fromStdString(bad)), MsgIcon::Error);
    return true;
  }
  if (r == PhoneBookEditor::EditResult::MarkerText) {
    MsgBox(QStringLiteral("[D@TA] は登録できません"), MsgIcon::Error);
    return true;
  }
  return false;
}

void Form2::OnAdd() {
  auto r = model_.Add(Text1->text().toStdString());
  if (Refuse(r)) return;
  if (r == PhoneBookEditor::EditResult::Done) {
    ShowList();
    Text1->clear();
  }
  Text1->setFocus();
  Command1[2]->setEnabled(false);
}

void Form2::OnModify() {
  auto r = model_.Modify(Text1->text().toStdString());
  if (Refuse(r)) return;
  if (r == PhoneBookEditor::EditResult::Done) ShowList();
  Text1->setFocus();
  Command1[2]->setEnabled(false);
}

void Form2::OnDelete() {
  if (model_.Delete()) {
    ShowList();
    Text1->clear();
  }
  Text1->setFocus();
  Command1[2]->setEnabled(false);
  txtUP->setEnabled(false);
  txtDWN->setEnabled(false);
}

void Form2::OnMove(bool up) {
  if (!(up ? model_.MoveUp() : model_.MoveDown())) return;
  ShowList();
  Text1->setText(QString::fromStdString(model_.List()[static_cast<std::size_t>(model_.Selected())]));
}

bool Form2::Savedata() {
  return static_cast<bool>(model_.Savedata(GroupPath()));
}

void Form2::closeEvent(QCloseEvent* e) {
  // Only a book the user changed is written: one only looked at stays as it is on disk.
  if (model_.CurrentLetter() != 0 && model_.CanSave() && model_.Changed()) {
    model_.SetMaster();
    StoreOutcome saved = model_.Savedata(GroupPath());
    if (saved.kind == StoreOutcome::Kind::ChangedOnDisk) {
      switch (AskAboutChangedFile(Q(datafiles::PhoneBook(ctx_.session.CurGroup)))) {
        case ChangedFileChoice::Overwrite:
          saved = model_.Savedata(GroupPath(), true);
          break;
        case ChangedFileChoice::TakeTheirs:
          emit PhoneMenusStale();  // the other program's book, in the menus too
          SaveSizeIfChanged();
          e->accept();
          return;
        case ChangedFileChoice::KeepBoth:
          show();
          e->ignore();
          return;
      }
    }
    if (!saved && saved.kind != StoreOutcome::Kind::ChangedOnDisk) {
      // The file and the edits stay as they are. "No" keeps the window: the user can free the file or
      // copy the entries out and close again (which retries); "Yes" is the way out without saving.
      const QString why = WhyNotSaved(
          saved, QStringLiteral("電話帳ファイル(%1)").arg(Q(datafiles::PhoneBook(ctx_.session.CurGroup))));
      if (!GiveUpChanges({}, why,
                         QStringLiteral("変更を保存せずに閉じますか？\n"
                                        "（いいえ：編集を続けます。もう一度閉じると保存し直します）"))) {
        show();
        e->ignore();
        return;
      }
    } else if (saved) {
      emit PhoneMenusStale();
    } else {
      show();  // changed on disk again while asked: ask again at the next close
      e->ignore();
      return;
    }
  }
  SaveSizeIfChanged();
  e->accept();
}

void Form2::SaveSizeIfChanged() {
  // Stored without the caption correction, which the next opening adds again; an unchanged size
  // leaves the settings file alone.
  const settings::EditorSize size{outerW_, outerH_ - CaptionCorrection()};
  if (size.width == storedSize_.width && size.height == storedSize_.height) return;
  if (settings::WriteEditorSize(IniFile(ctx_.SettingsPath()), size))
    storedSize_ = size;
  else
    MsgBox(QStringLiteral("ウィンドウの大きさを保存できませんでした"), MsgIcon::Warning);
}
