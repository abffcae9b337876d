// The send of 1000 records of all seven categories from a 100,000-record register, TXT and XML,
// against a reference in the same run: writing the same seven report files' bytes and seven
// counter files through the whole-file writer (each synced to the disk and renamed), which is
// the least any send must do. The send's own cost is the difference: reading the chosen records,
// the question-free dialog, the writers, the marks and the numbering.
//
// The syncs dominate both figures and swing with whatever else the machine writes, so each round
// measures the send and its reference back to back (each in turn first), from a register that is
// on the disk as a user's is before a send, and the figures are the medians of the rounds.
//
// The send also marks its thousand records, each in its own page of the register, and the syncs
// after them take those pages to the disk. A second reference, the first one with the same
// one-byte writes between each file and its counter, shows that part: marks_ms is what the writes
// add to the reference, own_beyond_marks_ms what the send costs beyond both.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "platform/dialogs.h"
#include "platform/wholefile.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wysylka.h"
#include "reports/generujpliki.h"
#include "settings/firmaform.h"
#include "qtbench.h"
#include "rejestr100k.h"
#include "swiatbench.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kSent = 1000;

std::string bajty(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
  const QByteArray b = f.readAll();
  return std::string(b.constData(), std::size_t(b.size()));
}

// What a file holds reaches the disk.
void naDysk(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || ::fsync(f.handle()) != 0) throw std::runtime_error("cannot sync " + path.toStdString());
}

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Swiat : bench::Uslugi {
  std::unique_ptr<zelt::Program> program;
  std::vector<std::int32_t> numery;
  std::map<char, std::vector<qint64>> poLiterze;  // the chosen records by their file's letter
  QString wzor, wzorZ;  // the references' folders

  Swiat() {
    const QString baza = Uslugi::baza();
    bench::zbudujRejestr(baza + "/transak.dat", kRecords);
    // Every hundredth live record, given the fields of one of the seven categories in turn.
    zelt::PlikRejestru f(baza + "/transak.dat");
    if (!f.otworzDoZmiany()) throw std::runtime_error("cannot open the register");
    zelt::PlikRejestru::Zmiana zmiana;
    for (int i = 0; i < kSent; ++i) {
      const std::int32_t n = i * (kRecords / kSent) + 7;
      poLiterze["PZGWDBK"[i % 7]].push_back(n);
      zelt::TRekordTransakcji r = f.czytaj(n);
      switch (i % 7) {
        case 0: r.kPdjrz = "0001"; break;                // P
        case 1: r.kPwz = 1; break;                       // Z
        case 2: r.kRodzTr = "0201"; break;               // G
        case 3: r.kRodzTr = "0101"; break;               // W
        case 4: break;                                   // D ("0607")
        case 5: r.kRodzTr = "0501"; break;               // B
        case 6: r.Status = 0; break;                     // K
      }
      zmiana.przepisane.emplace_back(n, r);
      numery.push_back(n);
    }
    f.zmien(zmiana);
    naDysk(baza + "/transak.dat");
    program = uruchom();
    program->firma()->NIPIO->setText("5260001246");
    program->firma()->nazpli->setText("BENCH");
    wzor = dir.filePath("wzor");
    wzorZ = dir.filePath("wzorZ");
    QDir().mkpath(wzor);
    QDir().mkpath(wzorZ);
  }

  // Back to before the send: no report files, no counters, the chosen records unsent and on the
  // disk.
  void odnow() {
    for (const QString& d : {program->KatEks, wzor, wzorZ}) {
      QDir folder(d);
      for (const QString& f : folder.entryList(QDir::Files)) folder.remove(f);
    }
    QFile::remove(program->plikDanych("np2026.dat"));
    program->numeracjaDzienna.numeracjaDzienna = {};
    program->numeracjaDzienna.rokNumeracji = 0;
    {
      zelt::PlikRejestru f(program->transakDat());
      if (!f.otworzDoZmiany()) throw std::runtime_error("cannot open the register");
      const std::vector<qint64> wszystkie(numery.begin(), numery.end());
      const char zero = 0;
      f.zapiszPole(wszystkie, zelt::TRekordTransakcji::kOffsetIlWyslan, &zero, 1);
    }
    naDysk(program->transakDat());
  }

  // A send as the user starts it, its final report closed; the files it wrote, by name.
  std::map<QString, std::string> wyslij() {
    dialogs.expectModal("Wysylka", [](platform::ModalForm&) { return platform::mrCancel; });
    zelt::generujPliki(*program, numery);
    if (!dialogs.scriptDone()) throw std::runtime_error("the send did not end with its report");
    std::map<QString, std::string> pliki;
    for (const QString& f : QDir(program->KatEks).entryList(QDir::Files)) pliki[f] = bajty(program->KatEks + "/" + f);
    return pliki;
  }
};

