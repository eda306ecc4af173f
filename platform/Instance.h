// One running copy per user and data folder: a lock file says which process is it, and a local socket
// private to the user carries a second start's request to it (`dialnestplus --find`).
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;

class QLocalServer;
class QLocalSocket;

class InstanceChannel : public QObject {
  Q_OBJECT
 public:
  // `key` tells instances apart (the program folder): one socket per folder.
  explicit InstanceChannel(const QString& key, QObject* parent = nullptr);
  ~InstanceChannel() override;

  // Takes the one-copy lock: false when a live process holds it (a lock left by a process that ended
  // is taken over). Held until this object goes.
  bool TakeLock();
  // Sends `command`, waiting up to `patienceMs` for the running copy to listen: the copy that holds the
  // lock starts listening only once its toolkit is up.
  bool Hand(const QString& command, int patienceMs = 10000) const;

  // Sends `command` to the running instance; false when none answers within `waitMs`.
  bool Send(const QString& command, int waitMs = 1000) const;
  // Starts listening; false when another instance already listens (it keeps the commands).
  bool Listen();

 signals:
  void Received(const QString& command);

 private:
  // Answers one command line on `s` once it has come whole.
  void Serve(QLocalSocket* s);

  QString name_;
  QLocalServer* server_ = nullptr;
  std::unique_ptr<QLockFile> lock_;
};
