#pragma once
// The findings of a check (card, party or institution): two lists, critical errors and
// warnings, kept apart from the verification dialog so that the checks run without it. The
// counts are not the lists' own: they live in the open card's working set (licznikiRekordow),
// because the card save stores the per-record counts on each register record.
//
// How a check uses it (Program::listyWer):
//   program.listyWer.przygotuj(n);              // first: empty both lists, zero the totals
//   program.listyWer.dodajblad("13", "Kwota", 1, "...");
//   if (program.listyWer.saUwagi()) program.wer()->pokazDoZapisu("Zapisz");  // see werform.h
//
// All texts are Windows-1250 bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelt {

struct LicznikiRekordow;

// One row of a list: "Lp", "Pole", "Nazwa pola" and the message.
struct Uwaga {
  int lp = 0;
  std::string pole, nazwa, tekst;
  bool operator==(const Uwaga&) const = default;
};

class ListyWeryfikacji {
 public:
  explicit ListyWeryfikacji(LicznikiRekordow& liczniki) : liczniki_(liczniki) {}

  // The start of every check: both lists empty, the total error and warning counts 0, and the
  // per-record counts of records 1..rekordowKarty 0 (the card check passes its record count,
  // the party and institution checks 0).
  void przygotuj(int rekordowKarty = 0);

  // Adds a critical error / a warning. `nr` is the card's 1-based record to which the finding
  // counts, 0 for none; a number beyond the card's 25 records raises the total only.
  void dodajblad(std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst);
  void dodajostrze(std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst);

  const std::vector<Uwaga>& bledy() const { return bledy_; }
  // The working set's counts the lists feed (also the card's print and send counts).
  const LicznikiRekordow& liczniki() const { return liczniki_; }
  const std::vector<Uwaga>& ostrze() const { return ostrze_; }
  int iloscBledow() const;
  int iloscOstrzezen() const;
  // True when the last check found anything.
  bool saUwagi() const { return iloscBledow() > 0 || iloscOstrzezen() > 0; }

 private:
  enum class Rodzaj { Blad, Ostrzezenie };
  void dodaj(Rodzaj rodzaj, std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst);

  LicznikiRekordow& liczniki_;
  std::vector<Uwaga> bledy_, ostrze_;
};

// Check digits of the Polish identification numbers and of bank account numbers. Each takes
// the text as typed and is true only for a valid number of its kind; the empty text, a wrong
// length or a character other than a digit is invalid.
bool CheckPesel(std::string_view s);  // 11 digits
bool CheckNIP(std::string_view s);    // 10 digits, no separators
bool CheckREGON(std::string_view s);  // the 9-digit REGON
// NRB (the Polish IBAN): 26 digits, blanks anywhere and a leading upper-case "PL" allowed.
bool CheckNRB(std::string_view s);
// Older checks of an 8-digit account prefix and of a 10-character ISBN; they read the leading
// 8 or 10 characters, which must be digits.
bool CheckKonto(std::string_view s);
bool CheckISBN(std::string_view s);

}  // namespace zelt
