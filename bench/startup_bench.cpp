// Start-up over a register of 100,000 records and a parties file of 65,536 beside it, up to the
// signed-in main window, and the list's scrolling, clicking and card load on that register; the
// card editor's openings and its registration date's number search and the card check beside one
// sequential read of the file.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <chrono>

#include "platform/dialogs.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/weryfikacjakarty.h"
#include "settings/podmiotform.h"
#include "klienci64k.h"
#include "qtbench.h"
#include "rejestr100k.h"
#include "swiatbench.h"

namespace {

constexpr int kRecords = 100000;

// A world of its own: documents folder with the register and the parties file in ZELT/Baza (the
// parties folder is the data folder), a registry file.
struct Swiat : bench::Uslugi {
  Swiat() {
    bench::zbudujRejestr(baza() + "/transak.dat", kRecords);
    bench::zbudujKlientow(baza() + "/klienci.dat");
  }
  std::unique_ptr<zelt::Program> start() { return uruchom(); }
};

Swiat& swiat() {
  static Swiat s;
  return s;
}

// Beside each start-up, with the timing paused, one plain read of the register: the counters give
// the read's time and the start-up's multiple of it in the same run.
void BM_StartUpToTheSignedInMainWindow(benchmark::State& state) {
  Swiat& s = swiat();
  const QString plik = s.dir.filePath("Dokumenty/ZELT/Baza/transak.dat");
  using Zegar = std::chrono::steady_clock;
  Zegar::duration start{}, odczyt{};
  for (auto _ : state) {
    const auto t0 = Zegar::now();
    auto p = s.start();
    QApplication::processEvents();  // the window is painted
    benchmark::DoNotOptimize(p->glowny()->lista->RowCount());
    start += Zegar::now() - t0;
    state.PauseTiming();
    if (p->glowny()->lista->RowCount() != kRecords - kRecords / 20) throw std::runtime_error("the register is not loaded");
    if (p->podmiot()->Podmiot->RowCount() != bench::kPodmiotow - bench::kPodmiotow / 17)
      throw std::runtime_error("the parties list is not loaded");
    p.reset();
    // Each start-up is a fresh program's: the register's index, kept in memory for the file as the
    // program last left it, is not trusted after another write.
    ::utimensat(AT_FDCWD, QFile::encodeName(plik).constData(), nullptr, 0);
    const auto t1 = Zegar::now();
    benchmark::DoNotOptimize(bench::czytajCaly(plik));
    odczyt += Zegar::now() - t1;
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["read_ms"] = std::chrono::duration<double, std::milli>(odczyt).count() / n;
  state.counters["x_read"] = std::chrono::duration<double>(start).count() / std::chrono::duration<double>(odczyt).count();
}
BENCHMARK(BM_StartUpToTheSignedInMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// One step of scrolling, then one click on a row, each drawn (grab draws the list as the screen
// would).
void BM_ScrollAndClickInTheList(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  auto& l = *p->glowny()->lista;
  int top = 1;
  for (auto _ : state) {
    top = (top + 997) % (l.RowCount() - 50) + 1;
    l.SetTopRow(top);
    benchmark::DoNotOptimize(l.viewport()->grab());
    l.SetDataRow(top + 5);
    l.SetDataCol((top % 10) + 1);
    benchmark::DoNotOptimize(l.viewport()->grab());
  }
}
BENCHMARK(BM_ScrollAndClickInTheList)->Unit(benchmark::kMillisecond);

// "&Edytuj" on the last row: the card load reads the whole register.
void BM_LoadACard(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  auto& l = *p->glowny()->lista;
  for (auto _ : state) {
    std::int32_t n = kRecords - 2;
    benchmark::DoNotOptimize(zelt::wczytajKarte(*p, n, &l));
  }
}
BENCHMARK(BM_LoadACard)->Unit(benchmark::kMillisecond);

// The yardstick of the editor's openings: one sequential read of the whole register file.
void BM_SequentialReadOfTheRegister(benchmark::State& state) {
  Swiat& s = swiat();
  const QString plik = s.dir.filePath("Dokumenty/ZELT/Baza/transak.dat");
  for (auto _ : state) benchmark::DoNotOptimize(bench::czytajCaly(plik));
}
BENCHMARK(BM_SequentialReadOfTheRegister)->Unit(benchmark::kMillisecond);

// "&Dodaj": the new card (its first free number of today reads the register) shown in the editor.
void BM_AddOpensTheCardEditor(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  for (auto _ : state) {
    s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
    p->glowny()->dodajClick();
  }
}
BENCHMARK(BM_AddOpensTheCardEditor)->Unit(benchmark::kMillisecond);

// "&Edytuj" on the last row: the card load and the editor shown.
void BM_EditOpensTheCardEditor(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  auto& l = *p->glowny()->lista;
  l.SetDataRow(l.RowCount() - 1);
  for (auto _ : state) {
    s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
    p->glowny()->EdytujClick();
  }
}
BENCHMARK(BM_EditOpensTheCardEditor)->Unit(benchmark::kMillisecond);

// A user's change of the registration date: that date's first free number.
void BM_RegistrationDateChange(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  auto& e = *p->edycja();
  QDate d(2025, 12, 10);
  for (auto _ : state) {
    d = d.addDays(1);
    e.rejDat->setDate(d);
  }
  benchmark::DoNotOptimize(p->karta.NrRejDatTekst);
}
BENCHMARK(BM_RegistrationDateChange)->Unit(benchmark::kMillisecond);

// "&Weryfikuj" on the card of the last row: the check's one pass over the register.
void BM_CardCheck(benchmark::State& state) {
  Swiat& s = swiat();
  auto p = s.start();
  auto& l = *p->glowny()->lista;
  l.SetDataRow(l.RowCount() - 1);
  s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
  p->glowny()->EdytujClick();
  for (auto _ : state) benchmark::DoNotOptimize(zelt::weryfikacja(*p).blokuje);
}
BENCHMARK(BM_CardCheck)->Unit(benchmark::kMillisecond);

}  // namespace

QT_BENCHMARK_MAIN()
