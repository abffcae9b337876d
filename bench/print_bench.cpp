// "Druk Karty" on 1000 records of a 100,000-record register: to the PDF printer (a file per card),
// against replaying the same cards' recorded calls onto the PDF printer in the same run, and to a
// backend that only counts the calls (the print's own cost: reading, drawing, counting).
// "Druk Rejstru" on every row of the same register with the default print columns: onto the
// counting backend (time and peak memory growth), all rows to the PDF printer, and the first
// 10,000 rows to the PDF printer against replaying their recorded calls.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <time.h>

#include "platform/dialogs.h"
#include "platform/printers.h"
#include "register/program.h"
#include "register/glownyform.h"
#include "register/polecenia.h"
#include "reports/drukkarty.h"
#include "reports/drukrejestru.h"
#include "settings/konfigform.h"
#include "qtbench.h"
#include "peakmemory.h"
#include "rejestr100k.h"
#include "swiatbench.h"

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

struct Swiat : bench::Uslugi {
  platform::SystemPrinters pdf{shell, clock};
  platform::FixedPrinters zapis;
  Przelacznik drukarki;
  std::unique_ptr<zelt::Program> program;
  std::vector<std::int32_t> numery;

  Swiat() {
    bench::zbudujRejestr(baza() + "/transak.dat", kRecords);
    // Every printer name on both sides, the PDF printer chosen.
    zapis.set(pdf.names());
    drukarki.p = &pdf;
    program = uruchom(drukarki);
    auto* w = program->konfig()->WybDruk;
    w->setCurrentIndex(w->findText(platform::SystemPrinters::pdfPrinterName()));
    for (int i = 0; i < kCards; ++i) numery.push_back(i * (kRecords / kCards) + 7);
  }
  int pdfy() const { return int(QDir(pdf.pdfFolder()).entryList(QDir::Files).size()); }
  // Every row of the register list selected: the records they show, in list order.
  std::vector<std::int32_t> wszystkieWiersze() const {
    auto& l = *program->glowny()->lista;
    std::vector<int> w(static_cast<std::size_t>(l.RowCount()));
    for (int i = 0; i < l.RowCount(); ++i) w[static_cast<std::size_t>(i)] = i;
    return zelt::rekordyWierszy(l, program->ukladListy.kolumnaLp(), w);
  }
};

// The most resident memory (kB) seen while it lives, sampled every 2 ms (the kernel's own peak
// cannot be reset everywhere).
class Szczyt {
 public:
  Szczyt() : w_([this] {
    while (!koniec_) {
      szczyt_ = std::max(szczyt_.load(), bench::statusKiB("VmRSS"));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }) {}
  long zakoncz() {
    koniec_ = true;
    w_.join();
    return std::max(szczyt_.load(), bench::statusKiB("VmRSS"));
  }

 private:
  std::atomic<bool> koniec_{false};
  std::atomic<long> szczyt_{0};
  std::thread w_;
};

// The world holds windows, so it ends before the application does (see main).
std::unique_ptr<Swiat>& swiatSlot() {
  static std::unique_ptr<Swiat> s;
  return s;
}
Swiat& swiat() {
  if (!swiatSlot()) swiatSlot() = std::make_unique<Swiat>();
  return *swiatSlot();
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

void BM_RegisterAllRowsToACountingBackend(benchmark::State& state) {
  Swiat& s = swiat();
  const auto numery = s.wszystkieWiersze();
  s.zapis.keepCalls = false;
  s.drukarki.p = &s.zapis;
  long wzrost = 0;
  for (auto _ : state) {
    s.zapis.callCount = 0;
    const long przed = bench::statusKiB("VmRSS");
    Szczyt szczyt;
    zelt::drukujRejestr(*s.program, numery);
    wzrost = std::max(wzrost, szczyt.zakoncz() - przed);
  }
  if (!s.dialogs.messages().isEmpty()) state.SkipWithError(s.dialogs.messages().last().toStdString().c_str());
  state.counters["rows"] = double(numery.size());
  state.counters["calls"] = double(s.zapis.callCount);
  state.counters["peak_growth_MB"] = wzrost / 1024.0;
  s.zapis.keepCalls = true;
  s.drukarki.p = &s.pdf;
}
BENCHMARK(BM_RegisterAllRowsToACountingBackend)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

void BM_RegisterAllRowsToPdf(benchmark::State& state) {
  Swiat& s = swiat();
  const auto numery = s.wszystkieWiersze();
  s.drukarki.p = &s.pdf;
  for (auto _ : state) {
    const int przed = s.pdfy();
    zelt::drukujRejestr(*s.program, numery);
    if (s.pdfy() - przed != 1) state.SkipWithError("no PDF file");
  }
  state.counters["rows"] = double(numery.size());
}
BENCHMARK(BM_RegisterAllRowsToPdf)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

// This thread's processor time (s): on a shared machine the wall clock also counts the others.
double procesor() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_RegisterTenThousandRowsToPdfAgainstReplay(benchmark::State& state) {
  Swiat& s = swiat();
  auto numery = s.wszystkieWiersze();
  numery.resize(10000);
  double druk = 0, powtorka = 0, drukCpu = 0, powtorkaCpu = 0;
  for (auto _ : state) {
    QElapsedTimer t;
    t.start();
    double c = procesor();
    s.drukarki.p = &s.pdf;
    zelt::drukujRejestr(*s.program, numery);
    druk = t.nsecsElapsed() / 1e9;
    drukCpu = procesor() - c;

    state.PauseTiming();
    s.zapis.jobs.clear();
    s.drukarki.p = &s.zapis;
    zelt::drukujRejestr(*s.program, numery);
    s.drukarki.p = &s.pdf;
    t.restart();
    c = procesor();
    auto job = s.pdf.job();
    if (!platform::replay(s.zapis.jobs.at(0), *job)) state.SkipWithError("replay failed");
    powtorka = t.nsecsElapsed() / 1e9;
    powtorkaCpu = procesor() - c;
    state.ResumeTiming();
  }
  state.counters["print_s"] = druk;
  state.counters["replay_s"] = powtorka;
  state.counters["ratio"] = druk / powtorka;
  state.counters["cpu_ratio"] = drukCpu / powtorkaCpu;
}
BENCHMARK(BM_RegisterTenThousandRowsToPdfAgainstReplay)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  return qtbench::run(argc, argv, [] { swiatSlot().reset(); });
}
