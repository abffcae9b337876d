// Writes a register of 100,000 records, then reads and decodes all of it, and in the same round
// reads the same file once plainly, in the blocks the register's passes read: the ratio is the
// decoding's cost over the least a pass over the file can take.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "pomiar.h"
#include "register/rejestr.h"

namespace {

constexpr int kRecords = 100000;
// A pass over the register reads 512 records at a time.
constexpr std::size_t kBlok = 512 * zelt::TRekordTransakcji::kSize;

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
  const qint64 bajty = qint64(kRecords) * qint64(zelt::TRekordTransakcji::kSize);
  std::vector<double> przebiegi, odczyty, ilorazy;
  for (auto _ : state) {
    double przebieg = 0, odczyt = 0;
    const std::function<void()> fazy[] = {
        [&] {
          przebieg = bench::ms([&] {
            zelt::PlikRejestru f(path);
            if (!f.otworzDoOdczytu()) throw std::runtime_error("cannot open the register");
            qint64 live = 0;
            f.kazdy([&](qint64, const zelt::TRekordTransakcji& r) { live += r.deleted() ? 0 : 1; });
            if (live != kRecords) throw std::runtime_error("wrong count of live records");
          });
        },
        [&] {
          odczyt = bench::ms([&] {
            if (bench::czytajBlokami(path, kBlok) != bajty) throw std::runtime_error("short read");
          });
        },
    };
    // Each first in turn, so that neither always finds the other's cache state.
    for (std::size_t i = 0; i < 2; ++i) fazy[(i + przebiegi.size()) % 2]();
    state.SetIterationTime(przebieg / 1e3);
    przebiegi.push_back(przebieg);
    odczyty.push_back(odczyt);
    ilorazy.push_back(przebieg / odczyt);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  bench::zakres(state, "decode_ms", przebiegi);
  bench::zakres(state, "plain_read_ms", odczyty);
  bench::zakres(state, "ratio", ilorazy);
}
BENCHMARK(BM_ReadAndDecodeRegister)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
