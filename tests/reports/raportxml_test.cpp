#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <functional>

#include "platform/registry.h"
#include "register/listykarty.h"
#include "register/program.h"
#include "reports/raportxml.h"
#include "reports/rekordy.h"
#include "settings/konfigform.h"
#include "settings/zapisustawien.h"
#include "support/world.h"

using testing_world::World;
using zelt::generujxml;
using zelt::ListyKarty;
using namespace rekordy;

namespace {

constexpr auto HKCU = platform::RegRoot::CurrentUser;
const std::string kKonfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";

// xmllint's exit status for the bytes as a file: 0 when well-formed. Namespace complaints (the
// export form's URI, a prefix left unbound) are printed but do not change it.
int xmllint(const std::string& bytes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("plik.xml");
  World::writeFile(path, bytes);
  const int rc = QProcess::execute("xmllint", {"--noout", "--nonet", path});
  EXPECT_GE(rc, 0) << "xmllint is missing (scripts/deps.sh installs libxml2-utils)";
  return rc;
}

// A document around cards, for the oracle.
std::string dokument(const std::string& karty) {
  return zelt::deklaracjaXml() + zelt::poczatekWykazuWysylki({}, "1234567890", 1, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))) +
         karty + zelt::koniecWykazu();
}

const std::string kPelnaKarta =
    "  <kartaTr Status=\"0\">\r\n"
    "    <identTr>\r\n"
    "      <nrEwT>000000000000000000000TR/1</nrEwT>\r\n"
    "      <nrRejDat>12</nrRejDat>\r\n"
    "      <rejDat>20250102</rejDat>\r\n"
    "      <jedIO>00000005</jedIO>\r\n"
    "    </identTr>\r\n"
    "    <daneTr>\r\n"
    "      <kRodzTr>12</kRodzTr>\r\n"
    "      <kPwz>1</kPwz>\r\n"
    "      <kPdjrz>0000</kPdjrz>\r\n"
    "      <spDysp>2</spDysp>\r\n"
    "      <nrDokT>Dok-&#177;</nrDokT>\r\n"
    "      <tDat>20250101</tDat>\r\n"
    "      <tM>&#163;&#243;d&#188;</tM>\r\n"
    "      <tKw>100,5\xB9</tKw>\r\n"
    "      <tJ>PLN</tJ>\r\n"
    "      <tKwZ>25</tKwZ>\r\n"
    "      <tJZ>EUR</tJZ>\r\n"
    "    </daneTr>\r\n"
    "    <Dysponent>\r\n"
    "      <typPdm>02</typPdm>\r\n"
    "      <Nz>&#175;&#243;&#179;w</Nz>\r\n"
    "      <Obyw>D</Obyw>\r\n"
    "      <nrPes>44051401359</nrPes>\r\n"
    "      <nrReg>1234567</nrReg>\r\n"
    "      <nrReS>0000012345</nrReS>\r\n"
    "      <nrSwt>BPKOPLPW</nrSwt>\r\n"
    "      <Nip>123456789</Nip>\r\n"
    "      <rodzDokTo Rodz=\"DO\"></rodzDokTo>\r\n"
    "      <nrDokTo>ABC\xB9</nrDokTo>\r\n"
    "      <Adres>\r\n"
    "        <adrKr>PL</adrKr>\r\n"
    "        <adrKod>00-950</adrKod>\r\n"
    "        <adrM>W&#177;chock</adrM>\r\n"
    "        <adrUl>&#166;lusarska 1</adrUl>\r\n"
    "      </Adres>\r\n"
    "    </Dysponent>\r\n"
    "    <Wlasciciel>\r\n"
    "      <typPdm>00</typPdm>\r\n"
    "      <Nz>Firma P</Nz>\r\n"
    "      <Adres>\r\n"
    "        <adrKr>C</adrKr>\r\n"
    "        <adrKod>11-000</adrKod>\r\n"
    "        <adrM>Praha</adrM>\r\n"
    "        <adrUl>Hlavni</adrUl>\r\n"
    "      </Adres>\r\n"
    "    </Wlasciciel>\r\n"
    "    <Beneficjent>\r\n"
    "      <typPdm>22</typPdm>\r\n"
    "      <Nz>Bank</Nz>\r\n"
    "      <Adres>\r\n"
    "        <adrKr>FR</adrKr>\r\n"
    "        <adrKod>75001</adrKod>\r\n"
    "        <adrM>Paris</adrM>\r\n"
    "        <adrUl>Rue 3</adrUl>\r\n"
    "      </Adres>\r\n"
    "    </Beneficjent>\r\n"
    "    <Rachunki>\r\n"
    "      <nrRachZ>PL61</nrRachZ>\r\n"
    "      <nrRachNa>DE89</nrRachNa>\r\n"
    "    </Rachunki>\r\n"
    "    <Uwagi>[45:inne][06:a][07:b][08:c][09:d][19:f][29:g][31:h][37:&#182;]</Uwagi>\r\n"
    "  </kartaTr>\r\n";

