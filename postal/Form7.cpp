// Search window: conversion and search run in short steps on the user-interface thread.
#include "postal/Form7.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "core/DataFiles.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"
#include "postal/PostalResults.h"

namespace {

const QString kTitle = QStringLiteral("郵便番号・住所　検索");  // the designed title (ideographic space)
const QString kTitleAfterConversion = QStringLiteral("郵便番号・住所 検索");
const QString kTitleConverting = QStringLiteral("データファイルを作成中...しばらくお待ちください");
const QString kSearch = QStringLiteral("検索(&S)");
const QString kStop = QStringLiteral("中断");
const QString kSearching = QStringLiteral("データ検索中");
const QString kFinished = QStringLiteral("データ検索終了");

QFont StatusFont() {
  return fonts::Design(fonts::Face::Gothic, 9.75);
}

}  // namespace

// The start-up clean-up knows the converted list by the name the converter writes.
static_assert(std::string_view(postal::kDataName) == datafiles::kPostal);

Form7* Form7::Open(AppContext& ctx) {
  if (postal::DataAvailable(ctx.AppDir())) return new Form7(ctx);
  MsgBox(QStringLiteral("郵便番号データファイルがありません"), MsgIcon::Error);
  return nullptr;
}

Form7::Form7(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(kTitle);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(fonts::Form());
  BuildControls();
  SetOuterWidth(kMinWidth);

  dir_ = ctx_.AppDir();
  // The published list is named KEN_ALL.CSV; any spelling of either name is taken.
  const std::string data = textfile::FindNameIgnoringCase(dir_, postal::kDataName);
  const std::string source = postal::FindSourceName(dir_);
  if (data.empty() && !source.empty()) {
    StartConversion(source);
  } else {
    LoadData();
  }
}

Form7::~Form7() {
  SetBusyCursor(std::nullopt);
}

int Form7::CaptionCorrection() const {
  return ctx_.session.CaptionCorrection();
}

