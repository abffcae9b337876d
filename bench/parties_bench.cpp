// The parties list over a klienci.dat at its limit (65,536 records, every 17th deleted): the
// read and decoding of every record beside one plain read of the file in the same round, the
// list's load with its rows and sort, the filter with no pattern and with a name, the card's
// "na listę" search by NIP, and one party added, edited and deleted (one record written, no
// reload).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <functional>
#include <vector>

#include "klienci64k.h"
#include "pomiar.h"
#include "qtbench.h"
#include "register/program.h"
#include "settings/plikpodmiotow.h"
#include "settings/podmiotform.h"
#include "swiatbench.h"

namespace {

constexpr qint64 kRec = zelt::TRekordPodmiotu::kSize;

// A program object over a data folder that holds the parties file (the parties folder setting
// empty, so the list settles on the data folder).
struct Swiat : bench::Uslugi {
  zelt::Program program{zelt::Services{reg, dialogs, clock, shell, printers}};

  Swiat() {
    QDir().mkpath(dir.filePath("dane"));
    program.KatDan = dir.filePath("dane");
    bench::zbudujKlientow(klienci());
  }
  QString klienci() const { return dir.filePath("dane/klienci.dat"); }
  std::unique_ptr<zelt::TPodmiotForm> lista() {
    auto l = std::make_unique<zelt::TPodmiotForm>(program);
    l->FormCreate();
    if (l->Podmiot->RowCount() != bench::kPodmiotow - bench::kPodmiotow / 17)
      throw std::runtime_error("the list does not hold every live party");
    return l;
  }
};

Swiat& swiat() {
  static Swiat s;
  return s;
}

// The yardstick: one plain sequential read of the whole file.
void BM_PlainReadOfThePartiesFile(benchmark::State& state) {
  Swiat& s = swiat();
  for (auto _ : state)
    if (bench::czytajCaly(s.klienci()) != bench::kPodmiotow * kRec) throw std::runtime_error("short read");
}
BENCHMARK(BM_PlainReadOfThePartiesFile)->Unit(benchmark::kMillisecond);

// Every record read and decoded, in order, as the list's load and the filter read them, and in
// the same round one plain read of the file (each first in turn): the ratio is the pass's cost
// over the least a pass over the file can take.
void BM_ReadAndDecodeEveryRecord(benchmark::State& state) {
  Swiat& s = swiat();
  const zelt::PlikPodmiotow plik(s.klienci());
  std::vector<double> przebiegi, odczyty, ilorazy;
  for (auto _ : state) {
    double przebieg = 0, odczyt = 0;
    const std::function<void()> fazy[] = {
        [&] {
          przebieg = bench::ms([&] {
            qint64 zywe = 0;
            plik.zywe(zelt::TPodmiotForm::kPolaWiersza, [&](qint64, const zelt::TRekordPodmiotu& r) {
              zywe += !r.Nz.empty();
              return true;
            });
            if (zywe != bench::kPodmiotow - bench::kPodmiotow / 17) throw std::runtime_error("wrong count of live parties");
          });
        },
        [&] {
          odczyt = bench::ms([&] {
            if (bench::czytajCaly(s.klienci()) != bench::kPodmiotow * kRec) throw std::runtime_error("short read");
          });
        },
    };
    for (std::size_t i = 0; i < 2; ++i) fazy[(i + przebiegi.size()) % 2]();
    state.SetIterationTime(przebieg / 1e3);
    przebiegi.push_back(przebieg);
    odczyty.push_back(odczyt);
    ilorazy.push_back(przebieg / odczyt);
  }
  bench::zakres(state, "decode_ms", przebiegi);
  bench::zakres(state, "plain_read_ms", odczyty);
  bench::zakres(state, "ratio", ilorazy);
}
BENCHMARK(BM_ReadAndDecodeEveryRecord)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

// The list's creation: every live party a row, then sorted by name.
void BM_LoadTheListSortedByName(benchmark::State& state) {
  Swiat& s = swiat();
  zelt::TPodmiotForm lista(s.program);
  for (auto _ : state) {
    lista.FormCreate();
    benchmark::DoNotOptimize(lista.Podmiot->Cells(zelt::TPodmiotForm::poNz, 0));
  }
}
BENCHMARK(BM_LoadTheListSortedByName)->Unit(benchmark::kMillisecond);

// "&Filtruj" with every pattern empty (every live party, in file order) and with a name.
void BM_Filter(benchmark::State& state, const char* nazwa) {
  Swiat& s = swiat();
  auto lista = s.lista();
  lista->fNz->setText(QString::fromUtf8(nazwa));
  for (auto _ : state) {
    lista->filtrujClick();
    benchmark::DoNotOptimize(lista->Podmiot->RowCount());
  }
  state.counters["wiersze"] = lista->Podmiot->RowCount();
}
BENCHMARK_CAPTURE(BM_Filter, empty, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Filter, name, "Woźniak Jerzy")->Unit(benchmark::kMillisecond);

// The "na listę" search: the file's live parties for the NIP of the last one, typed with dashes.
void BM_OntoTheListSearch(benchmark::State& state) {
  Swiat& s = swiat();
  zelt::TPodmiotForm lista(s.program);
  const int ostatni = bench::kPodmiotow - 1;
  // The NIP as typed with dashes: 123-456-78-90.
  std::string nip;
  for (const char c : bench::podmiotLosowy(ostatni).Nip) {
    if (nip.size() == 3 || nip.size() == 7 || nip.size() == 10) nip += '-';
    nip += c;
  }
  for (auto _ : state) {
    if (lista.szukajNIP(nip) != ostatni) throw std::runtime_error("the party was not found");
  }
}
BENCHMARK(BM_OntoTheListSearch)->Unit(benchmark::kMillisecond);

// One party appended with its row; the file is taken back to 65,535 records around it, so that
// there is room for one.
void BM_AddAParty(benchmark::State& state) {
  Swiat& s = swiat();
  auto lista = s.lista();
  QFile f(s.klienci());
  const qint64 pelny = bench::kPodmiotow * kRec;
  auto r = bench::podmiotLosowy(7);
  for (auto _ : state) {
    state.PauseTiming();
    if (!f.resize(pelny - kRec)) throw std::runtime_error("cannot shorten the parties file");
    state.ResumeTiming();
    if (!lista->dopiszPodmiot(r)) throw std::runtime_error("the party was not added");
  }
  if (QFile(s.klienci()).size() != pelny) throw std::runtime_error("the file is not whole again");
  bench::zbudujKlientow(s.klienci());
}
BENCHMARK(BM_AddAParty)->Unit(benchmark::kMicrosecond);

// One party rewritten in place with its row, the rows taken in turn.
void BM_EditAParty(benchmark::State& state) {
  Swiat& s = swiat();
  auto lista = s.lista();
  int w = 0;
  for (auto _ : state) {
    w = (w + 7919) % lista->Podmiot->RowCount();
    lista->Podmiot->SetDataRow(w);
    auto r = bench::podmiotLosowy(static_cast<std::uint32_t>(w) + 100000u);
    if (!lista->zmienPodmiot(r)) throw std::runtime_error("the party was not changed");
  }
  bench::zbudujKlientow(s.klienci());
}
BENCHMARK(BM_EditAParty)->Unit(benchmark::kMicrosecond);

// "&Usuń" answered Yes: the record marked deleted and its row removed.
void BM_DeleteAParty(benchmark::State& state) {
  Swiat& s = swiat();
  auto lista = s.lista();
  const int przed = lista->Podmiot->RowCount();
  int w = 0;
  for (auto _ : state) {
    w = (w + 7919) % lista->Podmiot->RowCount();
    lista->Podmiot->SetDataRow(w);
    s.dialogs.expectMessage(platform::IdYes);
    lista->usunClick();
  }
  if (lista->Podmiot->RowCount() != przed - static_cast<int>(state.iterations()))
    throw std::runtime_error("a party was not deleted");
  bench::zbudujKlientow(s.klienci());
}
BENCHMARK(BM_DeleteAParty)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

QT_BENCHMARK_MAIN()
