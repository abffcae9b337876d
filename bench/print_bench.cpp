// "Druk Karty" on 1000 records of a 100,000-record register: to the PDF printer (a file per card),
// against replaying the same cards' recorded calls onto the PDF printer in the same run, and to a
// backend that only counts the calls (the print's own cost: reading, drawing, counting).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/program.h"
#include "reports/drukkarty.h"
#include "settings/konfigform.h"
#include "qtbench.h"
#include "rejestr100k.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kCards = 1000;

// The program's printers, switched between backends by the benchmark.
class Przelacznik : public platform::Printers {
 public:
  platform::Printers* p = nullptr;
  QStringList names() const override { return p->names(); }
  int current() const override { return p->current(); }
  void select(int index) override { p->select(index); }
  std::unique_ptr<platform::PrintJob> job() override { return p->job(); }
};

struct Swiat {
  QTemporaryDir dir;
  platform::RegistryStore reg{dir.filePath("registry.txt")};
  platform::ScriptedDialogs dialogs;
  platform::FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
  platform::RecordingShell shell{dir.filePath("Dokumenty")};
  platform::SystemPrinters pdf{shell, clock};
  platform::FixedPrinters zapis;
  Przelacznik drukarki;
  std::unique_ptr<zelt::Program> program;
  std::vector<std::int32_t> numery;

  Swiat() {
    dialogs.onFailure = [](const QString& why) { throw std::runtime_error(why.toStdString()); };
    const QString baza = dir.filePath("Dokumenty/ZELT/Baza");
    QDir().mkpath(baza);
    QDir::setCurrent(dir.path());
    bench::zbudujRejestr(baza + "/transak.dat", kRecords);
    // Every printer name on both sides, the PDF printer chosen.
    zapis.set(pdf.names());
    drukarki.p = &pdf;
    program = std::make_unique<zelt::Program>(zelt::Services{reg, dialogs, clock, shell, drukarki});
    program->logowanie = [] { return platform::mrOk; };
    program->zakoncz = [] {};
    if (!program->start()) throw std::runtime_error("start-up failed");
    auto* w = program->konfig()->WybDruk;
    w->setCurrentIndex(w->findText(platform::SystemPrinters::pdfPrinterName()));
    for (int i = 0; i < kCards; ++i) numery.push_back(i * (kRecords / kCards) + 7);
  }
  int pdfy() const { return int(QDir(pdf.pdfFolder()).entryList(QDir::Files).size()); }
};

Swiat& swiat() {
  static Swiat s;
  return s;
}

void BM_ThousandCardsToPdfAgainstReplay(benchmark::State& state) {
  Swiat& s = swiat();
  double druk = 0, powtorka = 0;
  for (auto _ : state) {
    const int przed = s.pdfy();
    QElapsedTimer t;
    t.start();
    s.drukarki.p = &s.pdf;
    zelt::drukujKarty(*s.program, s.numery);
    druk = t.nsecsElapsed() / 1e9;
    if (s.pdfy() - przed != kCards) state.SkipWithError("not every card reached a file");

    state.PauseTiming();
    s.zapis.jobs.clear();
    s.drukarki.p = &s.zapis;
    zelt::drukujKarty(*s.program, s.numery);
    s.drukarki.p = &s.pdf;
    t.restart();
    for (const auto& j : s.zapis.jobs) {
      auto job = s.pdf.job();
      platform::replay(j, *job);
    }
    powtorka = t.nsecsElapsed() / 1e9;
    state.ResumeTiming();
  }
  state.counters["print_s"] = druk;
  state.counters["replay_s"] = powtorka;
  state.counters["ratio"] = druk / powtorka;
}
BENCHMARK(BM_ThousandCardsToPdfAgainstReplay)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ThousandCardsToACountingBackend(benchmark::State& state) {
  Swiat& s = swiat();
  s.zapis.keepCalls = false;
  s.drukarki.p = &s.zapis;
  for (auto _ : state) {
    s.zapis.callCount = 0;
    zelt::drukujKarty(*s.program, s.numery);
  }
  state.counters["calls"] = double(s.zapis.callCount);
  s.zapis.keepCalls = true;
  s.drukarki.p = &s.pdf;
}
BENCHMARK(BM_ThousandCardsToACountingBackend)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

QT_BENCHMARK_MAIN()