void Form7::BuildControls() {
  Label3[3] = new QLabel(QStringLiteral("検索する番号・住所(&F)"), this);
  screen::PlaceTwips(Label3[3], 75, 75, 1890, 240);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  screen::PlaceTwips(Text1, 75, 300, 3720, 315);
  Label3[3]->setBuddy(Text1);

  Command1 = new QPushButton(kSearch, this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setAutoDefault(true);
  connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
  connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(StatusFont());
  screen::PlaceTwips(Label1, 3825, 300, 1710, 225);
  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(StatusFont());
  Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  screen::PlaceTwips(Label2, 3900, 495, 1590, 210);

  auto* bar = new QLabel(this);
  bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Label3[2] = bar;
  Label3[0] = new QLabel(QStringLiteral("郵便番号"), this);
  screen::PlaceTwips(Label3[0], 150, 825, 765, 240);
  Label3[1] = new QLabel(QStringLiteral("住　　　所"), this);
  screen::PlaceTwips(Label3[1], 2700, 825, 1215, 240);
  // The etched divider between the headings.
  for (int i = 0; i < 2; ++i) {
    auto* line = new QFrame(this);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, palette().color(i == 0 ? QPalette::Dark : QPalette::Light));
    line->setPalette(p);
    screen::PlaceTwips(line, i == 0 ? 900 : 915, 780, 15, 300);
  }

  results_ = new PostalResults(this);
  List1 = new QListView(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setModel(results_);
  List1->setUniformItemSizes(true);
  List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  List1->setSelectionMode(QAbstractItemView::SingleSelection);
  // The designed white list keeps dark text under any desktop palette (a dark theme's text is light).
  QPalette lp = List1->palette();
  lp.setColor(QPalette::Base, Qt::white);
  lp.setColor(QPalette::Text, Qt::black);
  List1->setPalette(lp);
  List1->viewport()->installEventFilter(this);

  Command2 = new QPushButton(QStringLiteral("閉じる(&Q)"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  connect(Command2, &QPushButton::clicked, this, &QWidget::close);

  setTabOrder(Text1, Command1);
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, List1);

  mnuMENU = new QMenu(QStringLiteral("menu"), this);
  mnuCOPY = mnuMENU->addAction(QStringLiteral("住所をコピー(&J)"));
  // The postal code item: the obvious caption, not the one with the doubled character.
  mnuYUBIN = mnuMENU->addAction(QStringLiteral("郵便番号をコピー(&U)"));
  mnuCOPYA = mnuMENU->addAction(QStringLiteral("すべてコピー(&C)"));
  connect(mnuCOPY, &QAction::triggered, this, [this] { Copy(postal::CopyWhat::Address); });
  connect(mnuYUBIN, &QAction::triggered, this, [this] { Copy(postal::CopyWhat::PostalCode); });
  connect(mnuCOPYA, &QAction::triggered, this, [this] { Copy(postal::CopyWhat::WholeLine); });
}

void Form7::SetBusyCursor(std::optional<Qt::CursorShape> shape) {
  if (cursorSet_) QApplication::restoreOverrideCursor();
  cursorSet_ = shape.has_value();
  if (shape) QApplication::setOverrideCursor(*shape);
}

void Form7::StartConversion(const std::string& source) {
  setWindowTitle(kTitleConverting);
  for (QWidget* w : {static_cast<QWidget*>(Command1), static_cast<QWidget*>(Command2),
                     static_cast<QWidget*>(Text1), static_cast<QWidget*>(List1)})
    w->setEnabled(false);
  SetBusyCursor(Qt::WaitCursor);
  converter_ = std::make_unique<postal::Converter>();
  if (!converter_->Open(dir_ + source, dir_ + postal::kDataName)) {
    converter_.reset();
    SetBusyCursor(std::nullopt);
    // Shown after the window is up, as a failure at the end of a conversion is.
    QTimer::singleShot(0, this, &Form7::ConversionFailed);
    return;
  }
  QTimer::singleShot(0, this, &Form7::ConversionStep);
}

void Form7::ConversionStep() {
  if (!converter_) return;
  if (converter_->Step(2 * kStepBytes)) {
    QTimer::singleShot(0, this, &Form7::ConversionStep);
    return;
  }
  const bool ok = converter_->Finish();
  converter_.reset();
  SetBusyCursor(std::nullopt);
  Command2->setEnabled(true);
  if (!ok) {
    ConversionFailed();
    return;
  }
  setWindowTitle(kTitleAfterConversion);
  for (QWidget* w :
       {static_cast<QWidget*>(Command1), static_cast<QWidget*>(Text1), static_cast<QWidget*>(List1)})
    w->setEnabled(true);
  LoadData();
  emit ConversionDone(true);
}

// Nothing to search: the window says so and closes, so the next opening tries the list again.
void Form7::ConversionFailed() {
  setWindowTitle(kTitle);
  MsgBox(QStringLiteral("郵便番号データファイルを作成できませんでした"), MsgIcon::Error);
  emit ConversionDone(false);
  close();
}

void Form7::LoadData() {
  postal::DataFile file = postal::ReadDataFile(dir_);
  if (!file.readable)
    MsgBox(QStringLiteral("郵便番号データファイル(%1)を読み込めませんでした")
               .arg(QString::fromUtf8(postal::kDataName)),
           MsgIcon::Error);
  data_ = std::move(file.bytes);
  results_->SetData(data_);
  stopFlag_ = true;
}

void Form7::Command1_Click() {
  if (!stopFlag_) {
    Command1->setText(kSearch);
    stopFlag_ = true;
    return;
  }
  Command1->setText(kStop);
  Label1->setText(kSearching);
  Label2->clear();
  stopFlag_ = false;
  SetBusyCursor(Qt::BusyCursor);
  results_->Clear();
  shownTenth_ = 0;
  // A text that code page 932 cannot carry is in no line: the search then reads through to no result.
  std::optional<std::string> needle = postal::SearchText(Text1->text().toStdString());
  search_ = std::make_unique<postal::Search>(std::string_view(data_).substr(0, needle ? data_.size() : 0),
                                             needle.value_or(std::string()));
  SearchStep();
}

void Form7::SearchStep() {
  if (!search_) return;
  if (stopFlag_) {
    FinishSearch();
    return;
  }
  std::vector<postal::LineRef> found;
  const bool more = search_->Step(kStepBytes, found);
  results_->Append(found);
  ShowProgress(postal::ProgressTenth(search_->Position(), data_.size()));
  if (!more) {
    FinishSearch();
    return;
  }
  QTimer::singleShot(0, this, &Form7::SearchStep);
}

void Form7::ShowProgress(int tenth) {
  if (data_.empty()) return;
  // Steps cover many lines: show the last even tenth passed, as line-by-line progress would have.
  for (int t = shownTenth_ + 1; t <= std::min(tenth, 10); ++t) {
    if (t % 2) continue;
    Label2->setText(QStringLiteral("%1％").arg(t * 10));
    Label1->setText(t == 10 ? kFinished : kSearching + QString(t / 2, QLatin1Char('.')));
  }
  shownTenth_ = std::max(shownTenth_, tenth);
}

void Form7::FinishSearch() {
  search_.reset();
  Label1->setText(kFinished);
  Command1->setText(kSearch);
  stopFlag_ = true;
  SetBusyCursor(std::nullopt);
  emit SearchDone();
}

bool Form7::ShowCopyMenu(QPoint globalPos) {
  if (!List1->selectionModel() || !List1->selectionModel()->hasSelection()) return false;
  mnuMENU->popup(globalPos);
  return true;
}

void Form7::Copy(postal::CopyWhat what) {
  const QModelIndexList sel = List1->selectionModel()->selectedIndexes();
  if (sel.isEmpty()) return;
  CopyToClipboard(
      QString::fromStdString(postal::CopyText(results_->Line(sel.first().row()).toStdString(), what)));
}

bool Form7::eventFilter(QObject* watched, QEvent* e) {
  // A right click shows the copy menu for the entry already selected and leaves the selection alone.
  if (watched == List1->viewport() && e->type() == QEvent::MouseButtonPress) {
    auto* me = static_cast<QMouseEvent*>(e);
    if (me->button() == Qt::RightButton) {
      ShowCopyMenu(me->globalPosition().toPoint());
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void Form7::closeEvent(QCloseEvent* e) {
  // Closing cancels a conversion (no data file is left) and stops a search.
  if (converter_) converter_->Cancel();
  converter_.reset();
  stopFlag_ = true;
  search_.reset();
  SetBusyCursor(std::nullopt);
  e->accept();
}

void Form7::SetOuterWidth(int widthTwips) {
  outerW_ = std::max(widthTwips, kMinWidth);
  applying_ = true;
  appliedPx_ = screen::ClientPixels(outerW_, OuterHeight(), kFrameWidth, kFrameHeight + CaptionCorrection());
  setMinimumWidth(screen::ClientPixels(kMinWidth, OuterHeight(), kFrameWidth, kFrameHeight).width());
  setFixedHeight(appliedPx_.height());
  resize(appliedPx_);
  applying_ = false;
  ApplyLayout();
}

void Form7::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (applying_) return;
  const int w = screen::FollowDrag(outerW_, appliedPx_.width(), width(), screen::TwipsPerPixelX());
  if (w < kMinWidth || height() != appliedPx_.height()) {
    SetOuterWidth(w);  // only the width can change, and not below its minimum
    return;
  }
  outerW_ = w;
  appliedPx_ = size();
  ApplyLayout();
}

void Form7::ApplyLayout() {
  screen::PlaceTwips(Command1, outerW_ - 1075, 225, 915, 390);
  screen::PlaceTwips(Command2, outerW_ - 1075, 3645, 915, 390);
  screen::PlaceTwips(List1, 75, 1050, outerW_ - 1260, 2940);
  screen::PlaceTwips(Label3[2], 75, 750, outerW_ - 1260, 315);
}

void Form7::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (centred_) return;
  centred_ = true;
  screen::CentreOnScreen(this);
}
