// The card's load, check and save over a small register made from the bytes: "&Edytuj" on one of
// a few records, then "&Zapisz" with nothing changed, the verification dialog confirmed. The
// bytes before and after the save are compared here, record by record and field by field:
//   - a record that is not the card's (another number, or deleted) keeps every byte;
//   - records are appended only for the card, live and under its number;
//   - a surplus record of the card changes in its four Status bytes alone (to 99), or not at all
//     when it was printed or sent;
//   - a stored value of the card's records that the save does not write back (a field now
//     different where something was stored; not Wprow, not the check's counts, not the zeros the
//     check puts in front of the transaction and unit numbers, nor bytes past a text's end)
//     must have raised the check's warning on that record before the save, as must a record the
//     save marks deleted; and no record gets a warning that the save then proves wrong. The
//     warnings' list keeps no record numbers: the check's verdict per record (utratyZapisu, as
//     the check asks it) is taken, and the list must end with exactly its warnings in record
//     order. The save's own account of a record's lost fields (niezapisanePola) must name the
//     fields found here.
// The load itself must gather exactly the live records that carry the chosen record's number.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/packed.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/weryfikacjakarty.h"
#include "register/zapiskarty.h"
#include "karty.h"
#include "wspolne.h"

using namespace zeltfuzz;
using zelt::TRekordTransakcji;

namespace {

constexpr std::size_t kRekord = TRekordTransakcji::kSize;
constexpr std::size_t kStatus = TRekordTransakcji::kOffsetStatus;

// The fields as stored: the texts of the record's table, then the 32-bit numbers, the two dates
// and the four count bytes.
struct Pole {
  const char* nazwa;
  std::size_t od, dlugosc;
  bool tekst;
};
std::vector<Pole> budujPola() {
  std::vector<Pole> p;
  for (const zelt::PoleRekordu& t : zelt::polaTekstowe()) p.push_back({t.name, t.offset, t.capacity, true});
  const Pole reszta[] = {{"Status", kStatus, 4, false},   {"kPwz", 65, 4, false},       {"spDysp", 74, 4, false},
                         {"zTypPo", 175, 4, false},       {"zRodzDokTo", 469, 4, false}, {"pTypPo", 499, 4, false},
                         {"bTypPo", 730, 4, false},       {"rejDat", 39, 8, false},      {"tDat", 91, 8, false},
                         {"ilWydrukow", 3379, 1, false},  {"ilOstrzezen", 3380, 1, false}, {"ilBledow", 3381, 1, false},
                         {"ilWyslan", 3382, 1, false}};
  for (const Pole& x : reszta) p.push_back(x);
  return p;
}
const std::vector<Pole>& pola() {
  static const std::vector<Pole> p = budujPola();
  return p;
}

std::string_view tekst(std::string_view rekord, const Pole& p) {
  const std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(rekord[p.od]), p.dlugosc);
  return rekord.substr(p.od + 1, n);
}
std::string_view wartosc(std::string_view rekord, const Pole& p) {
  return p.tekst ? tekst(rekord, p) : rekord.substr(p.od, p.dlugosc);
}
const Pole& pole(std::string_view nazwa) {
  for (const Pole& p : pola())
    if (nazwa == p.nazwa) return p;
  naruszenie(__FILE__, __LINE__, "field", std::string(nazwa));
}

bool zywy(std::string_view r) { return packed::getI32(r.data(), kStatus) != TRekordTransakcji::kDeleted; }

// `po` is `przed` with zeros put in front (the check's padding of a number).
bool uzupelnionyZerami(std::string_view przed, std::string_view po) {
  return po.size() >= przed.size() && po.substr(po.size() - przed.size()) == przed &&
         po.substr(0, po.size() - przed.size()).find_first_not_of('0') == std::string_view::npos;
}

// Nothing stored: an empty text, a code or index of -1, a print or send count of 0. Writing
// something there erases nothing.
bool nicNieZapisano(const Pole& p, std::string_view v) {
  if (p.tekst) return v.empty();
  if (p.dlugosc == 4) return v == std::string_view("\xFF\xFF\xFF\xFF", 4);
  if (p.dlugosc == 1) return v[0] == 0;
  return false;  // a date is always data
}

