#include "platform/singleinstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

#include "platform/folders.h"

namespace platform {

namespace {

// A folder of this user's that no one else may enter or write.
bool ownPrivateFolder(const QString& dir) {
  const QFileInfo fi(dir);
  constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  return !dir.isEmpty() && fi.isDir() && !fi.isSymLink() && fi.ownerId() == uint(::geteuid()) &&
         (fi.permissions() & kOthers) == 0;
}

}  // namespace

QString SingleInstance::privateFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (base.isEmpty()) base = QDir::homePath() + "/.cache";
  return base + "/tarvo-zelt";
}

bool SingleInstance::makePrivateFolder(const QString& dir, QString* failure) {
  QString why;
  if (!makePrivatePath(dir, &why)) {
    if (failure) *failure = QStringLiteral("Nie można utworzyć katalogu %1: %2").arg(dir, why);
    return false;
  }
  // A folder of the user's own that was made with wider rights is narrowed; anyone else's is refused.
  const QFileInfo fi(dir);
  if (fi.isDir() && !fi.isSymLink() && fi.ownerId() == uint(::geteuid()))
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (!ownPrivateFolder(dir)) {
    if (failure) *failure = QStringLiteral("Katalog %1 nie jest prywatnym katalogiem użytkownika").arg(dir);
    return false;
  }
  return true;
}

void SingleInstance::provideRuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QString dir = privateFolder();
  // Left unset when the folder cannot be had: the guard then names the reason at start-up.
  if (makePrivateFolder(dir, nullptr)) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
}

SingleInstance::SingleInstance(const QString& instanceName, const QString& scope, QObject* parent)
    : SingleInstance(instanceName, scope, QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), parent) {}

SingleInstance::SingleInstance(const QString& instanceName, const QString& scope, const QString& runtimeFolder,
                               QObject* parent)
    : QObject(parent) {
  folder_ = ownPrivateFolder(runtimeFolder) ? runtimeFolder : privateFolder();
  const QByteArray h = QCryptographicHash::hash((instanceName + '\n' + QDir(scope).absolutePath()).toUtf8(),
                                                QCryptographicHash::Sha1).toHex().left(16);
  QString base = instanceName;
  base.replace(' ', '-');
  socketName_ = QDir(folder_).absoluteFilePath(base + "-" + QString::fromLatin1(h) + ".sock");
  lockPath_ = QDir(folder_).absoluteFilePath(base + "-" + QString::fromLatin1(h) + ".lock");
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

SingleInstance::Result SingleInstance::acquire() {
  failure_.clear();
  if (!makePrivateFolder(folder_, &failure_)) return Result::Failed;
  lock_ = std::make_unique<QLockFile>(lockPath_);
  lock_->setStaleLockTime(0);  // a lock whose owner process is gone is taken over
  if (!lock_->tryLock(0)) {
    const auto error = lock_->error();
    // Held means held by a live program whose lock names it; anything else at the lock's place
    // is no running program, and ending silently would leave the user without one.
    qint64 pid = 0;
    QString host, app;
    const bool named = lock_->getLockInfo(&pid, &host, &app);
    lock_.reset();
    if (error == QLockFile::LockFailedError && named) return Result::Running;
    const QString why = error == QLockFile::PermissionError ? QStringLiteral("brak uprawnień")
                        : error == QLockFile::LockFailedError
                            ? QStringLiteral("w jego miejscu jest coś, co nie jest blokadą programu")
                            : QStringLiteral("nie można zapisać pliku blokady");
    failure_ = QStringLiteral("Nie można założyć blokady %1: %2").arg(lockPath_, why);
    return Result::Failed;
  }
  // It names this program's process and machine: its user's alone, as every file the program writes.
  QFile::setPermissions(lockPath_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
  return Result::First;
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
