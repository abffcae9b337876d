#include "wspolne.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zeltfuzz {

const QString& katalogRoboczy() {
  static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                               ? QStringLiteral("/dev/shm/zelt-fuzz-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/zelt-fuzz-XXXXXX"));
  static const QString sciezka = [] {
    if (!dir.isValid()) naruszenie(__FILE__, __LINE__, "dir.isValid()", "no scratch folder");
    return dir.path();
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
