// The import of a 100,000-record report file, TXT and XML, into a 100,000-record register (351 MB)
// shown in the main list, against a reference in the same run: reading the file, writing the
// records' bytes at the end of transak.dat in one write and filling their rows with the row
// writer, which is the least any import must do. The import's own cost is the difference: the
// reader (lines, fields, conversion, checks) and the record encoding. Each round measures both
// back to back (each in turn first), then puts the register and the list back as they were.
//
// Linearity: the same with 50,000 records. A one-line file of 50 and 100 MB (TXT: a header that
// never ends; XML: a line of tags without the institution's NIP) is refused, and its time shows
// that a line is read once, whatever its length.
//
// Memory: the peak resident size that the import adds over what the program held before it.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/dialogs.h"
#include "platform/wholefile.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wierszrejestru.h"
#include "reports/eksport.h"
#include "reports/import.h"
#include "settings/firmaform.h"
#include "qtbench.h"
#include "peakmemory.h"
#include "rejestr100k.h"
#include "swiatbench.h"

namespace {

constexpr int kRecords = 100000;
using R = zelt::TRekordTransakcji;

struct Swiat : bench::Uslugi {
  std::unique_ptr<zelt::Program> program;
  std::vector<R> rekordy;  // the register's records, as the import files carry them
  int wierszePrzed = 0;    // the list's rows after the start-up (deleted records have none)

  Swiat() {
    bench::zbudujRejestr(baza() + "/transak.dat", kRecords);
    program = uruchom();
    program->firma()->NIPIO->setText("5260001246");
    wierszePrzed = program->glowny()->lista->RowCount();
    zelt::PlikRejestru f(program->transakDat());
    if (!f.otworzDoOdczytu()) throw std::runtime_error("cannot read the register");
    f.kazdy([&](qint64, const R& r) {
      R x = r;
      x.Status = 1;  // every record gets its row in both runs
      rekordy.push_back(x);
    });
  }

  // The report file of the first n records, as the export writes it.
  QString plik(int n, bool xml) {
    const QString nazwa = dir.filePath(QStringLiteral("import%1.%2").arg(n).arg(xml ? "xml" : "txt"));
    if (!QFile::exists(nazwa)) {
      const std::vector<R> czesc(rekordy.begin(), rekordy.begin() + n);
      platform::writeWholeFile(nazwa, zelt::plikEksportu(czesc, program->listyKarty, "5260001246", clock.now(), xml),
                               platform::WriteMode::Replace);
    }
    return nazwa;
  }