// The stored values of `przed` that `po` does not carry, by field name.
std::vector<std::string> utracone(std::string_view przed, std::string_view po) {
  std::vector<std::string> u;
  for (const Pole& p : pola()) {
    const std::string_view a = wartosc(przed, p), b = wartosc(po, p);
    if (a == b || nicNieZapisano(p, a)) continue;
    const std::string_view n = p.nazwa;
    if (n == "Wprow" || n == "ilBledow" || n == "ilOstrzezen") continue;
    if ((n == "nrEwT" || n == "jedIO") && uzupelnionyZerami(a, b)) continue;
    u.emplace_back(n);
  }
  return u;
}

// ---- the register from the bytes

// The register's records start as a card of the program's own making and another card.
std::array<std::string, 3> wzory() {
  std::array<std::string, 3> w;
  const auto karty = przykladoweKarty();
  for (std::size_t i = 0; i < 3; ++i) {
    const auto bytes = karty[i].encode();
    w[i].assign(bytes.data(), bytes.size());
  }
  return w;
}

class Czytnik {
 public:
  explicit Czytnik(std::string_view d) : d_(d) {}
  bool koniec() const { return d_.empty(); }
  std::uint8_t bajt() {
    if (d_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(d_.front());
    d_.remove_prefix(1);
    return b;
  }
  std::string_view bajty(std::size_t n) {
    const std::string_view b = d_.substr(0, n);
    d_.remove_prefix(b.size());
    return b;
  }

 private:
  std::string_view d_;
};

// The first byte: how many records (1..6); the second: the one "&Edytuj" opens; the third: which
// records get that record's number (a bit each). Then edits, each a record and a field: a text
// (its length byte as given, its characters), a number (a signed byte), a date (days from 2025-01-01),
// a count, or any bytes at any offset.
struct Rejestr {
  std::vector<std::string> rekordy;
  std::size_t wskazany = 0;
};

Rejestr rejestr(std::string_view dane) {
  static const auto w = wzory();
  Czytnik c(dane);
  Rejestr r;
  const std::size_t ile = 1 + c.bajt() % 6;
  r.wskazany = c.bajt() % ile;
  const std::uint8_t maska = c.bajt();
  for (std::size_t i = 0; i < ile; ++i) r.rekordy.push_back(w[i % w.size()]);
  while (!c.koniec()) {
    std::string& rek = r.rekordy[c.bajt() % ile];
    const std::size_t f = c.bajt();
    if (f < pola().size()) {
      const Pole& p = pola()[f];
      if (p.tekst) {
        const std::uint8_t dl = c.bajt();
        rek[p.od] = static_cast<char>(dl);
        const std::string_view t = c.bajty(std::min<std::size_t>(dl, p.dlugosc));
        std::memcpy(rek.data() + p.od + 1, t.data(), t.size());
      } else if (p.dlugosc == 4) {
        packed::putI32(rek.data(), p.od, static_cast<std::int8_t>(c.bajt()));
      } else if (p.dlugosc == 8) {
        packed::putF64(rek.data(), p.od, kDzienKart + static_cast<std::int8_t>(c.bajt()));
      } else {
        rek[p.od] = static_cast<char>(c.bajt());
      }
    } else {
      const std::size_t od = (std::size_t(c.bajt()) << 8 | c.bajt()) % kRekord;
      const std::string_view b = c.bajty(std::min<std::size_t>(1 + c.bajt() % 16, kRekord - od));
      std::memcpy(rek.data() + od, b.data(), b.size());
    }
  }
  const Pole& numer = pole("nrEwT");
  for (std::size_t i = 0; i < ile; ++i)
    if (maska >> i & 1)
      std::memcpy(r.rekordy[i].data() + numer.od, r.rekordy[r.wskazany].data() + numer.od, numer.dlugosc + 1);
  return r;
}

// ---- the program

struct Swiat {
  platform::RegistryStore reg{katalogRoboczy() + QStringLiteral("/registry.txt")};
  platform::ScriptedDialogs dialogs;
  platform::FixedClock clock{QDateTime(QDate(2025, 1, 10), QTime(12, 0))};
  platform::RecordingShell shell{katalogRoboczy()};
  platform::FixedPrinters printers;
  zelt::Program program{zelt::Services{reg, dialogs, clock, shell, printers}};
  Swiat() {
    dialogs.onFailure = [](const QString&) {};  // messages of the save are not this target's
    program.KatDan = katalogRoboczy();
  }
};

std::string w1250(const char* utf8) { return cp1250::fromUtf8(utf8); }

std::string nr(std::size_t i) { return "record " + std::to_string(i + 1) + " of the card"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  static Swiat s;
  static const std::string kDaneRekordu = w1250("Zapis usunie dane rekordu, których karta nie pokazuje");
  static const std::string kRekordUsuniety = w1250("Zapis usunie rekord");
  static const std::string kNazwaNumeru = w1250("Numer ewidencyjny transakcji");
  zelt::Program& p = s.program;
  const Rejestr rj = rejestr(bajty(dane, rozmiar));
  std::string przed;
  for (const auto& r : rj.rekordy) przed += r;
  const QString plik = p.transakDat();
  zapiszPlik(plik, przed);

  // The card as the bytes hold it: the live records with the chosen record's number, in order.
  std::vector<std::size_t> karta;
  const Pole& numer = pole("nrEwT");
  const std::string_view wskazany = rj.rekordy[rj.wskazany];
  if (zywy(wskazany))
    for (std::size_t j = 0; j < rj.rekordy.size(); ++j)
      if (zywy(rj.rekordy[j]) && tekst(rj.rekordy[j], numer) == tekst(wskazany, numer)) karta.push_back(j);

  s.dialogs.clear();
  p.czyscKarte();
  p.trybKarty = 0;
  std::int32_t n = static_cast<std::int32_t>(rj.wskazany);
  const zelt::Wczytanie w = zelt::wczytajKarte(p, n, nullptr);
  if (karta.empty()) {
    WYMAGANE(w == zelt::Wczytanie::BrakRekordu, "a deleted record was loaded as a card");
    return 0;
  }
  WYMAGANE(w == zelt::Wczytanie::Wczytana, "the chosen live record was not loaded");
  WYMAGANE(p.rekordyKarty.k == static_cast<int>(karta.size()), "the load gathered " +
                                                                   std::to_string(p.rekordyKarty.k) + " of " +
                                                                   std::to_string(karta.size()) + " records");
  for (std::size_t i = 0; i < karta.size(); ++i)
    WYMAGANE(p.rekordyKarty.r[i + 1].nrRekordu == static_cast<std::int32_t>(karta[i]), nr(i) + " is another record");

  p.trybKarty = 0;
  zelt::zapiszPokazane(p.karta);
  const zelt::WynikWeryfikacji wynik = zelt::weryfikacja(p);
  WYMAGANE(czytajPlik(plik) == przed, "the check changed the register");
  // The check's verdict per record, as it gave its warnings: after every other finding, one for
  // each record that loses something, in record order. The list keeps no record numbers, so the
  // verdict is asked again of the function the check asks, and the list's tail must say the same.
  std::vector<TRekordTransakcji> zapisane;
  for (std::size_t j : karta) zapisane.push_back(TRekordTransakcji::decode(rj.rekordy[j].data()));
  const std::vector<zelt::Utrata> werdykt =
      zelt::utratyZapisu(p.karta, p.rekordyKarty, p.licznikiRekordow, zapisane, zelt::slownikiKarty(p).domyslne);
  WYMAGANE(werdykt.size() == karta.size(), "a verdict on " + std::to_string(werdykt.size()) + " records");
  std::vector<std::string> oczekiwane;
  for (zelt::Utrata u : werdykt)
    if (u != zelt::Utrata::Brak) oczekiwane.push_back(u == zelt::Utrata::Dane ? kDaneRekordu : kRekordUsuniety);
  const auto& ostrz = p.listyWer.ostrze();
  WYMAGANE(ostrz.size() >= oczekiwane.size(), "fewer warnings than records losing data");
  for (std::size_t j = 0; j < ostrz.size(); ++j) {
    const zelt::Uwaga& u = ostrz[j];
    const std::size_t od = ostrz.size() - oczekiwane.size();
    const bool utraty = u.tekst == kDaneRekordu || u.tekst == kRekordUsuniety;
    if (j < od) {
      WYMAGANE(!utraty, "a warning of a loss before the check's other findings");
      continue;
    }
    WYMAGANE(u.pole == "01" && u.nazwa == kNazwaNumeru && u.tekst == oczekiwane[j - od],
             "warning " + std::to_string(j + 1) + " is not the loss of the record it stands for");
  }
  if (wynik.blokuje) return 0;  // the dialog lets nothing be saved

  const zelt::Zapis z = zelt::zapiszKarte(p, zelt::NumeracjaEwidencyjna{}, wynik.numeryDnia, nullptr);
  WYMAGANE(z == zelt::Zapis::Zapisano, "the save failed: " + std::to_string(static_cast<int>(z)));
  const std::string po = czytajPlik(plik);

  WYMAGANE(po.size() >= przed.size() && (po.size() - przed.size()) % kRekord == 0,
           "the register went from " + std::to_string(przed.size()) + " to " + std::to_string(po.size()) + " bytes");
  const std::size_t zapisanych = static_cast<std::size_t>(p.rekordyKarty.k);
  const std::size_t dopisanych = (po.size() - przed.size()) / kRekord;
  WYMAGANE(dopisanych == (zapisanych > karta.size() ? zapisanych - karta.size() : 0),
           std::to_string(dopisanych) + " records appended for a card of " + std::to_string(zapisanych) + " saved over " +
               std::to_string(karta.size()));
  const auto rekordPo = [&](std::size_t j) { return std::string_view(po).substr(j * kRekord, kRekord); };
  const std::string_view numerKarty = tekst(rekordPo(karta.front()), numer);

  for (std::size_t j = 0; j < rj.rekordy.size(); ++j)
    if (std::find(karta.begin(), karta.end(), j) == karta.end())
      WYMAGANE(rekordPo(j) == rj.rekordy[j], "record " + std::to_string(j) + " of the register is not the card's and changed");
  for (std::size_t j = rj.rekordy.size(); j < rj.rekordy.size() + dopisanych; ++j)
    WYMAGANE(zywy(rekordPo(j)) && tekst(rekordPo(j), numer) == numerKarty,
             "appended record " + std::to_string(j) + " is not a live record of the card");

  // Each record of the card against the check's verdict on it, both ways: a warning stands for a
  // loss, and the save's own account of what it did not write back agrees with this one.
  for (std::size_t i = 0; i < karta.size(); ++i) {
    const std::string_view a = rj.rekordy[karta[i]], b = rekordPo(karta[i]);
    const zelt::Utrata u = werdykt[i];
    if (i >= zapisanych) {
      std::string usuniety(a);
      packed::putI32(usuniety.data(), kStatus, TRekordTransakcji::kDeleted);
      const bool wydrukowany = a[3379] != 0 || a[3382] != 0;
      WYMAGANE(b == (wydrukowany ? std::string(a) : usuniety),
               nr(i) + (wydrukowany ? ", printed or sent, changed" : " is surplus and changed beyond its Status"));
      WYMAGANE((u == zelt::Utrata::Rekord) == !wydrukowany,
               nr(i) + (wydrukowany ? " stays, yet was warned of as deleted" : " was marked deleted without the check's warning"));
      continue;
    }
    WYMAGANE(zywy(b) && tekst(b, numer) == numerKarty, nr(i) + " is no longer a live record of the card");
    WYMAGANE(u != zelt::Utrata::Rekord, nr(i) + " was rewritten, yet warned of as deleted");
    const std::vector<std::string> lost = utracone(a, b);
    std::string ktore;
    for (const auto& x : lost) ktore += " " + x;
    WYMAGANE((u == zelt::Utrata::Dane) == !lost.empty(),
             nr(i) + (lost.empty() ? " lost nothing, yet was warned of" : " lost, without the check's warning:" + ktore));
    std::set<std::string> wedlugZapisu;
    std::string opis;
    for (std::string_view x : zelt::niezapisanePola(TRekordTransakcji::decode(a.data()), TRekordTransakcji::decode(b.data()))) {
      wedlugZapisu.emplace(x);
      opis += " " + std::string(x);
    }
    WYMAGANE(wedlugZapisu == std::set<std::string>(lost.begin(), lost.end()),
             nr(i) + " lost" + ktore + "; the save's own account:" + opis);
  }
  return 0;
}
