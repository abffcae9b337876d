#include "settings/weryfio.h"

#include <QDir>
#include <QFileInfo>
#include <set>

#include "platform/cp1250.h"
#include "platform/folders.h"

namespace zelt {

namespace {

const char* const kNiePuste = "Pole nie może być puste";
const char* const kNiePowinnoByc = "Pole nie powinno być puste";

struct Test {
  bool blad;  // else a warning
  const char* pole;
  const char* nazwa;
};

// Adds through the lists with the texts kept in UTF-8 here.
struct Uwagi {
  ListyWeryfikacji& l;
  void dodaj(bool blad, const char* pole, const std::string& nazwa, std::uint8_t nr, const char* tekst) {
    const std::string t = cp1250::fromUtf8(tekst);
    if (blad)
      l.dodajblad(pole, nazwa, nr, t);
    else
      l.dodajostrze(pole, nazwa, nr, t);
  }
  void puste(bool pusty, const Test& t) {
    if (pusty) dodaj(t.blad, t.pole, cp1250::fromUtf8(t.nazwa), 1, t.blad ? kNiePuste : kNiePowinnoByc);
  }
};

// A folder that exists passes; an empty text is an error; a missing folder is created with all
// folders above it.
void folder(Uwagi& u, const QString& sciezka, const char* pole, const char* nazwa) {
  if (!sciezka.isEmpty() && QFileInfo(sciezka).isDir()) return;
  const std::string n = cp1250::fromUtf8(nazwa);
  if (sciezka.isEmpty())
    u.dodaj(true, pole, n, 0, kNiePowinnoByc);
  else if (platform::makePrivatePath(sciezka))  // the register holds personal identity numbers
    u.dodaj(false, pole, n, 0, "Brak katalogu - utworzono");
  else
    u.dodaj(true, pole, n, 0, "Brak katalogu - utworzenie nie powiodło się");
}

}  // namespace

void weryfikujIO(const DaneIO& d, const JednostkiIO& j, ListyWeryfikacji& listy) {
  listy.przygotuj(0);
  Uwagi u{listy};
  const std::pair<const std::string&, Test> pola[] = {
      {d.nazIO, {true, "NazIO", "Nazwa instytucji obowiązanej"}},
      {d.KrIO, {true, "KrIO", "Adres - Kraj instytucji obowiązanej"}},
      {d.WoIO, {true, "WoIO", "Adres - Województwo instytucji obowiązanej"}},
      {d.PoIO, {true, "PoIO", "Adres - Powiat instytucji obowiązanej"}},
      {d.GmIO, {true, "GmIO", "Adres - Gmina instytucji obowiązanej"}},
      {d.KodIO, {true, "KodIO", "Adres - Kod pocztowy instytucji obowiązanej"}},
      {d.MieIO, {true, "MieIO", "Adres - Miejscowość instytucji obowiązanej"}},
      {d.UlIO, {false, "UliIO", "Adres - Ulica instytucji obowiązanej"}},
  };
  for (const auto& [tekst, t] : pola) u.puste(tekst.empty(), t);
  // The kind list cannot be typed into: no item chosen is no text.
  u.puste(d.RoIO < 0, {true, "RodIO", "Adres - Rodzaj instytucji obowiązanej"});
  const std::pair<const std::string&, Test> dalej[] = {
      {d.NrDIO, {false, "NrDIO", "Adres - Nr.domu instytucji obowiązanej"}},
      {d.os[0].im, {true, "ImOs1IO", "Imię osoby odpowiedzialnej"}},
      {d.os[0].na, {true, "NaOs1IO", "Nazwisko osoby odpowiedzialnej"}},
      {d.os[0].st, {true, "StOs1IO", "Stanowisko Służbowe osoby odpowiedzialnej"}},
      {d.os[0].te, {false, "TeOs1IO", "Telefon osoby odpowiedzialnej"}},
  };
  for (const auto& [tekst, t] : dalej) u.puste(tekst.empty(), t);

  // The numbers compared: the institution's own and every unit's before the one checked.
  std::set<long> numery;
  if (auto n = numerJednostki(d.numIO))
    numery.insert(*n);
  else
    u.dodaj(true, "NumIO", cp1250::fromUtf8("Numer instytucji obowiązanej"), 1, "Błędny numer jednostki");

  for (int w = 1; w <= j.RowCount() - 2; ++w) {
    if (!j.jestJednostka(w)) continue;
    const auto& k = j.wiersz(w);
    const std::string nazwaNumeru = cp1250::fromUtf8("Numer jednostki organizacyjnej") + k[kol::Num];
    if (auto n = numerJednostki(k[kol::Num])) {
      if (!numery.insert(*n).second) u.dodaj(true, "NumJe", nazwaNumeru, 1, "Numer nie może się powtarzać");
    } else {
      u.dodaj(true, "NumJe", nazwaNumeru, 1, "Błędny numer jednostki");
    }
    const std::pair<int, Test> kolumny[] = {
        {kol::Naz, {true, "NazJe", "Nazwa jednostki organizacyjnej"}},
        {kol::Woj, {true, "WojJe", "Adres - województwo jednostki organizacyjnej"}},
        {kol::Mie, {true, "MieJe", "Adres - miejscowość jednostki organizacyjnej"}},
        {kol::Kod, {true, "KodJe", "Adres - kod pocztowy jednostki organizacyjnej"}},
        {kol::Uli, {false, "UliJe", "Adres - ulica jednostki organizacyjnej"}},
        {kol::Tel, {false, "TelJe", "Telefon jednostki organizacyjnej"}},
    };
    for (const auto& [c, t] : kolumny) u.puste(k[static_cast<std::size_t>(c)].empty(), t);
  }

  folder(u, d.KatDan, "KatDan", "Katalog danych");
  folder(u, d.KatPod, "KatPod", "Katalog listy podmiotów");
  folder(u, d.KatEks, "KatEks", "Katalog eksportu plików");
}

}  // namespace zelt