const std::string kMinimalnaKarta =
    "  <kartaTr Status=\"1\">\r\n"
    "    <identTr>\r\n"
    "      <nrRejDat>7</nrRejDat>\r\n"
    "      <rejDat>20250102</rejDat>\r\n"
    "      <jedIO>00000123</jedIO>\r\n"
    "    </identTr>\r\n"
    "  </kartaTr>\r\n";

TEST(KartaTr, Golden) {
  const auto listy = ListyKarty::wbudowane();
  EXPECT_EQ(generujxml(pelny(), listy), kPelnaKarta);
  EXPECT_EQ(xmllint(dokument(kPelnaKarta)), 0);

  // Without a kind code: no daneTr, no Rachunki and no remarks of 06-09, however filled.
  TRekordTransakcji r = minimalny();
  r.nrRachZ = "PL61";
  r.nrRachN = "DE89";
  r.uwkRodzTr = "a";
  r.tKw = "100";
  EXPECT_EQ(generujxml(r, listy), kMinimalnaKarta);

  r.nrRejDat.clear();
  EXPECT_NE(generujxml(r, listy).find("\r\n      <nrRejDat></nrRejDat>\r\n"), std::string::npos);
  r.nrRejDat = " 7";
  EXPECT_NE(generujxml(r, listy).find("<nrRejDat> 7</nrRejDat>"), std::string::npos) << "raw, not aligned";
}

TEST(KartaTr, Sections) {
  const auto listy = ListyKarty::wbudowane();
  using R = TRekordTransakcji;
  const std::string dysponent = "    <Dysponent>\r\n", wlasciciel = "    <Wlasciciel>\r\n", beneficjent = "    <Beneficjent>\r\n";
  struct C {
    const char* nazwa;
    std::function<void(R&)> zmiana;
    std::vector<std::string> sa, niema;
  } cases[] = {
      {"ordering party's type without a name", [](R& r) { r.zNz.clear(); }, {wlasciciel, beneficjent}, {dysponent}},
      {"ordering party's name without a type", [](R& r) { r.zTypPo = -1; }, {wlasciciel}, {dysponent, "<Obyw>"}},
      {"on whose behalf without a name", [](R& r) { r.pNz.clear(); }, {dysponent, beneficjent}, {wlasciciel}},
      {"beneficiary without a type", [](R& r) { r.bTypPo = -1; }, {dysponent, wlasciciel}, {beneficjent, "Rue 3"}},
      {"address of four empty fields",
       [](R& r) { r.bAdrKr.clear(), r.bAdrKod.clear(), r.bAdrM.clear(), r.bAdrUl.clear(); },
       {"      <Nz>Bank</Nz>\r\n      <Adres>\r\n      </Adres>\r\n    </Beneficjent>\r\n"},
       {"<adrKr>FR"}},
      {"only the second account", [](R& r) { r.nrRachZ.clear(); },
       {"    <Rachunki>\r\n      <nrRachNa>DE89</nrRachNa>\r\n    </Rachunki>\r\n"}, {"<nrRachZ>"}},
      {"no account", [](R& r) { r.nrRachZ.clear(), r.nrRachN.clear(); }, {"</Beneficjent>\r\n    <Uwagi>"}, {"Rachunki"}},
      {"no remark", [](R& r) { r.uwInne.clear(), r.uwkRodzTr.clear(), r.uwkPwz.clear(), r.uwkPdjrz.clear(),
                                 r.uwspDysp.clear(), r.uwzObyw.clear(), r.uwzRodzDokTo.clear(), r.uwpTypPo.clear(),
                                 r.uwbTypPo.clear(); },
       {"</Rachunki>\r\n  </kartaTr>\r\n"}, {"Uwagi"}},
      {"kPdjrz of four blanks, kPwz unset", [](R& r) { r.kPdjrz = "    ", r.kPwz = -1; }, {"<kRodzTr>12</kRodzTr>\r\n      <spDysp>"},
       {"kPdjrz", "kPwz"}},
      {"no document kind", [](R& r) { r.zRodzDokTo = -1; }, {"<Nip>123456789</Nip>\r\n      <nrDokTo>"}, {"rodzDokTo"}},
  };
  for (const C& c : cases) {
    R r = pelny();
    c.zmiana(r);
    const std::string karta = generujxml(r, listy);
    for (const auto& s : c.sa) EXPECT_NE(karta.find(s), std::string::npos) << c.nazwa << ": " << s;
    for (const auto& s : c.niema) EXPECT_EQ(karta.find(s), std::string::npos) << c.nazwa << ": " << s;
    EXPECT_EQ(xmllint(dokument(karta)), 0) << c.nazwa;
  }
}

