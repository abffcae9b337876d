#include "wspolne.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace zeltfuzz {

namespace {

// A run stopped on a finding aborts and leaves its folder behind: such folders of processes
// that are gone are removed when the next one starts.
void usunPozostawione(const QString& gdzie) {
  const QStringList stare = QDir(gdzie).entryList({QStringLiteral("zelt-fuzz-*")}, QDir::Dirs);
  for (const QString& nazwa : stare) {
    bool liczba = false;
    const qint64 pid = nazwa.mid(10).toLongLong(&liczba);
    if (liczba && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
      QDir(gdzie + QLatin1Char('/') + nazwa).removeRecursively();
  }
}

}  // namespace

const QString& katalogRoboczy() {
  static const QString sciezka = [] {
    const QString gdzie =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    usunPozostawione(gdzie);
    const QString s = gdzie + QStringLiteral("/zelt-fuzz-%1").arg(::getpid());
    if (!QDir().mkpath(s)) naruszenie(__FILE__, __LINE__, "mkpath", "no scratch folder " + s.toStdString());
    std::atexit([] { QDir(katalogRoboczy()).removeRecursively(); });
    return s;
  }();
  return sciezka;
}

std::string czytajPlik(const QString& sciezka) {
  QFile f(sciezka);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

void zapiszPlik(const QString& sciezka, std::string_view tresc) {
  QFile f(sciezka);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(tresc.data(), static_cast<qint64>(tresc.size())) != static_cast<qint64>(tresc.size()))
    naruszenie(__FILE__, __LINE__, "written", "cannot write " + sciezka.toStdString());
}

bool istnieje(const QString& sciezka) { return QFileInfo::exists(sciezka); }

}  // namespace zeltfuzz
