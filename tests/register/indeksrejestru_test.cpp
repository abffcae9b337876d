// The register's index against a whole-file pass: random sequences of what the program does to
// the register (new cards, cards that grow and shrink, deletes, imports, print and send marks, the
// list sorted) and of what another process may do to the file (an append, a record rewritten, the
// file cut short or replaced), each answer the index gives compared after every step.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

#include "platform/packed.h"
#include "register/numeracja.h"
#include "register/polecenia.h"
#include "support/smallfs.h"
#include "swiatrejestru.h"

namespace {

using zelt::PlikRejestru;
using zelt::TRekordTransakcji;

constexpr std::size_t kRozmiar = TRekordTransakcji::kSize;
const std::vector<std::string> kNumery = {"A", "B", "C", "D", "E", "F", "G", "H", "0001", "0002", "00000000000000000000000001"};
// Whole days, days with a fraction, and dates the index cannot file.
const std::vector<double> kDaty = {45000,   45001,  45002, 45000.5, 45001.25, -3.0, 0.0,
                                   1e12, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
const std::vector<std::string> kNrRej = {"0", "1", "2", "3", " 4", "5 ", "999", "1000", "x", "", "007"};

struct Model : swiat::SwiatRejestru {
  std::mt19937 los;
  swiat::Lista lista;
  // The last modification time the program's or the other process's write left: the other
  // process's changes come later, as any real later write does.
  timespec ostatni{};

  // On a tmpfs of its own: ten thousand steps of synced writes would wait on the disk for minutes.
  std::unique_ptr<testing_world::SmallFileSystem> fs;
  explicit Model(unsigned seed) : los(seed) {
    QDir().mkpath(baza());
    fs = std::make_unique<testing_world::SmallFileSystem>(baza(), 64 * 1024);
    if (!fs->mounted()) ADD_FAILURE() << fs->why();
    zapisz({});
  }

  template <class T>
  const T& jeden(const std::vector<T>& v) {
    return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(los)];
  }
  int liczba(int a, int b) { return std::uniform_int_distribution<int>(a, b)(los); }

  TRekordTransakcji nowy(const std::string& nrEwT) {
    TRekordTransakcji r = swiat::rekord(nrEwT, jeden(kDaty), jeden(kNrRej));
    if (liczba(0, 9) == 0) r.Status = TRekordTransakcji::kDeleted;
    r.zNz = "Nazwa " + std::to_string(liczba(0, 99));
    return r;
  }

  std::string bajty() {
    QFile f(plik());
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
  }
  qint64 ilosc() { return static_cast<qint64>(bajty().size() / kRozmiar); }

  void zapamietajCzas() {
    struct stat st;
    if (::stat(QFile::encodeName(plik()).constData(), &st) == 0) ostatni = st.st_mtim;
  }
  // The other process's write is later than the last one.
  void pozniej(int fd) {
    timespec t[2];
    t[0].tv_sec = 0;
    t[0].tv_nsec = UTIME_OMIT;
    t[1] = ostatni;
    t[1].tv_sec += 1;
    ASSERT_EQ(::futimens(fd, t), 0);
    ostatni = t[1];
  }

  // The list as the program keeps it: a row for each live record the program wrote.
  void dodajWiersz(qint64 n) {
    const int w = lista.wiersz(static_cast<std::int32_t>(n));
    PlikRejestru::ustawWiersz(plik(), n, w, lista.m.RowCount());
  }

  // --- what the program does -------------------------------------------------------------
  void nowaKarta() {
    const std::string nr = jeden(kNumery);
    std::vector<TRekordTransakcji> r(static_cast<std::size_t>(liczba(1, 4)));
    for (auto& x : r) x = nowy(nr);
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoZapisu());
    const qint64 pierwszy = p.zmien({{}, {}, r});
    for (std::size_t i = 0; i < r.size(); ++i)
      if (!r[i].deleted()) dodajWiersz(pierwszy + static_cast<qint64>(i));
  }
  void import() {
    std::vector<TRekordTransakcji> r(static_cast<std::size_t>(liczba(2, 30)));
    for (auto& x : r) x = nowy(jeden(kNumery));
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoZapisu());
    const qint64 pierwszy = p.dopiszWszystkie(r);
    for (std::size_t i = 0; i < r.size(); ++i)
      if (!r[i].deleted()) dodajWiersz(pierwszy + static_cast<qint64>(i));
  }
  // A stored card edited: its records rewritten (the number or the date may change), some more
  // appended or the last ones deleted.
  void edycja() {
    const std::string nr = jeden(kNumery);
    std::vector<qint64> karta;
    {
      PlikRejestru p(plik());
      if (!p.otworzDoOdczytu()) return;
      p.kazdyZNumerem(nr, [&](qint64 n, const char* b) {
        if (TRekordTransakcji::decode(b).nrEwT == nr && !TRekordTransakcji::decode(b).deleted()) karta.push_back(n);
      });
    }
    if (karta.empty()) return;
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoZmiany());
    PlikRejestru::Zmiana z;
    const std::string nowyNr = liczba(0, 4) == 0 ? jeden(kNumery) : nr;
    const int zostaje = liczba(1, static_cast<int>(karta.size()));
    for (int i = 0; i < zostaje; ++i) z.przepisane.emplace_back(karta[static_cast<std::size_t>(i)], nowy(nowyNr));
    for (std::size_t i = static_cast<std::size_t>(zostaje); i < karta.size(); ++i) z.usuwane.push_back(karta[i]);
    std::vector<TRekordTransakcji> dopisane(static_cast<std::size_t>(liczba(0, 2)));
    for (auto& x : dopisane) x = nowy(nowyNr);
    z.dopisane = dopisane;
    const qint64 pierwszy = p.zmien(z);
    usunWierszeRekordow(z.usuwane);
    for (std::size_t i = 0; i < dopisane.size(); ++i)
      if (!dopisane[i].deleted()) dodajWiersz(pierwszy + static_cast<qint64>(i));
  }
  void usuniecie() {
    const qint64 n = ilosc();
    if (n == 0) return;
    std::vector<qint64> u;
    for (int i = liczba(1, 3); i > 0; --i) u.push_back(liczba(0, static_cast<int>(n - 1)));
    std::sort(u.begin(), u.end());
    u.erase(std::unique(u.begin(), u.end()), u.end());
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoZmiany());
    p.zmien({{}, u, {}});
    usunWierszeRekordow(u);
  }
  void usunWierszeRekordow(const std::vector<qint64>& rekordy) {
    zelt::UsunieteWiersze usun(lista.m, plik());
    for (int w = 0; w < lista.m.RowCount(); ++w) {
      const auto nr = zelt::numerRekordu(lista.m, lista.lp(), w);
      if (nr && std::find(rekordy.begin(), rekordy.end(), *nr) != rekordy.end()) usun.dodaj(w);
    }
  }
  void znacznik() {
    const qint64 n = ilosc();
    if (n == 0) return;
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoZmiany());
    const char b = static_cast<char>(liczba(0, 2));
    p.zapiszPole({liczba(0, static_cast<int>(n - 1))},
                 liczba(0, 1) ? TRekordTransakcji::kOffsetIlWydrukow : TRekordTransakcji::kOffsetIlWyslan, &b, 1);
  }
  void sortowanie() {
    const int w = lista.m.RowCount();
    for (int i = 0; i < w; ++i) lista.m.MoveRow(liczba(0, w - 1), liczba(0, w - 1));
  }

  // --- what another process does ----------------------------------------------------------
  void obcy() {
    const QByteArray nazwa = QFile::encodeName(plik());
    const qint64 n = ilosc();
    const int co = liczba(0, 3);
    if (co == 3) {
      // Replaced: written beside and renamed over, a new file of another length.
      std::string b = bajty();
      b.resize(static_cast<std::size_t>(std::max<qint64>(0, n - liczba(0, 5))) * kRozmiar);
      for (int i = liczba(0, 3); i > 0; --i) b += std::string(nowy(jeden(kNumery)).encode().data(), kRozmiar);
      const QByteArray obok = nazwa + ".obok";
      const int fd = ::open(obok.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(::write(fd, b.data(), b.size()), static_cast<ssize_t>(b.size()));
      pozniej(fd);
      ::close(fd);
      ASSERT_EQ(::rename(obok.constData(), nazwa.constData()), 0);
      return;
    }
    const int fd = ::open(nazwa.constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    const auto r = nowy(jeden(kNumery)).encode();
    if (co == 0 || n == 0) {
      ASSERT_EQ(::pwrite(fd, r.data(), kRozmiar, static_cast<off_t>(n * kRozmiar)), static_cast<ssize_t>(kRozmiar));
    } else if (co == 1) {
      const qint64 k = liczba(0, static_cast<int>(n - 1));
      ASSERT_EQ(::pwrite(fd, r.data(), kRozmiar, static_cast<off_t>(k * kRozmiar)), static_cast<ssize_t>(kRozmiar));
    } else {
      // Cut short, now and then inside a record.
      const qint64 b = std::max<qint64>(0, n - liczba(1, 4)) * static_cast<qint64>(kRozmiar) + (liczba(0, 3) == 0 ? 100 : 0);
      ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(b)), 0);
    }
    pozniej(fd);
    ::close(fd);
  }

  // --- the answers against a whole-file pass ----------------------------------------------
  void porownaj(int krok) {
    SCOPED_TRACE("krok " + std::to_string(krok));
    const std::string plikB = bajty();
    const qint64 n = static_cast<qint64>(plikB.size() / kRozmiar);
    // The four fields the answers hang on, read from the bytes as the record's decode reads them.
    struct Pola {
      bool usuniety;
      std::string nrEwT, nrRejDat;
      double rejDat;
      bool deleted() const { return usuniety; }
    };
    static const zelt::PoleRekordu& nrEw = *zelt::poleTekstowe("nrEwT");
    static const zelt::PoleRekordu& nrRej = *zelt::poleTekstowe("nrRejDat");
    std::vector<Pola> wszystkie;
    for (qint64 i = 0; i < n; ++i) {
      const char* b = plikB.data() + i * kRozmiar;
      wszystkie.push_back({packed::getI32(b, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted,
                           packed::getStr(b, nrEw.offset, nrEw.capacity), packed::getStr(b, nrRej.offset, nrRej.capacity),
                           packed::getF64(b, TRekordTransakcji::kOffsetRejDat)});
    }
    PlikRejestru p(plik());
    ASSERT_TRUE(p.otworzDoOdczytu());

    for (const auto& nr : kNumery) {
      std::vector<qint64> wzor, zIndeksu;
      for (qint64 i = 0; i < n; ++i)
        if (!wszystkie[static_cast<std::size_t>(i)].deleted() && wszystkie[static_cast<std::size_t>(i)].nrEwT == nr) wzor.push_back(i);
      p.kazdyZNumerem(nr, [&](qint64 i, const char* b) {
        const auto r = TRekordTransakcji::decode(b);
        if (!r.deleted() && r.nrEwT == nr) zIndeksu.push_back(i);
      });
      ASSERT_EQ(zIndeksu, wzor) << "karta " << nr;
    }
    for (double d : kDaty) {
      std::vector<qint64> wzor, zIndeksu;
      zelt::NumeryDnia numery;
      for (qint64 i = 0; i < n; ++i) {
        const auto& r = wszystkie[static_cast<std::size_t>(i)];
        if (r.deleted()) continue;
        if (std::floor(r.rejDat) == std::floor(d)) wzor.push_back(i);
        if (r.rejDat == d) numery.zajmij(r.nrRejDat);
      }
      p.kazdyZDnia(d, [&](qint64 i, const char* b) {
        const auto r = TRekordTransakcji::decode(b);
        if (!r.deleted() && std::floor(r.rejDat) == std::floor(d)) zIndeksu.push_back(i);
      });
      ASSERT_EQ(zIndeksu, wzor) << "dzień " << d;
      const zelt::NumeryDnia zIndeksuNumery = p.numeryDnia(d);
      for (int k = 0; k < zelt::NumeryDnia::kNumerow; ++k) ASSERT_EQ(zIndeksuNumery.zajety(k), numery.zajety(k)) << d << " " << k;
      const auto wolny = numery.pierwszyWolny();
      ASSERT_EQ(zelt::wolnyNrRejDat(plik(), d), std::to_string(wolny ? *wolny : 1000)) << "dzień " << d;
    }
    const auto lp = [&](int w) { return zelt::numerRekordu(lista.m, lista.lp(), w); };
    std::map<qint64, int> pierwszyWiersz;
    for (int w = lista.m.RowCount() - 1; w >= 0; --w)
      if (const auto nr = lp(w)) pierwszyWiersz[*nr] = w;
    for (qint64 i = 0; i < n; ++i) {
      const auto it = pierwszyWiersz.find(i);
      ASSERT_EQ(p.wiersz(i, lista.m, lista.lp()), it == pierwszyWiersz.end() ? -1 : it->second) << "rekord " << i;
    }
  }

  void krok() {
    const int co = liczba(0, 99);
    if (co < 25) nowaKarta();
    else if (co < 45) edycja();
    else if (co < 55) usuniecie();
    else if (co < 63) import();
    else if (co < 78) znacznik();
    else if (co < 85) sortowanie();
    else if (co < 95) obcy();
    // else: nothing; the answers are asked again of the same file
    if (co < 85) zapamietajCzas();
    // Kept small: every step reads the whole file again for the pass the answers are compared with.
    if (ilosc() > 300) {
      const int fd = ::open(QFile::encodeName(plik()).constData(), O_RDWR);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(::ftruncate(fd, 100 * static_cast<off_t>(kRozmiar)), 0);
      pozniej(fd);
      ::close(fd);
    }
  }
};

class IndexModel : public ::testing::TestWithParam<unsigned> {};

TEST_P(IndexModel, EveryAnswerEqualsAWholeFilePassAfterEveryStep) {
  Model m(GetParam());
  if (HasFailure()) return;
  for (int i = 0; i < 2500; ++i) {
    m.krok();
    if (HasFatalFailure()) return;
    m.porownaj(i);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, IndexModel, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
