#include "reports/numeracjadzienna.h"

#include <QFile>
#include <QFileInfo>

#include "platform/errors.h"
#include "platform/packed.h"
#include "platform/wholefile.h"

namespace zelt {

QString NumeracjaDzienna::plik(std::int32_t rok) const {
  return katDan_ + QStringLiteral("/np") + QString::number(rok) + QStringLiteral(".dat");
}

NumeracjaDzienna::Bajty NumeracjaDzienna::koduj(const Tabela& t) {
  Bajty b{};
  std::size_t off = 0;
  for (const auto& dzien : t)
    for (std::int32_t n : dzien) {
      packed::putI32(b.data(), off, n);
      off += 4;
    }
  return b;
}

NumeracjaDzienna::Tabela NumeracjaDzienna::dekoduj(const char* bajty) {
  Tabela t{};
  std::size_t off = 0;
  for (auto& dzien : t)
    for (std::int32_t& n : dzien) {
      n = packed::getI32(bajty, off);
      off += 4;
    }
  return t;
}

void NumeracjaDzienna::czytajNumeracje(std::int32_t rok) {
  if (rok == rokNumeracji) return;
  if (rokNumeracji > 0) zapiszNumeracje();

  const QString sciezka = plik(rok);
  const QFileInfo info(sciezka);
  if (!info.exists() && !info.isSymLink()) {
    numeracjaDzienna = Tabela{};
    rokNumeracji = rok;
    return;
  }
  QFile f(sciezka);
  QByteArray blok;
  if (!info.isDir() && f.open(QIODevice::ReadOnly)) blok = f.read(static_cast<qint64>(kRozmiar));
  if (blok.size() != static_cast<qsizetype>(kRozmiar))
    throw platform::IoError("Błędny plik numeracji dziennej " + info.fileName().toStdString() +
                            " - wysłanie danych niemożliwe");
  numeracjaDzienna = dekoduj(blok.constData());
  rokNumeracji = rok;
}

void NumeracjaDzienna::zapiszNumeracje() const {
  const Bajty b = koduj(numeracjaDzienna);
  platform::writeWholeFile(plik(rokNumeracji), std::string_view(b.data(), b.size()), platform::WriteMode::Replace);
}

}  // namespace zelt