TEST(KartaTr, Escaping) {
  const auto listy = ListyKarty::wbudowane();
  struct C {
    std::string nazwa, oczekiwany;
  } cases[] = {
      {"Kowalski & Syn", "Kowalski &#38; Syn"},
      {u("Łąkowa"), "&#163;&#177;kowa"},
      {"<a>", "&#60;a>"},
      {"&#38;", "&#38;#38;"},
      {"a]]>b", "a]]&#62;b"},
      {"]]]>]>", "]]]&#62;]>"},
      {"a\r\nb\x01", "a  b "},
      {u("Šimon Žák"), "&#169;imon &#174;\xE1k"},
      {"\"q\" 'a'", "\"q\" 'a'"},
  };
  std::string wszystkie;
  for (const C& c : cases) {
    TRekordTransakcji r = minimalny();
    r.zTypPo = 1;
    r.zNz = c.nazwa;
    const std::string karta = generujxml(r, listy);
    EXPECT_NE(karta.find("      <Nz>" + c.oczekiwany + "</Nz>\r\n"), std::string::npos) << c.nazwa << "\n" << karta;
    wszystkie += karta;
  }
  // A raw element is escaped too, and keeps its Windows-1250 letters.
  TRekordTransakcji r = pelny();
  r.tKw = u("1&<ą>\t");
  r.uwInne = "x]]>y&";
  r.zNrPes = "1\n2";
  const std::string karta = generujxml(r, listy);
  EXPECT_NE(karta.find("<tKw>1&#38;&#60;\xB9> </tKw>"), std::string::npos);
  // A remark's brackets are written as parentheses, so no "]]>" is left in it.
  EXPECT_NE(karta.find("<Uwagi>[x))>y&#38;][06:a]"), std::string::npos);
  EXPECT_NE(karta.find("<nrPes>1 2</nrPes>"), std::string::npos);
  wszystkie += karta;
  EXPECT_EQ(xmllint(dokument(wszystkie)), 0);

  // The oracle knows a broken file when it sees one.
  EXPECT_NE(xmllint(dokument("  <kartaTr Status=\"1\">\r\n    <Uwagi>a]]>b</Uwagi>\r\n  </kartaTr>\r\n")), 0);
}

TEST(KartaTr, BracketsInsideRemarks) {
  // A remark's brackets as parentheses; a ";" stays, XML has no use for it; the general remark
  // that reads as a field's with one blank in front.
  TRekordTransakcji r = minimalny();
  r.Status = 0;
  r.kRodzTr = "0101";
  r.tDat = k20250101;
  r.tM = "a;b";
  r.zTypPo = 1;
  r.zNz = u("Kowal; Syn [ą]");
  r.uwInne = u("06:ogólna");
  r.uwkRodzTr = "y]z[";
  r.uwzObyw = u("[Šimon];");
  const std::string karta =
      "  <kartaTr Status=\"0\">\r\n"
      "    <identTr>\r\n"
      "      <nrRejDat>7</nrRejDat>\r\n"
      "      <rejDat>20250102</rejDat>\r\n"
      "      <jedIO>00000123</jedIO>\r\n"
      "    </identTr>\r\n"
      "    <daneTr>\r\n"
      "      <kRodzTr>0101</kRodzTr>\r\n"
      "      <tDat>20250101</tDat>\r\n"
      "      <tM>a;b</tM>\r\n"
      "    </daneTr>\r\n"
      "    <Dysponent>\r\n"
      "      <typPdm>01</typPdm>\r\n"
      "      <Nz>Kowal; Syn [&#177;]</Nz>\r\n"
      "      <Adres>\r\n"
      "      </Adres>\r\n"
      "    </Dysponent>\r\n"
      "    <Uwagi>[ 06:og&#243;lna][06:y)z(][19:(&#169;imon);]</Uwagi>\r\n"
      "  </kartaTr>\r\n";
  EXPECT_EQ(generujxml(r, ListyKarty::wbudowane()), karta);
  EXPECT_EQ(xmllint(dokument(karta)), 0);
}

