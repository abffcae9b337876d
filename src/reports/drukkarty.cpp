#include "reports/drukkarty.h"

#include "platform/cp1250.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wizytform.h"
#include "reports/uwagi.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"

namespace zelt {

namespace {

constexpr std::array<RzadKratek, static_cast<int>(Pole::Ile)> budujRzedy() {
  std::array<RzadKratek, static_cast<int>(Pole::Ile)> t{};
  auto ustaw = [&t](Pole p, int n, double x, double y) { t[static_cast<int>(p)] = RzadKratek{n, x, y}; };
  ustaw(Pole::NIP, 10, 190, 0);
  ustaw(Pole::NrKarty, 9, 95.5, 0);
  ustaw(Pole::P01, 25, 190, 9);
  ustaw(Pole::P02, 12, 190, 15.7);
  ustaw(Pole::P05, 1, 190, 22.4);
  ustaw(Pole::P04, 8, 169, 22.4);
  ustaw(Pole::P03, 8, 100.75, 22.4);
  ustaw(Pole::P09, 1, 190, 31.5);
  ustaw(Pole::P08, 4, 163.75, 31.5);
  ustaw(Pole::P07, 1, 116.5, 31.5);
  ustaw(Pole::P06, 4, 58.75, 31.5);
  ustaw(Pole::P10, 12, 100.75, 38.2);
  ustaw(Pole::P12, 21, 190, 44.9);
  ustaw(Pole::P11, 8, 58.75, 44.9);
  ustaw(Pole::P14, 3, 127, 51.6);
  ustaw(Pole::P13, 15, 95.5, 51.6);
  ustaw(Pole::P16, 3, 127, 58.3);
  ustaw(Pole::P15, 15, 95.5, 58.3);
  ustaw(Pole::P17, 2, 158.5, 63.55);
  ustaw(Pole::P18a, 32, 190, 70.25);
  ustaw(Pole::P19, 2, 190, 76.95);
  ustaw(Pole::P18b, 27, 163.75, 76.95);
  ustaw(Pole::P22, 19, 190, 83.65);
  ustaw(Pole::P21, 8, 79.75, 83.65);
  ustaw(Pole::P20, 2, 27.25, 83.65);
  ustaw(Pole::P23, 32, 190, 90.35);
  ustaw(Pole::P26, 10, 190, 97.05);
  ustaw(Pole::P25, 9, 127, 97.05);
  ustaw(Pole::P24, 11, 74.5, 97.05);
  ustaw(Pole::P28, 10, 190, 103.75);
  ustaw(Pole::P27, 15, 116.5, 103.75);
  ustaw(Pole::P30, 24, 190, 110.45);
  ustaw(Pole::P29, 2, 48.25, 110.45);
  ustaw(Pole::P31, 2, 158.5, 117.15);
  ustaw(Pole::P32a, 32, 190, 123.85);
  ustaw(Pole::P32b, 32, 190, 130.55);
  ustaw(Pole::P35, 19, 190, 137.25);
  ustaw(Pole::P34, 8, 79.75, 137.25);
  ustaw(Pole::P33, 2, 27.25, 137.25);
  ustaw(Pole::P36, 32, 190, 143.95);
  ustaw(Pole::P37, 2, 158.5, 150.65);
  ustaw(Pole::P38a, 32, 190, 157.35);
  ustaw(Pole::P38b, 32, 190, 164.05);
  ustaw(Pole::P41, 19, 190, 170.75);
  ustaw(Pole::P40, 8, 79.75, 170.75);
  ustaw(Pole::P39, 2, 27.25, 170.75);
  ustaw(Pole::P42, 32, 190, 177.45);
  ustaw(Pole::P43a, 28, 190, 187.2);
  ustaw(Pole::P43b, 28, 190, 193.9);
  ustaw(Pole::P44a, 28, 190, 200.6);
  ustaw(Pole::P44b, 28, 190, 207.3);
  // The remarks block: rows 5.58 mm apart up from the form's bottom edge.
  const double gora = 284 - 12 * kSkokWierszaUwag;
  for (int i = 0; i < 11; ++i) ustaw(rzadUwag(i), 28, 190, gora + i * kSkokWierszaUwag);
  ustaw(Pole::P45ostatni, 25, 190 - 3 * kBokKratkiKarty, gora + 11 * kSkokWierszaUwag);
  return t;
}

const std::array<RzadKratek, static_cast<int>(Pole::Ile)> kRzedy = budujRzedy();

// The frames layer in drawing order.
struct Element {
  enum Typ { Prostokat, Linia, Odcinek, Kratki, Skok } typ;
  double a = 0, b = 0, c = 0, d = 0;  // rectangle or segment; a rule's y; a step
  Pole pole = Pole::NIP;
};
Element rama(double x1, double y1, double x2, double y2) { return {Element::Prostokat, x1, y1, x2, y2}; }
Element regula(double y) { return {Element::Linia, y}; }
Element odcinek(double x1, double y1, double x2, double y2) { return {Element::Odcinek, x1, y1, x2, y2}; }
Element kratki(Pole p) { return {Element::Kratki, 0, 0, 0, 0, p}; }

const std::vector<Element>& ramki() {
  static const std::vector<Element> t = [] {
    std::vector<Element> e = {
        rama(0, 0, 190, 284),
        regula(5.25), kratki(Pole::NIP), kratki(Pole::NrKarty),
        regula(9), kratki(Pole::P01), kratki(Pole::P02), kratki(Pole::P05), kratki(Pole::P04), kratki(Pole::P03),
        regula(27.65), regula(31.5),
        kratki(Pole::P09), kratki(Pole::P08), kratki(Pole::P07), kratki(Pole::P06),
        kratki(Pole::P10), kratki(Pole::P12), kratki(Pole::P11),
        kratki(Pole::P14), kratki(Pole::P13), kratki(Pole::P16), kratki(Pole::P15),
        regula(58.3), kratki(Pole::P17),
        regula(70.25), kratki(Pole::P18a), kratki(Pole::P19), kratki(Pole::P18b),
        kratki(Pole::P22), kratki(Pole::P21), kratki(Pole::P20), kratki(Pole::P23),
        kratki(Pole::P26), kratki(Pole::P25), kratki(Pole::P24), kratki(Pole::P28), kratki(Pole::P27),
        kratki(Pole::P30), kratki(Pole::P29),
        regula(117.15), kratki(Pole::P31),
        regula(123.85), kratki(Pole::P32a), kratki(Pole::P32b),
        kratki(Pole::P35), kratki(Pole::P34), kratki(Pole::P33), kratki(Pole::P36),
        regula(150.65), kratki(Pole::P37),
        regula(157.35), kratki(Pole::P38a), kratki(Pole::P38b),
        kratki(Pole::P41), kratki(Pole::P40), kratki(Pole::P39), kratki(Pole::P42),
        regula(182.7), regula(187.2), kratki(Pole::P43a), kratki(Pole::P43b),
        regula(199.15), kratki(Pole::P44a), kratki(Pole::P44b),
        regula(212.55),
        {Element::Skok, kSkokWierszaUwag},
        regula(284 - 12 * kSkokWierszaUwag),
    };
    for (int i = 0; i < 12; ++i) e.push_back(kratki(rzadUwag(i)));
    e.push_back(rama(4, 225, 39, 282.5));
    e.push_back(odcinek(4, 241, 39, 241));
    e.push_back(odcinek(4, 255, 39, 255));
    return e;
  }();
  return t;
}

// The labels layer: texts in UTF-8 here, top-left corners.
struct Opis {
  const char* tekst;
  double x, y, pt;
  bool pochyly = false;
};
const Opis kOpisy[] = {
    {"KARTA TRANSAKCJI", 4, 1, 8},
    {"IDENTYFIKACJA", 4, 5.5, 8},
    {"numer", 40, 0.5, 6},
    {"numer NIP instytucji obowiązanej", 103, 1, 6},
    {"karty", 41, 2.5, 6},
    {"01.Numer ewidencyjny transakcji", 30, 10, 5},
    {"02.numer rejestracji transakcji", 100, 17, 5},
    {"04.numer jednostki", 109.5, 23, 5},
    {"05.status", 175.5, 24, 5},
    {"03.data rejestracji transakcji", 34, 24, 5},
    {"organizacyjne", 112, 25, 5},
    {"TRANSAKCJA WYNIKAJĄCA Z DYSPOZYCJI", 4, 28.15, 8},
    {"06.kod rodzaju transakcji", 11, 32.65, 6},
    {"10.numer dokumentu transakcji", 5, 39.65, 6},
    {"07.Kod powiązania transakcji Tak-1 Nie-0", 75, 32.65, 5},
    {"08.Kod transakcji", 127, 32.65, 5},
    {"09.sposób wydania", 167.5, 32.65, 5},
    {"podejrzanej", 132, 34.65, 5},
    {"dyspozycji", 175, 34.65, 5},
    {"11.data realizacji", 2, 45.65, 5},
    {"12.miejsce transakcji", 61, 45.65, 5},
    {"transakcji", 7, 47.65, 5},
    {"(miejscowość)", 65, 47.65, 5, true},
    {"13.kwota", 8, 52.15, 5},
    {"14.jednostka", 99.5, 52.15, 5},
    {"transakcji", 8, 54.15, 5},
    {"transakcji", 102.5, 54.15, 5},
    {"15.kwota po", 6, 58.65, 5},
    {"16.jednostka", 99.5, 58.65, 5},
    {"zamianie", 9, 60.65, 5},
    {"po zamianie", 100.5, 60.65, 5},
    {"PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ", 4, 64.25, 8},
    {"17.typ podmiotu", 130, 65.75, 6},
    {"18.nazwisko, imię", 3, 73.25, 6},
    {"/ nazwa", 12.5, 75.25, 6},
    {"20.kraj", 8, 84.25, 6},
    {"23.ulica", 12, 91.25, 6},
    {"24.PESEL", 5.5, 97.25, 6},
    {"27.numer SWIFT", 20, 104.25, 6},
    {"29.rodzaj dokumentu:", 13, 109.25, 6},
    {"28.NIP", 130, 104.25, 6},
    {"21.kod", 30.5, 84.25, 5},
    {"pocztowy", 28.5, 86.25, 5},
    {"22.miej-", 82, 84.25, 5},
    {"scowość", 82, 86.25, 5},
    {"19.obywa-", 170, 77.25, 5},
    {"telstwo", 172.5, 79.25, 5},
    {"25.", 76, 97.75, 5},
    {"26.nr rej.", 128, 97.75, 5},
    {"sądowego", 128, 99.75, 5},
    {"30.seria i numer", 50, 111.25, 5},
    {"dokumentu", 54, 113.25, 5},
    {"DO-dowód osobisty PA-paszport", 13, 112.25, 4},
    {"DT-dowód tymczasowy KP-karta pobytu", 9, 113.75, 4},
    {"00-inne", 30, 115.25, 4},
    {"regon", 75, 99.75, 4},
    {"PODMIOT, W IMIENIU KTÓREGO WYDAWANA JEST DYSPOZYCJA", 4, 118.15, 8},
    {"31.typ podmiotu", 130, 119.15, 6},
    {"32.nazwisko, imię", 3, 127.15, 6},
    {"/ nazwa", 12.5, 129.15, 6},
    {"33.kraj", 8, 137.15, 6},
    {"36.ulica", 12, 144.15, 6},
    {"34.kod", 30.5, 137.15, 5},
    {"pocztowy", 28.5, 139.15, 5},
    {"35.miej-", 82, 137.15, 5},
    {"scowość", 82, 139.15, 5},
    {"BENEFICJENT", 4, 151.65, 8},
    {"37.typ podmiotu", 130, 152.65, 6},
    {"38.nazwisko, imię", 3, 160.65, 6},
    {"/ nazwa", 12.5, 162.65, 6},
    {"39.kraj", 8, 170.65, 6},
    {"42.ulica", 12, 177.65, 6},
    {"40.kod", 30.5, 170.65, 5},
    {"pocztowy", 28.5, 172.65, 5},
    {"41.miej-", 82, 170.65, 5},
    {"scowość", 82, 172.65, 5},
    {"RACHUNKI UCZESTNICZĄCE W TRANSAKCJI", 4, 183.2, 8},
    {"43.numer rachunku źródłowego", 10, 188.7, 6},
    {"44.numer rachunku docelowego", 10, 201.2, 6},
    // the remarks block, placed by its row step of 5.58 mm
    {"UWAGI", 4, 284 - 12 * kSkokWierszaUwag - 4, 8},
    {"Dane osoby wypełniającej kartę:", 2, 221.54, 6},
    {"45.uwagi", 32, 219.04, 6},
    {"Imię i nazwisko", 14, 225.54, 5},
    {"Stanowisko", 16, 241.54, 5},
    {"Podpis", 17.5, 256.04, 5},
};

// A stored date as yyyymmdd; empty when it is no date.
std::string data(double dni) { return platform::daysToDate(dni) ? dataRaportu(dni) : std::string(); }

std::string fragment(const std::string& s, std::size_t od, std::size_t ile) {
  return od < s.size() ? s.substr(od, ile) : std::string();
}

bool jestKodRodzaju(const std::string& kRodzTr) { return !kRodzTr.empty() && kRodzTr != "    "; }

void rysujStopke(PlotnoWydruku& p) {
  p.czcionka(4);
  p.tekst(100, 213, stopkaKarty());
}

}  // namespace

const RzadKratek& rzad(Pole p) { return kRzedy[static_cast<int>(p)]; }

std::string uwagiKarty(const TRekordTransakcji& r) {
  return lancuchUwag(r, BramkiUwag::Karta, [](std::string_view t) { return std::string(t); });
}

std::vector<Wpis> zawartoscKarty(const TRekordTransakcji& r, const ListyKarty& l, const std::string& nip) {
  std::vector<Wpis> w;
  auto dodaj = [&w](Pole p, const std::string& t) {
    if (!t.empty()) w.push_back({p, cp1250::bezSterujacych(t)});
  };
  dodaj(Pole::NIP, nip);
  dodaj(Pole::P01, r.nrEwT);
  dodaj(Pole::P02, r.nrRejDat);
  dodaj(Pole::P05, std::to_string(r.Status));
  dodaj(Pole::P04, r.jedIO);
  dodaj(Pole::P03, data(r.rejDat));
  const bool transakcja = jestKodRodzaju(r.kRodzTr);
  if (transakcja) {
    dodaj(Pole::P09, std::to_string(r.spDysp));
    dodaj(Pole::P08, r.kPdjrz);
    dodaj(Pole::P07, std::to_string(r.kPwz));
    dodaj(Pole::P06, r.kRodzTr);
    dodaj(Pole::P10, r.nrDokT);
    dodaj(Pole::P12, r.tM);
    dodaj(Pole::P11, data(r.tDat));
    dodaj(Pole::P14, r.tJ);
    dodaj(Pole::P13, r.tKw);
    dodaj(Pole::P16, r.tJZ);
    dodaj(Pole::P15, r.tKwZ);
  }
  if (r.zTypPo >= 0) {
    dodaj(Pole::P17, ListyKarty::kod(l.zTypPo, r.zTypPo));
    dodaj(Pole::P18a, fragment(r.zNz, 0, 32));
    dodaj(Pole::P18b, fragment(r.zNz, 32, 27));
    dodaj(Pole::P19, r.zObyw);
    dodaj(Pole::P22, r.zAdrM);
    dodaj(Pole::P21, r.zAdrKod);
    dodaj(Pole::P20, r.zAdrKr);
    dodaj(Pole::P23, r.zAdrUl);
    dodaj(Pole::P26, r.zNrReS);
    dodaj(Pole::P25, r.zNrReg);
    dodaj(Pole::P24, r.zNrPes);
    dodaj(Pole::P28, r.zNip);
    dodaj(Pole::P27, r.zNrSwt);
    dodaj(Pole::P30, r.zNrDokTo);
    if (r.zRodzDokTo >= 0) dodaj(Pole::P29, ListyKarty::kod(l.zRodzDokTo, r.zRodzDokTo));
  }
  struct Strona {
    std::int32_t typ;
    const ListyKarty::Lista& lista;
    const std::string &nz, &adrM, &adrKod, &adrKr, &adrUl;
    Pole kod, nzA, nzB, m, k, kr, ul;
  } strony[] = {
      {r.pTypPo, l.pTypPo, r.pNz, r.pAdrM, r.pAdrKod, r.pAdrKr, r.pAdrUl, Pole::P31, Pole::P32a, Pole::P32b,
       Pole::P35, Pole::P34, Pole::P33, Pole::P36},
      {r.bTypPo, l.bTypPo, r.bNz, r.bAdrM, r.bAdrKod, r.bAdrKr, r.bAdrUl, Pole::P37, Pole::P38a, Pole::P38b,
       Pole::P41, Pole::P40, Pole::P39, Pole::P42},
  };
  for (const auto& s : strony) {
    if (s.typ < 0) continue;
    dodaj(s.kod, ListyKarty::kod(s.lista, s.typ));
    dodaj(s.nzA, fragment(s.nz, 0, 32));
    dodaj(s.nzB, fragment(s.nz, 32, 32));
    dodaj(s.m, s.adrM);
    dodaj(s.k, s.adrKod);
    dodaj(s.kr, s.adrKr);
    dodaj(s.ul, s.adrUl);
  }
  if (transakcja) {
    dodaj(Pole::P43a, fragment(r.nrRachZ, 0, 28));
    dodaj(Pole::P43b, fragment(r.nrRachZ, 28, 28));
    dodaj(Pole::P44a, fragment(r.nrRachN, 0, 28));
    dodaj(Pole::P44b, fragment(r.nrRachN, 28, 28));
  }
  const std::string uwagi = uwagiKarty(r);
  if (uwagi.size() >= kDlugoscZalacznika) {
    dodaj(Pole::P45, cp1250::fromUtf8("uwagi w załączeniu"));
  } else {
    for (int i = 0; i < 12; ++i) dodaj(rzadUwag(i), fragment(uwagi, 28 * static_cast<std::size_t>(i), rzad(rzadUwag(i)).n));
  }
  return w;
}

std::array<std::string, 3> osobaWypelniajaca(const std::string& wprow) {
  std::array<std::string, 3> o;
  std::string reszta = wprow;
  for (int i = 0; i < 2; ++i) {
    const auto p = reszta.find(';');
    if (p == std::string::npos) break;
    o[i] = reszta.substr(0, p);
    reszta.erase(0, p + 1);
  }
  o[2] = reszta;
  return o;
}

std::string stopkaKarty() {
  return "Formularz wydrukowano programem firmy Tarvo, " + std::string(kStronaAutora) + ", " + kEmailAutora;
}

WynikKarty drukujKarte(platform::Printers& drukarki, const TRekordTransakcji& r, const ListyKarty& listy,
                       const std::string& nip, const UstawieniaWydruku& u, const Kalibracja& k) {
  WynikKarty wynik;
  auto job = drukarki.job();
  job->setTitle(tytulKarty());
  if (!job->begin()) {
    wynik.blad = job->error();
    return wynik;
  }
  PlotnoWydruku p(job->canvas(), GeometriaWydruku::formularz(k, job->resolutionX(), job->resolutionY(),
                                                             kBokKratkiKarty, kSkokWierszaKarty));
  p.czcionka(10);
  const std::string uwagi = uwagiKarty(r);

  auto warstwaRamek = [&] {
    p.g.skokWiersza = kSkokWierszaKarty;
    for (const Element& e : ramki()) {
      switch (e.typ) {
        case Element::Prostokat: p.prostokat(e.a, e.b, e.c, e.d); break;
        case Element::Linia: p.rysujLinie(e.a); break;
        case Element::Odcinek: p.linia(e.a, e.b, e.c, e.d); break;
        case Element::Kratki: {
          const RzadKratek& z = rzad(e.pole);
          p.rysujKratki(z.n, 0, z.x, z.y);
          break;
        }
        case Element::Skok: p.g.skokWiersza = e.a; break;
      }
    }
  };
  auto warstwaOpisow = [&] {
    p.g.skokWiersza = kSkokWierszaKarty;
    for (const Opis& o : kOpisy) {
      p.czcionka(o.pt, true, o.pochyly);
      p.tekst(o.x, o.y, cp1250::fromUtf8(o.tekst));
    }
  };
  auto warstwaZawartosci = [&] {
    p.g.skokWiersza = kSkokWierszaKarty;
    p.czcionka(10);
    for (const Wpis& w : zawartoscKarty(r, listy, nip)) {
      const RzadKratek& z = rzad(w.pole);
      p.drukujWKratkach(z.n, w.tekst, z.x, z.y);
    }
    // The person who filled in the card, as plain text inside its box.
    p.czcionka(8);
    const auto osoba = osobaWypelniajaca(cp1250::bezSterujacych(r.Wprow));
    const double wiersze[] = {228.04, 232.04, 245.04};
    for (int i = 0; i < 3; ++i)
      if (!osoba[i].empty()) p.tekst(5, wiersze[i], p.przytnij(osoba[i], 5, 39));
  };
  rysujWarstwy(u, warstwaRamek, warstwaOpisow, warstwaZawartosci);
  if (u.ramki || u.opisy || u.zawartosc) rysujStopke(p);

  if (uwagi.size() >= kDlugoscZalacznika) {
    // The attachment: as many pages of 42 rows of 36 boxes as the remarks need.
    const std::string tekst = cp1250::bezSterujacych(uwagi);
    const std::size_t naStrone = kWierszeZalacznika * kKratkiZalacznika;
    for (std::size_t od = 0; od < tekst.size(); od += naStrone) {
      job->newPage();
      p.czcionka(10);
      p.g.bokKratki = kBokKratkiKarty;
      p.g.skokWiersza = kSkokWierszaKarty;
      if (u.ramki) {
        p.prostokat(0, 0, 190, 284);
        for (int i = 0; i < kWierszeZalacznika; ++i) p.rysujKratki(kKratkiZalacznika, 0, 190, i * p.g.skokWiersza);
      }
      if (u.zawartosc) {
        for (int i = 0; i < kWierszeZalacznika; ++i) {
          const std::string w = fragment(tekst, od + static_cast<std::size_t>(i) * kKratkiZalacznika, kKratkiZalacznika);
          if (w.empty()) break;
          p.drukujWKratkach(kKratkiZalacznika, w, 190, i * p.g.skokWiersza);
        }
      }
      rysujStopke(p);
    }
  }

  if (!job->end()) {
    wynik.blad = job->error();
    return wynik;
  }
  wynik.wydrukowana = true;
  wynik.zawartosc = u.zawartosc;
  return wynik;
}

namespace {

std::optional<Kalibracja> kalibracjaKarty(Program& program) {
  QString blad;
  auto k = odczytajKalibracje(program.konfig()->kartaTransakcji(), &blad);
  if (!k) program.svc.dialogs.showMessage(blad);
  return k;
}

std::string nipIO(Program& program) { return cp1250::fromUnicode(program.firma()->NIPIO->text()); }

}  // namespace

WynikKarty drukujkarte(Program& program) {
  const auto k = kalibracjaKarty(program);
  if (!k) return {};
  const WynikKarty w = drukujKarte(program.svc.printers, program.aktualnyRekord, program.listyKarty,
                                   nipIO(program), program.konfig()->kartaTransakcji(), *k);
  if (!w.wydrukowana) program.svc.dialogs.showMessage(QStringLiteral("Błąd w czasie drukowania: ") + w.blad);
  return w;
}

void drukujKarty(Program& program, const std::vector<std::int32_t>& numery) {
  // Everything that can refuse is settled before the printer or the register is touched.
  const auto k = kalibracjaKarty(program);
  if (!k) return;
  if (!wybierzDrukarke(program)) return;
  PlikRejestru plik(program.transakDat());
  if (!plik.otworzDoZmiany()) {
    program.svc.dialogs.showMessage(plik.bladOtwarcia());
    return;
  }
  const UstawieniaWydruku u = program.konfig()->kartaTransakcji();
  const std::string nip = nipIO(program);
  for (const std::int32_t n : numery) {
    auto bajty = plik.czytajBajty(n);
    program.aktualnyRekord = TRekordTransakcji::decode(bajty.data());
    const WynikKarty w = drukujKarte(program.svc.printers, program.aktualnyRekord, program.listyKarty, nip, u, *k);
    if (!w.blad.isEmpty() || !w.wydrukowana) {
      program.svc.dialogs.showMessage(QStringLiteral("Błąd w czasie drukowania: ") + w.blad);
      return;
    }
    auto& licznik = reinterpret_cast<unsigned char&>(bajty[TRekordTransakcji::kOffsetIlWydrukow]);
    if (!w.zawartosc || licznik == 255) continue;
    ++licznik;
    program.aktualnyRekord.ilWydrukow = licznik;
    // The count's byte alone, synced before the next card is printed.
    plik.zapiszPole({n}, TRekordTransakcji::kOffsetIlWydrukow, reinterpret_cast<const char*>(&licznik), 1);
  }
}

}  // namespace zelt
