// The card save over a register of 100,000 records (351 MB, in the page cache) shown in the main
// window's list: a new card of 1 and of 25 records checked, numbered, written and given its rows,
// as "&Zapisz" does it without the findings' dialog. Each run is set against one sequential read
// of the same file in the same run: the counter "x_odczyt" is the save's time over the read's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <stdexcept>

#include "platform/dialogs.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/weryfikacjakarty.h"
#include "register/zapiskarty.h"
#include "qtbench.h"
#include "rejestr100k.h"
#include "swiatbench.h"

namespace {

constexpr int kRecords = 100000;
using Zegar = std::chrono::steady_clock;

struct Swiat : bench::Uslugi {
  std::unique_ptr<zelt::Program> p;

  Swiat() {
    bench::zbudujRejestr(baza() + "/transak.dat", kRecords);
    p = uruchom();
  }
  QString plik() const { return p->transakDat(); }
};

Swiat* g_swiat = nullptr;
Swiat& swiat() {
  if (!g_swiat) g_swiat = new Swiat;
  return *g_swiat;
}

// One sequential read of the whole register file, in milliseconds.
double odczyt(const QString& plik) {
  const auto t0 = Zegar::now();
  benchmark::DoNotOptimize(bench::czytajCaly(plik));
  return std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
}

zelt::TRekordPodmiotu dysponent(int i) {
  zelt::TRekordPodmiotu w;
  w.rolaPo = zelt::TRekordPodmiotu::Dysponent;
  w.TypPo = 1;
  w.Nz = "Kowalski Jan " + std::to_string(i);
  w.Obyw = w.AdrKr = "PL";
  w.AdrKod = "00-001";
  w.AdrM = "Warszawa";
  w.AdrUl = "Prosta " + std::to_string(i);
  w.NrPes = "44051401359";
  w.RodzDokTo = 1;
  w.NrDokTo = "ABC123456";
  return w;
}

// A new card of `n` records on the day after the register's last, as "&Dodaj" and the user leave it.
void nowaKarta(zelt::Program& p, int n, int numer) {
  p.czyscKarte();
  zelt::Karta k;
  k.nrEwT = std::to_string(900000000 + numer);
  k.jedIO = "12345678 - siedziba";
  k.rejDat = k.tDat = 46000 + kRecords / 1000;  // the day after the register's last
  k.NrRejDat = {"0"};
  k.NrRejDatWybrany = 0;
  k.NrRejDatTekst = "0";
  k.kRodzTr = "0101";
  k.kPwz = 0;
  k.kPdjrz = "    ";
  k.spDysp = 1;
  k.nrDokT = "KP/1";
  k.tM = "Warszawa";
  k.tKw = "100,00";
  k.tJ = "PLN";
  for (int i = 1; i <= n; ++i) k.listaDysponentow.wpisy.push_back(dysponent(i));
  k.listaDysponentow.indeks = 1;
  k.z = zelt::pokazWpis(zelt::kRolaDysponenta, k.listaDysponentow.wpisy[0]);
  p.karta = std::move(k);
  p.trybKarty = 1;
}

void BM_SaveANewCard(benchmark::State& state) {
  Swiat& s = swiat();
  zelt::Program& p = *s.p;
  auto* lista = p.glowny()->lista;
  const int n = static_cast<int>(state.range(0));
  static int numer = 0;
  double zapis = 0, czytanie = 0;
  for (auto _ : state) {
    state.PauseTiming();
    nowaKarta(p, n, ++numer);
    czytanie += odczyt(s.plik());
    state.ResumeTiming();
    const auto t0 = Zegar::now();
    zelt::zapiszPokazane(p.karta);
    const zelt::WynikWeryfikacji w = zelt::weryfikacja(p);
    if (zelt::zapiszKarte(p, {}, w.numeryDnia, lista) != zelt::Zapis::Zapisano) throw std::runtime_error("not saved");
    p.glowny()->ustawPrzyciski();
    zapis += std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
  }
  state.counters["x_odczyt"] = zapis / czytanie;
  state.counters["odczyt_ms"] = czytanie / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SaveANewCard)->ArgName("rekordow")->Arg(1)->Arg(25)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  // The world holds windows: it ends while the application still exists.
  return qtbench::run(argc, argv, [] {
    delete g_swiat;
    g_swiat = nullptr;
  });
}
