#include "register/indeksrejestru.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/packed.h"
#include "register/numeracja.h"
#include "register/rekordtransakcji.h"

namespace zelt {

namespace {

std::uint32_t fnv1a(std::string_view s) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

std::string_view tekst(const char* rekord, const PoleRekordu& p) {
  std::size_t len = static_cast<unsigned char>(rekord[p.offset]);
  return {rekord + p.offset + 1, std::min(len, p.capacity)};
}

}  // namespace

std::optional<std::int32_t> IndeksRejestru::dzienDaty(double rejDat) {
  if (!std::isfinite(rejDat)) return std::nullopt;
  const double d = std::floor(rejDat);
  if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(d);
}

IndeksRejestru::Wpis IndeksRejestru::wpis(const char* b) {
  static const PoleRekordu& nrEw = *poleTekstowe("nrEwT");
  static const PoleRekordu& nrRej = *poleTekstowe("nrRejDat");
  Wpis w;
  w.klucz = fnv1a(tekst(b, nrEw));
  if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) != TRekordTransakcji::kDeleted) w.flagi |= kZywy;
  const double rejDat = packed::getF64(b, TRekordTransakcji::kOffsetRejDat);
  if (const auto d = dzienDaty(rejDat)) {
    w.dzien = *d;
    w.flagi |= kMaDzien;
    if (rejDat == static_cast<double>(*d)) w.flagi |= kCalyDzien;
  }
  if (const auto nr = numerRejestracji(tekst(b, nrRej))) w.nrRej = static_cast<std::int16_t>(*nr);
  return w;
}

std::size_t IndeksRejestru::bajty() const {
  return w_.capacity() * sizeof(Wpis) + kosze_.capacity() * sizeof(std::int32_t) +
         dni_.size() * (sizeof(std::pair<std::int32_t, std::int32_t>) + 2 * sizeof(void*)) +
         dni_.bucket_count() * sizeof(void*);
}

void IndeksRejestru::rozszerzKosze() {
  std::size_t n = kosze_.empty() ? 1024 : kosze_.size() * 2;
  kosze_.assign(n, -1);
  // The chains are laid again in file order, so that a chain's head is its newest record.
  for (std::size_t i = 0; i < w_.size(); ++i) {
    Wpis& w = w_[i];
    w.nastKlucz = -1;
    if (!(w.flagi & kZywy)) continue;
    std::int32_t& k = kosz(w.klucz);
    w.nastKlucz = k;
    k = static_cast<std::int32_t>(i);
  }
}

void IndeksRejestru::dolacz(std::int32_t n) {
  Wpis& w = w_[static_cast<std::size_t>(n)];
  w.nastKlucz = w.nastDnia = -1;
  if (!(w.flagi & kZywy)) return;
  std::int32_t& k = kosz(w.klucz);
  w.nastKlucz = k;
  k = n;
  if (w.flagi & kMaDzien) {
    auto [it, nowy] = dni_.try_emplace(w.dzien, -1);
    w.nastDnia = it->second;
    it->second = n;
  }
}

void IndeksRejestru::odlacz(std::int32_t n) {
  Wpis& w = w_[static_cast<std::size_t>(n)];
  if (!(w.flagi & kZywy)) return;
  for (std::int32_t* p = &kosz(w.klucz); *p >= 0; p = &w_[static_cast<std::size_t>(*p)].nastKlucz)
    if (*p == n) {
      *p = w.nastKlucz;
      break;
    }
  if (w.flagi & kMaDzien) {
    auto it = dni_.find(w.dzien);
    for (std::int32_t* p = it == dni_.end() ? nullptr : &it->second; p && *p >= 0;
         p = &w_[static_cast<std::size_t>(*p)].nastDnia)
      if (*p == n) {
        *p = w.nastDnia;
        break;
      }
    if (it != dni_.end() && it->second < 0) dni_.erase(it);
  }
  w.nastKlucz = w.nastDnia = -1;
}

void IndeksRejestru::rezerwuj(qint64 rekordow) { w_.reserve(static_cast<std::size_t>(std::max<qint64>(rekordow, 0))); }

void IndeksRejestru::dodaj(const char* rekord) {
  // Record numbers are 32-bit wherever the program keeps them.
  const auto n = static_cast<std::int32_t>(w_.size());
  // Grown by an eighth, not doubled: the entries stay near their 24 bytes a record.
  if (w_.size() == w_.capacity()) w_.reserve(w_.size() + w_.size() / 8 + 64);
  w_.push_back(wpis(rekord));
  if (std::binary_search(zaKoncem_.begin(), zaKoncem_.end(), qint64{n})) w_.back().wiele = 1;
  if (w_.size() > 2 * kosze_.size()) {
    rozszerzKosze();
    Wpis& w = w_.back();
    if (w.flagi & kMaDzien && w.flagi & kZywy) {
      auto [it, nowy] = dni_.try_emplace(w.dzien, -1);
      w.nastDnia = it->second;
      it->second = n;
    }
  } else {
    dolacz(n);
  }
}

void IndeksRejestru::zmien(qint64 n, const char* rekord) {
  if (n < 0 || n >= ilosc()) return;
  const auto i = static_cast<std::int32_t>(n);
  odlacz(i);
  Wpis& w = w_[static_cast<std::size_t>(n)];
  const int wiersz = w.wiersz;
  w = wpis(rekord);
  w.wiersz = wiersz;
  dolacz(i);
}

