#include "support/world.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QWidget>

#include "register/program.h"

namespace testing_world {

World::World() : clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0))), shell() {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  QDir(dir_.path()).mkpath("Dokumenty");
  QDir(dir_.path()).mkpath("praca");
  shell = platform::RecordingShell(documents());
  dialogs.onFailure = [](const QString& why) { ADD_FAILURE() << why.toStdString(); };
  oldCwd_ = QDir::currentPath();
  QDir::setCurrent(workFolder());
  reg_ = std::make_unique<platform::RegistryStore>(registryFile());
}

World::~World() {
  program_.reset();
  QDir::setCurrent(oldCwd_);
  if (!dialogs.scriptDone()) ADD_FAILURE() << "dialogs expected by the test were not shown";
}

void World::reloadRegistry() {
  program_.reset();
  reg_ = std::make_unique<platform::RegistryStore>(registryFile());
}

std::string World::readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

void World::writeFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write " + path.toStdString());
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

int renderWindow(QWidget& w, const QString& name) {
  // Layouts settle in posted events; a running program would have handled them before painting.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const QImage img = w.grab().toImage();
  const QByteArray dir = qgetenv("ZELT_SHOT_DIR");
  if (!dir.isEmpty()) img.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
  QSet<QRgb> colours;
  for (int y = 0; y < img.height(); y += 2)
    for (int x = 0; x < img.width(); x += 2) colours.insert(img.pixel(x, y));
  return int(colours.size());
}

namespace {
void dumpKey(const platform::RegistryStore& reg, const std::string& key, const std::string& rel, RegSnapshot& out) {
  constexpr auto HKCU = platform::RegRoot::CurrentUser;
  for (const auto& n : reg.valueNames(HKCU, key)) {
    const auto v = *reg.value(HKCU, key, n);
    out[rel + n] = std::to_string(int(v.type)) + ":" +
                   (v.type == platform::RegValue::Type::Integer ? std::to_string(v.integer) : v.bytes);
  }
  for (const auto& s : reg.subkeyNames(HKCU, key)) dumpKey(reg, platform::regPath(key, s), rel + s + "\\", out);
}
}  // namespace

RegSnapshot snapshotKey(const platform::RegistryStore& reg, const std::string& key) {
  RegSnapshot s;
  dumpKey(reg, key, "", s);
  return s;
}

zelt::Program& World::program() {
  if (!program_) program_ = std::make_unique<zelt::Program>(zelt::Services{*reg_, dialogs, clock, shell, printers});
  return *program_;
}

void World::resetProgram() { program_.reset(); }

}  // namespace testing_world
