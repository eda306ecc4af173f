// The quick-find window: reading the books off the window thread, the search box and its results.
#include "find/QuickFind.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPointer>
#include <QResource>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <memory>
#include <thread>

#include "core/DataFiles.h"
#include "core/Module1.h"
#include "core/PhoneBookFile.h"
#include "platform/Clipboard.h"
#include "platform/Fonts.h"
#include "platform/QtText.h"

void QuickFindResults::Reset(const phonefind::Index* index, std::vector<phonefind::Hit> hits) {
  beginResetModel();
  index_ = index;
  hits_ = std::move(hits);
  endResetModel();
}

const phonefind::Entry* QuickFindResults::EntryAt(int row) const {
  if (!index_ || row < 0 || static_cast<std::size_t>(row) >= hits_.size()) return nullptr;
  return &index_->Entries()[hits_[static_cast<std::size_t>(row)].entry];
}

int QuickFindResults::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

int QuickFindResults::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QString QuickFindResults::ReadingAt(int row) const {
  const phonefind::Entry* e = EntryAt(row);
  const int k = e ? hits_[static_cast<std::size_t>(row)].reading : -1;
  return k < 0 ? QString()
               : QString::fromStdU16String(
                     std::u16string(index_->ReadingShown(*e, static_cast<std::size_t>(k))));
}

QVariant QuickFindResults::data(const QModelIndex& index, int role) const {
  const phonefind::Entry* e = EntryAt(index.row());
  if (!e) return {};
  if (role == Qt::ToolTipRole) {
    const QString reading = ReadingAt(index.row());
    return reading.isEmpty() ? QVariant() : QStringLiteral("よみ「%1」で見つかりました").arg(reading);
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      // A tab between name and number shows as a gap; the copy keeps it.
      return Q(e->line).replace(QLatin1Char('\t'), QStringLiteral("  "));
    case 1:
      return ReadingAt(index.row());  // only when the name was found by its reading
    case 2:
      return Q(session_.GroupName(e->group));
    default:
      return Q(kana::Letter(e->letter));
  }
}

QVariant QuickFindResults::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeads[] = {"電話帳", "よみ", "グループ", "行"};
  return section >= 0 && section < 4 ? QString::fromUtf8(kHeads[section]) : QVariant();
}

Q_LOGGING_CATEGORY(lcFind, "dialnest.find", QtWarningMsg)

QuickFind::QuickFind(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), results_(ctx.session) {
  sinceAsked_.start();
  setObjectName(QStringLiteral("QuickFind"));
  setWindowTitle(QStringLiteral("クイック検索"));
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(fonts::Form());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setPlaceholderText(QStringLiteral("名前・よみ（ローマ字可）・電話番号"));
  Text1->installEventFilter(this);
  layout->addWidget(Text1);
  List1 = new QTreeView(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setModel(&results_);
  List1->setRootIsDecorated(false);
  List1->setUniformRowHeights(true);
  List1->setAllColumnsShowFocus(true);
  List1->setFocusPolicy(Qt::NoFocus);  // the keys stay in the box; Up and Down move the list
  List1->header()->setStretchLastSection(false);
  List1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  List1->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  List1->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  List1->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
  layout->addWidget(List1, 1);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->hide();
  layout->addWidget(Label1);
  resize(560, 320);

  connect(Text1, &QLineEdit::textChanged, this, &QuickFind::Search);
  connect(List1, &QTreeView::doubleClicked, this, [this] { CopySelected(); });
}

namespace {
// The five books as the window searches them, read off the window thread.
struct Books {
  explicit Books(const readings::Dictionary* dictionary) : index(dictionary) {}
  phonefind::Index index;
  QStringList unread;
  double ms = 0;
};

// The readings of kanji names, carried in the program; read once, by the first quick-find.
const readings::Dictionary& Readings() {
  static const readings::Dictionary dictionary = [] {
    const QResource file(QStringLiteral(":/dialnestplus/readings.dat"));
    if (!file.isValid() || file.compressionAlgorithm() != QResource::NoCompression) {
      qCWarning(lcFind) << "this build carries no readings of kanji names";
      return readings::Dictionary{};
    }
    std::string error;
    readings::Dictionary d = readings::Dictionary::FromBytes(
        {reinterpret_cast<const char*>(file.data()), static_cast<std::size_t>(file.size())}, &error);
    if (!error.empty()) qCWarning(lcFind) << "the readings of kanji names are damaged:" << error.c_str();
    return d;
  }();
  return dictionary;
}

std::shared_ptr<Books> ReadBooks(const std::vector<std::pair<std::string, QString>>& groups) {
  auto books = std::make_shared<Books>(&Readings());
  QElapsedTimer clock;
  clock.start();
  int g = 0;
  for (const auto& [path, label] : groups) {
    ++g;
    phonebook::MenuLoad load = phonebook::LoadForMenus(path);
    // Searched as far as it reads; a file that could not be read (or only in part) is named.
    if (load.status == textfile::ReadStatus::Error || load.stoppedAtLine != 0 || !load.decodedCleanly)
      books->unread << label;
    if (load.status == textfile::ReadStatus::Ok) books->index.AddGroup(g, std::move(load.entries));
  }
  books->ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  return books;
}
}  // namespace

void QuickFind::ReadGroups() {
  if (reading_ || read_) return;
  reading_ = true;
  // Paths and names are taken here, on the window thread; only the files are read on the other.
  std::vector<std::pair<std::string, QString>> groups;
  for (int g = 1; g <= phonebook::kGroups; ++g) {
    const std::string name = datafiles::PhoneBook(g);
    groups.emplace_back(ctx_.DataPath(name),
                        QStringLiteral("%1（%2）").arg(Q(ctx_.session.GroupName(g)), Q(name)));
  }
  QPointer<QuickFind> self(this);
  std::thread([self, groups = std::move(groups)] {
    std::shared_ptr<Books> books = ReadBooks(groups);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, books] {
          if (self) self->TakeBooks(std::move(books->index), books->unread, books->ms);
        },
        Qt::QueuedConnection);
  }).detach();
}

