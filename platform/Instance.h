// Commands from a second start of the program to the one that runs (`dialnestplus --find`), over a
// local socket private to the user and the program folder.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class InstanceChannel : public QObject {
  Q_OBJECT
 public:
  // `key` tells instances apart (the program folder): one socket per folder.
  explicit InstanceChannel(const QString& key, QObject* parent = nullptr);

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
};
