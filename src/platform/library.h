#pragma once
// Run-time loading of a library by name. Libraries are looked up in the program's own folder,
// never in the working folder, so a file dropped there is never run.
#include <QLibrary>
#include <QString>
#include <memory>

namespace platform {

class Library {
 public:
  // `name` is the library's base name ("zpack", "kelbrix"); `folder` empty means the program's folder.
  explicit Library(QString name, QString folder = {});
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool load();
  bool isLoaded() const;
  void unload();
  QString errorString() const;
  // Null when the library is not loaded or lacks the export.
  void* resolve(const char* symbol);
  QString fileName() const;
  // Loads the library and unloads it at once: whether it is there and loads.
  bool probe();

  // The folder libraries are loaded from; tests may point it elsewhere.
  static QString programFolder();
  static void setProgramFolder(const QString& folder);

 private:
  std::unique_ptr<QLibrary> lib_;
};

}  // namespace platform