void IndeksRejestru::usun(qint64 n) {
  if (n < 0 || n >= ilosc()) return;
  odlacz(static_cast<std::int32_t>(n));
  w_[static_cast<std::size_t>(n)].flagi &= static_cast<std::uint8_t>(~kZywy);
}

std::vector<qint64> IndeksRejestru::zNumerem(std::string_view nrEwT) const {
  std::vector<qint64> r;
  if (kosze_.empty()) return r;
  const std::uint32_t klucz = fnv1a(nrEwT);
  for (std::int32_t i = kosze_[klucz & (kosze_.size() - 1)]; i >= 0; i = w_[static_cast<std::size_t>(i)].nastKlucz)
    if (w_[static_cast<std::size_t>(i)].klucz == klucz) r.push_back(i);
  std::sort(r.begin(), r.end());
  return r;
}

std::vector<qint64> IndeksRejestru::zDnia(std::int32_t dzien) const {
  std::vector<qint64> r;
  const auto it = dni_.find(dzien);
  if (it == dni_.end()) return r;
  for (std::int32_t i = it->second; i >= 0; i = w_[static_cast<std::size_t>(i)].nastDnia) r.push_back(i);
  std::sort(r.begin(), r.end());
  return r;
}

std::vector<int> IndeksRejestru::numeryDnia(std::int32_t dzien, std::vector<qint64>* niecale) const {
  std::vector<int> r;
  const auto it = dni_.find(dzien);
  if (it == dni_.end()) return r;
  for (std::int32_t i = it->second; i >= 0; i = w_[static_cast<std::size_t>(i)].nastDnia) {
    const Wpis& w = w_[static_cast<std::size_t>(i)];
    if (!(w.flagi & kCalyDzien)) {
      if (niecale) niecale->push_back(i);
    } else if (w.nrRej >= 0) {
      r.push_back(w.nrRej);
    }
  }
  if (niecale) std::sort(niecale->begin(), niecale->end());
  return r;
}

void IndeksRejestru::wierszeZListy(const Lista& l) {
  const int wierszy = l.wierszy;
  const auto& lp = l.lp;
  for (Wpis& w : w_) {
    w.wiersz = -1;
    w.wiele = 0;
  }
  zaKoncem_.clear();
  for (int r = 0; r < wierszy; ++r) {
    const auto n = lp(r);
    if (!n || *n < 0) continue;
    if (*n >= ilosc()) {
      zaKoncem_.push_back(*n);
      continue;
    }
    // The first row that shows a record is its row, as a pass over the rows finds it.
    Wpis& w = w_[static_cast<std::size_t>(*n)];
    if (w.wiersz < 0) w.wiersz = r;
    else w.wiele = 1;
  }
  std::sort(zaKoncem_.begin(), zaKoncem_.end());
  zaKoncem_.erase(std::unique(zaKoncem_.begin(), zaKoncem_.end()), zaKoncem_.end());
  wierszeZnane_ = true;
  wierszy_ = wierszy;
  przestawien_ = l.przestawien;
}

int IndeksRejestru::wiersz(qint64 n, const Lista& l) {
  const int wierszy = l.wierszy;
  const auto& lp = l.lp;
  if (n < 0 || n >= ilosc()) return -1;
  if (!wierszeZnane_ || wierszy != wierszy_ || l.przestawien != przestawien_) wierszeZListy(l);
  Wpis& w = w_[static_cast<std::size_t>(n)];
  if (w.wiele) {
    // Shown by more than one row: the first of them, looked for as a pass over the rows would.
    int pierwszy = -1, ile = 0;
    for (int r = 0; r < wierszy; ++r)
      if (lp(r) == n && ile++ == 0) pierwszy = r;
    w.wiersz = pierwszy;
    w.wiele = ile > 1;
    return pierwszy;
  }
  if (w.wiersz < 0 || (w.wiersz < wierszy && lp(w.wiersz) == n)) return w.wiersz;
  // The list changed in a way the index was not told of: the map is built again.
  wierszeZListy(l);
  return wiersz(n, l);
}

void IndeksRejestru::ustawWiersz(qint64 n, int wiersz, int wierszy) {
  if (n >= 0 && n < ilosc()) {
    Wpis& w = w_[static_cast<std::size_t>(n)];
    if (w.wiersz >= 0 && w.wiersz != wiersz) w.wiele = 1;
    w.wiersz = wiersz;
  }
  // A row added at the end keeps the map whole; anything else leaves it to be built again.
  if (wierszeZnane_ && wierszy == wierszy_ + 1 && wiersz == wierszy_) wierszy_ = wierszy;
  else if (wierszy != wierszy_) wierszeZnane_ = false;
}

void IndeksRejestru::usunietoWiersze(int pierwszy, int ostatni) {
  if (ostatni < pierwszy) return;
  const int ile = ostatni - pierwszy + 1;
  for (Wpis& w : w_) {
    if (w.wiersz > ostatni) w.wiersz -= ile;
    else if (w.wiersz >= pierwszy) w.wiersz = -1;
  }
  wierszy_ -= ile;
}

void IndeksRejestru::wierszeZywych() {
  int r = 0;
  for (Wpis& w : w_) {
    w.wiersz = w.flagi & kZywy ? r++ : -1;
    w.wiele = 0;
  }
  zaKoncem_.clear();
  wierszeZnane_ = true;
  wierszy_ = r;
}

}  // namespace zelt
