#include "register/rejestr.h"

#include "grid/kgridmodel.h"
#include "platform/errors.h"
#include "platform/packed.h"
#include "register/indeksrejestru.h"
#include "register/numeracja.h"
#include "register/polecenia.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
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

// The index of the register last used in this process: the program works on one register at a
// time, and a change of register builds it again. The start-up's pass may build it on a worker
// thread, hence the lock.
struct Pamiec {
  std::mutex lock;
  QString sciezka;
  std::optional<platform::RecordFile::Identity> stan;  // none: holds nothing to trust
  IndeksRejestru indeks;
};

Pamiec& pamiec() {
  static Pamiec p;
  return p;
}

void zapomnij(const QString& sciezka) {
  Pamiec& p = pamiec();
  std::lock_guard g(p.lock);
  if (p.sciezka == sciezka) p.stan.reset();
}

// True when the index holds the register as the open file is now.
bool aktualny(const Pamiec& p, const platform::RecordFile& f) {
  if (!p.stan || p.sciezka != f.path()) return false;
  const auto teraz = f.identity();
  return teraz && *teraz == *p.stan;
}

bool aktualny(const platform::RecordFile& f) {
  Pamiec& p = pamiec();
  std::lock_guard g(p.lock);
  return aktualny(p, f);
}

// A whole pass's index taken in for the file as it was when the pass began (the lock held).
void przyjmij(Pamiec& p, const platform::RecordFile& f, IndeksRejestru&& nowy,
              const std::optional<platform::RecordFile::Identity>& przed) {
  p.sciezka = f.path();
  p.indeks = std::move(nowy);
  p.stan = przed;
}

// What the list's rows tell the index of register `sciezka`, when it is the one it holds.
template <class F>
void doIndeksu(const QString& sciezka, F&& f) {
  Pamiec& p = pamiec();
  std::lock_guard g(p.lock);
  if (p.sciezka == sciezka) f(p.indeks);
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
    zapomnij(transakDat);
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
  // A counter is not in the index: it stays whole, the file's changed identity is taken in.
  Pamiec& p = pamiec();
  const bool zgodny = aktualny(file_);
  try {
    file_.writeEach(numery, offset, b, ile);
    file_.sync();
  } catch (const IoError&) {
    zapomnij(file_.path());
    throw;
  }
  std::lock_guard g(p.lock);
  if (zgodny && p.sciezka == file_.path()) p.stan = file_.identity();
  else if (p.sciezka == file_.path()) p.stan.reset();
}

void PlikRejestru::obetnij(qint64 bajty) {
  zapomnij(file_.path());
  file_.truncate(bajty);
}

qint64 PlikRejestru::zmien(const Zmiana& z) {
  const qint64 pierwszy = ilosc();
  const std::size_t zapisow = z.przepisane.size() + z.usuwane.size() + z.dopisane.size();
  if (zapisow == 0) return pierwszy;
  Pamiec& p = pamiec();
  const bool zgodny = aktualny(file_);
  const qint64 wynik = zapiszZmiane(z);
  // The index follows what was written, when it held the register as it was before; else the
  // next use builds it again.
  std::lock_guard g(p.lock);
  if (p.sciezka != file_.path()) return wynik;
  if (!zgodny || p.indeks.ilosc() != pierwszy) {
    p.stan.reset();
    return wynik;
  }
  TRekordTransakcji::Bytes b;
  for (const auto& [n, r] : z.przepisane) {
    r.encode(b.data());
    p.indeks.zmien(n, b.data());
  }
  for (const auto& r : z.dopisane) {
    r.encode(b.data());
    p.indeks.dodaj(b.data());
  }
  for (qint64 n : z.usuwane) p.indeks.usun(n);
  p.stan = file_.identity();
  return wynik;
}

qint64 PlikRejestru::zapiszZmiane(const Zmiana& z) {
  const qint64 pierwszy = ilosc();
  const std::size_t zapisow = z.przepisane.size() + z.usuwane.size() + z.dopisane.size();
  // An error part-way leaves the index to be built again: what the file holds then is the
  // journal's business.
  struct Zapomnij {
    const QString& sciezka;
    bool wlaczony = true;
    ~Zapomnij() {
      if (wlaczony) zapomnij(sciezka);
    }
  } zapomnijPrzyBledzie{file_.path()};
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
      zapomnijPrzyBledzie.wlaczony = false;
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
    zapomnijPrzyBledzie.wlaczony = false;
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
  zapomnijPrzyBledzie.wlaczony = false;
  return pierwszy;
}

void PlikRejestru::kazdy(const std::function<void(qint64, const TRekordTransakcji&)>& fn) {
  kazdyBajty([&fn](qint64 i, const char* b) { fn(i, TRekordTransakcji::decode(b)); });
}

namespace {

// One pass over every whole record in file order, in large blocks (the start and every report
// run one); what is given gets each record's bytes.
void przejdz(platform::RecordFile& f, IndeksRejestru* nowy, const std::function<void(qint64, const char*)>* fn,
             qint64 najwyzej = -1) {
  constexpr qint64 kBlok = 512;
  const qint64 n = najwyzej < 0 ? f.count() : std::min(najwyzej, f.count());
  if (nowy) nowy->rezerwuj(n);
  std::vector<char> b(static_cast<std::size_t>(std::min(n, kBlok)) * kRozmiar);
  for (qint64 i = 0; i < n; i += kBlok) {
    const qint64 ile = std::min(kBlok, n - i);
    f.read(i, ile, b.data());
    for (qint64 j = 0; j < ile; ++j) {
      const char* r = b.data() + static_cast<std::size_t>(j) * kRozmiar;
      if (nowy) nowy->dodaj(r);
      if (fn) (*fn)(i + j, r);
    }
  }
}

}  // namespace

