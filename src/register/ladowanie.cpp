#include "register/ladowanie.h"

#include <exception>
#include <thread>

#include "grid/kgridmodel.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/packed.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/tekstywierszy.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"

namespace zelt {

namespace {

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

  // What the pass found.
  std::int64_t wiersze = 0;
  qint64 niepelny = 0;
  QString blad;                  // the register is there but cannot be opened
  std::exception_ptr wyjatek;    // a read error part-way, shown on the main thread
  // One block of cells per column; a list column's block is filled from its indexes.
  std::vector<kgrid::TKCellBlock> bloki;
  std::vector<std::vector<std::int32_t>> indeksy;

 private:
  void przejdz();
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

void PrzebiegRejestru::przejdz() {
  TekstyWiersza teksty(kody_);
  const std::size_t n = teksty.ile();
  bloki.resize(n);
  indeksy.resize(n);
  PlikRejestru plik(plik_);
  if (!plik.otworzDoOdczytu()) {
    // Only a register that is not there at all is an empty one.
    if (!plik.brak()) blad = plik.blad().isEmpty() ? QStringLiteral("?") : plik.blad();
    return;
  }
  niepelny = plik.niepelnyOstatni();
  // Room for every record at once; the deleted ones are a few.
  const int rekordy = static_cast<int>(std::min<qint64>(plik.ilosc(), 0x7fffffff));
  for (std::size_t c = 0; c < n; ++c) {
    if (teksty.lista(c))
      indeksy[c].reserve(static_cast<std::size_t>(rekordy));
    else
      bloki[c].reserve(rekordy);
  }
  const ListyKarty brak;  // a list column's text is not made here
  std::string t;
  // Once the first records show how long each column's texts are, its text gets room for all:
  // a buffer grown step by step would be copied and its pages touched twice.
  constexpr std::int64_t kProba = 1000;
  auto zarezerwuj = [&] {
    for (std::size_t c = 0; c < n; ++c)
      if (!teksty.lista(c))
        bloki[c].reserveText(static_cast<std::size_t>(static_cast<double>(bloki[c].textBytes()) / kProba * rekordy * 1.05) + 64);
  };
  plik.kazdyBajty([&](qint64 nr, const char* b) {
    if (packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted) return;
    const auto nrRekordu = static_cast<std::int32_t>(nr);
    for (std::size_t c = 0; c < n; ++c) {
      if (teksty.lista(c)) {
        indeksy[c].push_back(teksty.indeks(c, b));
      } else {
        teksty.tekst(c, b, nrRekordu, brak, t);
        bloki[c].append(t);
      }
    }
    if (++wiersze == kProba) zarezerwuj();
  });
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

std::int64_t zaladujRejestr(Program& program, kgrid::TKGridModel& lista) {
  const QString linia = QStringLiteral("ładowanie rejestru transakcji");
  program.akcja(linia);
  const std::vector<std::string> kody = kodyKolumn(program.ukladListy);
  std::shared_ptr<PrzebiegRejestru> p = std::move(program.przebiegRejestru);
  const bool rozpoczety = program.rejestrRozpoczety;
  program.rejestrRozpoczety = false;
  if (p) p->czekaj();
  // Not started before, or started for columns the list does not have: the pass runs here.
  if ((p && p->kody() != kody) || (!rozpoczety && odtworzDziennik(program))) {
    p = std::make_shared<PrzebiegRejestru>(program.transakDat(), kody);
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
        const ListyKarty::Lista& l = program.listyKarty.*teksty.kolumna(c).lista;
        kgrid::TKCellBlock& b = p->bloki[c];
        b.reserve(static_cast<int>(p->indeksy[c].size()));
        for (std::int32_t i : p->indeksy[c]) b.append(ListyKarty::tekst(l, i));
        std::vector<std::int32_t>().swap(p->indeksy[c]);
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
