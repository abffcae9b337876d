// The archive of a data folder with a 100,000-record register (351 MB), the daily counter file
// and the settings export: TZipPacker.Add through the zip library beside the program, against
// `zip -9 -j -q` on the same folder in the same run. Time and the rise of peak memory of each.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/library.h"
#include "peakmemory.h"
#include "platform/registry.h"
#include "rejestr100k.h"
#include "zip/zippack.h"

namespace {

constexpr int kRecords = 100000;

using bench::resetPeak;
using bench::statusKiB;

struct Dane {
  QTemporaryDir dir;
  QString baza = dir.filePath("Baza");
  QString wyniki = dir.filePath("Archiwa");
  Dane() {
    QDir().mkpath(wyniki);
    bench::zbudujFolderDanych(baza, kRecords);
    platform::RegistryStore reg(dir.filePath("registry.txt"));
    for (int io = 1; io <= 3; ++io)
      reg.writeString(platform::RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\IO0" + std::to_string(io) + "\\",
                      "nazIO", "Kantor " + std::to_string(io));
    reg.saveKey(platform::RegRoot::CurrentUser, platform::RegistryStore::kProgramKey, baza + "/konfig");
  }
};

Dane& dane() {
  static Dane d;
  return d;
}

struct Wynik {
  std::vector<double> sekundy;
  std::vector<long> pamiecKiB;
};
Wynik dodanie, zipTool;  // per run

// One run of each, one after the other, so that both meet the same load of the machine.
void BM_AddAgainstZip(benchmark::State& state) {
  Dane& d = dane();
  platform::ScriptedDialogs dialogs;
  zip::TZipPacker z(dialogs);
  z.Unattended = true;
  z.setDLLDirectory(QCoreApplication::applicationDirPath() + "/../src/app");
  long callbacks = 0;
  z.OnProgress = [&](int, const QString&, std::int64_t) { ++callbacks; };
  const QString ours = d.wyniki + "/zpack.zip", theirs = d.wyniki + "/zip.zip";
  QStringList files;
  for (const auto& f : QDir(d.baza).entryList(QDir::Files)) files << d.baza + "/" + f;
  for (auto _ : state) {
    QFile::remove(ours);
    QFile::remove(theirs);
    const long rss = statusKiB("VmRSS");
    resetPeak();
    QElapsedTimer t;
    t.start();
    z.addFileSpec(d.baza, "*.*");
    z.setZipFileName(ours);
    z.Add();
    dodanie.sekundy.push_back(t.nsecsElapsed() / 1e9);
    dodanie.pamiecKiB.push_back(statusKiB("VmHWM") - rss);
    if (z.AddedCount != 3) state.SkipWithError("the archive did not get its three files");

    t.restart();
    QProcess zip;
    zip.start("zip", QStringList{"-9", "-j", "-q", theirs} + files);
    zip.waitForFinished(-1);
    zipTool.sekundy.push_back(t.nsecsElapsed() / 1e9);
    if (zip.exitCode() != 0) state.SkipWithError("zip failed");
    rusage ru{};
    getrusage(RUSAGE_CHILDREN, &ru);
    zipTool.pamiecKiB.push_back(ru.ru_maxrss);  // the largest child's peak: zip's whole peak
  }
  state.counters["callbacks"] = static_cast<double>(callbacks) / static_cast<double>(state.iterations());
  state.counters["ours_MB"] = static_cast<double>(QFileInfo(ours).size()) / 1e6;
  state.counters["zip_MB"] = static_cast<double>(QFileInfo(theirs).size()) / 1e6;
}
BENCHMARK(BM_AddAgainstZip)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The figures of the closing note: each run's ratio to zip's run of the same number, the range.
  const std::size_t n = std::min(dodanie.sekundy.size(), zipTool.sekundy.size());
  if (n == 0) return 0;
  double lo = 1e9, hi = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double r = dodanie.sekundy[i] / zipTool.sekundy[i];
    std::printf("run %zu: Add %.2f s, zip %.2f s, ratio %.3f; peak rise Add %.1f MB, zip peak %.1f MB\n", i + 1,
                dodanie.sekundy[i], zipTool.sekundy[i], r, dodanie.pamiecKiB[i] / 1024.0, zipTool.pamiecKiB[i] / 1024.0);
    lo = std::min(lo, r);
    hi = std::max(hi, r);
  }
  std::printf("time ratio Add / zip -9 -j -q: %.3f .. %.3f (limit 1.5); peak rise limit 32 MB\n", lo, hi);
  return 0;
}