void PlikRejestru::kazdyBajty(const std::function<void(qint64, const char*)>& fn) {
  Pamiec& p = pamiec();
  std::optional<platform::RecordFile::Identity> przed;
  {
    std::lock_guard g(p.lock);
    if (!aktualny(p, file_)) przed = file_.identity();
  }
  // A pass over a file the index does not hold builds the index on the way, without the lock:
  // the start-up's pass runs on a worker thread.
  std::optional<IndeksRejestru> nowy;
  if (przed) nowy.emplace();
  przejdz(file_, nowy ? &*nowy : nullptr, &fn);
  if (!nowy) return;
  std::lock_guard g(p.lock);
  // Taken only when nothing changed the file while it was read.
  if (file_.identity() == przed) przyjmij(p, file_, std::move(*nowy), przed);
}

void PlikRejestru::kazdyBajtyBezIndeksu(qint64 ile, const std::function<void(qint64, const char*)>& fn) {
  przejdz(file_, nullptr, &fn, std::max<qint64>(ile, 0));
}

template <class F>
auto PlikRejestru::zIndeksem(F&& f) {
  Pamiec& p = pamiec();
  std::lock_guard g(p.lock);
  if (!aktualny(p, file_)) {
    IndeksRejestru nowy;
    const auto przed = file_.identity();
    przejdz(file_, &nowy, nullptr);
    przyjmij(p, file_, std::move(nowy), przed);
  }
  return f(p.indeks);
}

void PlikRejestru::czytajKazdy(const std::vector<qint64>& numery, const std::function<void(qint64, const char*)>& fn) {
  // Records that lie together come in one read.
  constexpr qint64 kBlok = 512;
  std::vector<char> b;
  const qint64 wszystkich = ilosc();
  for (std::size_t i = 0; i < numery.size();) {
    std::size_t j = i + 1;
    while (j < numery.size() && numery[j] == numery[j - 1] + 1 && qint64(j - i) < kBlok) ++j;
    const qint64 pierwszy = numery[i], ile = std::min<qint64>(qint64(j - i), wszystkich - pierwszy);
    if (pierwszy >= 0 && ile > 0) {
      b.resize(static_cast<std::size_t>(ile) * kRozmiar);
      file_.read(pierwszy, ile, b.data());
      for (qint64 k = 0; k < ile; ++k) fn(pierwszy + k, b.data() + static_cast<std::size_t>(k) * kRozmiar);
    }
    i = j;
  }
}

void PlikRejestru::kazdyZNumerem(std::string_view nrEwT, const std::function<void(qint64, const char*)>& fn) {
  czytajKazdy(zIndeksem([&](const IndeksRejestru& i) { return i.zNumerem(nrEwT); }), fn);
}

void PlikRejestru::kazdyZDnia(double rejDat, const std::function<void(qint64, const char*)>& fn) {
  const auto dzien = IndeksRejestru::dzienDaty(rejDat);
  if (!dzien) {
    kazdyBajty(fn);
    return;
  }
  czytajKazdy(zIndeksem([&](const IndeksRejestru& i) { return i.zDnia(*dzien); }), fn);
}

NumeryDnia PlikRejestru::numeryDnia(double rejDat) {
  NumeryDnia zajete;
  static const PoleRekordu& numer = *poleTekstowe("nrRejDat");
  auto zajmij = [&](qint64, const char* b) {
    if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted ||
        packed::getF64(b, TRekordTransakcji::kOffsetRejDat) != rejDat)
      return;
    zajete.zajmij(packed::getStr(b, numer.offset, numer.capacity));
  };
  const auto dzien = IndeksRejestru::dzienDaty(rejDat);
  if (!dzien) {
    kazdyBajty(zajmij);
    return zajete;
  }
  std::vector<qint64> niecale;
  const std::vector<int> numery = zIndeksem([&](const IndeksRejestru& i) { return i.numeryDnia(*dzien, &niecale); });
  if (rejDat == static_cast<double>(*dzien)) {
    for (int n : numery) zajete.zajmijNumer(n);
  } else {
    // A date with a fraction is held by records of its day whose date has one too.
    czytajKazdy(niecale, zajmij);
  }
  return zajete;
}

int PlikRejestru::wiersz(qint64 n, const kgrid::TKGridModel& lista, int kolumnaLp) {
  const IndeksRejestru::Lista l{lista.RowCount(), lista.RowMoves(),
                                [&](int w) { return numerRekordu(lista, kolumnaLp, w); }};
  return zIndeksem([&](IndeksRejestru& i) { return i.wiersz(n, l); });
}

void PlikRejestru::ustawWiersz(const QString& transakDat, qint64 n, int wiersz, int wierszy) {
  doIndeksu(transakDat, [&](IndeksRejestru& i) { i.ustawWiersz(n, wiersz, wierszy); });
}

void PlikRejestru::usunietoWiersze(const QString& transakDat, int pierwszy, int ostatni) {
  doIndeksu(transakDat, [&](IndeksRejestru& i) { i.usunietoWiersze(pierwszy, ostatni); });
}

void PlikRejestru::wierszeZywych(const QString& transakDat) {
  doIndeksu(transakDat, [&](IndeksRejestru& i) { i.wierszeZywych(); });
}

std::size_t PlikRejestru::bajtyIndeksu(const QString& transakDat) {
  Pamiec& p = pamiec();
  std::lock_guard g(p.lock);
  return p.sciezka == transakDat && p.stan ? p.indeks.bajty() : 0;
}

}  // namespace zelt
