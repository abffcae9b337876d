#pragma once
// A temporary world for one test: documents, data and export folders, a registry file, a working
// folder for the dictionaries, the scripted dialog driver, a recording shell and a fixed clock.
#include <QDir>
#include <QString>
#include <QStringList>
#include <ostream>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/printers.h"
#include "platform/shell.h"

namespace zelt {
class Program;
}

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (const auto& s : l) *os << "\n  \"" << s.toStdString() << '"';
  *os << " }";
}

class QWidget;

namespace testing_world {

// Renders a window as the user would see it; when ZELT_SHOT_DIR is set the picture is also saved
// there as <name>.png, to be looked at. Returns the number of distinct colours in the picture
// (a blank window has one or two).
int renderWindow(QWidget& w, const QString& name);

// Every value under a key of HKEY_CURRENT_USER and its subkeys, by "subkey\name" relative to the
// key, as its type and bytes (an integer in decimal).
using RegSnapshot = std::map<std::string, std::string>;
RegSnapshot snapshotKey(const platform::RegistryStore& reg, const std::string& key);

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value)
      : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value.toLocal8Bit());
  }
  ~ScopedEnv() {
    if (had_) qputenv(name_.constData(), old_);
    else qunsetenv(name_.constData());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  QByteArray name_, old_;
  bool had_;
};

class World {
 public:
  World();
  ~World();

  QString root() const { return dir_.path(); }
  QString path(const QString& rel) const { return dir_.filePath(rel); }
  QString documents() const { return path("Dokumenty"); }
  QString registryFile() const { return path("registry.txt"); }
  QString workFolder() const { return path("praca"); }

  // The registry as the program will find it (reloaded from the file on each call of fresh()).
  platform::RegistryStore& reg() { return *reg_; }
  void reloadRegistry();
  platform::ScriptedDialogs dialogs;
  platform::FixedClock clock;
  platform::RecordingShell shell;
  platform::FixedPrinters printers;

  // Bytes of a file, empty when it is missing.
  static std::string readFile(const QString& path);
  static void writeFile(const QString& path, const std::string& bytes);

  // A program object over this world (created on first use).
  zelt::Program& program();
  void resetProgram();

 private:
  QTemporaryDir dir_;
  QString oldCwd_;
  std::unique_ptr<platform::RegistryStore> reg_;
  std::unique_ptr<zelt::Program> program_;
};

}  // namespace testing_world
