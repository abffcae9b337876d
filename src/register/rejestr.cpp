#include "register/rejestr.h"

#include "platform/packed.h"

#include <algorithm>
#include <vector>

namespace zelt {

QString komunikatOtwarcia(const QString& blad) {
  return QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: ") + blad;
}

void PlikRejestru::oznaczUsuniety(qint64 n) {
  char status[4];
  packed::putI32(status, 0, TRekordTransakcji::kDeleted);
  file_.write(n, TRekordTransakcji::kOffsetStatus, status, sizeof status);
}

QString PlikRejestru::bladOtwarcia() const {
  return brak() ? QStringLiteral("Brak pliku danych") : komunikatOtwarcia(blad());
}

TRekordTransakcji PlikRejestru::czytaj(qint64 n) {
  TRekordTransakcji::Bytes b;
  file_.read(n, b.data());
  return TRekordTransakcji::decode(b.data());
}

TRekordTransakcji::Bytes PlikRejestru::czytajBajty(qint64 n) {
  TRekordTransakcji::Bytes b;
  file_.read(n, b.data());
  return b;
}

void PlikRejestru::zapisz(qint64 n, const TRekordTransakcji& r) {
  const auto b = r.encode();
  file_.write(n, b.data());
}

qint64 PlikRejestru::dopisz(const TRekordTransakcji& r) {
  const auto b = r.encode();
  return file_.append(b.data());
}

qint64 PlikRejestru::dopiszWszystkie(const std::vector<TRekordTransakcji>& rekordy) {
  const qint64 pierwszy = ilosc();
  const Koniec przed = koniec();
  constexpr std::size_t kBlok = 512;
  std::vector<char> b(std::min(rekordy.size(), kBlok) * TRekordTransakcji::kSize);
  try {
    for (std::size_t i = 0; i < rekordy.size(); i += kBlok) {
      const std::size_t ile = std::min(kBlok, rekordy.size() - i);
      for (std::size_t j = 0; j < ile; ++j) rekordy[i + j].encode(b.data() + j * TRekordTransakcji::kSize);
      file_.writeRecords(pierwszy + static_cast<qint64>(i), static_cast<qint64>(ile), b.data());
    }
    file_.flush();
  } catch (...) {
    przywroc(przed);
    throw;
  }
  return pierwszy;
}

void PlikRejestru::kazdy(const std::function<void(qint64, const TRekordTransakcji&)>& fn) {
  kazdyBajty([&fn](qint64 i, const char* b) { fn(i, TRekordTransakcji::decode(b)); });
}

void PlikRejestru::kazdyBajty(const std::function<void(qint64, const char*)>& fn) {
  // Large blocks: a pass over the whole register runs at every check and number search.
  constexpr qint64 kBlok = 512;
  const qint64 n = ilosc();
  std::vector<char> b(static_cast<std::size_t>(std::min(n, kBlok)) * TRekordTransakcji::kSize);
  for (qint64 i = 0; i < n; i += kBlok) {
    const qint64 ile = std::min(kBlok, n - i);
    file_.read(i, ile, b.data());
    for (qint64 j = 0; j < ile; ++j) fn(i + j, b.data() + static_cast<std::size_t>(j) * TRekordTransakcji::kSize);
  }
}

}  // namespace zelt
