// The card's party lists as data: the same sequences run for the three roles through their
// descriptions, the store and show mapping per role, and the removal of nameless entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "register/karta.h"

using zelt::Karta;
using zelt::ListaPodmiotow;
using zelt::OpisRoli;
using zelt::StronaPodmiotu;
using zelt::TRekordPodmiotu;

namespace {

zelt::DomyslneKarty domyslne() {
  zelt::DomyslneKarty d;
  d.kraj = "PL";
  d.typPo = 1;
  d.rodzDokTo = 2;
  return d;
}

// One page and its list, driven as the editor drives them; after every step the index stays
// within what the list holds.
struct Strona {
  const OpisRoli& r;
  Karta k;
  zelt::DomyslneKarty d = domyslne();

  explicit Strona(const OpisRoli& rola) : r(rola) { s() = zelt::nowyWpis(r, d); }
  ListaPodmiotow& l() { return k.*(r.lista); }
  StronaPodmiotu& s() { return k.*(r.strona); }
  std::vector<std::string> pozycje() {
    std::vector<std::string> v;
    for (const auto& w : l().wpisy) v.push_back(w.Nz);
    return v;
  }
  void niezmiennik() {
    const int n = static_cast<int>(l().wpisy.size());
    EXPECT_TRUE(l().indeks != 0 || n == 0) << "index 0 only while the list is empty";
    EXPECT_LE(l().indeks, std::min(n + 1, ListaPodmiotow::kMax));
    EXPECT_LE(n, ListaPodmiotow::kMax);
  }
  Strona& wpisz(const std::string& nz) { return krok([&] { zelt::zmienNazwe(r, l(), s(), nz); }); }
  Strona& dodaj() { return krok([&] { zelt::dodajWpis(r, l(), s(), d); }); }
  Strona& usun() { return krok([&] { zelt::usunWpis(r, l(), s(), d); }); }
  Strona& wybierz(int pozycja) { return krok([&] { zelt::wybierzWpis(r, l(), s(), pozycja); }); }
  Strona& numer(int j) { return krok([&] { zelt::wybierzNumerWpisu(r, l(), s(), d, j); }); }
  Strona& zapisz() { return krok([&] { zelt::zapiszPokazane(k); }); }
  // Names typed one after another with "Dodaj" between them: the list the user builds.
  Strona& lista(std::initializer_list<const char*> nazwy) {
    bool pierwsza = true;
    for (const char* n : nazwy) {
      if (!pierwsza) dodaj();
      wpisz(n);
      pierwsza = false;
    }
    return *this;
  }
  // A loaded card: the entries given, entry 1 shown.
  Strona& wczytaj(int ile) {
    for (int i = 0; i < ile; ++i) {
      TRekordPodmiotu w;
      w.Nz = std::string(1, static_cast<char>('A' + i));
      w.rolaPo = r.rola;
      l().wpisy.push_back(w);
    }
    l().indeks = 1;
    s() = zelt::pokazWpis(r, l().wpisy.front());
    return *this;
  }
  Strona& krok(const std::function<void()>& f) {
    f();
    niezmiennik();
    return *this;
  }
};

struct Sekwencja {
  const char* nazwa;
  std::function<void(Strona&)> kroki;
  std::vector<std::string> pozycje;
  int indeks;
  const char* pokazana;  // nullptr: the new entry's defaults
  bool dodaj, usun;
  std::function<void(Strona&)> dalej = {};
};

const OpisRoli* const kRole[] = {&zelt::kRolaDysponenta, &zelt::kRolaWImieniu, &zelt::kRolaBeneficjenta};

TEST(PartyLists, SequencesForEachRole) {
  const Sekwencja sekwencje[] = {
      {"a name typed on an empty page", [](Strona& t) { t.wpisz("A"); }, {"A"}, 1, "A", true, true},
      {"then Dodaj", [](Strona& t) { t.wpisz("A").dodaj(); }, {"A", ""}, 2, nullptr, true, true},
      {"then Dodaj again", [](Strona& t) { t.wpisz("A").dodaj().dodaj().dodaj(); }, {"A", ""}, 2, nullptr, true,
       true},
      {"A chosen, then Dodaj", [](Strona& t) { t.wpisz("A").dodaj().wybierz(0).dodaj(); }, {"A", ""}, 1, "A", true,
       true},
      {"Dodaj on an empty page", [](Strona& t) { t.dodaj().dodaj(); }, {}, 0, nullptr, true, false},
      {"[A,B] on B, town changed, A chosen",
       [](Strona& t) {
         t.lista({"A", "B"});
         t.s().pola.AdrM = "Radom";
         t.wybierz(0);
       },
       {"A", "B"}, 1, "A", true, true, [](Strona& t) { EXPECT_EQ(t.l().wpisy[1].AdrM, "Radom"); }},
      {"a loaded [A,B,C], Dodaj, D typed, stored", [](Strona& t) { t.wczytaj(3).dodaj().wpisz("D").zapisz(); },
       {"A", "B", "C", "D"}, 4, "D", true, true},
      {"[A,B,C], Usuń on C", [](Strona& t) { t.lista({"A", "B", "C"}).usun(); }, {"A", "B"}, 2, "B", true, true},
      {"then Dodaj, stored", [](Strona& t) { t.lista({"A", "B", "C"}).usun().dodaj().zapisz(); }, {"A", "B", ""}, 3,
       nullptr, true, true},
      {"[A,B,C], Usuń on B", [](Strona& t) { t.lista({"A", "B", "C"}).wybierz(1).usun(); }, {"A", "C"}, 2, "C", true,
       true},
      {"[A,B] on A, entry 4 selected", [](Strona& t) { t.lista({"A", "B"}).wybierz(0).numer(4); }, {"A", "B"}, 3,
       nullptr, true, true},
      {"entry 4 selected, then a name typed", [](Strona& t) { t.lista({"A", "B"}).numer(4).wpisz("E"); },
       {"A", "B", "E"}, 3, "E", true, true},
      {"entry 2 of [A,B,C] selected", [](Strona& t) { t.lista({"A", "B", "C"}).numer(2); }, {"A", "B", "C"}, 2, "B",
       true, true},
      {"Usuń on the only entry", [](Strona& t) { t.wpisz("A").usun(); }, {}, 0, nullptr, true, false},
      {"a listed name emptied, stored", [](Strona& t) { t.lista({"A", "B"}).wpisz("").zapisz(); }, {"A", "B"}, 2, "",
       true, true},
      {"a card of 25 entries loaded", [](Strona& t) { t.wczytaj(25).dodaj(); }, std::vector<std::string>(), 1, "A",
       false, true, [](Strona& t) {
         EXPECT_EQ(t.l().wpisy.size(), 25u) << "Dodaj on a full list adds nothing";
         t.usun();
         EXPECT_TRUE(zelt::moznaDodac(t.l())) << "on after Usuń";
         EXPECT_EQ(t.l().wpisy.size(), 24u);
         EXPECT_EQ(t.s().pola.Nz, "B");
       }},
  };
  for (const OpisRoli* r : kRole) {
    for (const auto& q : sekwencje) {
      SCOPED_TRACE(std::string("role ") + std::to_string(r->rola) + ": " + q.nazwa);
      Strona t(*r);
      q.kroki(t);
      if (!q.pozycje.empty() || q.indeks == 0) {
        EXPECT_EQ(t.pozycje(), q.pozycje);
      }
      EXPECT_EQ(t.l().indeks, q.indeks);
      if (q.pokazana) {
        EXPECT_EQ(t.s().pola.Nz, q.pokazana);
      } else {
        EXPECT_EQ(t.s().pola, zelt::nowyWpis(*r, t.d).pola) << "the new entry's defaults";
      }
      EXPECT_EQ(zelt::moznaDodac(t.l()), q.dodaj);
      EXPECT_EQ(zelt::moznaUsunac(t.l()), q.usun);
      for (const auto& w : t.l().wpisy) EXPECT_EQ(w.rolaPo, r->rola);
      if (std::find(q.pozycje.begin(), q.pozycje.end(), "C") == q.pozycje.end() && !q.pozycje.empty()) {
        for (const auto& w : t.l().wpisy) EXPECT_NE(w.Nz, "C") << "a removed entry survives in no slot";
      }
      if (q.dalej) q.dalej(t);
    }
  }
}

TEST(PartyLists, NewEntryDefaultsPerRole) {
  const auto d = domyslne();
  const StronaPodmiotu z = zelt::nowyWpis(zelt::kRolaDysponenta, d);
  EXPECT_EQ(z.pola.TypPo, 1);
  EXPECT_EQ(z.pola.Obyw, "PL");
  EXPECT_EQ(z.pola.AdrKr, "PL");
  EXPECT_EQ(z.pola.RodzDokTo, 2);
  EXPECT_EQ(z.pola.Nz, "");
  EXPECT_FALSE(z.uwTypPoWidoczna || z.uwRodzDokToWidoczna || z.uwObywWidoczna);
  for (const OpisRoli* r : {&zelt::kRolaWImieniu, &zelt::kRolaBeneficjenta}) {
    const StronaPodmiotu s = zelt::nowyWpis(*r, d);
    EXPECT_EQ(s.pola.TypPo, -1);
    EXPECT_EQ(s.pola.AdrKr, "PL");
    EXPECT_EQ(s.pola.Obyw, "");
    EXPECT_EQ(s.pola.RodzDokTo, -1);
    EXPECT_EQ(s.pola.rolaPo, r->rola);
  }
}

TRekordPodmiotu pelny() {
  TRekordPodmiotu w;
  w.TypPo = 7;
  w.Nz = "Nazwa";
  w.Obyw = "DE";
  w.AdrKr = "FR";
  w.AdrKod = "00-950";
  w.AdrM = "Miasto";
  w.AdrUl = "Ulica 1";
  w.NrPes = "44051401458";
  w.NrReg = "123456785";
  w.NrReS = "0000012345";
  w.NrSwt = "BREXPLPWXXX";
  w.Nip = "5260250274";
  w.RodzDokTo = 3;
  w.NrDokTo = "ABC123";
  w.uwTypPo = "uwaga typu";
  w.uwRodzDokTo = "uwaga dokumentu";
  w.uwObyw = "CZ";
  return w;
}

TEST(PartyLists, StoreAndShowPerRole) {
  // The ordering party's 18 fields go to the entry and come back.
  {
    Strona t(zelt::kRolaDysponenta);
    t.wpisz("Nazwa");
    t.s().pola = pelny();
    t.zapisz();
    TRekordPodmiotu oczekiwany = pelny();
    oczekiwany.rolaPo = TRekordPodmiotu::Dysponent;
    EXPECT_EQ(t.l().wpisy.at(0), oczekiwany);
    EXPECT_EQ(zelt::pokazWpis(t.r, t.l().wpisy[0]).pola, oczekiwany);
  }
  // The other two store 7 fields and leave the rest of a slot as it was.
  for (const OpisRoli* r : {&zelt::kRolaWImieniu, &zelt::kRolaBeneficjenta}) {
    Strona t(*r);
    t.wczytaj(1);
    t.l().wpisy[0].Nip = "stary";
    t.l().wpisy[0].RodzDokTo = 4;
    t.s().pola = pelny();
    t.zapisz();
    const TRekordPodmiotu& w = t.l().wpisy[0];
    EXPECT_EQ(w.TypPo, 7);
    EXPECT_EQ(w.Nz, "Nazwa");
    EXPECT_EQ(w.AdrKr, "FR");
    EXPECT_EQ(w.AdrKod, "00-950");
    EXPECT_EQ(w.AdrM, "Miasto");
    EXPECT_EQ(w.AdrUl, "Ulica 1");
    EXPECT_EQ(w.uwTypPo, "uwaga typu");
    EXPECT_EQ(w.Nip, "stary");
    EXPECT_EQ(w.RodzDokTo, 4);
    EXPECT_EQ(w.Obyw, "");
    EXPECT_EQ(w.uwObyw, "");
    EXPECT_EQ(w.rolaPo, r->rola);
  }
  // Texts are cut to what the record holds.
  for (const OpisRoli* r : kRole) {
    Strona t(*r);
    t.wpisz(std::string(200, 'N'));
    t.s().pola.AdrM = std::string(50, 'M');
    t.zapisz();
    EXPECT_EQ(t.l().wpisy[0].Nz, std::string(140, 'N'));
    EXPECT_EQ(t.l().wpisy[0].AdrM, std::string(35, 'M'));
  }
}

TEST(PartyLists, ShowSetsRemarkVisibilityBothWays) {
  TRekordPodmiotu z = pelny();
  z.TypPo = 0;
  z.RodzDokTo = 0;
  TRekordPodmiotu bez = pelny();
  bez.uwObyw.clear();
  struct Case {
    const OpisRoli* r;
    const TRekordPodmiotu* w;
    bool typ, dok, obyw;
  };
  const Case cases[] = {
      {&zelt::kRolaDysponenta, &z, true, true, true},       {&zelt::kRolaDysponenta, &bez, false, false, false},
      {&zelt::kRolaWImieniu, &z, true, false, false},       {&zelt::kRolaWImieniu, &bez, false, false, false},
      {&zelt::kRolaBeneficjenta, &z, true, false, false},   {&zelt::kRolaBeneficjenta, &bez, false, false, false},
  };
  for (const auto& c : cases) {
    Strona t(*c.r);
    t.wczytaj(2);
    t.l().wpisy[1] = *c.w;
    // The shown entry had every remark up: showing the other one sets each as its codes say.
    t.s().uwTypPoWidoczna = t.s().uwRodzDokToWidoczna = t.s().uwObywWidoczna = !c.typ;
    t.wybierz(1);
    EXPECT_EQ(t.s().uwTypPoWidoczna, c.typ) << int(c.r->rola);
    EXPECT_EQ(t.s().uwRodzDokToWidoczna, c.dok) << int(c.r->rola);
    EXPECT_EQ(t.s().uwObywWidoczna, c.obyw) << int(c.r->rola);
  }
}

TEST(PartyLists, NamelessEntriesRemoved) {
  struct Case {
    const char* nazwa;
    std::vector<std::string> przed;
    std::vector<int> usuniete;
    std::vector<std::string> po;
  };
  const Case cases[] = {
      {"entries 1 and 3 named", {"A", "", "C"}, {2}, {"A", "C"}},
      {"two in a row and the last", {"", "", "C", ""}, {1, 1, 2}, {"C"}},
      {"all named", {"A", "B"}, {}, {"A", "B"}},
      {"none named", {"", ""}, {1, 1}, {}},
  };
  for (const OpisRoli* r : kRole) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.nazwa);
      Strona t(*r);
      for (const auto& n : c.przed) {
        TRekordPodmiotu w;
        w.Nz = n;
        t.l().wpisy.push_back(w);
      }
      t.l().indeks = static_cast<int>(c.przed.size());
      EXPECT_EQ(zelt::usunBezNazw(*r, t.l(), t.s(), t.d), c.usuniete);
      EXPECT_EQ(t.pozycje(), c.po);
      t.niezmiennik();
      EXPECT_EQ(t.l().indeks, c.po.empty() ? 0 : 1);
      EXPECT_EQ(t.s().pola.Nz, c.po.empty() ? std::string() : c.po.front());
    }
  }
}

}  // namespace

