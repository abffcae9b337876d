#include "reports/raportxml.h"

#include "platform/registry.h"
#include "reports/konwersja.h"
#include "reports/uwagi.h"
#include "reports/wartosci.h"

namespace zelt {

namespace {

constexpr const char* kKoniecWiersza = "\r\n";

// Element text: & and < as references, and the > that would close "]]>".
std::string tekst(std::string_view wartosc) {
  std::string out;
  out.reserve(wartosc.size());
  for (char c : surowa(wartosc)) {
    if (c == '&')
      out += "&#38;";
    else if (c == '<')
      out += "&#60;";
    else if (c == '>' && out.size() >= 2 && out.compare(out.size() - 2, 2, "]]") == 0)
      out += "&#62;";
    else
      out += c;
  }
  return out;
}

// ref: escaped first, so that the letters' references are never escaped again.
std::string odwolania(std::string_view wartosc) { return wartoscRaportu(tekst(wartosc), true); }

// Attribute values: & < and " as references.
std::string atrybut(std::string_view wartosc) {
  std::string out;
  for (char c : surowa(wartosc)) {
    if (c == '&')
      out += "&#38;";
    else if (c == '<')
      out += "&#60;";
    else if (c == '"')
      out += "&#34;";
    else
      out += c;
  }
  return out;
}

class Karta {
 public:
  explicit Karta(std::string& out) : out_(out) {}
  void wiersz(int wciecie, std::string_view s) {
    out_.append(static_cast<std::size_t>(wciecie), ' ');
    out_ += s;
    out_ += kKoniecWiersza;
  }
  // One element with its value on one line; the value is already in its written form.
  void element(int wciecie, std::string_view nazwa, std::string_view wartosc) {
    out_.append(static_cast<std::size_t>(wciecie), ' ');
    out_ += '<';
    out_ += nazwa;
    out_ += '>';
    out_ += wartosc;
    out_ += "</";
    out_ += nazwa;
    out_ += '>';
    out_ += kKoniecWiersza;
  }
  void niepusty(int wciecie, std::string_view nazwa, const std::string& pole, std::string (*rodzaj)(std::string_view)) {
    if (!pole.empty()) element(wciecie, nazwa, rodzaj(pole));
  }

