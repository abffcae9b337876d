#include "platform/library.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
QString& folderOverride() {
  static QString f;
  return f;
}
}  // namespace

QString Library::programFolder() {
  if (!folderOverride().isEmpty()) return folderOverride();
  return QCoreApplication::applicationDirPath();
}

void Library::setProgramFolder(const QString& folder) { folderOverride() = folder; }

Library::Library(QString name, QString folder) {
  QString dir = folder.isEmpty() ? programFolder() : folder;
  // An absolute file name keeps QLibrary from searching the working folder or the system paths.
  lib_ = std::make_unique<QLibrary>(QDir(dir).absoluteFilePath(QStringLiteral("lib") + name.toLower()));
}

Library::~Library() { unload(); }

bool Library::load() { return lib_->isLoaded() || lib_->load(); }
bool Library::isLoaded() const { return lib_->isLoaded(); }
void Library::unload() {
  if (lib_->isLoaded()) lib_->unload();
}
QString Library::errorString() const { return lib_->errorString(); }
void* Library::resolve(const char* symbol) {
  if (!lib_->isLoaded()) return nullptr;
  return reinterpret_cast<void*>(lib_->resolve(symbol));
}
bool Library::probe() {
  const bool loaded = load();
  unload();
  return loaded;
}
QString Library::fileName() const { return lib_->fileName(); }

}  // namespace platform
