// The lock file and the local socket that keep one running copy per user and data folder.
#include "platform/Instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include "platform/Log.h"

InstanceChannel::InstanceChannel(const QString& key, QObject* parent) : QObject(parent) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  name_ = dir + QStringLiteral("/dialnestplus-") + QString::fromLatin1(hash);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::TakeLock() {
  lock_ = std::make_unique<QLockFile>(name_ + QStringLiteral(".lock"));
  // Never stale by age: the running copy's lock is as old as the copy. A dead owner is found by its pid.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return true;
  qint64 pid = 0;
  QString host, app;
  lock_->getLockInfo(&pid, &host, &app);
  qCInfo(lcSession) << "another copy runs for this data folder, pid" << pid;
  lock_.reset();
  return false;
}

bool InstanceChannel::Hand(const QString& command, int patienceMs) const {
  QElapsedTimer clock;
  clock.start();
  while (true) {
    if (Send(command)) return true;
    if (clock.elapsed() >= patienceMs) return false;
    QThread::msleep(50);
  }
}

bool InstanceChannel::Send(const QString& command, int waitMs) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(waitMs)) return false;
  socket.write(command.toUtf8() + '\n');
  if (!socket.waitForBytesWritten(waitMs)) return false;
  // The answer says the command was taken.
  return socket.waitForReadyRead(waitMs) && socket.readAll().startsWith("ok");
}

bool InstanceChannel::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // A socket left by a program that ended without removing it answers nobody: take its place.
    if (Send(QStringLiteral("ping"), 300)) {
      qCInfo(lcSession) << "another instance takes the commands at" << name_;
      return false;
    }
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) {
      qCWarning(lcSession) << "cannot listen at" << name_ << server_->errorString();
      return false;
    }
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      connect(s, &QLocalSocket::readyRead, this, [this, s] { Serve(s); });
      Serve(s);  // the command may have come with the connection, before readyRead was connected
    }
  });
  return true;
}

void InstanceChannel::Serve(QLocalSocket* s) {
  if (!s->canReadLine() || s->property("served").toBool()) return;
  s->setProperty("served", true);
  const QString command = QString::fromUtf8(s->readLine()).trimmed();
  s->write("ok\n");
  s->flush();
  s->disconnectFromServer();
  if (command != QStringLiteral("ping")) emit Received(command);
}
