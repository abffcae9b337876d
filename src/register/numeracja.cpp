#include "register/numeracja.h"

#include <array>

#include "platform/packed.h"
#include "register/rejestr.h"
#include "settings/konfigform.h"

namespace zelt {

std::optional<long> liczbaZCyfr(std::string_view t, std::size_t maxCyfr) {
  const auto first = t.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  t = t.substr(first, t.find_last_not_of(' ') - first + 1);
  if (t.size() > maxCyfr) return std::nullopt;
  long v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::optional<int> numerRejestracji(std::string_view t) {
  if (auto v = liczbaZCyfr(t, 3)) return static_cast<int>(*v);
  return std::nullopt;
}

std::string wolnyNrRejDat(const QString& transakDat, double rejDat) {
  PlikRejestru plik(transakDat);
  if (!plik.otworzDoOdczytu()) return "0";
  std::array<bool, 1000> zajete{};
  // Three fields of each record: the search runs at every opening of a new card and at every
  // change of its date, over the whole register.
  static const PoleRekordu& numer = *poleTekstowe("nrRejDat");
  plik.kazdyBajty([&](qint64, const char* b) {
    if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted ||
        packed::getF64(b, TRekordTransakcji::kOffsetRejDat) != rejDat)
      return;
    if (auto n = numerRejestracji(packed::getStr(b, numer.offset, numer.capacity))) zajete[static_cast<std::size_t>(*n)] = true;
  });
  for (std::size_t i = 0; i < zajete.size(); ++i)
    if (!zajete[i]) return std::to_string(i);
  return "1000";
}

std::string przyrostekNumeru(const NumeracjaEwidencyjna& n, std::string_view jedIO, const QDate& tDat) {
  std::string s;
  if (n.jednostka) s += jedIO.substr(0, 8);
  if (n.dzien) s += tDat.toString(QStringLiteral("dd")).toStdString();
  if (n.miesiac) s += tDat.toString(QStringLiteral("MM")).toStdString();
  if (n.rok) s += tDat.toString(QStringLiteral("yy")).toStdString();
  return s;
}

}  // namespace zelt