namespace {

TEST(PartyLists, RecordForTheParties) {
  Strona t(zelt::kRolaDysponenta);
  t.s().pola = pelny();
  t.s().pola.TypPo = 5;
  t.s().pola.RodzDokTo = 0;
  // The type remark was typed but its edit is hidden (type 5); the document remark is shown.
  t.s().uwTypPoWidoczna = false;
  t.s().uwRodzDokToWidoczna = true;
  t.s().uwObywWidoczna = false;
  const TRekordPodmiotu w = zelt::rekordNaListe(t.r, t.s());
  TRekordPodmiotu oczekiwany = pelny();
  oczekiwany.TypPo = 5;
  oczekiwany.RodzDokTo = 0;
  oczekiwany.uwTypPo = "";
  oczekiwany.rolaPo = TRekordPodmiotu::Dysponent;
  EXPECT_EQ(w, oczekiwany) << "document remark and second citizenship kept";
  t.s().uwRodzDokToWidoczna = false;
  EXPECT_EQ(zelt::rekordNaListe(t.r, t.s()).uwRodzDokTo, "");
}

TEST(PartyLists, PartyEditorPreset) {
  for (const OpisRoli* r : {&zelt::kRolaWImieniu, &zelt::kRolaBeneficjenta}) {
    for (int typ : {0, 4}) {
      StronaPodmiotu s = zelt::pokazWpis(*r, pelny());
      s.pola.TypPo = typ;
      const StronaPodmiotu e = zelt::ustawienieEdytoraPodmiotu(*r, s, domyslne());
      EXPECT_EQ(e.pola.TypPo, typ);
      EXPECT_EQ(e.uwTypPoWidoczna, typ == 0);
      EXPECT_EQ(e.pola.uwTypPo, typ == 0 ? "uwaga typu" : "");
      EXPECT_EQ(e.pola.Nz, "Nazwa");
      EXPECT_EQ(e.pola.Obyw, "FR") << "citizenship := country";
      EXPECT_EQ(e.pola.AdrKr, "FR");
      EXPECT_EQ(e.pola.AdrKod, "00-950");
      EXPECT_EQ(e.pola.AdrM, "Miasto");
      EXPECT_EQ(e.pola.AdrUl, "Ulica 1");
      EXPECT_EQ(e.pola.NrPes + e.pola.NrReg + e.pola.NrReS + e.pola.NrSwt + e.pola.Nip, "") << "numbers empty";
      EXPECT_EQ(e.pola.RodzDokTo, 2) << "the settings' document";
      EXPECT_EQ(e.pola.NrDokTo + e.pola.uwRodzDokTo + e.pola.uwObyw, "");
    }
  }
}

TEST(PartyLists, RecordTakenIntoAPage) {
  // A beneficiary record into the ordering page fills every field.
  {
    Strona t(zelt::kRolaDysponenta);
    TRekordPodmiotu w = pelny();
    w.TypPo = 0;
    w.rolaPo = TRekordPodmiotu::Beneficjent;
    zelt::przejmijPodmiot(t.r, t.l(), t.s(), w);
    w.rolaPo = TRekordPodmiotu::Dysponent;
    EXPECT_EQ(t.s().pola, w);
    EXPECT_TRUE(t.s().uwTypPoWidoczna);
    EXPECT_FALSE(t.s().uwRodzDokToWidoczna);
    EXPECT_TRUE(t.s().uwObywWidoczna);
    EXPECT_EQ(t.pozycje(), std::vector<std::string>{"Nazwa"}) << "the name became the entry's item";
  }
  // An ordering record into a beneficiary (or on-behalf) page fills its 7 fields.
  for (const OpisRoli* r : {&zelt::kRolaWImieniu, &zelt::kRolaBeneficjenta}) {
    Strona t(*r);
    t.lista({"A", "B"});
    TRekordPodmiotu w = pelny();
    w.TypPo = 0;
    w.rolaPo = TRekordPodmiotu::Dysponent;
    zelt::przejmijPodmiot(*r, t.l(), t.s(), w);
    const auto& p = t.s().pola;
    EXPECT_EQ(p.TypPo, 0);
    EXPECT_TRUE(t.s().uwTypPoWidoczna) << "remark shown for type 0";
    EXPECT_EQ(p.uwTypPo, "uwaga typu");
    EXPECT_EQ(p.Nz, "Nazwa");
    EXPECT_EQ(p.AdrKr, "FR");
    EXPECT_EQ(p.AdrKod, "00-950");
    EXPECT_EQ(p.AdrM, "Miasto");
    EXPECT_EQ(p.AdrUl, "Ulica 1");
    EXPECT_EQ(p.Nip, "") << "a field the page does not show is not taken";
    EXPECT_EQ(p.rolaPo, r->rola);
    EXPECT_EQ(t.pozycje(), (std::vector<std::string>{"A", "Nazwa"}));
  }
}

}  // namespace
