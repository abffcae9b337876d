#include "register/rejestr.h"

namespace zelt {

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

void PlikRejestru::kazdy(const std::function<void(qint64, const TRekordTransakcji&)>& fn) {
  const qint64 n = ilosc();
  TRekordTransakcji::Bytes b;
  for (qint64 i = 0; i < n; ++i) {
    file_.read(i, b.data());
    fn(i, TRekordTransakcji::decode(b.data()));
  }
}

}  // namespace zelt
