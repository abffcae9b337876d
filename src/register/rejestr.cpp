#include "register/rejestr.h"

#include "platform/errors.h"
#include "platform/packed.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace zelt {

QString komunikatOtwarcia(const QString& blad) {
  return QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: ") + blad;
}

namespace {

using platform::IoError;

// The journal: what the register was before one change. Its layout, little-endian:
//   "ZELTDZ1\n", u64 length of the register, u32 record size, u32 bytes of a partial last record,
//   u32 number of records, the partial last record's bytes, per record u64 its number and its
//   bytes, and u64 the FNV-1a hash of all that. A journal whose size or hash does not match was
//   cut short while it was written: the register was not touched yet.
constexpr char kZnakDziennika[8] = {'Z', 'E', 'L', 'T', 'D', 'Z', '1', '\n'};
constexpr std::size_t kNaglowek = 8 + 8 + 4 + 4 + 4;
constexpr std::size_t kRozmiar = TRekordTransakcji::kSize;

struct StanPrzed {
  qint64 dlugosc = 0;
  std::string ogon;
  std::vector<std::pair<qint64, TRekordTransakcji::Bytes>> rekordy;
};

std::uint64_t fnv1a(std::string_view b) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : b) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

void putU64(std::string& s, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putU32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint64_t getU64(const char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return v;
}
std::uint32_t getU32(const char* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return v;
}

std::string zakoduj(const StanPrzed& s) {
  std::string b(kZnakDziennika, sizeof kZnakDziennika);
  putU64(b, static_cast<std::uint64_t>(s.dlugosc));
  putU32(b, static_cast<std::uint32_t>(kRozmiar));
  putU32(b, static_cast<std::uint32_t>(s.ogon.size()));
  putU32(b, static_cast<std::uint32_t>(s.rekordy.size()));
  b += s.ogon;
  for (const auto& [n, r] : s.rekordy) {
    putU64(b, static_cast<std::uint64_t>(n));
    b.append(r.data(), r.size());
  }
  putU64(b, fnv1a(b));
  return b;
}

// The journal's contents, or nothing when it is not whole.
std::optional<StanPrzed> odkoduj(std::string_view b) {
  if (b.size() < kNaglowek + 8 || std::memcmp(b.data(), kZnakDziennika, sizeof kZnakDziennika) != 0) return std::nullopt;
  const std::uint64_t dlugosc = getU64(b.data() + 8);
  const std::uint32_t rozmiar = getU32(b.data() + 16), ogon = getU32(b.data() + 20), ile = getU32(b.data() + 24);
  if (rozmiar != kRozmiar || ogon >= kRozmiar || dlugosc > (std::uint64_t{1} << 62) || ogon > dlugosc) return std::nullopt;
  const std::uint64_t oczekiwany = kNaglowek + std::uint64_t{ogon} + std::uint64_t{ile} * (8 + kRozmiar) + 8;
  if (b.size() != oczekiwany || getU64(b.data() + b.size() - 8) != fnv1a(b.substr(0, b.size() - 8))) return std::nullopt;
  StanPrzed s;
  s.dlugosc = static_cast<qint64>(dlugosc);
  s.ogon.assign(b.data() + kNaglowek, ogon);
  const char* p = b.data() + kNaglowek + ogon;
  for (std::uint32_t i = 0; i < ile; ++i, p += 8 + kRozmiar) {
    const std::uint64_t n = getU64(p);
    // A record the register did not hold before the change cannot have been rewritten by it.
    if (n >= dlugosc / kRozmiar) return std::nullopt;
    TRekordTransakcji::Bytes r;
    std::memcpy(r.data(), p + 8, kRozmiar);
    s.rekordy.emplace_back(static_cast<qint64>(n), r);
  }
  return s;
}

// The register as it was before the change: the rewritten records get their bytes back, the file
// its length and its partial last record. Run again after a crash on the way, it ends the same.
void odtworz(platform::RecordFile& f, const StanPrzed& s) {
  for (const auto& [n, r] : s.rekordy) f.write(n, r.data());
  f.restore(s.dlugosc, s.ogon);
  f.sync();
}

}  // namespace

QString PlikRejestru::sciezkaDziennika(const QString& transakDat) { return transakDat + QStringLiteral(".dziennik"); }

bool PlikRejestru::otworzDoPisania(platform::RecordFile::Mode mode) {
  blad_.clear();
  if (!platform::RecordFile::absent(sciezkaDziennika(file_.path()))) {
    blad_ = QString::fromUtf8("ostatni zapis nie został dokończony, a jego dziennik transak.dat.dziennik nie został odtworzony");
    return false;
  }
  return file_.open(mode);
}

