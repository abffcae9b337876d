#include "register/ladowanie.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>

#include "grid/kgridmodel.h"
#include "grid/kstrings.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "platform/packed.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/tekstywierszy.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"

namespace zelt {

namespace {

// A list column's cells: each row's item text.
void wypelnijListowa(kgrid::TKCellBlock& b, const ListyKarty::Lista& l, const std::vector<std::int32_t>& indeksy) {
  b.reserve(static_cast<int>(indeksy.size()));
  std::size_t bajty = 0;
  for (std::int32_t i : indeksy) bajty += ListyKarty::widok(l, i).size();
  b.reserveText(bajty);
  for (std::int32_t i : indeksy) b.append(ListyKarty::widok(l, i));
}

// What the columns' cells cost the pass, counted in bytes of text made, from the first records of
// the file: a cell costs kKomorka bytes besides its text (its slot and the call), a quoted one
// kCytat more; a list column's cell is an index in the pass and a cell filled from its item's text
// after it. The weights come from the columns' measured times on a register of 100,000 records;
// the index cost the first thread about kIndeks a record there.
constexpr std::uint64_t kKomorka = 8, kCytat = 12, kPozycja = 16, kIndeks = 18;
constexpr qint64 kProbka = 256;

struct Koszty {
  std::vector<std::uint64_t> kolumn;
  std::uint64_t indeksu = 0;
};

Koszty kosztyKolumn(PlikRejestru& plik, const std::vector<std::string>& kody, qint64 rekordy) {
  TekstyWiersza teksty(kody);
  Koszty k;
  k.kolumn.assign(teksty.ile(), 0);
  const ListyKarty brak;
  std::string t;
  try {
    plik.kazdyBajtyBezIndeksu(std::min(rekordy, kProbka), [&](qint64 nr, const char* b) {
      k.indeksu += kIndeks;
      if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted) return;
      for (std::size_t c = 0; c < teksty.ile(); ++c) {
        if (teksty.lista(c)) {
          k.kolumn[c] += 2 * kKomorka + kPozycja;
          continue;
        }
        teksty.tekst(c, b, static_cast<std::int32_t>(nr), brak, t);
        k.kolumn[c] += kKomorka + t.size() + (kgrid::KStrings::IsPlainText(t) ? 0 : kCytat);
      }
    });
  } catch (const platform::IoError&) {
    // The threads' own reads meet the error again and report it; the costs are only a share-out.
  }
  return k;
}

std::vector<std::string> kodyKolumn(const UkladListy& uklad) {
  std::vector<std::string> kody;
  for (const auto& k : uklad.kolumny()) kody.push_back(k.kod);
  return kody;
}

}  // namespace

// One pass over the register for a list's columns, on its own thread or on the caller's. Its
// results are read only after it has ended.
class PrzebiegRejestru {
 public:
  PrzebiegRejestru(QString transakDat, std::vector<std::string> kody)
      : plik_(std::move(transakDat)), kody_(std::move(kody)) {}
  ~PrzebiegRejestru() { czekaj(); }
  PrzebiegRejestru(const PrzebiegRejestru&) = delete;
  PrzebiegRejestru& operator=(const PrzebiegRejestru&) = delete;

  void wTle() {
    watek_ = std::thread([this] { uruchom(); });
  }
  void czekaj() {
    if (watek_.joinable()) watek_.join();
  }
  void uruchom();

  const std::vector<std::string>& kody() const { return kody_; }

  // The card's item lists, once the dictionaries are read: a thread that finds them when its
  // pass is over makes its list columns' cells with them; else the main thread makes them.
  void dajListy(const ListyKarty& l) {
    std::lock_guard g(listyLock_);
    if (!listy_) listy_ = l;
  }
  // The lists a list column's cells were made with, when they were.
  const ListyKarty* listyUzyte() const { return listy_ ? &*listy_ : nullptr; }
  // Per column: its cells were made from listyUzyte(). One byte each, as threads set them side by
  // side (the bits of a vector<bool> share words).
  std::vector<char> zListami;

