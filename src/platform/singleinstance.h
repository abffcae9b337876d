#pragma once
// One running program per user: a lock file and a local socket in the user's runtime folder,
// named after "Tarvo ZELT" and the registry store's location, so that two users or two tests
// never meet. A second start signals the first and ends. Without a runtime folder that is the
// user's own, the lock lives in a private folder of the user's (0700), never in a shared one
// where another user could plant it.
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
  // (the registry store's path). `runtimeFolder` is the user's runtime folder (the desktop's
  // when not given); it is used only when it is a folder of this user that no one else may enter.
  SingleInstance(const QString& instanceName, const QString& scope, QObject* parent = nullptr);
  SingleInstance(const QString& instanceName, const QString& scope, const QString& runtimeFolder,
                 QObject* parent = nullptr);
  ~SingleInstance() override;

  enum class Result {
    First,    // this process is now the only instance; it listens for signals
    Running,  // another instance holds the lock
    Failed,   // the lock could not be taken for another reason: failure() names it
  };
  Result acquire();
  QString failure() const { return failure_; }
  // Tells the running instance to come to the front; false when none answered.
  bool signalRunning();

  QString lockPath() const { return lockPath_; }
  QString socketName() const { return socketName_; }

  // The private folder that stands in for a missing or shared runtime folder.
  static QString privateFolder();
  // Makes a private folder of the user's (0700), narrowing one of the user's own that has wider
  // rights; false, with the reason, when it cannot be had or is someone else's.
  static bool makePrivateFolder(const QString& dir, QString* failure);
  // Before Qt looks for a runtime folder: a session without XDG_RUNTIME_DIR gets the private
  // folder, so that Qt neither warns nor falls back to a folder under /tmp that others can see.
  static void provideRuntimeFolder();

 signals:
  void activationRequested();

 private:
  QString folder_;
  QString lockPath_;
  QString socketName_;
  QString failure_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace platform
