#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(const QString& instanceName, const QString& scope, QObject* parent) : QObject(parent) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  const QByteArray h = QCryptographicHash::hash((instanceName + '\n' + QDir(scope).absolutePath()).toUtf8(),
                                                QCryptographicHash::Sha1).toHex().left(16);
  QString base = instanceName;
  base.replace(' ', '-');
  socketName_ = QDir(dir).absoluteFilePath(base + "-" + QString::fromLatin1(h) + ".sock");
  lockPath_ = QDir(dir).absoluteFilePath(base + "-" + QString::fromLatin1(h) + ".lock");
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::acquire() {
  lock_ = std::make_unique<QLockFile>(lockPath_);
  lock_->setStaleLockTime(0);  // a lock whose owner process is gone is taken over
  if (!lock_->tryLock(0)) {
    lock_.reset();
    return false;
  }
  server_ = std::make_unique<QLocalServer>();
  QLocalServer::removeServer(socketName_);
  server_->listen(socketName_);
  connect(server_.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      connect(s, &QLocalSocket::readyRead, this, [this, s] {
        if (s->readAll().contains("activate")) emit activationRequested();
      });
    }
  });
  return true;
}

bool SingleInstance::signalRunning() {
  QLocalSocket s;
  s.connectToServer(socketName_);
  if (!s.waitForConnected(2000)) return false;
  s.write("activate\n");
  s.flush();
  bool ok = s.waitForBytesWritten(2000);
  s.disconnectFromServer();
  return ok;
}

}  // namespace platform
