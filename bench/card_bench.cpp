// The card's paths at three sizes of the register (10,000, 100,000 and 1,000,000 records, each
// with 1,000 records a day of which 950 live): "&Edytuj" to the editor shown, "&Dodaj", a change of
// the registration date, the card check, and the save of a new card of 1 and of 25 records with
// its syncs counted and timed apart. Beside them, in the same run, one plain read of the register
// and one 4 KiB write with its fsync.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "platform/recordfile.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/weryfikacjakarty.h"
#include "register/zapiskarty.h"
#include "qtbench.h"
#include "rejestr100k.h"
#include "swiatbench.h"

namespace {

using Zegar = std::chrono::steady_clock;

constexpr double kRekordowDnia = 950;  // live records a day in every register built here

// A world with a register of `rekordow` records, its program started and signed in. The clock
// stands on the register's fourth day, so that "&Dodaj" meets a full day at every size.
struct Swiat : bench::Uslugi {
  int rekordow;
  std::unique_ptr<zelt::Program> p;
  explicit Swiat(int n) : rekordow(n) {
    clock.set(QDateTime(QDate(2025, 12, 12), QTime(12, 0)));
    bench::zbudujRejestr(baza() + "/transak.dat", n);
    p = uruchom();
  }
  ~Swiat() {
    p.reset();
  }
  QString plik() const { return dir.filePath("Dokumenty/ZELT/Baza/transak.dat"); }
};

std::unique_ptr<Swiat>& biezacy() {
  static std::unique_ptr<Swiat> s;
  return s;
}

Swiat& swiat(int n) {
  auto& s = biezacy();
  if (!s || s->rekordow != n) {
    s.reset();
    s = std::make_unique<Swiat>(n);
  }
  return *s;
}

void liczniki(benchmark::State& state, const Swiat& s) {
  state.counters["records"] = s.rekordow;
  state.counters["records_a_day"] = kRekordowDnia;
}

void BM_PlainRead(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(bench::czytajCaly(s.plik()));
  liczniki(state, s);
}

// The yardstick of the save's syncs: one 4 KiB write and its fsync beside the register.
void BM_Write4KiBAndFsync(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  const QByteArray nazwa = QFile::encodeName(s.baza() + "/fsync.probe");
  const int fd = ::open(nazwa.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) throw std::runtime_error("probe file");
  std::vector<char> b(4096, 'x');
  for (auto _ : state) {
    if (::pwrite(fd, b.data(), b.size(), 0) != 4096 || ::fsync(fd) != 0) throw std::runtime_error("probe write");
  }
  ::close(fd);
  ::unlink(nazwa.constData());
  liczniki(state, s);
}

// "&Edytuj" on the last row: the card load and the editor shown.
void BM_EditOpensTheCardEditor(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  auto& l = *s.p->glowny()->lista;
  l.SetDataRow(l.RowCount() - 1);
  for (auto _ : state) {
    s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
    s.p->glowny()->EdytujClick();
  }
  if (s.p->rekordyKarty.k < 1) throw std::runtime_error("no card loaded");
  state.counters["index_bytes_a_record"] =
      static_cast<double>(zelt::PlikRejestru::bajtyIndeksu(s.plik())) / static_cast<double>(s.rekordow);
  liczniki(state, s);
}

// "&Dodaj": the new card with the first free number of today, shown in the editor.
void BM_AddOpensTheCardEditor(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
    s.p->glowny()->dodajClick();
  }
  // Today is full: 950 numbers held, the first free one is a deleted record's.
  if (s.p->karta.NrRejDatTekst != "19") throw std::runtime_error("unexpected first free number " + s.p->karta.NrRejDatTekst);
  liczniki(state, s);
}

// A user's change of the registration date, between two full days: that day's first free number.
void BM_RegistrationDateChange(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  auto& e = *s.p->edycja();
  int i = 0;
  for (auto _ : state) e.rejDat->setDate(QDate(2025, 12, 10 + (++i % 2)));
  if (s.p->karta.NrRejDatTekst != "19") throw std::runtime_error("unexpected first free number " + s.p->karta.NrRejDatTekst);
  liczniki(state, s);
}

// "&Weryfikuj" on the card of the last row.
void BM_CardCheck(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  auto& l = *s.p->glowny()->lista;
  l.SetDataRow(l.RowCount() - 1);
  s.dialogs.expectModal("edycjaForm", [](platform::ModalForm&) { return platform::mrCancel; });
  s.p->glowny()->EdytujClick();
  std::size_t numerow = 0;
  for (auto _ : state) numerow = zelt::weryfikacja(*s.p).numeryDnia.size();
  // The card of the last row holds one live record of its day; the others are the day's.
  if (numerow + 1 != kRekordowDnia) throw std::runtime_error("the check did not see the day");
  liczniki(state, s);
}

