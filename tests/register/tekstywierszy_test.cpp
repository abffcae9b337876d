// The register list's texts made from the records' bytes at start-up, beside the texts the row
// writer makes from decoded records, and the list the start-up fills beside the list the row
// writer fills.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <atomic>
#include <QFile>
#include <cmath>
#include <functional>
#include <limits>

#include "grid/kgridmodel.h"
#include "platform/cp1250.h"
#include "platform/packed.h"
#include "register/ladowanie.h"
#include "register/listykarty.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/tekstywierszy.h"
#include "register/wierszrejestru.h"
#include "platform/recordfile.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"
#include "support/world.h"

using testing_world::World;
using zelt::ListyKarty;
using zelt::TRekordTransakcji;

namespace {

// Every text field filled to its room with letters, blanks, commas, quotes and a line break.
TRekordTransakcji pelny() {
  TRekordTransakcji r;
  const std::string wzor = cp1250::fromUtf8("Zażółć, \"gęślą\" jaźń\r\n") + "0123456789";
  for (const auto& p : zelt::polaTekstowe()) {
    std::string t;
    while (t.size() < p.capacity) t += wzor;
    r.*(p.text) = t.substr(0, p.capacity);
  }
  r.kRodzTr = "0607";
  r.rejDat = 39146.75;
  r.tDat = 46000;
  r.Status = 1;
  r.kPwz = 1;
  r.spDysp = 5;
  r.zTypPo = 22;
  r.zRodzDokTo = 5;
  r.pTypPo = 0;
  r.bTypPo = 11;
  r.ilBledow = 3;
  r.ilOstrzezen = 12;
  r.ilWydrukow = 1;
  r.ilWyslan = 2;
  return r;
}

using Zmiana = std::function<void(TRekordTransakcji&)>;
struct Przypadek {
  const char* nazwa;
  Zmiana zmiana;
  // Bytes changed after encoding (a length byte beyond its field's room), or nothing.
  std::function<void(TRekordTransakcji::Bytes&)> bajty;
};

const std::vector<Przypadek>& przypadki() {
  static const std::vector<Przypadek> p = {
      {"a new record: texts empty, lists unset, dates 0", [](TRekordTransakcji& r) { r = TRekordTransakcji{}; }, {}},
      {"every field filled", [](TRekordTransakcji&) {}, {}},
      {"kind code of four blanks", [](TRekordTransakcji& r) { r.kRodzTr = "    "; }, {}},
      {"kind code empty", [](TRekordTransakcji& r) { r.kRodzTr.clear(); }, {}},
      {"kind code of three blanks", [](TRekordTransakcji& r) { r.kRodzTr = "   "; }, {}},
      {"texts empty with a kind", [](TRekordTransakcji& r) {
         for (const auto& f : zelt::polaTekstowe()) r.*(f.text) = "";
         r.kRodzTr = "1";
       }, {}},
      {"dates negative and fractional", [](TRekordTransakcji& r) {
         r.rejDat = -1.25;
         r.tDat = -0.5;
       }, {}},
      {"dates at the ends of years 1 and 9999", [](TRekordTransakcji& r) {
         r.rejDat = -693593.9;
         r.tDat = 2958465.9;
       }, {}},
      {"dates just outside", [](TRekordTransakcji& r) {
         r.rejDat = -693594;
         r.tDat = 2958466;
       }, {}},
      {"dates that are no numbers", [](TRekordTransakcji& r) {
         r.rejDat = std::nan("");
         r.tDat = std::numeric_limits<double>::infinity();
       }, {}},
      {"dates huge", [](TRekordTransakcji& r) {
         r.rejDat = 1e300;
         r.tDat = -1e300;
       }, {}},
      {"leap days", [](TRekordTransakcji& r) {
         r.rejDat = 36584;  // 2000-02-29
         r.tDat = 60;       // 1900-03-01
       }, {}},
      {"list indexes unset, negative and out of the lists", [](TRekordTransakcji& r) {
         r.Status = -7;
         r.kPwz = 2;
         r.spDysp = std::numeric_limits<std::int32_t>::max();
         r.zTypPo = 23;
         r.zRodzDokTo = std::numeric_limits<std::int32_t>::min();
         r.pTypPo = -1;
         r.bTypPo = 1000000;
       }, {}},
      {"counters large", [](TRekordTransakcji& r) {
         r.ilBledow = 255;
         r.ilOstrzezen = 200;
         r.ilWydrukow = 255;
         r.ilWyslan = 128;
       }, {}},
      {"counters each alone", [](TRekordTransakcji& r) {
         r.ilBledow = 0;
         r.ilOstrzezen = 1;
         r.ilWydrukow = 0;
         r.ilWyslan = 1;
       }, {}},
      {"counters zero", [](TRekordTransakcji& r) {
         r.ilBledow = r.ilOstrzezen = r.ilWydrukow = r.ilWyslan = 0;
       }, {}},
      {"remarks some empty", [](TRekordTransakcji& r) {
         r.uwInne.clear();
         r.uwkPwz.clear();
         r.uwbTypPo.clear();
         r.zTypPo = -1;
       }, {}},
      {"a length byte beyond every field's room",
       [](TRekordTransakcji&) {},
       [](TRekordTransakcji::Bytes& b) {
         for (const auto& p : zelt::polaTekstowe()) b[p.offset] = static_cast<char>(0xFF);
       }},
      {"texts with zero bytes", [](TRekordTransakcji& r) {
         r.nrEwT = std::string("a\0b", 3);
         r.uwInne = std::string("\0", 1);
       }, {}},
  };
  return p;
}

TRekordTransakcji::Bytes bajty(const Przypadek& c) {
  TRekordTransakcji r = pelny();
  c.zmiana(r);
  TRekordTransakcji::Bytes b = r.encode();
  if (c.bajty) c.bajty(b);
  return b;
}

std::vector<std::string> wszystkieKody() {
  zelt::DefinicjeKolumn defs;
  std::vector<std::string> kody;
  for (int i = 1; i <= zelt::kIloscKolumn; ++i) kody.push_back(defs[i].kod);
  kody.push_back("");  // no column of a code the definitions do not carry shows anything
  kody.push_back("nrRachN");
  return kody;
}

// The built-in lists, and lists shorter and longer as dictionary files make them.
std::vector<ListyKarty> listy() {
  ListyKarty wbudowane = ListyKarty::wbudowane();
  ListyKarty krotkie = wbudowane;
  krotkie.spDysp.resize(2);
  krotkie.zRodzDokTo = {"XX - jedyny"};
  krotkie.zTypPo = krotkie.pTypPo = krotkie.bTypPo = {};
  ListyKarty dlugie = wbudowane;
  for (int i = 0; i < 30; ++i) dlugie.zTypPo.push_back("Z" + std::to_string(i));
  dlugie.pTypPo = dlugie.bTypPo = dlugie.zTypPo;
  return {wbudowane, krotkie, dlugie};
}

TEST(RowTexts, EveryColumnCodeGivesTheTextOfTheDecodedRecord) {
  const auto kody = wszystkieKody();
  zelt::TekstyWiersza teksty(kody);
  std::string t;
  int porownane = 0;
  for (const ListyKarty& l : listy())
    for (const Przypadek& c : przypadki()) {
      const auto b = bajty(c);
      const TRekordTransakcji r = TRekordTransakcji::decode(b.data());
      for (std::int32_t nr : {0, 7, 99999, std::numeric_limits<std::int32_t>::max() - 1,
                              std::numeric_limits<std::int32_t>::max()})
        for (std::size_t k = 0; k < kody.size(); ++k) {
          teksty.tekst(k, b.data(), nr, l, t);
          ASSERT_EQ(t, zelt::tekstKomorki(kody[k], r, nr, l)) << c.nazwa << ", column " << kody[k] << ", record " << nr;
          ++porownane;
        }
    }
  EXPECT_EQ(porownane, 3 * int(przypadki().size()) * 5 * int(kody.size()));
}

// A list column keeps its index in the pass; the item is its text.
TEST(RowTexts, AListColumnsIndexIsTheOneItsTextShows) {
  const auto kody = wszystkieKody();
  zelt::TekstyWiersza teksty(kody);
  std::string t;
  int listowe = 0;
  for (const ListyKarty& l : listy())
    for (const Przypadek& c : przypadki()) {
      const auto b = bajty(c);
      for (std::size_t k = 0; k < kody.size(); ++k) {
        if (!teksty.lista(k)) continue;
        ++listowe;
        teksty.tekst(k, b.data(), 0, l, t);
        EXPECT_EQ(ListyKarty::tekst(l.*teksty.kolumna(k).lista, teksty.indeks(k, b.data())), t)
            << c.nazwa << ", column " << kody[k];
      }
    }
  EXPECT_EQ(listowe, 3 * int(przypadki().size()) * 7) << "Status, kPwz, spDysp and the four party lists";
}

// ---- the list the start-up fills

struct Swiat : World {
  Swiat() {
    program().KatDan = path("Baza");
    QDir().mkpath(program().KatDan);
    // Every column shown, in reverse order of the definitions (Lp stays first).
    for (int i = 1; i <= zelt::kIloscKolumn; ++i) defs[i].pozWyg = static_cast<std::uint8_t>(zelt::kIloscKolumn + 1 - i);
    defs.normalizuj();
    zelt::zapiszDefinicje(reg(), defs);
    program().definicjeKolumn = zelt::wczytajDefinicje(reg());
  }
  // The table's records in a file, with deleted ones among them; the table again until there are
  // at least `najmniej`.
  std::vector<TRekordTransakcji> zapiszRejestr(std::size_t najmniej = 0) {
    std::string plik;
    std::vector<TRekordTransakcji> zapisane;
    do
      for (const Przypadek& c : przypadki()) {
        for (int usuniety = 0; usuniety < 2; ++usuniety) {
          auto b = bajty(c);
          if (usuniety) packed::putI32(b.data(), TRekordTransakcji::kOffsetStatus, TRekordTransakcji::kDeleted);
          plik.append(b.data(), b.size());
          zapisane.push_back(TRekordTransakcji::decode(b.data()));
        }
      }
    while (zapisane.size() < najmniej);
    writeFile(program().transakDat(), plik);
    return zapisane;
  }
  zelt::DefinicjeKolumn defs;
};

// The list as the row writer fills it from decoded records.
void listaWzorcowa(zelt::Program& p, kgrid::TKGridModel& lista, const std::vector<TRekordTransakcji>& rekordy) {
  const zelt::UkladListy uklad = zelt::zbudujKolumnyListy(lista, p.definicjeKolumn);
  for (std::size_t n = 0; n < rekordy.size(); ++n) {
    if (rekordy[n].deleted()) continue;
    lista.AddRow();
    zelt::zapiszWiersz(lista, uklad, lista.RowCount() - 1, static_cast<std::int32_t>(n), rekordy[n], p.listyKarty);
  }
}

void takieSame(const kgrid::TKGridModel& a, const kgrid::TKGridModel& b, const char* nazwa) {
  ASSERT_EQ(a.RowCount(), b.RowCount()) << nazwa;
  ASSERT_EQ(a.ColCount(), b.ColCount()) << nazwa;
  for (int c = 0; c < a.ColCount(); ++c) {
    ASSERT_EQ(a.VisibleColumn(c).Name(), b.VisibleColumn(c).Name()) << nazwa;
    for (int r = 0; r < a.RowCount(); ++r) {
      ASSERT_EQ(a.VisibleColumn(c).StoredText(r), b.VisibleColumn(c).StoredText(r))
          << nazwa << ", column " << a.VisibleColumn(c).Name() << ", row " << r;
      ASSERT_EQ(a.CellFlags(c, r), b.CellFlags(c, r)) << nazwa << ", column " << a.VisibleColumn(c).Name() << ", row " << r;
    }
  }
  EXPECT_EQ(a.DataRow(), b.DataRow()) << nazwa;
  EXPECT_EQ(a.DataCol(), b.DataCol()) << nazwa;
}

// The pass's threads, for one test.
struct Watki {
  explicit Watki(std::size_t w) { zelt::ustawWatkiLadowania(w); }
  ~Watki() { zelt::ustawWatkiLadowania(0); }
};

// Whether the pass ran ahead on its thread, here at once, or ahead for columns the list no longer
// has (the stored definitions changed before the list was built), the list is the row writer's
// list, and the dictionaries read after the pass began are the ones its list columns show; so it
// is however many threads share the pass.
TEST(RegisterLoad, TheListIsTheListTheRowWriterFills) {
  // Ahead with the lists handed to the pass once read, or handed before they changed again.
  enum Jak { WTle, Tutaj, InneKolumny, ListyDane, ListyZmienione };
  const char* const nazwy[] = {"ahead", "at once", "ahead for other columns", "ahead with the lists",
                               "ahead with lists changed after"};
  // One thread, columns shared unevenly, more threads than columns.
  for (std::size_t watkow : {1, 3, 64})
    for (Jak jak : {WTle, Tutaj, InneKolumny, ListyDane, ListyZmienione}) {
      Watki ustawione(watkow);
      const std::string opis = std::string(nazwy[jak]) + ", threads " + std::to_string(watkow);
      const char* nazwa = opis.c_str();
      Swiat w;
      auto& p = w.program();
      const auto rekordy = w.zapiszRejestr();
      if (jak != Tutaj) zelt::rozpocznijLadowanieRejestru(p);
      if (jak == InneKolumny) {
        w.defs[w.defs.numer("Info")].pozWyg = 0;
        w.defs.normalizuj();
        zelt::zapiszDefinicje(w.reg(), w.defs);
        p.definicjeKolumn = zelt::wczytajDefinicje(w.reg());
      }
      if (jak == ListyZmienione) zelt::dajListyLadowaniu(p);
      p.listyKarty.zTypPo = {"00 - tylko jeden"};
      p.listyKarty.spDysp.resize(3);
      if (jak == ListyDane) zelt::dajListyLadowaniu(p);
      kgrid::TKGridModel lista, wzor;
      p.ukladListy = zelt::zbudujKolumnyListy(lista, p.definicjeKolumn);
      EXPECT_EQ(zelt::zaladujRejestr(p, lista), std::int64_t(przypadki().size())) << nazwa;
      listaWzorcowa(p, wzor, rekordy);
      ASSERT_EQ(lista.ColCount(), jak == InneKolumny ? zelt::kIloscKolumn - 1 : zelt::kIloscKolumn) << nazwa;
      takieSame(lista, wzor, nazwa);
      EXPECT_EQ(p.splashLines.last(),
                QString::fromUtf8("ładowanie rejestru transakcji - załadowano %1 rekordów").arg(przypadki().size()))
          << nazwa;
    }
}

// The pass runs after the playback of an unfinished write's journal, which it started: it reads
// the register as it was before that write.
TEST(RegisterLoad, ThePassReadsTheRegisterAfterTheJournalsPlayback) {
  Swiat w;
  auto& p = w.program();
  const auto rekordy = w.zapiszRejestr();
  {
    zelt::PlikRejestru f(p.transakDat());
    ASSERT_TRUE(f.otworzDoZapisu());
    // The write stops after the journal is synced and the new records have reached the file.
    platform::DiskSeam stop([&](const platform::DiskCall& c) -> qint64 {
      if (c.op == platform::DiskOp::Sync && c.path == p.transakDat()) throw platform::DiskStopped{};
      return c.length;
    });
    std::vector<TRekordTransakcji> nowe(3, pelny());
    EXPECT_THROW(f.dopiszWszystkie(nowe), platform::DiskStopped);
  }
  ASSERT_GT(w.readFile(p.transakDat()).size(), rekordy.size() * TRekordTransakcji::kSize);
  ASSERT_TRUE(QFile::exists(zelt::PlikRejestru::sciezkaDziennika(p.transakDat()))) << "the write was left unfinished";
  zelt::rozpocznijLadowanieRejestru(p);
  kgrid::TKGridModel lista, wzor;
  p.ukladListy = zelt::zbudujKolumnyListy(lista, p.definicjeKolumn);
  zelt::zaladujRejestr(p, lista);
  EXPECT_TRUE(p.rejestrOdtworzony);
  listaWzorcowa(p, wzor, rekordy);
  takieSame(lista, wzor, "after the playback");
}

// The threads' shares of the columns: every column in one share, in order, and the costliest
// share within a third of the best one possible (found by trying every share-out), the first
// thread's index counted with it.
TEST(RegisterLoad, TheColumnsAreSharedOutByWhatTheyCost) {
  struct Przypadek {
    const char* nazwa;
    std::vector<std::uint64_t> koszty;
    std::size_t watkow;
    std::uint64_t indeks;
  };
  std::vector<Przypadek> przypadki = {
      {"two costly columns a round would give one thread", {100, 1, 1, 1, 100, 1, 1, 1}, 4, 0},
      {"the index outweighs every column", {5, 5, 5, 5, 5, 5}, 3, 1000},
      {"one thread", {3, 1, 2}, 1, 7},
      {"more threads than columns", {4, 9}, 5, 2},
      {"no columns", {}, 3, 1}};
  std::uint32_t los = 12345;
  for (int i = 0; i < 20; ++i) {
    Przypadek p{"random", {}, 2 + std::size_t(i % 3), 0};
    for (int c = 0; c < 7; ++c) p.koszty.push_back((los = los * 1103515245u + 12345u) >> 24);
    p.indeks = (los = los * 1103515245u + 12345u) >> 25;
    przypadki.push_back(p);
  }
  for (const Przypadek& p : przypadki) {
    SCOPED_TRACE(p.nazwa);
    const auto czesci = zelt::rozdzielKolumny(p.koszty, p.watkow, p.indeks);
    ASSERT_EQ(czesci.size(), p.watkow);
    std::vector<int> ile(p.koszty.size(), 0);
    std::uint64_t najwiecej = 0;
    for (std::size_t w = 0; w < czesci.size(); ++w) {
      EXPECT_TRUE(std::is_sorted(czesci[w].begin(), czesci[w].end()));
      std::uint64_t suma = w == 0 ? p.indeks : 0;
      for (std::size_t c : czesci[w]) {
        ASSERT_LT(c, p.koszty.size());
        ++ile[c];
        suma += p.koszty[c];
      }
      najwiecej = std::max(najwiecej, suma);
    }
    EXPECT_EQ(ile, std::vector<int>(p.koszty.size(), 1)) << "every column once";
    // The best share-out, by trying each thread for each column.
    std::uint64_t najlepiej = UINT64_MAX;
    std::vector<std::size_t> gdzie(p.koszty.size(), 0);
    for (;;) {
      std::vector<std::uint64_t> sumy(p.watkow, 0);
      sumy[0] = p.indeks;
      for (std::size_t c = 0; c < gdzie.size(); ++c) sumy[gdzie[c]] += p.koszty[c];
      najlepiej = std::min(najlepiej, *std::max_element(sumy.begin(), sumy.end()));
      std::size_t c = 0;
      while (c < gdzie.size() && ++gdzie[c] == p.watkow) gdzie[c++] = 0;
      if (c == gdzie.size()) break;
    }
    EXPECT_LE(3 * najwiecej, 4 * najlepiej) << "costliest share " << najwiecej << ", best " << najlepiej;
  }
}

// Another process rewrites the first record while the pass reads on past it: the list's rows are
// of one version of the file, never a row of two. The threads' rows are read again by one thread
// when the file changed under them; one thread's rows are those of its one pass. So when the file
// changes under every read, and the load never shows an empty list for a register that has rows.
TEST(RegisterLoad, ARecordRewrittenDuringThePassIsShownAsOneVersionOfIt) {
  for (std::size_t watkow : {1, 3})
    for (const bool zaKazdymRazem : {false, true}) {
      SCOPED_TRACE(testing::Message() << watkow << " threads, " << (zaKazdymRazem ? "changed at every read" : "once"));
      Watki ustawione(watkow);
      Swiat w;
      auto& p = w.program();
      auto rekordy = w.zapiszRejestr(1100);  // three blocks of the pass's reads
      ASSERT_FALSE(rekordy[0].deleted());
      // Version k of the first record: its name, amount and counters (columns of different threads).
      auto wersja = [&](int k) {
        TRekordTransakcji r = rekordy[0];
        r.zNz = "Wersja " + std::to_string(k);
        r.tKw = std::to_string(k) + ",00";
        r.ilBledow = static_cast<std::uint8_t>(k);
        return r;
      };
      std::atomic<int> zmian{0};
      platform::ReadSeam obcy([&](const QString& plik, qint64 at, qint64) {
        if (plik != p.transakDat() || at < 512 * qint64(TRekordTransakcji::kSize)) return;
        if (!zaKazdymRazem && zmian.load() > 0) return;
        const int k = ++zmian;
        QFile f(plik);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const auto b = wersja(k).encode();
        ASSERT_EQ(f.write(b.data(), qint64(b.size())), qint64(b.size()));
      });
      zelt::rozpocznijLadowanieRejestru(p);
      kgrid::TKGridModel lista;
      p.ukladListy = zelt::zbudujKolumnyListy(lista, p.definicjeKolumn);
      zelt::zaladujRejestr(p, lista);
      ASSERT_GT(zmian.load(), 0);
      // The version the list shows is the one its name column gives; every column is of it.
      int pokazana = -1;
      for (int c = 0; c < lista.ColCount(); ++c)
        if (lista.VisibleColumn(c).Name() == "zNz") {
          const std::string nazwa(lista.VisibleColumn(c).StoredText(0));
          pokazana = nazwa.rfind("\"Wersja ", 0) == 0 ? std::stoi(nazwa.substr(8)) : 0;
        }
      ASSERT_GE(pokazana, 0) << "no name column";
      if (!zaKazdymRazem) EXPECT_EQ(pokazana, watkow == 1 ? 0 : 1) << "one pass keeps what it read; the threads' is read again";
      if (pokazana > 0) rekordy[0] = wersja(pokazana);
      kgrid::TKGridModel wzor;
      listaWzorcowa(p, wzor, rekordy);
      takieSame(lista, wzor, "the version shown");
    }
}

// A read error in the pass on its thread is shown on the main thread, as the message of the
// error itself, between the load's two splash lines.
TEST(RegisterLoad, AReadErrorOnTheWorkerIsShownAsItsMessage) {
  // A system file that says it has 4096 bytes and gives a few: the first record cannot be read.
  const QString krotki = QStringLiteral("/sys/devices/system/cpu/online");
  QFile f(krotki);
  if (!f.open(QIODevice::ReadOnly) || f.size() < qint64(TRekordTransakcji::kSize) || f.readAll().size() >= 3512)
    GTEST_SKIP() << "no system file that is shorter than it says";
  for (std::size_t watkow : {1, 3}) {
    SCOPED_TRACE(watkow);
    Watki ustawione(watkow);
    Swiat w;
    auto& p = w.program();
    ASSERT_TRUE(QFile::link(krotki, p.transakDat()));
    w.dialogs.expectMessage(platform::IdOk,
                            QString::fromUtf8("Błąd odczytu pliku ") + p.transakDat() + QStringLiteral(": brak rekordu 0"));
    zelt::rozpocznijLadowanieRejestru(p);
    kgrid::TKGridModel lista;
    p.ukladListy = zelt::zbudujKolumnyListy(lista, p.definicjeKolumn);
    int liniiPrzed = -1;
    w.dialogs.afterMessage = [&](const platform::ScriptedDialogs::Shown&) { liniiPrzed = int(p.splashLines.size()); };
    EXPECT_EQ(zelt::zaladujRejestr(p, lista), 0);
    EXPECT_EQ(w.dialogs.messages().size(), 1);
    EXPECT_EQ(liniiPrzed, 1) << "after the load's first line, before its last";
    EXPECT_EQ(p.splashLines.last(),
              QString::fromUtf8("ładowanie rejestru transakcji - brak danych, niepełny ostatni rekord pominięto"));
    EXPECT_EQ(lista.RowCount(), 0);
  }
}

}  // namespace