PlikRejestru::Dziennik PlikRejestru::odtworzDziennik(const QString& transakDat, QString& blad) {
  const QString sciezka = sciezkaDziennika(transakDat);
  if (platform::RecordFile::absent(sciezka)) return Dziennik::Brak;
  QFile plik(sciezka);
  if (!plik.open(QIODevice::ReadOnly)) {
    blad = plik.errorString();
    return Dziennik::Blad;
  }
  const QByteArray b = plik.readAll();
  plik.close();
  try {
    const auto stan = odkoduj(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
    if (!stan) {
      platform::removeSyncedFile(sciezka);
      return Dziennik::Pominiety;
    }
    platform::RecordFile f(transakDat, kRozmiar);
    if (!f.open(platform::RecordFile::Mode::ReadWrite)) {
      blad = f.error();
      return Dziennik::Blad;
    }
    odtworz(f, *stan);
    f.close();
    platform::removeSyncedFile(sciezka);
  } catch (const IoError& e) {
    blad = QString::fromStdString(e.what());
    return Dziennik::Blad;
  }
  return Dziennik::Odtworzony;
}

void PlikRejestru::oznaczUsuniety(qint64 n) { zmien({{}, {n}, {}}); }

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

void PlikRejestru::zapisz(qint64 n, const TRekordTransakcji& r) { zmien({{{n, r}}, {}, {}}); }

qint64 PlikRejestru::dopisz(const TRekordTransakcji& r) { return zmien({{}, {}, std::span(&r, 1)}); }

qint64 PlikRejestru::dopiszWszystkie(std::span<const TRekordTransakcji> rekordy) { return zmien({{}, {}, rekordy}); }

void PlikRejestru::zapiszPole(const std::vector<qint64>& numery, std::size_t offset, const char* b, std::size_t ile) {
  file_.writeEach(numery, offset, b, ile);
  file_.sync();
}

qint64 PlikRejestru::zmien(const Zmiana& z) {
  const qint64 pierwszy = ilosc();
  const std::size_t zapisow = z.przepisane.size() + z.usuwane.size() + z.dopisane.size();
  if (zapisow == 0) return pierwszy;
  char status[4];
  packed::putI32(status, 0, TRekordTransakcji::kDeleted);

  StanPrzed przed;
  przed.dlugosc = bajty();
  przed.ogon = file_.partialTail();
  // One Status, or one record appended: a torn write of it is a partial record or a Status that
  // is not 99, never a change of what was stored; no journal.
  if (z.przepisane.empty() && zapisow == 1) {
    if (!z.usuwane.empty()) {
      file_.write(z.usuwane[0], TRekordTransakcji::kOffsetStatus, status, sizeof status);
      file_.sync();
      return pierwszy;
    }
    try {
      file_.write(pierwszy, z.dopisane[0].encode().data());
      file_.sync();
    } catch (const IoError&) {
      try {
        file_.restore(przed.dlugosc, przed.ogon);
      } catch (const IoError&) {
        // What could not be cut back is a partial record: the next start says so.
      }
      throw;
    }
    return pierwszy;
  }

  for (const auto& [n, r] : z.przepisane) przed.rekordy.emplace_back(n, czytajBajty(n));
  for (qint64 n : z.usuwane) przed.rekordy.emplace_back(n, czytajBajty(n));
  const QString dziennik = sciezkaDziennika(file_.path());
  try {
    platform::writeSyncedFile(dziennik, zakoduj(przed));
  } catch (const IoError&) {
    // Nothing was written to the register; a journal cut short would be passed over anyway.
    try {
      platform::removeSyncedFile(dziennik);
    } catch (const IoError&) {
    }
    throw;
  }

  try {
    for (const auto& [n, r] : z.przepisane) file_.write(n, r.encode().data());
    constexpr std::size_t kBlok = 512;
    std::vector<char> b(std::min(z.dopisane.size(), kBlok) * kRozmiar);
    for (std::size_t i = 0; i < z.dopisane.size(); i += kBlok) {
      const std::size_t ile = std::min(kBlok, z.dopisane.size() - i);
      for (std::size_t j = 0; j < ile; ++j) z.dopisane[i + j].encode(b.data() + j * kRozmiar);
      file_.writeRecords(pierwszy + static_cast<qint64>(i), static_cast<qint64>(ile), b.data());
    }
    for (qint64 n : z.usuwane) file_.write(n, TRekordTransakcji::kOffsetStatus, status, sizeof status);
    file_.sync();
  } catch (const IoError& e) {
    std::string tekst = e.what();
    try {
      odtworz(file_, przed);
      platform::removeSyncedFile(dziennik);
    } catch (const IoError& e2) {
      tekst += std::string("\n") + e2.what();
    }
    throw IoError(tekst);
  }
  platform::removeSyncedFile(dziennik);
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
