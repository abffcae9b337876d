#include "register/polecenia.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <set>
#include <string>

#include "grid/kgridmodel.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "register/rejestr.h"
#include "settings/kolumny.h"

namespace zelt {

std::vector<int> wybraneWiersze(const kgrid::TKGridModel& lista) {
  std::vector<int> w;
  if (lista.RowCount() == 0) return w;
  const kgrid::TGridRect s = lista.DataSelection();
  if (s.Top != s.Bottom && s.Top >= 0) {
    for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) w.push_back(r);
  } else if (lista.DataRow() >= 0) {
    w.push_back(lista.DataRow());
  }
  return w;
}

std::optional<std::int32_t> numerRekordu(const kgrid::TKGridModel& lista, int kolumnaLp, int wiersz) {
  if (kolumnaLp < 0 || kolumnaLp >= lista.ColCount() || wiersz < 0 || wiersz >= lista.RowCount()) return std::nullopt;
  const std::string t = lista.Cells(kolumnaLp, wiersz);
  if (t.empty() || t.size() > 9 || t[0] == '0') return std::nullopt;
  std::int32_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v - 1;
}

namespace {

void dodaj(Wybor& w, std::int32_t nr) {
  if (w.rekordy.size() < kMaxWybranych)
    w.rekordy.push_back(nr);
  else
    w.obciete = true;
}

}  // namespace

std::vector<std::int32_t> rekordyWierszy(const kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze) {
  std::vector<std::int32_t> r;
  for (int w : wiersze)
    if (auto nr = numerRekordu(lista, kolumnaLp, w)) r.push_back(*nr);
  return r;
}

Wybor tylkoWybrane(const kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze) {
  Wybor w;
  for (std::int32_t nr : rekordyWierszy(lista, kolumnaLp, wiersze)) dodaj(w, nr);
  return w;
}

std::optional<Wybor> zPowiazanymi(const QString& transakDat, const std::vector<std::int32_t>& wybrane) {
  PlikRejestru plik(transakDat);
  if (!plik.otworzDoOdczytu()) return std::nullopt;
  Wybor w;
  std::set<std::string> numery;
  for (std::int32_t nr : wybrane) {
    if (nr < 0 || nr >= plik.ilosc()) continue;
    std::string klucz = plik.czytaj(nr).nrEwT;
    if (numery.count(klucz)) continue;
    if (numery.size() == kMaxNumerowTransakcji) {
      // Nothing further can join: the rest of the chosen rows need not be read.
      w.obcieteNumery = true;
      break;
    }
    numery.insert(std::move(klucz));
  }
  if (numery.empty()) return w;
  plik.kazdy([&](qint64 r, const TRekordTransakcji& rec) {
    if (!rec.deleted() && numery.count(rec.nrEwT)) dodaj(w, static_cast<std::int32_t>(r));
  });
  return w;
}

std::optional<Wybor> bezLicznika(const QString& transakDat, Licznik licznik) {
  PlikRejestru plik(transakDat);
  if (!plik.otworzDoOdczytu()) return std::nullopt;
  Wybor w;
  plik.kazdy([&](qint64 r, const TRekordTransakcji& rec) {
    const int n = licznik == Licznik::Wydruki ? rec.ilWydrukow : rec.ilWyslan;
    if (!rec.deleted() && n == 0) dodaj(w, static_cast<std::int32_t>(r));
  });
  return w;
}

QString komunikatWyboru(const Wybor& w) {
  QStringList l;
  if (w.obcieteNumery)
    l << QString::fromUtf8("Wybrano więcej niż %1 numerów transakcji; uwzględniono pierwsze %1.").arg(kMaxNumerowTransakcji);
  if (w.obciete)
    l << QString::fromUtf8("Wybrano więcej niż %1 rekordów; przekazano pierwsze %1.").arg(kMaxWybranych);
  return l.join(QLatin1Char('\n'));
}

UsunieteWiersze::~UsunieteWiersze() {
  std::sort(w_.begin(), w_.end());
  w_.erase(std::unique(w_.begin(), w_.end()), w_.end());
  while (!w_.empty()) {
    int last = w_.back(), first = last;
    w_.pop_back();
    while (!w_.empty() && w_.back() == first - 1) first = w_.back(), w_.pop_back();
    lista_.DeleteRows(first, last);
    PlikRejestru::usunietoWiersze(transakDat_, first, last);
  }
}

int usunKarty(const QString& transakDat, kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze,
              platform::DialogDriver& dialogs) {
  if (wiersze.empty()) return 0;
  if (dialogs.ask(QString::fromUtf8("Czy napewno chcesz usunąć wskazane karty transakcji ?"),
                  platform::MsgButtons::OkCancel) != platform::IdOk)
    return 0;
  UsunieteWiersze usuniete(lista, transakDat);  // declared before the file: the rows go once it is closed
  PlikRejestru plik(transakDat);
  // Only a register that exists is changed; a delete never creates one. A register that has
  // vanished or cannot be written is shown with the system's reason, never passed over.
  if (!plik.otworzDoZmiany()) {
    dialogs.showMessage(komunikatOtwarcia(plik.blad()));
    return 0;
  }
  // Every chosen record is judged first; then all of them are marked in one change of the
  // register, all or nothing.
  std::vector<qint64> usuwane;
  std::vector<int> ichWiersze;
  for (int w : std::set<int>(wiersze.begin(), wiersze.end())) {
    const auto nr = numerRekordu(lista, kolumnaLp, w);
    if (!nr) continue;
    // A row whose record the file no longer holds is a read error: the command ends there.
    const TRekordTransakcji r = plik.czytaj(*nr);
    if (r.deleted() || std::find(usuwane.begin(), usuwane.end(), *nr) != usuwane.end()) continue;
    if (r.ilWydrukow != 0 || r.ilWyslan != 0) {
      dialogs.showMessage(QString::fromUtf8("Usunięcie po wydruku lub wysłaniu danych niemożliwe"));
      continue;
    }
    usuwane.push_back(*nr);
    ichWiersze.push_back(w);
  }
  plik.zmien({{}, usuwane, {}});
  for (int w : ichWiersze) usuniete.dodaj(w);
  return static_cast<int>(usuwane.size());
}

EtykietyAktywnejKolumny etykietyAktywnejKolumny(const DefinicjeKolumn& defs, std::string_view nazwaKolumny,
                                                const std::optional<std::string>& wartosc) {
  const TDefinicjaKolumny* d = nazwaKolumny.empty() ? nullptr : defs.poKodzie(nazwaKolumny);
  if (!d) return {};
  EtykietyAktywnejKolumny e;
  e.GrupaWys = "Grupa : " + tytulGrupy(d->grupa);
  if (wartosc) e.PoleWys = cp1250::fromUtf8("Wartość : ") + *wartosc;
  e.PoleWys += " ; Pole : " + std::to_string(d->nrPola) + ".-" + d->nazwa;
  return e;
}

QSize rozmiarListy(QSize okno) { return QSize(std::max(0, okno.width() - 8), std::max(0, okno.height() - 150)); }

}  // namespace zelt