void QuickFind::TakeBooks(phonefind::Index index, const QStringList& unread, double ms) {
  index_ = std::move(index);
  read_ = true;
  reading_ = false;
  qCInfo(lcFind) << index_.Entries().size() << "entries read in" << ms << "ms";
  if (!unread.isEmpty()) {
    Label1->setText(QStringLiteral("読み込めなかったグループがあります：") +
                    unread.join(QStringLiteral("、")));
    Label1->show();
  }
  Search(Text1->text());  // what was typed while the books were read
}

void QuickFind::Search(const QString& text) {
  if (!read_) {
    ReadGroups();
    return;
  }
  results_.Reset(&index_, index_.Find(text.toStdString(), kMaxRows));
  if (results_.rowCount() > 0) List1->setCurrentIndex(results_.index(0, 0));
}

bool QuickFind::CopySelected() {
  const phonefind::Entry* e = results_.EntryAt(List1->currentIndex().row());
  if (!e) return false;
  CopyToClipboard(Q(e->line));
  close();
  return true;
}

bool QuickFind::eventFilter(QObject* watched, QEvent* e) {
  if (watched != Text1 || e->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, e);
  auto* key = static_cast<QKeyEvent*>(e);
  switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int rows = results_.rowCount();
      if (rows == 0) return true;
      const int page = std::max(1, List1->viewport()->height() / std::max(1, List1->sizeHintForRow(0)) - 1);
      const int step = key->key() == Qt::Key_Up       ? -1
                       : key->key() == Qt::Key_Down   ? 1
                       : key->key() == Qt::Key_PageUp ? -page
                                                      : page;
      const int row = std::clamp(List1->currentIndex().row() + step, 0, rows - 1);
      List1->setCurrentIndex(results_.index(row, 0));
      return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CopySelected();
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    default:
      return false;
  }
}

void QuickFind::paintEvent(QPaintEvent* e) {
  QWidget::paintEvent(e);
  if (sinceAsked_.isValid()) {
    qCInfo(lcFind) << "window drawn" << static_cast<double>(sinceAsked_.nsecsElapsed()) / 1e6
                   << "ms after it was asked for";
    sinceAsked_.invalidate();
  }
}

bool QuickFind::event(QEvent* e) {
  // Losing the focus to another window closes it, as a pop-up would.
  if (e->type() == QEvent::WindowActivate) wasActive_ = true;
  if (e->type() == QEvent::WindowDeactivate && wasActive_) close();
  return QWidget::event(e);
}

void QuickFind::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Centred on the screen with the pointer.
  const QScreen* s = QGuiApplication::screenAt(QCursor::pos());
  if (!s) s = QGuiApplication::primaryScreen();
  if (s) {
    QRect r = frameGeometry();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
  activateWindow();
  raise();
  Text1->setFocus();
  // The window comes up at once; the files are read right after it is drawn (or at the first key).
  QTimer::singleShot(0, this, [this] { ReadGroups(); });
}
