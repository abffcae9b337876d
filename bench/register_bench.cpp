// Writes a register of 100,000 records, then reads and decodes all of it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "register/rejestr.h"

namespace {

constexpr int kRecords = 100000;

QString makeRegister(QTemporaryDir& dir) {
  const QString path = dir.filePath("transak.dat");
  zelt::PlikRejestru f(path);
  if (!f.otworzDoZapisu()) throw std::runtime_error("cannot create the register");
  zelt::TRekordTransakcji r;
  r.kRodzTr = "0607";
  r.zNz = "Jan Kowalski";
  r.tKw = "1000,00";
  std::vector<zelt::TRekordTransakcji> rekordy;
  for (int i = 0; i < kRecords; ++i) {
    r.nrEwT = "TR/" + std::to_string(i);
    r.nrRejDat = std::to_string(i % 1000);
    rekordy.push_back(r);
  }
  f.dopiszWszystkie(rekordy);
  return path;
}

void BM_ReadAndDecodeRegister(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = makeRegister(dir);
  for (auto _ : state) {
    zelt::PlikRejestru f(path);
    if (!f.otworzDoOdczytu()) {
      state.SkipWithError("cannot open");
      break;
    }
    qint64 live = 0;
    f.kazdy([&](qint64, const zelt::TRekordTransakcji& r) { live += r.deleted() ? 0 : 1; });
    benchmark::DoNotOptimize(live);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ReadAndDecodeRegister)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
