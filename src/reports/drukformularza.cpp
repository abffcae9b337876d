#include "reports/drukformularza.h"

#include <array>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "register/program.h"
#include "register/werform.h"
#include "reports/drukkarty.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"

namespace zelt {

namespace {

// A right edge k boxes left of the form's right edge.
constexpr double odPrawej(int k) { return kSzerokoscIO - k * kBokKratkiIO; }

std::array<RzadKratekIO, static_cast<int>(RzadIO::Ile)> budujRzedy() {
  std::array<RzadKratekIO, static_cast<int>(RzadIO::Ile)> t{};
  auto ustaw = [&t](RzadIO r, int n, int ogon, double x, double y) {
    t[static_cast<int>(r)] = RzadKratekIO{n, ogon, x, y};
  };
  ustaw(RzadIO::Data, 8, 0, 76, 12);
  ustaw(RzadIO::Nazwa1, 28, 0, 183, 21);
  ustaw(RzadIO::Nazwa2, 28, 0, 183, 28.1);
  ustaw(RzadIO::Regon, 9, 0, 183, 35.2);
  ustaw(RzadIO::Nip, 10, 0, odPrawej(18), 35.2);
  ustaw(RzadIO::Kraj, 29, 1, 183, 42.3);
  ustaw(RzadIO::Wojewodztwo, 29, 1, 183, 49.4);
  ustaw(RzadIO::Gmina, 13, 0, 183, 56.5);
  ustaw(RzadIO::Powiat, 13, 1, odPrawej(16), 56.5);
  ustaw(RzadIO::Miejscowosc, 21, 0, 183, 63.6);
  ustaw(RzadIO::Kod, 5, 1, odPrawej(24), 63.6);
  ustaw(RzadIO::Ulica, 29, 0, 183, 70.7);
  ustaw(RzadIO::NrLokalu, 6, 0, odPrawej(14), 77.8);
  ustaw(RzadIO::NrDomu, 6, 0, odPrawej(23), 77.8);
  // The two persons' blocks, the second 42.6 mm (six rows) below the first.
  for (int o = 0; o < 2; ++o) {
    const double d = o * 6 * kSkokWierszaIO;
    auto r = [o](RzadIO p) { return static_cast<RzadIO>(static_cast<int>(p) + o * kRzedowOsoby); };
    ustaw(r(RzadIO::Imie), 28, 0, 183, 153 + d);
    ustaw(r(RzadIO::Nazwisko), 28, 0, 183, 160.1 + d);
    ustaw(r(RzadIO::Stanowisko), 29, 1, 183, 167.2 + d);
    ustaw(r(RzadIO::Faks), 13, 0, 183, 174.3 + d);
    ustaw(r(RzadIO::Telefon), 13, 1, odPrawej(16), 174.3 + d);
    ustaw(r(RzadIO::Email1), 17, 0, 183, 181.4 + d);
    ustaw(r(RzadIO::Komorka), 9, 0, odPrawej(20), 181.4 + d);
    ustaw(r(RzadIO::Email2), 29, 0, 183, 188.5 + d);
  }
  ustaw(RzadIO::Uwagi1, 28, 0, 183, 238.5);
  ustaw(RzadIO::Uwagi2, 28, 0, 183, 251 - kBokKratkiIO);
  return t;
}

const std::array<RzadKratekIO, static_cast<int>(RzadIO::Ile)> kRzedy = budujRzedy();

// The kinds' boxes and texts, 3.47 mm apart.
constexpr double kSkokRodzaju = 3.47;
double yRodzaju(int i) { return 88.5 + kSkokRodzaju * i; }

// The labels layer of page 1, in drawing order; texts UTF-8, top-left corners.
struct OpisIO {
  const char* tekst;
  double x, y, pt;
  bool pochyly = false;
  bool times = false;
};
const OpisIO kOpisy[] = {
    {"Formularz identyfikacyjny instytucji obowiązanej", 50, 1.5, 11},
    {"INSTYTUCJA OBOWIĄZANA", 4, 8, 8},
    {"DANE IDENTYFIKACYJNE INSTYTUCJI", 4, 17.5, 8},
    {"DANE IDENTYFIKACYJNE OSÓB ODPOWIEDZIALNYCH ZA PRZEKAZYWANIE INFORMACJI DO ZELT", 4, 149, 8},
    {"Jeżeli instytucja posiada jednostki organizacyjne to należy", 88, 254, 8},
    {"zaznaczyć pole i wypełnić tabelę na następnej stronie", 88, 260, 8},
    {"nazwa instytucji obowiązanej", 4.5, 25, 7},
    {"numer NIP", 17.5, 36, 7},
    {"numer REGON", 118.5, 37, 7},
    {"Kraj", 20.5, 43, 7},
    {"Powiat", 20.5, 57, 7},
    {"Gmina", 108, 57, 7},
    {"Ulica", 20.5, 71, 7},
    {"Nr domu", 20.5, 78, 7},
    {"Nr lokalu", 69.5, 78, 7},
    {"imię 1", 26, 155, 7},
    {"imię 2", 26, 195, 7},
    {"nazwisko 1", 26, 161, 7},
    {"nazwisko 2", 26, 201, 7},
    {"Uwagi", 26, 242, 7},
    {"Podpisy osoby upoważnionej", 4.5, 252.5, 7},
    {"1.", 42, 252, 7},
    {"2.", 64, 252, 7},
    {"czy jest to", 78, 13, 6},
    {"aktualizacja danych ?", 78, 15, 6},
    {"Województwo", 20.5, 50, 6},
    {"Kod", 20.5, 63.5, 6},
    {"pocztowy", 20.5, 66, 6},
    {"Miejscowość", 62, 64.5, 6},
    {"Stanowisko 1", 20.5, 168, 6},
    {"Stanowisko 2", 20.5, 210, 6},
    {"telefon 1", 20.5, 174.5, 6},
    {"telefon 2", 20.5, 217.5, 6},
    {"telefon", 20.5, 181.5, 6},
    {"telefon", 20.5, 224, 6},
    {"komórkowy 1", 20.5, 183.5, 6},
    {"komórkowy 2", 20.5, 226, 6},
    {"e-mail 1", 85, 183, 6},
    {"faks 1", 106, 175, 6},
    {"e-mail 2", 85, 225, 6},
    {"faks 2", 106, 217.5, 6},
    {"*zaznaczyć właściwy kwadrat", 0.5, 266, 6},
    {"Data wypełnienia formularza", 11, 12.5, 5},
    {"TAK*", 107.5, 13.5, 5},
    {"NIE*", 117.5, 13.5, 5},
    {"(rrrr/mm/dd)", 26.5, 14, 4, true},
    {"z nr. kierunkowym", 103, 177.5, 4, true},
    {"z nr. kierunkowym", 103, 220, 4, true},
    {"z nr. kierunkowym", 20.5, 177, 4, true},
    {"z nr. kierunkowym", 20.5, 219.5, 4, true},
};

// The kinds as the form names them: the window's list, kind 2 in its full wording.
std::string rodzajNaFormularzu(int i) {
  return i == 2 ? cp1250::fromUtf8("Krajowy depozyt papierów wartościowych") : cp1250::fromUtf8(kRodzajeIO[i]);
}

// Page 2's columns: the lines between them, and where each column's text starts.
constexpr std::array<double, 10> kLinieJednostek = {0, 6, 20, 50, 80, 90, 120, 150, 167, 183};
struct Naglowek {
  const char* tekst;
  double x, y;
};
const Naglowek kNaglowki[] = {
    {"lp", 1, 8},           {"nr jedn.", 7, 8},       {"organiza-", 7, 11}, {"cyjnej", 7, 14},
    {"nazwa jednostki", 21, 8}, {"organizacyjnej", 21, 11}, {"ulica", 51, 8},     {"kod", 81, 8},
    {"pocz-", 81, 11},      {"towy", 81, 14},         {"miejscowość", 91, 8}, {"województwo", 121, 8},
    {"numer", 151, 8},      {"telefonu", 151, 11},    {"numer", 168, 8},    {"faksu", 168, 11},
};

std::string fragment(const std::string& s, std::size_t od, std::size_t ile) {
  return od < s.size() ? s.substr(od, ile) : std::string();
}

}  // namespace

const RzadKratekIO& rzad(RzadIO r) { return kRzedy[static_cast<int>(r)]; }

std::vector<WpisIO> zawartoscFormularza(const DaneIO& d, const QDate& dzis) {
  std::vector<WpisIO> w;
  auto dodaj = [&w](RzadIO r, const std::string& t) {
    if (!t.empty()) w.push_back({r, cp1250::bezSterujacych(t)});
  };
  dodaj(RzadIO::Data, dzis.toString(QStringLiteral("yyyyMMdd")).toStdString());
  dodaj(RzadIO::Nazwa1, fragment(d.nazIO, 0, 28));
  dodaj(RzadIO::Nazwa2, fragment(d.nazIO, 28, 28));
  dodaj(RzadIO::Regon, d.RegIO);
  dodaj(RzadIO::Nip, d.NIPIO);
  dodaj(RzadIO::Kraj, d.KrIO);
  dodaj(RzadIO::Wojewodztwo, d.WoIO);
  dodaj(RzadIO::Gmina, d.GmIO);
  dodaj(RzadIO::Powiat, d.PoIO);
  dodaj(RzadIO::Miejscowosc, d.MieIO);
  dodaj(RzadIO::Kod, d.KodIO);
  dodaj(RzadIO::Ulica, d.UlIO);
  dodaj(RzadIO::NrLokalu, d.NrLIO);
  dodaj(RzadIO::NrDomu, d.NrDIO);
  for (int o = 0; o < 2; ++o) {
    const OsobaIO& os = d.os[static_cast<std::size_t>(o)];
    auto r = [o](RzadIO p) { return static_cast<RzadIO>(static_cast<int>(p) + o * kRzedowOsoby); };
    dodaj(r(RzadIO::Imie), os.im);
    dodaj(r(RzadIO::Nazwisko), os.na);
    dodaj(r(RzadIO::Stanowisko), os.st);
    dodaj(r(RzadIO::Faks), os.fa);
    dodaj(r(RzadIO::Telefon), os.te);
    dodaj(r(RzadIO::Email1), fragment(os.em, 0, 17));
    dodaj(r(RzadIO::Komorka), os.ko);
    dodaj(r(RzadIO::Email2), fragment(os.em, 17, 29));
  }
  dodaj(RzadIO::Uwagi1, fragment(d.UwIO, 0, 28));
  dodaj(RzadIO::Uwagi2, fragment(d.UwIO, 28, 28));
  return w;
}

std::vector<JednostkiIO::Wiersz> jednostkiDoDruku(const JednostkiIO& j) {
  std::vector<JednostkiIO::Wiersz> w;
  for (int r = 1; r <= j.RowCount() - 2; ++r)
    if (j.jestJednostka(r)) w.push_back(j.wiersz(r));
  return w;
}

WynikFormularza drukujFormularzIO(platform::Printers& drukarki, const DaneIO& d, const JednostkiIO& j,
                                  const QDate& dzis, const UstawieniaWydruku& u, const Kalibracja& k) {
  WynikFormularza wynik;
  auto job = drukarki.job();
  job->setTitle(tytulFormularzaIO());
  if (!job->begin()) {
    wynik.blad = job->error();
    return wynik;
  }
  PlotnoWydruku p(job->canvas(), GeometriaWydruku::formularz(k, job->resolutionX(), job->resolutionY(),
                                                             kBokKratkiIO, kSkokWierszaIO));
  p.czcionka(10);
  const auto jednostki = jednostkiDoDruku(j);

  auto ramki = [&] {
    p.prostokat(0, 0, kSzerokoscIO, kWysokoscIO);
    for (double y : {7.5, 12.0, 21.0, 84.5, 148.0, 153.0, 193.59, 238.0, 238.5, 251.0, 251.5})
      p.rysujLinie(y, kSzerokoscIO);
    for (const RzadKratekIO& r : kRzedy) p.rysujKratki(r.n, r.ogon, r.x, r.y);
    for (int i = 0; i < kIloscRodzajowIO; ++i) p.prostokat(4, 89.5 + kSkokRodzaju * i, 5.5, 91 + kSkokRodzaju * i);
    for (double x : {40.48, 63.385, 86.29}) p.linia(x, 251.5, x, kWysokoscIO);
    p.prostokat(105, 13.5, 107, 15.5);
    p.prostokat(115, 13.5, 117, 15.5);
    p.prostokat(160, 259, 163, 262);
  };
  auto opisy = [&] {
    for (const OpisIO& o : kOpisy) {
      p.czcionka(o.pt, true, o.pochyly);
      p.tekst(o.x, o.y, cp1250::fromUtf8(o.tekst));
    }
    p.czcionka(7);
    const platform::PrintFont poprzednia = p.c.font();
    p.czcionkaPionowa();
    p.tekst(7.5, 63, "Adres siedziby");
    p.c.setFont(poprzednia);
    p.czcionka(11, true, false, czcionkaTimes());
    p.tekst(4, 85, cp1250::fromUtf8("Rodzaj instytucji obowiązanej*"));
    p.czcionka(9, true, false, czcionkaTimes());
    for (int i = 0; i < kIloscRodzajowIO; ++i) p.tekst(10, yRodzaju(i), rodzajNaFormularzu(i));
  };
  // The contents, the marks and the footer keep the face the labels left.
  const QString kroj = u.opisy ? czcionkaTimes() : czcionkaFormularzy();
  auto zawartosc = [&] {
    p.czcionka(10, true, false, kroj);
    for (const WpisIO& w : zawartoscFormularza(d, dzis)) {
      const RzadKratekIO& r = rzad(w.rzad);
      p.drukujWKratkach(r.n, w.tekst, r.x, r.y);
    }
    p.czcionka(8, true, false, kroj);
    // No kind chosen, no mark: the check reports it.
    if (d.RoIO >= 0 && d.RoIO < kIloscRodzajowIO) p.tekst(4, yRodzaju(d.RoIO), "X");
    p.tekst(d.AkIO ? 105 : 115, 13, "X");
    if (!jednostki.empty()) p.tekst(160, 259, "X");
  };
  rysujWarstwy(u, ramki, opisy, zawartosc);
  if (u.ramki || u.opisy || u.zawartosc) {
    p.czcionka(5, true, false, kroj);
    p.tekst(45, 266, stopkaKarty());
  }

  // The units, 49 a page, each page with its frames and headings, the numbers running on.
  for (std::size_t od = 0; od < jednostki.size(); od += kJednostekNaStrone) {
    job->newPage();
    const int n = static_cast<int>(std::min<std::size_t>(kJednostekNaStrone, jednostki.size() - od));
    const double dol = 20 + 5.0 * n;
    auto ramkiJ = [&] {
      p.rysujLinie(7, kSzerokoscIO);
      p.rysujLinie(20, kSzerokoscIO);
      for (int i = 1; i <= n; ++i) p.rysujLinie(20 + 5.0 * i, kSzerokoscIO);
      for (double x : kLinieJednostek) p.linia(x, 7, x, dol);
    };
    auto opisyJ = [&] {
      p.czcionka(10, false);
      p.tekst(0, 2, cp1250::fromUtf8("Wykaz jednostek organizacyjnych instytucji obowiązanej"));
      p.czcionka(8, false);
      for (const Naglowek& h : kNaglowki) p.tekst(h.x, h.y, cp1250::fromUtf8(h.tekst));
    };
    auto zawartoscJ = [&] {
      p.czcionka(8, false);
      for (int i = 0; i < n; ++i) {
        const auto& w = jednostki[od + static_cast<std::size_t>(i)];
        const double y = 21 + 5.0 * i;
        for (int kol = 0; kol < kKolumnJednostek; ++kol) {
          const std::string t = kol == 0 ? std::to_string(od + static_cast<std::size_t>(i) + 1)
                                         : cp1250::bezSterujacych(w[static_cast<std::size_t>(kol)]);
          const double x = kLinieJednostek[static_cast<std::size_t>(kol)] + 1;
          const std::string s = p.przytnij(t, x, kLinieJednostek[static_cast<std::size_t>(kol) + 1]);
          if (!s.empty()) p.tekst(x, y, s);
        }
      }
    };
    rysujWarstwy(u, ramkiJ, opisyJ, zawartoscJ);
  }

  if (!job->end()) {
    wynik.blad = job->error();
    return wynik;
  }
  wynik.wydrukowany = true;
  return wynik;
}

void drukujFormularzIO(Program& program, TFirmaForm& f) {
  f.weryfIO();
  if (program.listyWer.saUwagi() && program.wer() &&
      program.wer()->pokazDoZapisu(QStringLiteral("Drukuj")) != TWerForm::kPotwierdz)
    return;
  if (!wybierzDrukarke(program)) return;
  const UstawieniaWydruku u = program.konfig()->formularzIO();
  QString blad;
  const auto k = odczytajKalibracje(u, &blad);
  if (!k) {
    program.svc.dialogs.showMessage(blad);
    return;
  }
  const WynikFormularza w =
      drukujFormularzIO(program.svc.printers, f.dane(), f.jednostkiIO, program.svc.clock.today(), u, *k);
  if (!w.wydrukowany) program.svc.dialogs.showMessage(QStringLiteral("Błąd w czasie drukowania: ") + w.blad);
}

}  // namespace zelt
