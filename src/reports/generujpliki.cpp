#include "reports/generujpliki.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <unordered_set>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "platform/wholefile.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wysylka.h"
#include "reports/raporttxt.h"
#include "reports/raportxml.h"
#include "settings/daneio.h"
#include "settings/firmaform.h"

namespace zelt {

int kategoria(const TRekordTransakcji& r) {
  if (r.deleted()) return 0;
  if (r.Status == 0) return 7;
  if (!r.kPdjrz.empty() && r.kPdjrz != "    ") return 1;
  if (r.kPwz == 1) return 2;
  const std::string_view grupa = std::string_view(r.kRodzTr).substr(0, 2);
  if (grupa == "01") return 4;
  if (grupa == "02") return 3;
  if (grupa == "06") return 5;
  return 6;
}

int pierwszyNumerDnia(std::int32_t licznik) {
  // Compared before the addition: a damaged counter file may hold the largest 32-bit number.
  return licznik >= kMaxNumerDnia ? kMaxNumerDnia + 1 : std::max(licznik, 0) + 1;
}

std::string nazwaPliku(int kategoria, int numer, std::string_view nazpli, int format) {
  char nn[8];
  std::snprintf(nn, sizeof nn, "%02d", numer);
  std::string nazwa(1, kLiteryKategorii[kategoria - 1]);
  nazwa += nn;
  nazwa += nazpli;
  nazwa += format == 0 ? ".txt" : ".xml";
  return nazwa;
}

bool poprawnaNazwaSkrotowa(std::string_view nazpli) {
  return std::all_of(nazpli.begin(), nazpli.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

const char* const kPytanie[] = {
    "Wśród wybranych do wysłania rekordów", "znajdują się rekordy już wysłane", "naciskając pomiń zostaną pominięte",
    "naciskając anuluj dane nie zostaną wysłane", "zmiany statusu rekordu można dokonać", "w edycji tego rekordu",
};

// A chosen record as pass 1 read it, kept for its file: it is read and decoded once.
struct DoWyslania {
  std::int32_t nr;
  int kategoria;
  TRekordTransakcji rekord;
};

bool istnieje(const QString& sciezka) {
  const QFileInfo f(sciezka);
  return f.exists() || f.isSymLink();
}

class Wysylka {
 public:
  Wysylka(Program& program, const DaneIO& dane)
      : p_(program), okno_(*program.wysylka()), dane_(dane), xml_(dane.Format != 0) {}

  // Steps up to the last file; false when the question was not answered "Pomiń". When no number
  // of the day is free, the refusal is shown and the files written so far stand: the send ends
  // with its final report as after the last file. Errors are thrown.
  bool wykonaj(const std::vector<std::int32_t>& numery) {
    PlikRejestru plik(p_.transakDat());
    if (!plik.otworzDoZmiany()) throw platform::IoError(plik.bladOtwarcia().toStdString());
    okno_.dodaj(u("Rekordów do wysłania ") + QString::number(numery.size()));

    // Pass 1: each chosen record once, kept in the order chosen.
    std::vector<DoWyslania> doWyslania;
    doWyslania.reserve(numery.size());
    std::unordered_set<std::int32_t> widziane;
    widziane.reserve(numery.size());
    bool wyslane = false;
    // The record read last becomes the current record, as reading each into it would leave it.
    TRekordTransakcji pominiety;
    bool przeczytany = false, ostatniWyslany = false;
    for (const std::int32_t nr : numery) {
      if (!widziane.insert(nr).second) continue;
      const auto bajty = plik.czytajBajty(nr);
      // Decoded where it is kept: a record holds a hundred strings, each move of it costs.
      DoWyslania& d = doWyslania.emplace_back();
      d.nr = nr;
      d.rekord = TRekordTransakcji::decode(bajty.data());
      d.kategoria = kategoria(d.rekord);
      przeczytany = true;
      ostatniWyslany = d.kategoria != 0 && d.rekord.ilWyslan == 0;
      if (ostatniWyslany) continue;
      if (d.kategoria != 0) wyslane = true;
      pominiety = std::move(d.rekord);
      doWyslania.pop_back();
    }
    if (przeczytany) p_.aktualnyRekord = ostatniWyslany ? doWyslania.back().rekord : std::move(pominiety);

    if (wyslane && !pytanie()) return false;

    if (xml_) atrybuty_ = atrybutyWykazu(p_.svc.reg);
    std::vector<const DoWyslania*> lista;
    for (int k = 1; k <= kIloscKategorii; ++k) {
      lista.clear();
      for (const DoWyslania& d : doWyslania)
        if (d.kategoria == k) lista.push_back(&d);
      if (!lista.empty() && !plikKategorii(k, lista, plik)) break;
    }
    return true;
  }

 private:
  // The records already sent: "Pomiń" goes on without them, anything else stops.
  bool pytanie() {
    for (const char* linia : kPytanie) okno_.dodaj(u(linia));
    okno_.Anuluj->setVisible(true);
    okno_.pomin->setVisible(true);
    okno_.hide();
    const int wynik = p_.svc.dialogs.showModal(okno_);
    okno_.Anuluj->setVisible(false);
    okno_.pomin->setVisible(false);
    if (wynik != TWysylka::kPomin) return false;
    okno_.show();
    okno_.repaint();
    return true;
  }

  // One category's file, whole, then its records' marks, then the number of the day; false, after
  // the refusal is shown, when the day has no number left.
  bool plikKategorii(int k, const std::vector<const DoWyslania*>& lista, PlikRejestru& plik) {
    // One reading of the clock names the file, dates its header and picks the counter's day.
    const QDateTime czas = p_.svc.clock.now();
    const QDate dzien = czas.date();
    NumeracjaDzienna& numeracja = p_.numeracjaDzienna;
    numeracja.czytajNumeracje(dzien.year());
    std::int32_t& licznik = numeracja.licznik(dzien.day(), dzien.month());

    // The next number of the day whose name no file has yet.
    int numer = pierwszyNumerDnia(licznik);
    std::string nazwa;
    QString sciezka;
    for (;; ++numer) {
      if (numer > kMaxNumerDnia) {
        okno_.hide();
        p_.svc.dialogs.showMessage(u("Brak wolnego numeru pliku na dziś (01-99) - pozostałe rekordy nie zostały wysłane"));
        return false;
      }
      nazwa = nazwaPliku(k, numer, dane_.NazPli, dane_.Format);
      sciezka = p_.KatEks + QLatin1Char('/') + QString::fromLatin1(nazwa.data(), qsizetype(nazwa.size()));
      if (!istnieje(sciezka)) break;
    }
    okno_.dodaj(u("Generowanie pliku ") + QString::fromLatin1(nazwa.data(), qsizetype(nazwa.size())));

    const auto ilosc = static_cast<std::int32_t>(lista.size());
    std::string tresc;
    tresc.reserve(lista.size() * (xml_ ? 2048 : 640) + 512);
    tresc = xml_ ? deklaracjaXml() + poczatekWykazuWysylki(atrybuty_, dane_.NIPIO, ilosc, czas)
                 : naglowekTxt(czas, dane_.NIPIO);
    for (const DoWyslania* d : lista)
      tresc += xml_ ? generujxml(d->rekord, p_.listyKarty) : generujtxt(d->rekord, p_.listyKarty);
    tresc += xml_ ? koniecWykazu() : stopkaTxt(ilosc);
    platform::writeWholeFile(sciezka, tresc, platform::WriteMode::CreateOnly);

    // The file is whole under its name: now its records count as sent. The sent count is the
    // only byte written: whatever else the record holds stays as stored.
    std::vector<qint64> numery;
    numery.reserve(lista.size());
    for (const DoWyslania* d : lista) numery.push_back(d->nr);
    const char wyslany = 1;
    plik.zapiszPole(numery, TRekordTransakcji::kOffsetIlWyslan, &wyslany, 1);
    p_.aktualnyRekord = lista.back()->rekord;
    p_.aktualnyRekord.ilWyslan = 1;
    licznik = numer;
    numeracja.zapiszNumeracje();
    return true;
  }

  Program& p_;
  TWysylka& okno_;
  const DaneIO& dane_;
  const bool xml_;
  AtrybutyWykazu atrybuty_;
};

}  // namespace

void generujPliki(Program& program, const std::vector<std::int32_t>& numery) {
  TWysylka* okno = program.wysylka();
  TFirmaForm* firma = program.firma();
  if (!okno || !firma) return;
  auto& dialogi = program.svc.dialogs;
  const DaneIO dane = firma->dane();
  // A name another tool stored may hold a folder separator or a wildcard.
  if (!poprawnaNazwaSkrotowa(dane.NazPli)) {
    dialogi.showMessage(u("Błędna nazwa skrótowa dla nazw plików - popraw dane instytucji"));
    return;
  }

  okno->wyczysc();
  okno->show();
  okno->repaint();
  try {
    if (!Wysylka(program, dane).wykonaj(numery)) return;
  } catch (...) {
    okno->hide();
    platform::reportException(dialogi, std::current_exception());
    return;
  }
  okno->dodaj(u("Zakończono generowanie plików"));
  okno->hide();
  okno->Wyslij->setVisible(true);
  dialogi.showModal(*okno);
}

}  // namespace zelt
