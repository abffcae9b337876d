// A self-extracting program and a set of 10 MB parts made from the archive of a data folder with
// a 100,000-record register (351 MB) stored at level 0: ConvertToSFX and WriteSpan, each beside a
// plain copy of the same archive in blocks of 8 KiB in the same run. Time and the rise of peak
// memory of each.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "peakmemory.h"
#include "platform/dialogs.h"
#include "platform/library.h"
#include "rejestr100k.h"
#include "zip/zippack.h"

namespace {

constexpr int kRecords = 100000;
constexpr std::int64_t kPart = 10 * 1000 * 1000;

struct Dane {
  QTemporaryDir dir;
  QString baza = dir.filePath("Baza"), wyniki = dir.filePath("Wyniki"), archiwum = dir.filePath("Baza.zip");
  Dane() {
    QDir().mkpath(wyniki);
    bench::zbudujFolderDanych(baza, kRecords);
    platform::ScriptedDialogs dialogs;
    zip::TZipPacker z(dialogs);
    z.Unattended = true;
    z.setDLLDirectory(QCoreApplication::applicationDirPath() + "/../src/app");
    z.AddCompLevel = 0;
    z.addFileSpec(baza, "*.*");
    z.setZipFileName(archiwum);
    z.Add();
    if (z.AddedCount != 2) throw std::runtime_error("the archive was not made");
  }
};

Dane& dane() {
  static Dane d;
  return d;
}

// The yardstick: the archive copied in blocks of 8 KiB, the copy then on the disk.
void plainCopy(const QString& from, const QString& to) {
  const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY);
  const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0) throw std::runtime_error("copy");
  char block[8192];
  for (ssize_t n; (n = ::read(in, block, sizeof block)) > 0;)
    if (::write(out, block, static_cast<std::size_t>(n)) != n) throw std::runtime_error("copy");
  ::fsync(out);
  ::close(in);
  ::close(out);
}

struct Wynik {
  std::vector<double> sekundy;
  std::vector<long> pamiecKiB;
};
Wynik kopia, sfx, span;

template <typename F>
void measure(Wynik& w, F&& f) {
  const long rss = bench::statusKiB("VmRSS");
  bench::resetPeak();
  QElapsedTimer t;
  t.start();
  f();
  w.sekundy.push_back(t.nsecsElapsed() / 1e9);
  w.pamiecKiB.push_back(bench::statusKiB("VmHWM") - rss);
}

// One run of each, one after the other, so that all three meet the same load of the machine.
void BM_SfxAndSpanAgainstCopy(benchmark::State& state) {
  Dane& d = dane();
  platform::ScriptedDialogs dialogs;
  zip::TZipPacker z(dialogs);
  z.Unattended = true;
  z.HowToDelete = zip::THowToDelete::htdFinal;
  z.setDLLDirectory(QCoreApplication::applicationDirPath() + "/../src/app");
  z.MaxVolumeSize = kPart;
  int parts = 0;
  for (auto _ : state) {
    QDir(d.wyniki).removeRecursively();
    QDir().mkpath(d.wyniki);
    measure(kopia, [&] { plainCopy(d.archiwum, d.wyniki + "/kopia.zip"); });
    QFile::remove(d.wyniki + "/kopia.zip");
    z.setZipFileName(d.archiwum);
    measure(sfx, [&] {
      if (z.ConvertToSFX() != 0) state.SkipWithError("ConvertToSFX failed");
    });
    QFile::remove(d.dir.filePath("Baza.exe"));
    measure(span, [&] { z.WriteSpan(d.archiwum, d.wyniki + "/kopia.zip"); });
    parts = static_cast<int>(QDir(d.wyniki).entryList(QDir::Files).size());
  }
  state.counters["archive_MB"] = static_cast<double>(QFileInfo(d.archiwum).size()) / 1e6;
  state.counters["parts"] = parts;
}
BENCHMARK(BM_SfxAndSpanAgainstCopy)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  platform::Library::setProgramFolder(QCoreApplication::applicationDirPath() + "/../src/app");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The figures of the closing note: each run's ratio to the copy of the same run, the range.
  const std::size_t n = kopia.sekundy.size();
  if (n == 0) return 0;
  double lo[2] = {1e9, 1e9}, hi[2] = {0, 0};
  long peak[2] = {0, 0};
  for (std::size_t i = 0; i < n; ++i) {
    const double r[2] = {sfx.sekundy[i] / kopia.sekundy[i], span.sekundy[i] / kopia.sekundy[i]};
    std::printf("run %zu: copy %.2f s, ConvertToSFX %.2f s (%.3f), WriteSpan %.2f s (%.3f); peak rise %.1f / %.1f MB\n",
                i + 1, kopia.sekundy[i], sfx.sekundy[i], r[0], span.sekundy[i], r[1], sfx.pamiecKiB[i] / 1024.0,
                span.pamiecKiB[i] / 1024.0);
    for (int k = 0; k < 2; ++k) {
      lo[k] = std::min(lo[k], r[k]);
      hi[k] = std::max(hi[k], r[k]);
    }
    peak[0] = std::max(peak[0], sfx.pamiecKiB[i]);
    peak[1] = std::max(peak[1], span.pamiecKiB[i]);
  }
  std::printf("time ratio to the copy: ConvertToSFX %.3f .. %.3f, WriteSpan %.3f .. %.3f (limit 2); "
              "peak rise %.1f / %.1f MB (limit 32 MB)\n",
              lo[0], hi[0], lo[1], hi[1], peak[0] / 1024.0, peak[1] / 1024.0);
  return 0;
}