 private:
  std::string& out_;
};

struct Adres {
  const std::string &kr, &kod, &m, &ul;
};

void adres(Karta& k, const Adres& a) {
  k.wiersz(6, "<Adres>");
  k.niepusty(8, "adrKr", a.kr, tekst);
  k.niepusty(8, "adrKod", a.kod, tekst);
  k.niepusty(8, "adrM", a.m, odwolania);
  k.niepusty(8, "adrUl", a.ul, odwolania);
  k.wiersz(6, "</Adres>");
}

// The party on whose behalf and the beneficiary: type, name and address.
void strona(Karta& k, const char* sekcja, std::int32_t typ, const ListyKarty::Lista& lista, const std::string& nz,
            const Adres& a) {
  if (!obecny(typ, nz)) return;
  k.wiersz(4, std::string("<") + sekcja + ">");
  k.element(6, "typPdm", tekst(kodTypu(lista, typ)));
  k.element(6, "Nz", odwolania(nz));
  adres(k, a);
  k.wiersz(4, std::string("</") + sekcja + ">");
}

std::string ogonPoczatku(std::string_view nip, std::int32_t liczba, const QDateTime& czas) {
  return " NipIO=\"" + atrybut(nip) + "\" lKart=\"" + uzupelnijZerami(8, std::to_string(liczba)) + "\" pDat=\"" +
         czas.toString(QStringLiteral("yyyyMMdd")).toStdString() + "\" pCzas=\"" +
         czas.toString(QStringLiteral("HHmmss")).toStdString() + "\">" + kKoniecWiersza;
}

}  // namespace

AtrybutyWykazu atrybutyWykazu(const platform::RegistryStore& reg) {
  const std::string klucz = platform::regPath(platform::RegistryStore::kProgramKey, "Konfig\\");
  constexpr auto HKCU = platform::RegRoot::CurrentUser;
  return {reg.readString(HKCU, klucz, "xsi:schemaLocation"), reg.readString(HKCU, klucz, "xmlns"),
          reg.readString(HKCU, klucz, "xmlns:xsi")};
}

std::string deklaracjaXml() { return std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>") + kKoniecWiersza; }

std::string poczatekWykazuWysylki(const AtrybutyWykazu& a, std::string_view nip, std::int32_t liczba,
                                  const QDateTime& czas) {
  std::string out = "<wykazTr ";
  const std::string wciecie(9, ' ');
  if (a.schemaLocation) out += "xsi:schemaLocation=\"" + atrybut(*a.schemaLocation) + "\"" + kKoniecWiersza;
  if (a.xmlns) out += wciecie + "xmlns=\"" + atrybut(*a.xmlns) + "\"" + kKoniecWiersza;
  if (a.xmlnsXsi) out += wciecie + "xmlns:xsi=\"" + atrybut(*a.xmlnsXsi) + "\"" + kKoniecWiersza;
  return out + ogonPoczatku(nip, liczba, czas);
}

std::string poczatekWykazuEksportu(std::string_view nip, std::int32_t liczba, const QDateTime& czas) {
  return "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \"" + ogonPoczatku(nip, liczba, czas);
}

std::string koniecWykazu() { return std::string("</wykazTr>") + kKoniecWiersza; }

std::string generujxml(const TRekordTransakcji& r, const ListyKarty& listy) {
  std::string out;
  Karta k(out);
  k.wiersz(2, "<kartaTr Status=\"" + std::to_string(r.Status) + "\">");

  k.wiersz(4, "<identTr>");
  if (!r.nrEwT.empty()) k.element(6, "nrEwT", tekst(uzupelnijZerami(25, surowa(r.nrEwT))));
  k.element(6, "nrRejDat", tekst(r.nrRejDat));
  k.element(6, "rejDat", dataRaportu(r.rejDat));
  k.element(6, "jedIO", tekst(uzupelnijZerami(8, surowa(r.jedIO))));
  k.wiersz(4, "</identTr>");

  const bool transakcja = !r.kRodzTr.empty();
  if (transakcja) {
    k.wiersz(4, "<daneTr>");
    k.element(6, "kRodzTr", tekst(r.kRodzTr));
    if (ustawiony(r.kPwz)) k.element(6, "kPwz", std::to_string(r.kPwz));
    if (r.kPdjrz != "    ") k.niepusty(6, "kPdjrz", r.kPdjrz, tekst);
    if (ustawiony(r.spDysp)) k.element(6, "spDysp", std::to_string(r.spDysp));
    k.niepusty(6, "nrDokT", r.nrDokT, odwolania);
    k.element(6, "tDat", dataRaportu(r.tDat));
    k.niepusty(6, "tM", r.tM, odwolania);
    k.niepusty(6, "tKw", r.tKw, tekst);
    k.niepusty(6, "tJ", r.tJ, tekst);
    k.niepusty(6, "tKwZ", r.tKwZ, tekst);
    k.niepusty(6, "tJZ", r.tJZ, tekst);
    k.wiersz(4, "</daneTr>");
  }

  if (obecny(r.zTypPo, r.zNz)) {
    k.wiersz(4, "<Dysponent>");
    k.element(6, "typPdm", tekst(kodTypu(listy.zTypPo, r.zTypPo)));
    k.element(6, "Nz", odwolania(r.zNz));
    k.niepusty(6, "Obyw", r.zObyw, tekst);
    k.niepusty(6, "nrPes", r.zNrPes, tekst);
    k.niepusty(6, "nrReg", r.zNrReg, tekst);
    k.niepusty(6, "nrReS", r.zNrReS, tekst);
    k.niepusty(6, "nrSwt", r.zNrSwt, tekst);
    k.niepusty(6, "Nip", r.zNip, tekst);
    if (const auto kod = kodDokumentu(listy.zRodzDokTo, r.zRodzDokTo))
      k.wiersz(6, "<rodzDokTo Rodz=\"" + atrybut(*kod) + "\"></rodzDokTo>");
    k.niepusty(6, "nrDokTo", r.zNrDokTo, tekst);
    adres(k, {r.zAdrKr, r.zAdrKod, r.zAdrM, r.zAdrUl});
    k.wiersz(4, "</Dysponent>");
  }
  strona(k, "Wlasciciel", r.pTypPo, listy.pTypPo, r.pNz, {r.pAdrKr, r.pAdrKod, r.pAdrM, r.pAdrUl});
  strona(k, "Beneficjent", r.bTypPo, listy.bTypPo, r.bNz, {r.bAdrKr, r.bAdrKod, r.bAdrM, r.bAdrUl});

  if (transakcja && (!r.nrRachZ.empty() || !r.nrRachN.empty())) {
    k.wiersz(4, "<Rachunki>");
    k.niepusty(6, "nrRachZ", r.nrRachZ, tekst);
    k.niepusty(6, "nrRachNa", r.nrRachN, tekst);
    k.wiersz(4, "</Rachunki>");
  }

  const std::string uwagi = lancuchUwag(r, BramkiUwag::Raport, odwolania);
  if (!uwagi.empty()) k.element(4, "Uwagi", uwagi);
  k.wiersz(2, "</kartaTr>");
  return out;
}

}  // namespace zelt
