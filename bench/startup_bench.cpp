// Start-up over a register of 100,000 records up to the signed-in main window, and the list's
// scrolling, clicking and card load on that register.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "qtbench.h"

namespace {

constexpr int kRecords = 100000;

// A world of its own: documents folder with the register in ZELT/Baza, a registry file.
struct Swiat {
  QTemporaryDir dir;
  platform::RegistryStore reg{dir.filePath("registry.txt")};
  platform::ScriptedDialogs dialogs;
  platform::FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
  platform::RecordingShell shell{dir.filePath("Dokumenty")};
  platform::FixedPrinters printers;

  Swiat() {
    dialogs.onFailure = [](const QString& why) { throw std::runtime_error(why.toStdString()); };
    const QString baza = dir.filePath("Dokumenty/ZELT/Baza");
    QDir().mkpath(baza);
    QDir::setCurrent(dir.path());
    // Cards of one to three records with typical fields; every 20th record deleted.
    zelt::PlikRejestru f(baza + "/transak.dat");
    if (!f.otworzDoZapisu()) throw std::runtime_error("cannot create the register");
    zelt::TRekordTransakcji r;
    r.kRodzTr = "0607";
    r.tJ = "PLN";
    r.tM = "Warszawa";
    r.zTypPo = 1;
    r.zObyw = r.zAdrKr = "PL";
    r.zAdrM = "Kraków";
    r.zAdrUl = "Długa 12/4";
    r.zNrPes = "44051401359";
    r.zRodzDokTo = 1;
    r.zNrDokTo = "ABC123456";
    r.bTypPo = 11;
    r.bNz = "Przedsiębiorstwo Handlowe S.A.";
    r.nrRachZ = "PL61109010140000071219812874";
    r.Wprow = "Jan;Kowalski;Kierownik";
    for (int i = 0; i < kRecords; ++i) {
      r.nrEwT = "2026" + std::to_string(i / 2);
      r.nrRejDat = std::to_string(i % 1000);
      r.rejDat = r.tDat = 46000 + i / 1000;
      r.tKw = std::to_string(100 + i % 9000) + ",00";
      r.zNz = "Kowalski Jan " + std::to_string(i);
      r.ilWydrukow = i % 3 == 0;
      r.Status = i % 20 == 19 ? 99 : 1;
      f.dopisz(r);
    }
  }
  std::unique_ptr<zelt::Program> start() {
    auto p = std::make_unique<zelt::Program>(zelt::Services{reg, dialogs, clock, shell, printers});
    p->logowanie = [] { return platform::mrOk; };
    p->zakoncz = [] {};
    if (!p->start()) throw std::runtime_error("start-up failed");
    return p;
  }
};

Swiat& swiat() {
  static Swiat s;
  return s;
}

void BM_StartUpToTheSignedInMainWindow(benchmark::State& state) {
  Swiat& s = swiat();
  for (auto _ : state) {
    auto p = s.start();
    QApplication::processEvents();  // the window is painted
    benchmark::DoNotOptimize(p->glowny()->lista->RowCount());
    state.PauseTiming();
    p.reset();
    state.ResumeTiming();
  }
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

}  // namespace

QT_BENCHMARK_MAIN()
