// The folder and the current book watched; a change is judged by name, size and time stamp.
#include "core/BookWatch.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include "core/DataFiles.h"
#include "platform/Log.h"

BookWatch::BookWatch(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {
  watcher_ = new QFileSystemWatcher(this);
  // The folder catches a book replaced by rename (the file's own watch ends with the old file); the
  // file catches one rewritten in place.
  watcher_->addPath(QString::fromStdString(ctx_.AppDir()));
  settle_.setSingleShot(true);
  settle_.setInterval(300);
  connect(&settle_, &QTimer::timeout, this, &BookWatch::MayHaveChanged);
  auto settle = [this] { settle_.start(); };
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, settle);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, settle);
  Loaded();
  MayHaveChanged();
}

void BookWatch::Loaded() {
  loadedGroup_ = ctx_.session.CurGroup;
  loadedStamp_ = Stamp();
}

void BookWatch::WindowsClosed() {
  if (pending_) MayHaveChanged();
}

QString BookWatch::Stamp() const {
  const QFileInfo f(QString::fromStdString(ctx_.DataPath(datafiles::PhoneBook(ctx_.session.CurGroup))));
  if (!f.exists()) return {};
  return QStringLiteral("%1 %2 %3").arg(f.fileName()).arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
}

void BookWatch::MayHaveChanged() {
  const QString book = QString::fromStdString(ctx_.DataPath(datafiles::PhoneBook(ctx_.session.CurGroup)));
  if (QFileInfo::exists(book) && !watcher_->files().contains(book)) {
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    watcher_->addPath(book);
  }
  if (loadedGroup_ != ctx_.session.CurGroup) {  // chosen meanwhile: that load read the file as it is
    Loaded();
    return;
  }
  if (Stamp() == loadedStamp_) return;
  if (ctx_.session.SubWinOpen) {
    pending_ = true;
    return;
  }
  pending_ = false;
  qCInfo(lcStores) << "phone book changed on disk, menus read again:" << book;
  emit Stale();
}