  // The register and the list as before the import.
  void odnow() {
    {
      zelt::PlikRejestru f(program->transakDat());
      if (!f.otworzDoZmiany()) throw std::runtime_error("cannot open the register");
      f.obetnij(qint64(kRecords) * qint64(R::kSize));
    }
    auto& lista = *program->glowny()->lista;
    if (lista.RowCount() > wierszePrzed) lista.DeleteRows(wierszePrzed, lista.RowCount() - 1);
  }
  int wiersze() const { return program->glowny()->lista->RowCount(); }
};

std::unique_ptr<Swiat>& swiatSlot() {
  static std::unique_ptr<Swiat> s;
  return s;
}
Swiat& swiat() {
  if (!swiatSlot()) swiatSlot() = std::make_unique<Swiat>();
  return *swiatSlot();
}

double ms(const std::function<void()>& fn) {
  QElapsedTimer t;
  t.start();
  fn();
  return double(t.nsecsElapsed()) / 1e6;
}

// The median and the range of a figure over the rounds.
void zakres(benchmark::State& state, const char* nazwa, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  state.counters[std::string(nazwa)] = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  state.counters[std::string(nazwa) + "_min"] = v.front();
  state.counters[std::string(nazwa) + "_max"] = v.back();
}

void BM_ImportAgainstReference(benchmark::State& state) {
  Swiat& s = swiat();
  const bool xml = state.range(0) != 0;
  const int n = int(state.range(1));
  const QString plik = s.plik(n, xml);
  // The reference's bytes: the records as the import stores them (today's dates where the file
  // has none, the fields outside the layout cleared), encoded before the clock runs.
  s.program->czyscRekord();
  const zelt::KontekstImportu k{"5260001246", s.program->listyKarty, s.program->aktualnyRekord};
  std::string tresc;
  {
    QFile f(plik);
    f.open(QIODevice::ReadOnly);
    const QByteArray b = f.readAll();
    tresc.assign(b.constData(), std::size_t(b.size()));
  }
  const auto wzorcowe = xml ? zelt::czytajXml(tresc, k) : zelt::czytajTxt(tresc, k);
  if (wzorcowe.blad || int(wzorcowe.rekordy.size()) != n) {
    state.SkipWithError("the file does not read back");
    return;
  }
  std::string bajty(std::size_t(n) * R::kSize, '\0');
  for (int i = 0; i < n; ++i) wzorcowe.rekordy[std::size_t(i)].encode(bajty.data() + std::size_t(i) * R::kSize);

  auto wzor = [&] {
    QFile f(plik);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read the file");
    const QByteArray plikBajty = f.readAll();
    benchmark::DoNotOptimize(plikBajty.constData());
    QFile rej(s.program->transakDat());
    if (!rej.open(QIODevice::ReadWrite) || !rej.seek(qint64(kRecords) * R::kSize) ||
        rej.write(bajty.data(), qint64(bajty.size())) != qint64(bajty.size()))
      throw std::runtime_error("cannot write the register");
    rej.close();
    auto& lista = *s.program->glowny()->lista;
    const int pierwszy = lista.RowCount();
    lista.AddRows(n);
    for (int i = 0; i < n; ++i)
      zelt::zapiszWiersz(lista, s.program->ukladListy, pierwszy + i, kRecords + i, wzorcowe.rekordy[std::size_t(i)],
                         s.program->listyKarty);
  };

  std::vector<double> importy, wzory, wlasne, ilorazy, szczyty, czytniki;
  for (auto _ : state) {
    double import = 0, referencja = 0;
    long szczyt = 0;
    const std::function<void()> fazy[] = {
        [&] {
          const long przed = bench::statusKiB("VmRSS");
          bench::resetPeak();
          import = ms([&] { zelt::importujPlik(*s.program, plik); });
          szczyt = bench::statusKiB("VmHWM") - przed;
          if (s.wiersze() != s.wierszePrzed + n) throw std::runtime_error("the import did not add its rows");
        },
        [&] { referencja = ms(wzor); },
    };
    for (std::size_t i = 0; i < 2; ++i) {
      s.odnow();
      fazy[(i + importy.size()) % 2]();
    }
    s.odnow();
    // The reader alone, over the bytes in memory.
    czytniki.push_back(ms([&] { benchmark::DoNotOptimize(xml ? zelt::czytajXml(tresc, k) : zelt::czytajTxt(tresc, k)); }));
    state.SetIterationTime(import / 1e3);
    importy.push_back(import);
    wzory.push_back(referencja);
    wlasne.push_back(import - referencja);
    ilorazy.push_back(import / referencja);
    szczyty.push_back(double(szczyt) / 1024.0);
  }
  zakres(state, "import_ms", importy);
  zakres(state, "reference_ms", wzory);
  zakres(state, "own_ms", wlasne);
  zakres(state, "ratio", ilorazy);
  zakres(state, "peak_added_MB", szczyty);
  zakres(state, "reader_ms", czytniki);
}
BENCHMARK(BM_ImportAgainstReference)
    ->ArgNames({"xml", "records"})
    ->Args({0, 50000})
    ->Args({0, 100000})
    ->Args({1, 50000})
    ->Args({1, 100000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// A file of one line: refused, read once.
void BM_OneLineFileRefused(benchmark::State& state) {
  Swiat& s = swiat();
  const bool xml = state.range(0) != 0;
  const std::size_t mb = std::size_t(state.range(1));
  const QString plik = s.dir.filePath(QStringLiteral("linia%1.%2").arg(mb).arg(xml ? "xml" : "txt"));
  const std::string tresc = xml ? "<wykazTr " + std::string(mb << 20, '<') : "HE20261210120000" + std::string(mb << 20, '5');
  platform::writeWholeFile(plik, tresc, platform::WriteMode::Replace);
  const std::string rejestr = std::to_string(QFileInfo(s.program->transakDat()).size());
  for (auto _ : state) {
    s.dialogs.expectMessage(platform::IdOk);
    const double czas = ms([&] { zelt::importujPlik(*s.program, plik); });
    if (!s.dialogs.scriptDone() || std::to_string(QFileInfo(s.program->transakDat()).size()) != rejestr) {
      state.SkipWithError("the file was not refused");
      return;
    }
    state.SetIterationTime(czas / 1e3);
  }
  QFile::remove(plik);
}
BENCHMARK(BM_OneLineFileRefused)
    ->ArgNames({"xml", "MB"})
    ->Args({0, 50})
    ->Args({0, 100})
    ->Args({1, 50})
    ->Args({1, 100})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return qtbench::run(argc, argv, [] { swiatSlot().reset(); });
}
