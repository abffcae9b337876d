#pragma once
// The sign-in on the splash, without its widgets: one step per Enter in the password edit. The
// password decides who works: the administrator (who alone may open the institution data and the
// settings) or one of the two responsible persons. A person whose password the administrator set,
// and an administrator without a password, choose a new one, entered twice, before working.
//
// All texts are Windows-1250 bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/hasla.h"

namespace platform {
class RegistryStore;
}

namespace zelt {

// What the sign-in compares, as the institution window holds it at the moment of the Enter.
struct OsobaLogowania {
  std::string im, na, st, haslo;
};
struct DaneLogowania {
  std::string haAdmin;
  OsobaLogowania os1, os2;
};

class Logowanie {
 public:
  enum class Wynik { Dalej, Ok, Anuluj };  // go on asking; signed in; the program ends
  static constexpr int kMaxProb = 4;       // wrong passwords that end the program

  // `stanHasel` is the program's byte shared with the institution window: its marks say who must
  // choose a new password, and the dialogue keeps its progress there.
  explicit Logowanie(std::uint8_t& stanHasel);

  Wynik enter(std::string_view wpis, const DaneLogowania& dane);
  Wynik esc() const { return Wynik::Anuluj; }

  // The prompt above the password edit.
  const std::string& wprhas() const { return wprhas_; }
  // The last Enter asks for the password edit to be emptied.
  bool wyczyscHaslo() const { return wyczysc_; }
  // Status panel text: "Zalogowany : " with "Admin " and/or the person's names.
  const std::string& panel() const { return panel_; }
  // The person signed in, "first name;surname;position"; empty when only the administrator did.
  const std::string& zalogowany() const { return zalogowany_; }
  // The administrator's password matched: the institution data and the settings are open.
  bool administrator() const { return administrator_; }
  int licznikProb() const { return licznikProb_; }

  // A new password that the Enter has just confirmed: the caller stores it at once under the
  // institution's key (without the must-change mark) and puts it into the institution window.
  struct NoweHaslo {
    hasla::Rola rola;
    std::string haslo;
  };
  const std::optional<NoweHaslo>& doZapisu() const { return doZapisu_; }

 private:
  Wynik rozpocznijZmiane(hasla::Rola rola);
  Wynik krokZmiany(std::string_view wpis, const DaneLogowania& dane);
  void pytajONowe();
  const OsobaLogowania* osoba(const DaneLogowania& dane) const;

  std::uint8_t& stanHasel_;
  std::string wprhas_;
  bool wyczysc_ = false;
  std::string panel_;
  std::string zalogowany_;
  bool administrator_ = false;
  int licznikProb_ = 0;
  std::optional<hasla::Rola> zmienia_;  // whose new password the dialogue asks for
  std::string noweHaslo_;
  std::optional<NoweHaslo> doZapisu_;
};

// Stores a confirmed new password at once under the institution's key, in its stored form
// without the must-change mark. Returns the store's error text when it could not be written.
std::optional<std::string> zapiszHaslo(platform::RegistryStore& reg, std::string_view aktualneIO, const Logowanie::NoweHaslo& nowe);

}  // namespace zelt