  // What the pass found.
  std::int64_t wiersze = 0;
  qint64 niepelny = 0;
  QString blad;                  // the register is there but cannot be opened
  std::exception_ptr wyjatek;    // a read error part-way, shown on the main thread
  // One block of cells per column; a list column's block is filled from its indexes.
  std::vector<kgrid::TKCellBlock> bloki;
  std::vector<std::vector<std::int32_t>> indeksy;

 private:
  // One thread's share of the pass: its columns, the rows it made, the file as it found it
  // before and after.
  struct Czesc {
    std::vector<std::size_t> kolumny;
    std::int64_t wiersze = 0;
    std::optional<platform::RecordFile::Identity> przed, po;
    std::exception_ptr wyjatek;
  };
  void przejdz();
  void przejdz(std::size_t watkow);
  std::mutex listyLock_;
  std::optional<ListyKarty> listy_;
  // The pass of one share over `plik`, `rekordy` records at most: the opened file whose pass
  // builds the index on the way (`zIndeksem`), or a thread's own file, opened here.
  void wykonaj(PlikRejestru& plik, bool zIndeksem, qint64 rekordy, Czesc& czesc);
  QString plik_;
  std::vector<std::string> kody_;
  std::thread watek_;
};

void PrzebiegRejestru::uruchom() {
  try {
    przejdz();
  } catch (...) {
    wyjatek = std::current_exception();
  }
}

namespace {

std::atomic<std::size_t> ustawioneWatki{0};

// Threads of the pass: each one reads the file itself, so a few are enough; the parties list is
// read beside them.
std::size_t watkiPrzebiegu() {
  if (const std::size_t w = ustawioneWatki.load()) return w;
  return std::clamp<std::size_t>(std::thread::hardware_concurrency() / 2, 1, 4);
}

}  // namespace

void ustawWatkiLadowania(std::size_t watkow) { ustawioneWatki = watkow; }

std::vector<std::vector<std::size_t>> rozdzielKolumny(const std::vector<std::uint64_t>& koszty, std::size_t watkow,
                                                      std::uint64_t pierwszyPonadto) {
  std::vector<std::vector<std::size_t>> czesci(std::max<std::size_t>(watkow, 1));
  std::vector<std::uint64_t> suma(czesci.size(), 0);
  suma[0] = pierwszyPonadto;
  std::vector<std::size_t> kolej(koszty.size());
  std::iota(kolej.begin(), kolej.end(), std::size_t(0));
  std::stable_sort(kolej.begin(), kolej.end(), [&](std::size_t a, std::size_t b) { return koszty[a] > koszty[b]; });
  for (std::size_t c : kolej) {
    const auto w = static_cast<std::size_t>(std::min_element(suma.begin(), suma.end()) - suma.begin());
    czesci[w].push_back(c);
    suma[w] += koszty[c];
  }
  for (auto& c : czesci) std::sort(c.begin(), c.end());
  return czesci;
}

void PrzebiegRejestru::przejdz() {
  przejdz(watkiPrzebiegu());
}