TEST(KartaTr, CodesOfIndexes) {
  ListyKarty listy = ListyKarty::wbudowane();
  TRekordTransakcji r = pelny();
  r.zRodzDokTo = 9;
  r.zTypPo = 30;
  r.bTypPo = 3;
  listy.bTypPo.resize(2);
  std::string karta = generujxml(r, listy);
  EXPECT_EQ(karta.find("rodzDokTo"), std::string::npos);
  EXPECT_NE(karta.find("    <Dysponent>\r\n      <typPdm>30</typPdm>\r\n"), std::string::npos);
  EXPECT_NE(karta.find("    <Beneficjent>\r\n      <typPdm>03</typPdm>\r\n"), std::string::npos);
  // A dictionary's code with a quote is escaped in its attribute.
  listy.zRodzDokTo = {"00 - inne", "D\" - cudzysłów"};
  r.zRodzDokTo = 1;
  karta = generujxml(r, listy);
  EXPECT_NE(karta.find("      <rodzDokTo Rodz=\"D&#34;\"></rodzDokTo>\r\n"), std::string::npos);
  EXPECT_EQ(xmllint(dokument(karta)), 0);
}

TEST(WykazTr, StartTags) {
  const QDateTime czas(QDate(2025, 1, 2), QTime(3, 4, 5));
  const std::string ogon = " NipIO=\"1234567890\" lKart=\"00000003\" pDat=\"20250102\" pCzas=\"030405\">\r\n";
  zelt::AtrybutyWykazu a;
  EXPECT_EQ(zelt::poczatekWykazuWysylki(a, "1234567890", 3, czas), "<wykazTr " + ogon);
  a.xmlns = "urn:zelt";
  EXPECT_EQ(zelt::poczatekWykazuWysylki(a, "1234567890", 3, czas), "<wykazTr          xmlns=\"urn:zelt\"\r\n" + ogon);
  a.schemaLocation = "urn:zelt zelt.xsd";
  a.xmlnsXsi = "http://www.w3.org/2001/XMLSchema-instance";
  EXPECT_EQ(zelt::poczatekWykazuWysylki(a, "1234567890", 3, czas),
            "<wykazTr xsi:schemaLocation=\"urn:zelt zelt.xsd\"\r\n"
            "         xmlns=\"urn:zelt\"\r\n"
            "         xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n" + ogon);
  EXPECT_EQ(zelt::poczatekWykazuEksportu("1234567890", 3, czas),
            "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \"" + ogon);
  EXPECT_EQ(zelt::poczatekWykazuEksportu("12\"3&<4\n", 123456789, QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58))),
            "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \" NipIO=\"12&#34;3&#38;&#60;4 \" "
            "lKart=\"123456789\" pDat=\"20251231\" pCzas=\"235958\">\r\n");
  EXPECT_EQ(zelt::deklaracjaXml(), "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n");
  EXPECT_EQ(zelt::koniecWykazu(), "</wykazTr>\r\n");

  // Each start tag makes a well-formed document; a lone schemaLocation only draws a namespace warning.
  for (const auto& tag : {zelt::poczatekWykazuWysylki({}, "1", 0, czas),
                          zelt::poczatekWykazuWysylki({"a b", std::nullopt, std::nullopt}, "1", 0, czas),
                          zelt::poczatekWykazuWysylki(a, "\"&<", 0, czas), zelt::poczatekWykazuEksportu("1", 0, czas)})
    EXPECT_EQ(xmllint(zelt::deklaracjaXml() + tag + zelt::koniecWykazu()), 0) << tag;
}

