#include "register/weryfikacja.h"

#include <initializer_list>

#include "register/program.h"

namespace zelt {

void ListyWeryfikacji::przygotuj(int rekordowKarty) {
  liczniki_.bledow = 0;
  liczniki_.ostrzezen = 0;
  for (int i = 1; i <= rekordowKarty && i <= kMaxRekordowKarty; ++i) {
    liczniki_.r[i].bledy = 0;
    liczniki_.r[i].ostrzezenia = 0;
  }
  bledy_.clear();
  ostrze_.clear();
}

void ListyWeryfikacji::dodajblad(std::string_view pole, std::string_view nazwa, std::uint8_t nr,
                                 std::string_view tekst) {
  dodaj(Rodzaj::Blad, pole, nazwa, nr, tekst);
}

void ListyWeryfikacji::dodajostrze(std::string_view pole, std::string_view nazwa, std::uint8_t nr,
                                   std::string_view tekst) {
  dodaj(Rodzaj::Ostrzezenie, pole, nazwa, nr, tekst);
}

void ListyWeryfikacji::dodaj(Rodzaj rodzaj, std::string_view pole, std::string_view nazwa, std::uint8_t nr,
                             std::string_view tekst) {
  const bool blad = rodzaj == Rodzaj::Blad;
  if (nr >= 1 && nr <= kMaxRekordowKarty) ++(blad ? liczniki_.r[nr].bledy : liczniki_.r[nr].ostrzezenia);
  std::int32_t& razem = blad ? liczniki_.bledow : liczniki_.ostrzezen;
  if (razem < 0) razem = 0;
  const int t = ++razem;
  // The list always holds as many rows as the total says; the new finding is row t.
  std::vector<Uwaga>& lista = blad ? bledy_ : ostrze_;
  lista.resize(static_cast<std::size_t>(t));
  lista[static_cast<std::size_t>(t - 1)] = Uwaga{t, std::string(pole), std::string(nazwa), std::string(tekst)};
}

int ListyWeryfikacji::iloscBledow() const { return liczniki_.bledow; }
int ListyWeryfikacji::iloscOstrzezen() const { return liczniki_.ostrzezen; }

namespace {

bool cyfra(char c) { return c >= '0' && c <= '9'; }
int d(char c) { return c - '0'; }

// Exactly n characters, every one a digit.
bool tylkoCyfry(std::string_view s, std::size_t n) {
  if (s.size() != n) return false;
  for (char c : s)
    if (!cyfra(c)) return false;
  return true;
}

// The weighted sum of the leading digits, weight i for digit i.
int suma(std::string_view s, std::initializer_list<int> wagi) {
  int sum = 0;
  std::size_t i = 0;
  for (int w : wagi) sum += w * d(s[i++]);
  return sum;
}

}  // namespace

bool CheckPesel(std::string_view s) {
  if (!tylkoCyfry(s, 11)) return false;
  const int S = suma(s, {1, 3, 7, 9, 1, 3, 7, 9, 1, 3});
  return (10 - S % 10) % 10 == d(s[10]);
}

bool CheckNIP(std::string_view s) {
  if (!tylkoCyfry(s, 10)) return false;
  // A remainder of 10 matches no digit: such a number is never issued.
  return suma(s, {6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11 == d(s[9]);
}

bool CheckREGON(std::string_view s) {
  if (!tylkoCyfry(s, 9)) return false;
  int r = suma(s, {8, 9, 2, 3, 4, 5, 6, 7}) % 11;
  if (r == 10) r = 0;
  return r == d(s[8]);
}

bool CheckNRB(std::string_view s) {
  std::string n;
  n.reserve(s.size());
  for (char c : s)
    if (c != ' ') n += c;
  if (n.size() >= 2 && n[0] == 'P' && n[1] == 'L') n.erase(0, 2);
  if (!tylkoCyfry(n, 26)) return false;
  // ISO 7064 MOD 97-10 over the account, the country's letters as digits, then the check digits.
  const std::string iban = n.substr(2) + "2521" + n.substr(0, 2);
  int r = 0;
  for (char c : iban) r = (r * 10 + d(c)) % 97;
  return r == 1;
}

bool CheckKonto(std::string_view s) {
  if (s.size() < 8 || !tylkoCyfry(s.substr(0, 8), 8)) return false;
  return suma(s, {7, 1, 3, 9, 7, 11, 3}) % 10 == d(s[7]);
}

bool CheckISBN(std::string_view s) {
  if (s.size() < 10 || !tylkoCyfry(s.substr(0, 10), 10)) return false;
  // A check value of 10 or 11 matches no digit.
  return 11 - suma(s, {10, 9, 8, 7, 6, 5, 4, 3, 2}) % 11 == d(s[9]);
}

}  // namespace zelt
