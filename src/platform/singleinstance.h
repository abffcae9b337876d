#pragma once
// One running program per user: a lock file and a local socket in the user's runtime folder,
// named after "Tarvo ZELT" and the registry store's location, so that two users or two tests
// never meet. A second start signals the first and ends.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace platform {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `instanceName` is the name of the guard ("Tarvo ZELT"); `scope` tells apart installations
  // (the registry store's path).
  SingleInstance(const QString& instanceName, const QString& scope, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is now the only instance; it then listens for signals.
  bool acquire();
  // Tells the running instance to come to the front; false when none answered.
  bool signalRunning();

  QString lockPath() const { return lockPath_; }
  QString socketName() const { return socketName_; }

 signals:
  void activationRequested();

 private:
  QString lockPath_;
  QString socketName_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace platform