// The save of a new card of `range(1)` records, each on a day of its own past the register; the
// syncs are counted and timed through the disk seam (from a sync's start to the next call on the
// disk, or to the save's end).
void BM_SaveANewCard(benchmark::State& state) {
  Swiat& s = swiat(static_cast<int>(state.range(0)));
  const int rekordow = static_cast<int>(state.range(1));
  zelt::Program& p = *s.p;
  auto& lista = *p.glowny()->lista;
  std::int64_t syncow = 0;
  Zegar::duration wSyncach{};
  std::optional<Zegar::time_point> sync;
  platform::DiskSeam seam([&](const platform::DiskCall& c) {
    const auto teraz = Zegar::now();
    if (sync) wSyncach += teraz - *sync;
    sync.reset();
    if (c.op == platform::DiskOp::Sync || c.op == platform::DiskOp::SyncFolder) {
      ++syncow;
      sync = teraz;
    }
    return c.length;
  });
  zelt::UstawieniaNowejKarty u;
  u.NumIO = "12345678";
  u.dzis = QDate(2030, 1, 1);
  int dzien = 0;
  Zegar::duration razem{};
  for (auto _ : state) {
    state.PauseTiming();
    zelt::przygotujNowaKarte(p, u);
    zelt::Karta& k = p.karta;
    k.nrEwT = "B" + std::to_string(dzien) + "x" + std::to_string(rekordow);
    k.rejDat = 60000 + dzien++;
    k.z.pola.Nz = "Dysponent";
    for (int i = 0; i < rekordow; ++i) {
      zelt::TRekordPodmiotu w;
      w.TypPo = 1;
      w.Nz = "Beneficjent " + std::to_string(i);
      w.rolaPo = zelt::TRekordPodmiotu::Beneficjent;
      k.listaBeneficjentow.wpisy.push_back(w);
    }
    k.listaBeneficjentow.indeks = 1;
    k.b = zelt::pokazWpis(zelt::kRolaBeneficjenta, k.listaBeneficjentow.wpisy.front());
    state.ResumeTiming();
    const auto start = Zegar::now();
    const auto wynik = zelt::zapiszKarte(p, u.numeracja, {}, &lista);
    if (sync) wSyncach += Zegar::now() - *sync;
    sync.reset();
    razem += Zegar::now() - start;
    if (wynik != zelt::Zapis::Zapisano || p.rekordyKarty.k != rekordow) throw std::runtime_error("the card was not saved");
  }
  const double iteracji = static_cast<double>(state.iterations());
  state.counters["syncs_per_save"] = static_cast<double>(syncow) / iteracji;
  state.counters["sync_ms_per_save"] = std::chrono::duration<double, std::milli>(wSyncach).count() / iteracji;
  state.counters["without_syncs_ms"] = std::chrono::duration<double, std::milli>(razem - wSyncach).count() / iteracji;
  state.counters["card_records"] = rekordow;
  liczniki(state, s);
}

}  // namespace

int main(int argc, char** argv) {
  // Every case of one size before the next size: the world of a size is built once.
  for (int n : {10000, 100000, 1000000}) {
    auto ms = [](benchmark::internal::Benchmark* b) { return b->Unit(benchmark::kMillisecond); };
    ms(benchmark::RegisterBenchmark("PlainRead", BM_PlainRead)->Arg(n));
    ms(benchmark::RegisterBenchmark("Write4KiBAndFsync", BM_Write4KiBAndFsync)->Arg(n));
    ms(benchmark::RegisterBenchmark("EditOpensTheCardEditor", BM_EditOpensTheCardEditor)->Arg(n));
    ms(benchmark::RegisterBenchmark("AddOpensTheCardEditor", BM_AddOpensTheCardEditor)->Arg(n));
    ms(benchmark::RegisterBenchmark("RegistrationDateChange", BM_RegistrationDateChange)->Arg(n));
    ms(benchmark::RegisterBenchmark("CardCheck", BM_CardCheck)->Arg(n));
    ms(benchmark::RegisterBenchmark("SaveANewCard", BM_SaveANewCard)->Args({n, 1}));
    ms(benchmark::RegisterBenchmark("SaveANewCard", BM_SaveANewCard)->Args({n, 25}));
  }
  return qtbench::run(argc, argv, [] { biezacy().reset(); });
}