TEST(WykazTr, KonfigValuesFromTheStore) {
  platform::RegistryStore reg;
  EXPECT_FALSE(zelt::atrybutyWykazu(reg).xmlns.has_value());
  EXPECT_FALSE(reg.keyExists(HKCU, kKonfig)) << "read without creating the key";
  reg.writeString(HKCU, kKonfig, "xsi:schemaLocation", "s\"1");
  reg.writeInteger(HKCU, kKonfig, "xmlns", 5);
  reg.writeString(HKCU, kKonfig, "XMLNS:XSI", "x");
  const auto a = zelt::atrybutyWykazu(reg);
  EXPECT_EQ(a.schemaLocation, "s\"1");
  EXPECT_FALSE(a.xmlns.has_value()) << "an integer is left out";
  EXPECT_EQ(a.xmlnsXsi, "x");
  EXPECT_EQ(zelt::poczatekWykazuWysylki(a, "1", 2, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))),
            "<wykazTr xsi:schemaLocation=\"s&#34;1\"\r\n         xmlns:xsi=\"x\"\r\n NipIO=\"1\" lKart=\"00000002\" "
            "pDat=\"20250102\" pCzas=\"030405\">\r\n");
}

TEST(WykazTr, NoWindowWritesTheKonfigValues) {
  World w;
  w.reg().writeString(HKCU, kKonfig, "xsi:schemaLocation", "urn:a a.xsd");
  w.reg().writeString(HKCU, kKonfig, "xmlns", "urn:a");
  w.reg().writeString(HKCU, kKonfig, "xmlns:xsi", "urn:xsi");
  auto& p = w.program();
  p.logowanie = [] { return platform::mrOk; };
  p.zakoncz = [] {};
  ASSERT_TRUE(p.start());
  p.konfig()->zapisClick();
  zelt::zapiszWszystkieUstawienia(p);
  w.reloadRegistry();
  const auto a = zelt::atrybutyWykazu(w.reg());
  EXPECT_EQ(a.schemaLocation, "urn:a a.xsd");
  EXPECT_EQ(a.xmlns, "urn:a");
  EXPECT_EQ(a.xmlnsXsi, "urn:xsi");
}

TEST(WykazTr, WholeFiles) {
  const auto listy = ListyKarty::wbudowane();
  const QDateTime czas(QDate(2025, 1, 2), QTime(3, 4, 5));
  TRekordTransakcji druga = minimalny();
  druga.Status = 0;
  druga.nrRejDat = "8";
  druga.bTypPo = 1;
  druga.bNz = "Anna & Jan";
  const std::string drugaKarta =
      "  <kartaTr Status=\"0\">\r\n"
      "    <identTr>\r\n"
      "      <nrRejDat>8</nrRejDat>\r\n"
      "      <rejDat>20250102</rejDat>\r\n"
      "      <jedIO>00000123</jedIO>\r\n"
      "    </identTr>\r\n"
      "    <Beneficjent>\r\n"
      "      <typPdm>01</typPdm>\r\n"
      "      <Nz>Anna &#38; Jan</Nz>\r\n"
      "      <Adres>\r\n"
      "      </Adres>\r\n"
      "    </Beneficjent>\r\n"
      "  </kartaTr>\r\n";
  const std::string wysylka =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
      "<wykazTr xsi:schemaLocation=\"urn:a a.xsd\"\r\n"
      "         xmlns=\"urn:a\"\r\n"
      "         xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
      " NipIO=\"5260001246\" lKart=\"00000002\" pDat=\"20250102\" pCzas=\"030405\">\r\n" +
      kMinimalnaKarta + drugaKarta + "</wykazTr>\r\n";
  const zelt::AtrybutyWykazu a{"urn:a a.xsd", "urn:a", "http://www.w3.org/2001/XMLSchema-instance"};
  EXPECT_EQ(zelt::deklaracjaXml() + zelt::poczatekWykazuWysylki(a, "5260001246", 2, czas) +
                generujxml(minimalny(), listy) + generujxml(druga, listy) + zelt::koniecWykazu(),
            wysylka);
  EXPECT_EQ(xmllint(wysylka), 0);

  const std::string eksport =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
      "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \" NipIO=\"5260001246\" lKart=\"00000002\" "
      "pDat=\"20250102\" pCzas=\"030405\">\r\n" +
      kPelnaKarta + drugaKarta + "</wykazTr>\r\n";
  EXPECT_EQ(zelt::deklaracjaXml() + zelt::poczatekWykazuEksportu("5260001246", 2, czas) + generujxml(pelny(), listy) +
                generujxml(druga, listy) + zelt::koniecWykazu(),
            eksport);
  EXPECT_EQ(xmllint(eksport), 0);
}

}  // namespace