// The world holds windows: it ends before the application does.
std::unique_ptr<Swiat>& swiatSlot() {
  static std::unique_ptr<Swiat> s;
  return s;
}

Swiat& swiat() {
  if (!swiatSlot()) swiatSlot() = std::make_unique<Swiat>();
  return *swiatSlot();
}

void BM_SendAgainstWritingItsFiles(benchmark::State& state) {
  Swiat& s = swiat();
  s.program->firma()->setFormatItemIndex(int(state.range(0)));
  // One send ahead gives the reference its bytes, the same in every round (the clock stands).
  s.odnow();
  const std::map<QString, std::string> wzorcowe = s.wyslij();
  if (wzorcowe.size() != 7) {
    state.SkipWithError("the send did not write seven files");
    return;
  }
  const std::string licznik = bajty(s.program->plikDanych("np2026.dat"));

  // The reference: each file, then the counter file, each synced and renamed. With `znacznik`, the
  // sent counts of the file's records are written between the two, with the value they hold.
  auto wzor = [&](const QString& folder, std::optional<char> znacznik) {
    std::optional<zelt::PlikRejestru> rejestr;
    if (znacznik) {
      rejestr.emplace(s.program->transakDat());
      if (!rejestr->otworzDoZmiany()) throw std::runtime_error("cannot open the register");
    }
    for (const auto& [nazwa, tresc] : wzorcowe) {
      platform::writeWholeFile(folder + "/" + nazwa, tresc, platform::WriteMode::CreateOnly);
      if (znacznik) rejestr->zapiszPole(s.poLiterze.at(nazwa.at(0).toLatin1()), zelt::TRekordTransakcji::kOffsetIlWyslan, &*znacznik, 1);
      platform::writeWholeFile(folder + "/np2026.dat", licznik, platform::WriteMode::Replace);
    }
  };

  std::vector<double> wysylki, wzory, wlasne, znaczniki, ponadZnaczniki;
  for (auto _ : state) {
    s.odnow();
    double wysylka = 0, zwykly = 0, zeZnacznikami = 0;
    bool wyslano = false;
    std::map<QString, std::string> wyslane;
    auto mierz = [](double& ms, const std::function<void()>& fn) {
      QElapsedTimer t;
      t.start();
      fn();
      ms = t.nsecsElapsed() / 1e6;
    };
    const std::function<void()> fazy[] = {
        [&] {
          mierz(wysylka, [&] { wyslane = s.wyslij(); });
          wyslano = true;
        },
        [&] { mierz(zwykly, [&] { wzor(s.wzor, std::nullopt); }); },
        // The marks as they stand, so that the register stays as the send finds or leaves it.
        [&] { mierz(zeZnacznikami, [&] { wzor(s.wzorZ, char(wyslano ? 1 : 0)); }); },
    };
    // Each phase starts from a register with nothing waiting for the disk.
    for (std::size_t i = 0; i < 3; ++i) {
      naDysk(s.program->transakDat());
      fazy[(i + wysylki.size()) % 3]();
    }
    if (wyslane != wzorcowe) {
      state.SkipWithError("a send wrote other files than the first");
      return;
    }
    state.SetIterationTime(wysylka / 1e3);
    wysylki.push_back(wysylka);
    wzory.push_back(zwykly);
    wlasne.push_back(wysylka - zwykly);
    znaczniki.push_back(zeZnacznikami - zwykly);
    ponadZnaczniki.push_back(wysylka - zeZnacznikami);
  }
  state.counters["send_ms"] = mediana(wysylki);
  state.counters["reference_ms"] = mediana(wzory);
  state.counters["own_ms"] = mediana(wlasne);
  state.counters["ratio"] = mediana(wysylki) / mediana(wzory);
  state.counters["marks_ms"] = mediana(znaczniki);
  state.counters["own_beyond_marks_ms"] = mediana(ponadZnaczniki);
}
BENCHMARK(BM_SendAgainstWritingItsFiles)
    ->ArgName("xml")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(25);

}  // namespace

int main(int argc, char** argv) {
  return qtbench::run(argc, argv, [] { swiatSlot().reset(); });
}
