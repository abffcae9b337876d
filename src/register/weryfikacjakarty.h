#pragma once
// The card check: the open card against the reporting rules, before a save and on "&Weryfikuj".
// It never refuses anything itself; the findings go to the verification lists, counted against
// the card's records, and the caller shows them. On the way it tidies the card: the transaction
// and unit numbers get their leading zeros, fields 15 and 16 are emptied outside an exchange of
// currency, and party entries without a name are removed.
//
// All texts are Windows-1250 bytes.
#include <QString>
#include <string>
#include <vector>

#include "settings/konfigform.h"
#include "settings/slownik.h"

namespace zelt {

class Program;
struct Karta;
struct RekordyKarty;
class ListyWeryfikacji;

// What the codes of a card are checked against: the pickers' lists and the editor's list of
// suspicious-transaction codes, and the numbering switches that shape a new card's suffix.
struct SlownikiKarty {
  Slownik kraje, waluty, podejrzane;
  int kategorii = 0, tytulow = 0;  // kind codes: category 1..kategorii, title 0..tytulow - 1
  NumeracjaEwidencyjna numeracja;
  DomyslneKarty domyslne;  // what a list emptied by the check shows
};

struct WynikWeryfikacji {
  // An error stands that a save must not pass: the card's number is empty or another card's.
  bool blokuje = false;
  // The registration numbers, as stored, that live records other than the card's own hold on the
  // card's registration date.
  std::vector<std::string> numeryDnia;
};

// The card (new when `nowa`; else its records are `rk`) checked against `transakDat`.
WynikWeryfikacji weryfikujKarte(Karta& k, bool nowa, const RekordyKarty& rk, ListyWeryfikacji& listy,
                                const QString& transakDat, const SlownikiKarty& s);

// The lists the program's pickers and card editor hold (the built-in ones where a picker is
// missing), and its numbering switches.
SlownikiKarty slownikiKarty(const Program& program);
// The check of the program's open card, findings into program.listyWer.
WynikWeryfikacji weryfikacja(Program& program);

// An amount as the reports take it: digits with at most one comma or dot; no sign, blank or
// exponent. True when it is such a number and greater than 0.
bool kwotaPoprawna(const std::string& tekst);

}  // namespace zelt
