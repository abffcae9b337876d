#include "register/logowanie.h"

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/registry.h"
#include "settings/daneio.h"

namespace zelt {

namespace {

using hasla::Rola;
namespace st = hasla::stan;

std::uint8_t znakZmiany(Rola rola) {
  switch (rola) {
    case Rola::Osoba1: return st::kZmiana1;
    case Rola::Osoba2: return st::kZmiana2;
    case Rola::Administrator: return st::kZmianaAdmin;
  }
  return 0;
}

std::string imieNazwisko(const OsobaLogowania& o) { return o.im + " " + o.na + " "; }
std::string opisOsoby(const OsobaLogowania& o) { return o.im + ";" + o.na + ";" + o.st; }

}  // namespace

Logowanie::Logowanie(std::uint8_t& stanHasel)
    : stanHasel_(stanHasel), wprhas_(cp1250::fromUtf8("Wprowadź hasło : ")) {}

const OsobaLogowania* Logowanie::osoba(const DaneLogowania& dane) const {
  if (!zmienia_ || *zmienia_ == Rola::Administrator) return nullptr;
  return *zmienia_ == Rola::Osoba1 ? &dane.os1 : &dane.os2;
}

Logowanie::Wynik Logowanie::enter(std::string_view wpis, const DaneLogowania& dane) {
  wyczysc_ = false;
  doZapisu_.reset();
  if (zmienia_) return krokZmiany(wpis, dane);

  panel_ = cp1250::fromUtf8("Zalogowany : ");
  // The administrator's match does not stop the persons' comparisons: the same entry may name
  // a person too, who is then the one who enters the cards.
  const bool admin = wpis == dane.haAdmin;
  if (admin) {
    panel_ += "Admin ";
    administrator_ = true;
    licznikProb_ = 0;
  }
  const OsobaLogowania* os = nullptr;
  Rola rolaOsoby = Rola::Osoba1;
  if (wpis == dane.os1.haslo) {
    os = &dane.os1;
  } else if (wpis == dane.os2.haslo) {
    os = &dane.os2;
    rolaOsoby = Rola::Osoba2;
  }
  if (os) {
    panel_ += imieNazwisko(*os);
    zalogowany_ = opisOsoby(*os);
    licznikProb_ = 0;
  }

  if (admin && (stanHasel_ & st::kZmianaAdmin)) return rozpocznijZmiane(Rola::Administrator);
  if (admin) return Wynik::Ok;
  if (os && (stanHasel_ & znakZmiany(rolaOsoby))) return rozpocznijZmiane(rolaOsoby);
  if (os) return Wynik::Ok;

  if (licznikProb_ < kMaxProb - 1) {
    wprhas_ = cp1250::fromUtf8("Błędne hasło wprowadź ponownie : ");
    ++licznikProb_;
    wyczysc_ = true;
    return Wynik::Dalej;
  }
  return Wynik::Anuluj;
}

Logowanie::Wynik Logowanie::rozpocznijZmiane(Rola rola) {
  zmienia_ = rola;
  pytajONowe();
  return Wynik::Dalej;
}

void Logowanie::pytajONowe() {
  stanHasel_ = static_cast<std::uint8_t>((stanHasel_ & ~st::kPierwszyWpis) | st::kPytanie);
  wprhas_ = cp1250::fromUtf8(*zmienia_ == Rola::Administrator ? "Wprowadź nowe hasło administratora : " : "Wprowadź nowe hasło : ");
  wyczysc_ = true;
}

Logowanie::Wynik Logowanie::krokZmiany(std::string_view wpis, const DaneLogowania& dane) {
  const Rola rola = *zmienia_;
  if (!(stanHasel_ & st::kPierwszyWpis)) {
    // The first entry. A password that could not be stored readably is asked for again; so is an
    // empty one for the administrator, whose empty password would leave the program open to all.
    if (!hasla::dozwolone(wpis) || (rola == Rola::Administrator && wpis.empty())) {
      pytajONowe();
      return Wynik::Dalej;
    }
    noweHaslo_ = std::string(wpis);
    stanHasel_ |= st::kPierwszyWpis;
    wprhas_ = cp1250::fromUtf8(rola == Rola::Administrator ? "Powtórz nowe hasło administratora : " : "Powtórz nowe hasło : ");
    wyczysc_ = true;
    return Wynik::Dalej;
  }
  if (wpis != noweHaslo_) {
    pytajONowe();
    return Wynik::Dalej;
  }
  // Confirmed: only this role's mark is settled; another person's pending mark stays.
  doZapisu_ = NoweHaslo{rola, noweHaslo_};
  stanHasel_ = static_cast<std::uint8_t>(stanHasel_ & ~(znakZmiany(rola) | st::kPytanie | st::kPierwszyWpis |
                                                        st::kWpisane1 | st::kWpisane2));
  panel_ = cp1250::fromUtf8("Zalogowany : ");
  if (const OsobaLogowania* os = osoba(dane)) {
    panel_ += imieNazwisko(*os);
    zalogowany_ = opisOsoby(*os);
  } else {
    // The administrator who has just chosen a password signs in alone, as the panel says.
    panel_ += "Admin ";
    zalogowany_.clear();
  }
  zmienia_.reset();
  noweHaslo_.clear();
  wyczysc_ = true;
  return Wynik::Ok;
}

std::optional<std::string> zapiszHaslo(platform::RegistryStore& reg, std::string_view aktualneIO,
                                       const Logowanie::NoweHaslo& nowe) {
  try {
    reg.writeBinary(platform::RegRoot::CurrentUser, kluczInstytucji(aktualneIO), hasla::nazwaWartosci(nowe.rola),
                    hasla::zakoduj(nowe.rola, nowe.haslo, false));
  } catch (const platform::IoError& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

}  // namespace zelt