// The columns are shared out among the threads: each thread reads the whole file and makes the
// cells of its own columns, so that no cell is copied from one thread's block into another's
// (first touches of fresh memory are a large part of the load). The first thread builds the
// index on the way. The threads get columns of about equal cost: the pass lasts as long as its
// slowest thread.
void PrzebiegRejestru::przejdz(std::size_t watkow) {
  const std::size_t n = TekstyWiersza(kody_).ile();
  bloki.assign(n, {});
  indeksy.assign(n, {});
  zListami.assign(n, 0);
  wiersze = 0;
  PlikRejestru plik(plik_);
  if (!plik.otworzDoOdczytu()) {
    // Only a register that is not there at all is an empty one.
    if (!plik.brak()) blad = plik.blad().isEmpty() ? QStringLiteral("?") : plik.blad();
    return;
  }
  niepelny = plik.niepelnyOstatni();
  const qint64 rekordy = plik.ilosc();
  watkow = std::clamp<std::size_t>(watkow, 1, std::max<std::size_t>(n, 1));
  // One thread takes every column: nothing to weigh.
  const Koszty koszty = watkow > 1 ? kosztyKolumn(plik, kody_, rekordy) : Koszty{std::vector<std::uint64_t>(n, 0), 0};
  std::vector<Czesc> czesci;
  for (auto& kolumny : rozdzielKolumny(koszty.kolumn, watkow, koszty.indeksu))
    if (czesci.empty() || !kolumny.empty()) czesci.push_back(Czesc{std::move(kolumny)});
  watkow = czesci.size();
  {
    std::vector<std::jthread> pozostale;
    for (std::size_t w = 1; w < watkow; ++w)
      pozostale.emplace_back([this, rekordy, &czesc = czesci[w]] {
        PlikRejestru wlasny(plik_);
        wykonaj(wlasny, false, rekordy, czesc);
      });
    wykonaj(plik, true, rekordy, czesci[0]);
  }
  std::int64_t najmniej = czesci[0].wiersze;
  for (const Czesc& c : czesci) najmniej = std::min(najmniej, c.wiersze);
  for (const Czesc& c : czesci)
    if (c.wyjatek) {
      // The rows every thread read before the error are kept, as one pass would keep them.
      wyjatek = c.wyjatek;
      for (std::size_t k = 0; k < n; ++k) {
        bloki[k].truncate(static_cast<int>(najmniej));
        if (indeksy[k].size() > static_cast<std::size_t>(najmniej)) indeksy[k].resize(static_cast<std::size_t>(najmniej));
      }
      wiersze = najmniej;
      return;
    }
  // Another process changed the file while the threads read it: their rows may not be of the
  // same records. One thread's pass reads it again; one thread's rows are those of one pass, as
  // the file went by under it, and are kept.
  if (watkow > 1)
    for (const Czesc& c : czesci)
      if (c.wiersze != czesci[0].wiersze || !c.przed || c.przed != c.po || c.przed != czesci[0].przed) {
        przejdz(1);
        return;
      }
  wiersze = czesci[0].wiersze;
}

void PrzebiegRejestru::wykonaj(PlikRejestru& plik, bool zIndeksem, qint64 rekordy, Czesc& czesc) {
  try {
    if (!zIndeksem && !plik.otworzDoOdczytu()) throw platform::IoError(plik.bladOtwarcia().toStdString());
    czesc.przed = plik.tozsamosc();
    TekstyWiersza teksty(kody_);
    // Room for every record at once; the deleted ones are a few.
    const int wszystkie = static_cast<int>(std::min<qint64>(rekordy, 0x7fffffff));
    for (std::size_t c : czesc.kolumny) {
      if (teksty.lista(c))
        indeksy[c].reserve(static_cast<std::size_t>(wszystkie));
      else
        bloki[c].reserve(wszystkie);
    }
    const ListyKarty brak;  // a list column's text is not made here
    std::string t;
    // Once the first records show how long each column's texts are, its text gets room for all:
    // a buffer grown step by step would be copied and its pages touched twice.
    constexpr std::int64_t kProba = 1000;
    auto zarezerwuj = [&] {
      for (std::size_t c : czesc.kolumny)
        if (!teksty.lista(c))
          bloki[c].reserveText(static_cast<std::size_t>(static_cast<double>(bloki[c].textBytes()) / kProba * wszystkie * 1.05) + 64);
    };
    auto rekord = [&](qint64 nr, const char* b) {
      if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted) return;
      const auto nrRekordu = static_cast<std::int32_t>(nr);
      for (std::size_t c : czesc.kolumny) {
        if (teksty.lista(c)) {
          indeksy[c].push_back(teksty.indeks(c, b));
        } else {
          teksty.tekst(c, b, nrRekordu, brak, t);
          bloki[c].append(t);
        }
      }
      if (++czesc.wiersze == kProba) zarezerwuj();
    };
    if (zIndeksem)
      plik.kazdyBajty(rekord);
    else
      plik.kazdyBajtyBezIndeksu(rekordy, rekord);
    czesc.po = plik.tozsamosc();
    const ListyKarty* listy = nullptr;
    {
      std::lock_guard g(listyLock_);
      if (listy_) listy = &*listy_;  // set once, never changed after
    }
    if (listy)
      for (std::size_t c : czesc.kolumny)
        if (teksty.lista(c)) {
          wypelnijListowa(bloki[c], listy->*teksty.kolumna(c).lista, indeksy[c]);
          zListami[c] = 1;
        }
  } catch (...) {
    czesc.wyjatek = std::current_exception();
  }
}

