#include "register/numeracja.h"

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

NumeryDnia::NumeryDnia(const std::vector<std::string>& zapisane) {
  for (const auto& n : zapisane) zajmij(n);
}

void NumeryDnia::zajmij(std::string_view zapisany) {
  if (auto n = numerRejestracji(zapisany)) z_[static_cast<std::size_t>(*n)] = true;
}

std::optional<int> NumeryDnia::pierwszyWolny() const {
  for (std::size_t i = 0; i < z_.size(); ++i)
    if (!z_[i]) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> NumeryDnia::wez() {
  const auto n = pierwszyWolny();
  if (n) z_[static_cast<std::size_t>(*n)] = true;
  return n;
}

std::string wolnyNrRejDat(const QString& transakDat, double rejDat) {
  PlikRejestru plik(transakDat);
  if (!plik.otworzDoOdczytu()) return "0";
  // From the register's index: the search runs at every opening of a new card and at every
  // change of its date.
  const auto wolny = plik.numeryDnia(rejDat).pierwszyWolny();
  return std::to_string(wolny ? *wolny : NumeryDnia::kNumerow);
}

std::string jednostkaKarty(std::string_view jedIO) {
  constexpr std::size_t kJednostka = 8;
  std::string j(jedIO);
  if (j.size() < kJednostka) j.insert(0, kJednostka - j.size(), '0');
  return j;
}

std::string przyrostekNumeru(const NumeracjaEwidencyjna& n, std::string_view jedIO, const QDate& tDat) {
  std::string s;
  if (n.jednostka) s += jednostkaKarty(jedIO).substr(0, 8);
  if (n.dzien) s += tDat.toString(QStringLiteral("dd")).toStdString();
  if (n.miesiac) s += tDat.toString(QStringLiteral("MM")).toStdString();
  if (n.rok) s += tDat.toString(QStringLiteral("yy")).toStdString();
  return s;
}

}  // namespace zelt