namespace {

// An unfinished write is undone before anything is read; a journal that cannot be played back
// stays, and the register is not loaded over it (false).
bool odtworzDziennik(Program& program) {
  QString blad;
  const auto dziennik = PlikRejestru::odtworzDziennik(program.transakDat(), blad);
  program.rejestrOdtworzony = dziennik == PlikRejestru::Dziennik::Odtworzony;
  program.bladOtwarciaRejestru = blad;
  return dziennik != PlikRejestru::Dziennik::Blad;
}

}  // namespace

void rozpocznijLadowanieRejestru(Program& program) {
  program.rejestrRozpoczety = true;
  program.przebiegRejestru.reset();
  if (!odtworzDziennik(program)) return;
  // The columns as the settings window will build them from the same stored definitions.
  program.przebiegRejestru = std::make_shared<PrzebiegRejestru>(
      program.transakDat(), kodyKolumn(UkladListy(wczytajDefinicje(program.svc.reg))));
  program.przebiegRejestru->wTle();
}

void dajListyLadowaniu(Program& program) {
  if (program.przebiegRejestru) program.przebiegRejestru->dajListy(program.listyKarty);
}

std::int64_t zaladujRejestr(Program& program, kgrid::TKGridModel& lista) {
  const QString linia = QStringLiteral("ładowanie rejestru transakcji");
  program.akcja(linia);
  const std::vector<std::string> kody = kodyKolumn(program.ukladListy);
  std::shared_ptr<PrzebiegRejestru> p = std::move(program.przebiegRejestru);
  const bool rozpoczety = program.rejestrRozpoczety;
  program.rejestrRozpoczety = false;
  if (p) {
    p->dajListy(program.listyKarty);
    p->czekaj();
  }
  // Not started before, or started for columns the list does not have: the pass runs here.
  if ((p && p->kody() != kody) || (!rozpoczety && odtworzDziennik(program))) {
    p = std::make_shared<PrzebiegRejestru>(program.transakDat(), kody);
    p->dajListy(program.listyKarty);
    p->uruchom();
  }
  std::int64_t wiersze = 0;
  qint64 niepelny = 0;
  QString blad = program.bladOtwarciaRejestru;
  if (p) {
    wiersze = p->wiersze;
    niepelny = p->niepelny;
    if (blad.isEmpty()) blad = p->blad;
    if (p->bloki.size() == kody.size()) {
      TekstyWiersza teksty(kody);
      for (std::size_t c = 0; c < teksty.ile(); ++c) {
        if (!teksty.lista(c)) continue;
        const ListyKarty::Lista ListyKarty::*lista = teksty.kolumna(c).lista;
        // Made on the worker with the lists the list shows now, or made here.
        if (p->zListami[c] && p->listyUzyte()->*lista == program.listyKarty.*lista) continue;
        p->bloki[c] = kgrid::TKCellBlock();
        wypelnijListowa(p->bloki[c], program.listyKarty.*lista, p->indeksy[c]);
      }
      const bool pusta = lista.RowCount() == 0;
      lista.AppendRows(static_cast<int>(p->wiersze), p->bloki);
      // The rows are the live records in file order: the index's row map needs no pass of its own.
      if (pusta) PlikRejestru::wierszeZywych(program.transakDat());
    }
    // The read error reaches the user as an error of the main thread's own pass would.
    if (p->wyjatek) platform::guarded(program.svc.dialogs, [&] { std::rethrow_exception(p->wyjatek); });
  }
  QString koniec = wiersze > 0    ? linia + QStringLiteral(" - załadowano %1 rekordów").arg(wiersze)
                   : blad.isEmpty() ? linia + QStringLiteral(" - brak danych")
                                    : linia + QStringLiteral(" - nie można otworzyć pliku");
  if (niepelny) koniec += QStringLiteral(", niepełny ostatni rekord pominięto");
  program.akcja(koniec);
  program.niepelnyRekordRejestru = niepelny;
  program.bladOtwarciaRejestru = blad;
  return wiersze;
}

}  // namespace zelt
