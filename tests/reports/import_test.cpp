// The readers of report files, over files written by hand from the TXT and XML layouts: every
// field of a whole file, the lines and fields that refuse a file, the header and the NIP, the
// cards and sections of the XML reader, the element text, the remark pieces, the file type, and
// every prefix and byte flip of the fixtures read without a crash or a hang.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

#include "platform/cp1250.h"
#include "reports/import.h"
#include "reports/raporttxt.h"
#include "reports/raportxml.h"
#include "reports/tablicekodowe.h"
#include "support/world.h"

using namespace zelt;

namespace {

using R = TRekordTransakcji;

std::string w(const char* utf8) { return cp1250::fromUtf8(utf8); }

constexpr double k20241231 = 45657, k20250101 = 45658, k20250102 = 45659, kDzis = 46366;  // days since 1899-12-30

// The cleared record every card starts from: today's dates, nothing else set.
R pusty() {
  R r;
  r.rejDat = kDzis;
  r.tDat = kDzis;
  return r;
}

const ListyKarty& wbudowane() {
  static const ListyKarty l = ListyKarty::wbudowane();
  return l;
}

KontekstImportu kontekst(const std::string& nip = "5260001246", const ListyKarty& listy = wbudowane()) {
  return {nip, listy, pusty()};
}

// ---- the fixtures, byte by byte from the layouts (ISO-8859-2 letters: \xA3 Ł, \xF3 ó, \xBC ź,
// \xB1 ą, \xAF Ż, \xB3 ł, \xB6 ś)

const std::string kTxt =
    "HE20261210090507" "5260001246\r\n"
    "DA;01:0000000000000000000000001;02:           7;03:20250102;04:00000123;05:1;06:0101;07:1;09:2;"
    "10:Dok-\xB1;11:20250101;12:\xA3\xF3" "d\xBC;13:100,50;14:PLN;17:02;18:\xAF\xF3\xB3w & <syn>;19: D;"
    "22:W\xB1" "chock;29:DO;30:ABC;31:00;32:Firma P;37:22;38:Bank;43:PL61;44:DE89;"
    "45:[13:kwota][06:a][19:f][29:g][37:\xB6];\r\n"
    "DA;02:          12;03:20241231;04:00000005;05:0;\r\n"
    "TR00000002\r\n";

const std::string kXml =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
    "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \" NipIO=\"5260001246\" lKart=\"00000002\" "
    "pDat=\"20261210\" pCzas=\"090507\">\r\n"
    "  <kartaTr Status=\"1\">\r\n"
    "    <identTr>\r\n"
    "      <nrEwT>0000000000000000000000001</nrEwT>\r\n"
    "      <nrRejDat>7</nrRejDat>\r\n"
    "      <rejDat>20250102</rejDat>\r\n"
    "      <jedIO>00000123</jedIO>\r\n"
    "    </identTr>\r\n"
    "    <daneTr>\r\n"
    "      <kRodzTr>0101</kRodzTr>\r\n"
    "      <kPwz>1</kPwz>\r\n"
    "      <spDysp>2</spDysp>\r\n"
    "      <nrDokT>Dok-&#177;</nrDokT>\r\n"
    "      <tDat>20250101</tDat>\r\n"
    "      <tM>&#163;&#243;d&#188;</tM>\r\n"
    "      <tKw>100,50</tKw>\r\n"
    "      <tJ>PLN</tJ>\r\n"
    "    </daneTr>\r\n"
    "    <Dysponent>\r\n"
    "      <typPdm>02</typPdm>\r\n"
    "      <Nz>&#175;&#243;&#179;w &#38; &#60;syn></Nz>\r\n"
    "      <Obyw>D</Obyw>\r\n"
    "      <rodzDokTo Rodz=\"DO\"></rodzDokTo>\r\n"
    "      <nrDokTo>ABC</nrDokTo>\r\n"
    "      <Adres>\r\n"
    "        <adrM>W&#177;chock</adrM>\r\n"
    "      </Adres>\r\n"
    "    </Dysponent>\r\n"
    "    <Wlasciciel>\r\n"
    "      <typPdm>00</typPdm>\r\n"
    "      <Nz>Firma P</Nz>\r\n"
    "    </Wlasciciel>\r\n"
    "    <Beneficjent>\r\n"
    "      <typPdm>22</typPdm>\r\n"
    "      <Nz>Bank</Nz>\r\n"
    "    </Beneficjent>\r\n"
    "    <Rachunki>\r\n"
    "      <nrRachZ>PL61</nrRachZ>\r\n"
    "      <nrRachNa>DE89</nrRachNa>\r\n"
    "    </Rachunki>\r\n"
    "    <Uwagi>[13:kwota][06:a][19:f][29:g][37:&#182;]</Uwagi>\r\n"
    "  </kartaTr>\r\n"
    "  <kartaTr Status=\"0\">\r\n"
    "    <identTr>\r\n"
    "      <nrRejDat>12</nrRejDat>\r\n"
    "      <rejDat>20241231</rejDat>\r\n"
    "      <jedIO>00000005</jedIO>\r\n"
    "    </identTr>\r\n"
    "  </kartaTr>\r\n"
    "</wykazTr>\r\n";

// The first record of both fixtures as the register holds it (Windows-1250).
R pierwszy(const std::string& nrRejDat, const std::string& obyw) {
  R r = pusty();
  r.nrEwT = "0000000000000000000000001";
  r.nrRejDat = nrRejDat;
  r.rejDat = k20250102;
  r.jedIO = "00000123";
  r.Status = 1;
  r.kRodzTr = "0101";
  r.kPwz = 1;
  r.spDysp = 2;
  r.nrDokT = w("Dok-ą");
  r.tDat = k20250101;
  r.tM = w("Łódź");
  r.tKw = "100,50";
  r.tJ = "PLN";
  r.zTypPo = 2;
  r.zNz = w("Żółw & <syn>");
  r.zObyw = obyw;
  r.zRodzDokTo = 1;  // "DO - dowód osobisty"
  r.zNrDokTo = "ABC";
  r.zAdrM = w("Wąchock");
  r.pTypPo = 0;
  r.pNz = "Firma P";
  r.bTypPo = 22;
  r.bNz = "Bank";
  r.nrRachZ = "PL61";
  r.nrRachN = "DE89";
  r.uwInne = "13:kwota";
  r.uwkRodzTr = "a";
  r.uwzObyw = "f";
  r.uwzRodzDokTo = "g";
  r.uwbTypPo = w("ś");
  return r;
}

R drugi(const std::string& nrRejDat) {
  R r = pusty();
  r.nrRejDat = nrRejDat;
  r.rejDat = k20241231;
  r.jedIO = "00000005";
  r.Status = 0;
  return r;
}

// The fields that differ, by name, for a readable failure.
std::string roznice(const R& a, const R& b) {
  std::string out;
  for (const auto& p : polaTekstowe())
    if (a.*(p.text) != b.*(p.text)) out += std::string(p.name) + " '" + a.*(p.text) + "' != '" + b.*(p.text) + "'\n";
  const std::pair<const char*, std::pair<double, double>> liczby[] = {
      {"rejDat", {a.rejDat, b.rejDat}}, {"tDat", {a.tDat, b.tDat}},       {"Status", {a.Status, b.Status}},
      {"kPwz", {a.kPwz, b.kPwz}},       {"spDysp", {a.spDysp, b.spDysp}}, {"zTypPo", {a.zTypPo, b.zTypPo}},
      {"zRodzDokTo", {a.zRodzDokTo, b.zRodzDokTo}}, {"pTypPo", {a.pTypPo, b.pTypPo}}, {"bTypPo", {a.bTypPo, b.bTypPo}}};
  for (const auto& [n, v] : liczby)
    if (v.first != v.second) out += std::string(n) + " " + std::to_string(v.first) + " != " + std::to_string(v.second) + "\n";
  return out;
}

void takieSame(const std::vector<R>& jest, const std::vector<R>& ma) {
  ASSERT_EQ(jest.size(), ma.size());
  for (std::size_t i = 0; i < jest.size(); ++i) {
    EXPECT_EQ(roznice(jest[i], ma[i]), "") << "record " << i;
    EXPECT_TRUE(jest[i] == ma[i]) << "record " << i;
  }
}

// The refusal expected, or (without one) the records that `oczekiwane` builds.
void sprawdz(const WynikImportu& wynik, const std::function<void(std::vector<R>&)>& oczekiwane, const QString& blad) {
  if (!blad.isEmpty()) {
    ASSERT_TRUE(wynik.blad);
    EXPECT_EQ(*wynik.blad, blad);
    EXPECT_TRUE(wynik.rekordy.empty());
    return;
  }
  ASSERT_FALSE(wynik.blad) << wynik.blad->toStdString();
  std::vector<R> ma;
  oczekiwane(ma);
  takieSame(wynik.rekordy, ma);
}

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
const QString kSkladnia = q("Błędna składnia pliku");
const QString kInna = q("Dane nie dotyczą tej instytucji obowiązanej");

// ---- whole files

TEST(ImportFile, TxtGivesEveryFieldOfEachRecord) {
  const auto wynik = czytajTxt(kTxt, kontekst());
  ASSERT_FALSE(wynik.blad) << wynik.blad->toStdString();
  // The registration number keeps the blanks of its alignment.
  takieSame(wynik.rekordy, {pierwszy("           7", " D"), drugi("          12")});
  // The same lines with LF alone.
  std::string lf = kTxt;
  for (std::size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
  takieSame(czytajTxt(lf, kontekst()).rekordy, {pierwszy("           7", " D"), drugi("          12")});
}

TEST(ImportFile, XmlGivesEveryFieldOfEachRecord) {
  const auto wynik = czytajXml(kXml, kontekst());
  ASSERT_FALSE(wynik.blad) << wynik.blad->toStdString();
  takieSame(wynik.rekordy, {pierwszy("7", "D"), drugi("12")});
}

TEST(ImportFile, XmlFixturesAreWellFormed) {
  QTemporaryDir dir;
  const std::string karty = "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n<wykazTr NipIO=\"1\">\r\n"
                            "  <kartaTr Status=\"99\">\r\n    <Dysponent>\r\n      <rodzDokTo>PA</rodzDokTo>\r\n"
                            "    </Dysponent>\r\n  </kartaTr>\r\n</wykazTr>\r\n";
  for (const std::string* f : {&kXml, &karty}) {
    const QString path = dir.filePath("f.xml");
    testing_world::World::writeFile(path, *f);
    EXPECT_EQ(QProcess::execute("xmllint", {"--noout", "--nonet", path}), 0) << *f;
  }
}

// ---- TXT lines and fields

TEST(ImportTxt, LinesAndFields) {
  const std::string he = "HE20261210090507" "5260001246\r\n";
  struct C {
    const char* nazwa;
    std::string linie;
    std::function<void(std::vector<R>&)> oczekiwane;  // the records expected, from empty ones
    QString blad;
  } cases[] = {
      {"a semicolon inside a value ends in an integer error", "DA;10:a;b;11:20250101;\r\nTR00000001\r\n", {},
       q("'b;11' is not a valid integer value")},
      {"the last field without its semicolon, at the end of the file", "DA;14:PLN",
       [](auto& r) { r = {pusty()}; r[0].tJ = "PLN"; }},
      {"a field without its semicolon within the file", "DA;14:PLN\r\nDA;14:EUR;\r\nTR00000002\r\n",
       [](auto& r) { r = {pusty(), pusty()}; r[0].tJ = "PLN"; r[1].tJ = "EUR"; }},
      {"a field number that is no number", "DA;xx:1;\r\nTR00000001\r\n", {}, q("'xx' is not a valid integer value")},
      {"a field without a colon", "DA;01;\r\n", {}, q("'' is not a valid integer value")},
      {"a date that is none", "DA;03:20251301;\r\n", {}, q("Invalid argument to date encode")},
      {"a date with letters", "DA;11:2025ab01;\r\n", {}, q("'ab' is not a valid integer value")},
      {"a short date", "DA;03:2025;\r\n", {}, q("'' is not a valid integer value")},
      {"an integer field", "DA;07:x1;\r\n", {}, q("'x1' is not a valid integer value")},
      {"an integer past 32 bits", "DA;05:2147483648;\r\n", {}, q("'2147483648' is not a valid integer value")},
      {"no TR line: every record", "DA;02:1;\r\nDA;02:2;\r\n",
       [](auto& r) { r = {pusty(), pusty()}; r[0].nrRejDat = "1"; r[1].nrRejDat = "2"; }},
      {"lines after TR are not read", "DA;02:1;\r\nTR00000001\r\nrubbish\r\n",
       [](auto& r) { r = {pusty()}; r[0].nrRejDat = "1"; }},
      {"a line that is neither DA nor TR", "DA;02:1;\r\nXX\r\nTR00000001\r\n", {}, kSkladnia},
      {"an empty line", "DA;02:1;\r\n\r\nTR00000001\r\n", {}, kSkladnia},
      {"no records", "TR00000000\r\n", [](auto& r) { r.clear(); }},
      {"unknown field numbers are skipped", "DA;99:x;00:y;-3:z;46:[06:n];02:1;\r\n",
       [](auto& r) { r = {pusty()}; r[0].nrRejDat = "1"; }},
      {"signed and padded numbers", "DA;07: -1;09:+3;\r\n",
       [](auto& r) { r = {pusty()}; r[0].kPwz = -1; r[0].spDysp = 3; }},
      {"texts cut to their room, control bytes as blanks", "DA;14:PLNX;18:a\tb\x01;\r\n",
       [](auto& r) { r = {pusty()}; r[0].tJ = "PLN"; r[0].zNz = "a b "; }},
      {"a party type not in the list is its number; a document kind, none", "DA;17:23;29:XX;31:-1;\r\n",
       [](auto& r) { r = {pusty()}; r[0].zTypPo = 23; r[0].pTypPo = -1; }},
      {"a party type that is neither", "DA;37:B1;\r\n", {}, q("'B1' is not a valid integer value")},
      {"a Status 99 record is read", "DA;05:99;\r\n", [](auto& r) { r = {pusty()}; r[0].Status = 99; }},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.nazwa);
    sprawdz(czytajTxt(he + c.linie, kontekst()), c.oczekiwane, c.blad);
  }
}

TEST(ImportTxt, AnErrorInTheLastRecordRefusesTheWholeFile) {
  std::string f = "HE20261210090507" "5260001246\r\n";
  for (int i = 1; i < 1000; ++i) f += "DA;02:" + std::to_string(i) + ";03:20250102;\r\n";
  const std::string dobry = f + "DA;02:1000;03:20250102;\r\nTR00001000\r\n";
  f += "DA;02:1000;03:20251302;\r\nTR00001000\r\n";
  EXPECT_EQ(czytajTxt(dobry, kontekst()).rekordy.size(), 1000u);
  const auto wynik = czytajTxt(f, kontekst());
  ASSERT_TRUE(wynik.blad);
  EXPECT_EQ(*wynik.blad, q("Invalid argument to date encode"));
  EXPECT_TRUE(wynik.rekordy.empty());
}

TEST(ImportTxt, PartyTypesFollowTheirCodesInAReorderedList) {
  ListyKarty listy = wbudowane();
  // podmioty.txt with its lines in another order: the codes, not the positions, keep the types.
  std::reverse(listy.zTypPo.begin(), listy.zTypPo.end());
  listy.pTypPo = listy.bTypPo = listy.zTypPo;
  listy.zRodzDokTo = {"PA - paszport", "DO - stary", "DO - dowód osobisty"};
  const auto wynik = czytajTxt("HE20261210090507" "5260001246\r\nDA;17:02;29:DO;31:22;37:00;\r\n", kontekst("5260001246", listy));
  ASSERT_EQ(wynik.rekordy.size(), 1u);
  const R& r = wynik.rekordy[0];
  EXPECT_EQ(ListyKarty::kod(listy.zTypPo, r.zTypPo), "02");
  EXPECT_EQ(ListyKarty::kod(listy.pTypPo, r.pTypPo), "22");
  EXPECT_EQ(ListyKarty::kod(listy.bTypPo, r.bTypPo), "00");
  EXPECT_EQ(r.zRodzDokTo, 2) << "the last item of the code";
}

// ---- the header and the institution

TEST(ImportHeader, RefusedOrReadByTheInstitutionsNip) {
  const std::string da = "DA;02:1;\r\nTR00000001\r\n";
  const std::string karta = "  <kartaTr Status=\"1\">\r\n  </kartaTr>\r\n</wykazTr>\r\n";
  struct C {
    const char* nazwa;
    bool xml;
    std::string plik;
    std::string nipIO;
    QString blad;  // empty: one record read
  } cases[] = {
      {"first line not HE", false, "DA;02:1;\r\n" + da, "5260001246", kSkladnia},
      {"empty file", false, "", "5260001246", kSkladnia},
      {"another NIP", false, "HE20261210090507" "5260001247\r\n" + da, "5260001246", kInna},
      {"the NIP with a blank after it", false, "HE20261210090507" "5260001246 \r\n" + da, "5260001246", kInna},
      {"a short header", false, "HE2026\r\n" + da, "5260001246", kInna},
      {"a 9-character NIP", false, "HE20261210090507" "526000124\r\n" + da, "526000124", {}},
      {"XML: another NIP", true, "<wykazTr NipIO=\"5260001247\">\r\n" + karta, "5260001246", kInna},
      {"XML: a 9-character NIP", true, "<wykazTr NipIO=\"526000124\">\r\n" + karta, "526000124", {}},
      {"XML: a longer NIP", true, "<wykazTr NipIO=\"52600012460\">\r\n" + karta, "5260001246", kInna},
      {"XML: the NIP on a line of its own, with a reference", true,
       "<wykazTr xmlns=\"x\"\r\n NipIO=\"AB&#38;1\" lKart=\"00000001\">\r\n" + karta, "AB&1", {}},
      {"XML: no NipIO", true, "<wykazTr lKart=\"00000001\">\r\n" + karta, "5260001246", kSkladnia},
      {"XML: NipIO without its closing quote", true, "<wykazTr NipIO=\"5260001246\r\n" + karta, "5260001246", {}},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.nazwa);
    const auto wynik = c.xml ? czytajXml(c.plik, kontekst(c.nipIO)) : czytajTxt(c.plik, kontekst(c.nipIO));
    if (c.blad.isEmpty()) {
      EXPECT_FALSE(wynik.blad);
      EXPECT_EQ(wynik.rekordy.size(), 1u);
    } else {
      ASSERT_TRUE(wynik.blad);
      EXPECT_EQ(*wynik.blad, c.blad);
      EXPECT_TRUE(wynik.rekordy.empty());
    }
  }
}

// ---- XML cards and sections

TEST(ImportXml, CardsAndSections) {
  const std::string poczatek = "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n<wykazTr NipIO=\"5260001246\">\r\n";
  struct C {
    const char* nazwa;
    std::string tresc;  // after the start tag
    std::function<void(std::vector<R>&)> oczekiwane;
    QString blad;
  } cases[] = {
      {"two cards and the end tag as the last line",
       "<kartaTr Status=\"1\">\r\n</kartaTr>\r\n<kartaTr Status=\"0\">\r\n</kartaTr>\r\n</wykazTr>",
       [](auto& r) { r = {pusty(), pusty()}; r[1].Status = 0; }},
      {"no card", "</wykazTr>\r\n", [](auto& r) { r.clear(); }},
      {"no end tag of the last card: appended once",
       "<kartaTr Status=\"1\">\r\n<identTr>\r\n<nrRejDat>5</nrRejDat>\r\n</identTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].nrRejDat = "5"; }},
      {"no end tag of the last card before the list's end",
       "<kartaTr Status=\"1\">\r\n<identTr>\r\n<nrRejDat>5</nrRejDat>\r\n</identTr>\r\n</wykazTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].nrRejDat = "5"; }},
      {"a card without its end tag before the next card",
       "<kartaTr Status=\"1\">\r\n<kartaTr Status=\"0\">\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty(), pusty()}; r[1].Status = 0; }},
      {"a stray end tag does nothing", "</kartaTr>\r\n<kartaTr Status=\"1\">\r\n</kartaTr>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; }},
      {"Nz by its party's section",
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<Nz>Z</Nz>\r\n</Dysponent>\r\n<Wlasciciel>\r\n<Nz>P</Nz>\r\n"
       "</Wlasciciel>\r\n<Beneficjent>\r\n<Nz>B</Nz>\r\n</Beneficjent>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].zNz = "Z"; r[0].pNz = "P"; r[0].bNz = "B"; }},
      {"an element in Adres counts in its party",
       "<kartaTr Status=\"1\">\r\n<Beneficjent>\r\n<Adres>\r\n<adrKr>FR</adrKr>\r\n<adrUl>Rue</adrUl>\r\n</Adres>\r\n"
       "</Beneficjent>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].bAdrKr = "FR"; r[0].bAdrUl = "Rue"; }},
      {"elements outside their sections are ignored",
       "<kartaTr Status=\"1\">\r\n<Nz>X</Nz>\r\n<daneTr>\r\n<nrEwT>1</nrEwT>\r\n<nrRachZ>PL</nrRachZ>\r\n</daneTr>\r\n"
       "<nrEwT>2</nrEwT>\r\n</kartaTr>\r\n<nrEwT>3</nrEwT>\r\n",
       [](auto& r) { r = {pusty()}; }},
      {"Rodz as the attribute or as the text",
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<rodzDokTo Rodz=\"PA\"></rodzDokTo>\r\n</Dysponent>\r\n</kartaTr>\r\n"
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<rodzDokTo>KC</rodzDokTo>\r\n</Dysponent>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty(), pusty()}; r[0].zRodzDokTo = 2; r[1].zRodzDokTo = 5; }},
      {"card 1 without its party's end tag leaves card 2 whole",
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<Nz>A</Nz>\r\n</kartaTr>\r\n"
       "<kartaTr Status=\"1\">\r\n<identTr>\r\n<nrRejDat>2</nrRejDat>\r\n</identTr>\r\n<Dysponent>\r\n<Nz>B</Nz>\r\n"
       "</Dysponent>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty(), pusty()}; r[0].zNz = "A"; r[1].nrRejDat = "2"; r[1].zNz = "B"; }},
      {"a section left open takes no elements of the next one",
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<Nz>A</Nz>\r\n<Wlasciciel>\r\n<Nz>P</Nz>\r\n</Wlasciciel>\r\n"
       "</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].zNz = "A"; }},
      {"Status 99 stored; the whole value read", "<kartaTr Status=\"99\">\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].Status = 99; }},
      {"Status as the line's first quoted value", "<kartaTr x=\"0\">\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].Status = 0; }},
      {"a card without a Status", "<kartaTr>\r\n</kartaTr>\r\n", {}, q("'' is not a valid integer value")},
      {"Uwagi anywhere in the card",
       "<kartaTr Status=\"1\">\r\n<Dysponent>\r\n<Uwagi>[17:u]</Uwagi>\r\n</Dysponent>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].uwzTypPo = "u"; }},
      {"an integer element", "<kartaTr Status=\"1\">\r\n<daneTr>\r\n<kPwz>one</kPwz>\r\n</daneTr>\r\n</kartaTr>\r\n", {},
       q("'one' is not a valid integer value")},
      {"a date element", "<kartaTr Status=\"1\">\r\n<daneTr>\r\n<tDat>20250230</tDat>\r\n</daneTr>\r\n</kartaTr>\r\n",
       {}, q("Invalid argument to date encode")},
      {"control references as blanks",
       "<kartaTr Status=\"1\">\r\n<identTr>\r\n<nrEwT>A&#10;B&#9;</nrEwT>\r\n</identTr>\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; r[0].nrEwT = "A B "; }},
      {"cards after the list's end are not read",
       "<kartaTr Status=\"1\">\r\n</kartaTr>\r\n</wykazTr>\r\n<kartaTr Status=\"1\">\r\n</kartaTr>\r\n",
       [](auto& r) { r = {pusty()}; }},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.nazwa);
    sprawdz(czytajXml(poczatek + c.tresc, kontekst()), c.oczekiwane, c.blad);
  }
}

// ---- the element text, the remark pieces, the file type

TEST(ElementText, ReferencesDecodedOnceThenLetters) {
  const struct {
    const char* linia;
    std::string tekst;
  } cases[] = {
      {"<Nz>&#177;</Nz>", "\xB9"},  // ISO-8859-2 ą, as Windows-1250
      {"<Nz>&#38;</Nz>", "&"},
      {"<Nz>&#60;</Nz>", "<"},
      {"<Nz>&#38;#177;</Nz>", "&#177;"},
      {"<Nz>a&#b</Nz>", "a&#b"},
      {"<Nz>a&#177</Nz>", "a&#177"},
      {"<Nz>&#</Nz>", "&#"},
      {"<Nz>&#;</Nz>", "&#;"},
      {"<Nz>&#300;</Nz>", "&#300;"},
      {"<Nz>&#0177;</Nz>", "&#0177;"},
      {"<Nz>&#65;&#66;x</Nz>", "ABx"},
      {"<Nz>\xA6w. \xA3" "ukasz</Nz>", "\x8Cw. \xA3ukasz"},  // ISO bytes of Ś and Ł
      {"      <adrM>Rue</adrM>", "Rue"},
      {"<Nz>no end", "no end"},
      {"no tags", "no tags"},
      {"<rodzDokTo Rodz=\"DO\"></rodzDokTo>", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(wartoscElementu(c.linia), c.tekst) << c.linia;
  // A line of any length.
  const std::string dluga = "<Nz>" + std::string(100000, 'x') + "&#177;</Nz>";
  EXPECT_EQ(wartoscElementu(dluga), std::string(100000, 'x') + "\xB9");
}

TEST(RemarkPieces, NumberedSlotsAndTheGeneralRemark) {
  using P = std::string R::*;
  const struct {
    const char* nazwa;
    std::string uwagi;
    std::vector<std::pair<P, std::string>> pola;
  } cases[] = {
      {"every numbered slot", "[06:a][07:b][08:c][09:d][17:e][19:f][29:g][31:h][37:i]",
       {{&R::uwkRodzTr, "a"}, {&R::uwkPwz, "b"}, {&R::uwkPdjrz, "c"}, {&R::uwspDysp, "d"}, {&R::uwzTypPo, "e"},
        {&R::uwzObyw, "f"}, {&R::uwzRodzDokTo, "g"}, {&R::uwpTypPo, "h"}, {&R::uwbTypPo, "i"}}},
      {"a general remark that looks numbered", "[13:kwota]", {{&R::uwInne, "13:kwota"}}},
      {"one blank off a general remark that reads as a field's", "[ 06:og\xF3lna][06:z pola 06]",
       {{&R::uwInne, "06:og\xF3lna"}, {&R::uwkRodzTr, "z pola 06"}}},
      {"one blank off, the others stay", "[  37:x]", {{&R::uwInne, " 37:x"}}},
      {"a blank in front of a number that has no remark stays", "[ 13:x]", {{&R::uwInne, " 13:x"}}},
      {"plain text", "[uwaga]", {{&R::uwInne, "uwaga"}}},
      {"several general pieces", "[a][06:x][b c]", {{&R::uwInne, "a b c"}, {&R::uwkRodzTr, "x"}}},
      {"text outside brackets", "tekst", {{&R::uwInne, "tekst"}}},
      {"a piece without its bracket runs to the end", "[06:abc", {{&R::uwkRodzTr, "abc"}}},
      {"a number without its colon", "[06-x]", {{&R::uwInne, "06-x"}}},
      {"one digit", "[6:x]", {{&R::uwInne, "6:x"}}},
      {"the last piece of a number wins", "[07:a][07:b]", {{&R::uwkPwz, "b"}}},
      {"37 cut to 127", "[37:" + std::string(200, 'z') + "]", {{&R::uwbTypPo, std::string(127, 'z')}}},
      {"06 cut to 255", "[06:" + std::string(300, 'z') + "]", {{&R::uwkRodzTr, std::string(255, 'z')}}},
      {"the general remark cut to 127", "[" + std::string(100, 'a') + "][" + std::string(100, 'b') + "]",
       {{&R::uwInne, std::string(100, 'a') + " " + std::string(26, 'b')}}},
      {"an empty remark", "", {}},
  };
  for (const auto& c : cases) {
    R r = pusty();
    dodajUwagi(r, c.uwagi);
    R ma = pusty();
    for (const auto& [pole, tekst] : c.pola) ma.*pole = tekst;
    EXPECT_EQ(roznice(r, ma), "") << c.nazwa;
  }
}

// ---- what the writers wrote comes back

// How a writer puts a text field: converted to ISO-8859-2 or as stored, and for a raw TXT field
// the width it is right-aligned in.
enum class Zapis { Tr, Surowe };
struct PoleZapisu {
  const char* nazwa;
  std::string R::* pole;
  Zapis txt;
  std::size_t szerokoscTxt;
  Zapis xml;
  bool uwaga = false;
};

// Every text field that the writers write, as their layouts put it.
const PoleZapisu kPolaZapisu[] = {
    {"nrRejDat", &R::nrRejDat, Zapis::Tr, 12, Zapis::Surowe},
    {"kRodzTr", &R::kRodzTr, Zapis::Surowe, 4, Zapis::Surowe},
    {"kPdjrz", &R::kPdjrz, Zapis::Surowe, 0, Zapis::Surowe},
    {"nrDokT", &R::nrDokT, Zapis::Tr, 0, Zapis::Tr},
    {"tM", &R::tM, Zapis::Tr, 0, Zapis::Tr},
    {"tKw", &R::tKw, Zapis::Surowe, 0, Zapis::Surowe},
    {"tJ", &R::tJ, Zapis::Surowe, 0, Zapis::Surowe},
    {"tKwZ", &R::tKwZ, Zapis::Surowe, 0, Zapis::Surowe},
    {"tJZ", &R::tJZ, Zapis::Surowe, 0, Zapis::Surowe},
    {"zNz", &R::zNz, Zapis::Tr, 0, Zapis::Tr},
    {"zObyw", &R::zObyw, Zapis::Surowe, 2, Zapis::Surowe},
    {"zAdrKr", &R::zAdrKr, Zapis::Surowe, 2, Zapis::Surowe},
    {"zAdrKod", &R::zAdrKod, Zapis::Surowe, 0, Zapis::Surowe},
    {"zAdrM", &R::zAdrM, Zapis::Tr, 0, Zapis::Tr},
    {"zAdrUl", &R::zAdrUl, Zapis::Tr, 0, Zapis::Tr},
    {"zNrPes", &R::zNrPes, Zapis::Surowe, 11, Zapis::Surowe},
    {"zNrReg", &R::zNrReg, Zapis::Surowe, 9, Zapis::Surowe},
    {"zNrReS", &R::zNrReS, Zapis::Surowe, 0, Zapis::Surowe},
    {"zNrSwt", &R::zNrSwt, Zapis::Surowe, 0, Zapis::Surowe},
    {"zNip", &R::zNip, Zapis::Surowe, 10, Zapis::Surowe},
    {"zNrDokTo", &R::zNrDokTo, Zapis::Surowe, 0, Zapis::Surowe},
    {"pNz", &R::pNz, Zapis::Tr, 0, Zapis::Tr},
    {"pAdrKr", &R::pAdrKr, Zapis::Surowe, 2, Zapis::Surowe},
    {"pAdrKod", &R::pAdrKod, Zapis::Surowe, 0, Zapis::Surowe},
    {"pAdrM", &R::pAdrM, Zapis::Tr, 0, Zapis::Tr},
    {"pAdrUl", &R::pAdrUl, Zapis::Tr, 0, Zapis::Tr},
    {"bNz", &R::bNz, Zapis::Tr, 0, Zapis::Tr},
    {"bAdrKr", &R::bAdrKr, Zapis::Surowe, 2, Zapis::Surowe},
    {"bAdrKod", &R::bAdrKod, Zapis::Surowe, 0, Zapis::Surowe},
    {"bAdrM", &R::bAdrM, Zapis::Tr, 0, Zapis::Tr},
    {"bAdrUl", &R::bAdrUl, Zapis::Tr, 0, Zapis::Tr},
    {"nrRachZ", &R::nrRachZ, Zapis::Surowe, 0, Zapis::Surowe},
    {"nrRachN", &R::nrRachN, Zapis::Surowe, 0, Zapis::Surowe},
    {"uwInne", &R::uwInne, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwkRodzTr", &R::uwkRodzTr, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwkPwz", &R::uwkPwz, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwkPdjrz", &R::uwkPdjrz, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwspDysp", &R::uwspDysp, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwzTypPo", &R::uwzTypPo, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwzObyw", &R::uwzObyw, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwzRodzDokTo", &R::uwzRodzDokTo, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwpTypPo", &R::uwpTypPo, Zapis::Tr, 0, Zapis::Tr, true},
    {"uwbTypPo", &R::uwbTypPo, Zapis::Tr, 0, Zapis::Tr, true},
};

// What one stored byte of a field comes back as, from the code tables alone: a control (C0, DEL,
// a byte that Windows-1250 leaves undefined) as the blank that the writers put; a converted byte
// whose character ISO-8859-2 lacks as the "?" they put; a ";" of a TXT value as ","; a remark's
// brackets as "(" and ")"; any other byte as itself.
std::string poPowrocie(unsigned char c, Zapis zapis, bool txt, bool uwaga) {
  const std::string jeden(1, static_cast<char>(c));
  if (c < 0x20 || c == 0x7F || !tablice::iconvert("WINDOWS-1250", "UTF-8", jeden)) return " ";
  if (zapis == Zapis::Tr && !tablice::iconvert("WINDOWS-1250", "ISO-8859-2", jeden)) return "?";
  if (txt && c == ';') return ",";
  if (uwaga && c == '[') return "(";
  if (uwaga && c == ']') return ")";
  return jeden;
}

TEST(ImportOfWrittenFiles, EveryByteThroughEveryFieldOfBothWriters) {
  const QDateTime czas(QDate(2026, 12, 10), QTime(9, 5, 7));
  for (int i = 0; i < 256; ++i) {
    const auto c = static_cast<unsigned char>(i);
    SCOPED_TRACE("byte " + std::to_string(i));
    R r = pusty();
    r.jedIO = "00000001";
    r.zTypPo = r.pTypPo = r.bTypPo = 0;  // every party and every remark written
    for (const PoleZapisu& p : kPolaZapisu) r.*(p.pole) = std::string(1, static_cast<char>(c));
    for (const bool txt : {true, false}) {
      SCOPED_TRACE(txt ? "TXT" : "XML");
      const std::string plik =
          txt ? naglowekTxt(czas, "5260001246") + generujtxt(r, wbudowane()) + stopkaTxt(1)
              : deklaracjaXml() + poczatekWykazuEksportu("5260001246", 1, czas) + generujxml(r, wbudowane()) + koniecWykazu();
      const WynikImportu wynik = txt ? czytajTxt(plik, kontekst()) : czytajXml(plik, kontekst());
      ASSERT_FALSE(wynik.blad) << wynik.blad->toStdString() << "\n" << plik;
      ASSERT_EQ(wynik.rekordy.size(), 1u) << plik;
      for (const PoleZapisu& p : kPolaZapisu) {
        std::string ma = poPowrocie(c, txt ? p.txt : p.xml, txt, p.uwaga);
        if (txt && ma.size() < p.szerokoscTxt) ma.insert(0, p.szerokoscTxt - ma.size(), ' ');  // the alignment stays
        EXPECT_EQ(wynik.rekordy[0].*(p.pole), ma) << p.nazwa;
      }
    }
  }
}

TEST(ReportFileType, ExtensionAfterTheLastDotOfTheName) {
  const struct {
    const char* sciezka;
    RodzajPliku rodzaj;
  } cases[] = {
      {"/home/u/wykaz.txt", RodzajPliku::Txt},
      {"/home/u/WYKAZ.TXT", RodzajPliku::Txt},
      {"/home/u/P01ABC.Xml", RodzajPliku::Xml},
      {"/home/jan.kowalski/wykaz.xml", RodzajPliku::Xml},
      {"/home/u/.zelt/wykaz.txt", RodzajPliku::Txt},
      {"/home/u/wykaz.txt.bak", RodzajPliku::Nieznany},
      {"/home/u.txt/wykaz", RodzajPliku::Nieznany},
      {"/home/u/wykaz", RodzajPliku::Nieznany},
      {"/home/u/wykaz.", RodzajPliku::Nieznany},
      {"/home/u/wykaz.dat", RodzajPliku::Nieznany},
  };
  for (const auto& c : cases) EXPECT_EQ(rodzajPliku(c.sciezka), c.rodzaj) << c.sciezka;
}

// ---- robustness

// Aborts the test program when a step runs past its time: a reader that loops never ends otherwise.
class Straznik {
 public:
  explicit Straznik(int sekundy) : watek_([this, sekundy] {
      for (int i = 0; i < sekundy * 10 && !koniec_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (!koniec_) {
        std::fprintf(stderr, "reader did not end within %d s\n", sekundy);
        std::abort();
      }
    }) {}
  ~Straznik() {
    koniec_ = true;
    watek_.join();
  }

 private:
  std::atomic<bool> koniec_{false};
  std::thread watek_;
};

// A result is either the refusal alone or records only.
void spojny(const WynikImportu& w) {
  if (w.blad) EXPECT_TRUE(w.rekordy.empty());
}

TEST(ImportRobustness, EveryPrefixAndSeededByteFlips) {
  Straznik straznik(120);
  for (const bool xml : {false, true}) {
    const std::string& f = xml ? kXml : kTxt;
    auto czytaj = [&](const std::string& plik) { return xml ? czytajXml(plik, kontekst()) : czytajTxt(plik, kontekst()); };
    for (std::size_t n = 0; n <= f.size(); ++n) spojny(czytaj(f.substr(0, n)));
    std::mt19937 los(20261210);
    const char bajty[] = {';', ':', '<', '>', '/', '"', '&', '#', '[', ']', '\r', '\n', '\0', '\xFF', '9', 'a'};
    for (int i = 0; i < 3000; ++i) {
      std::string zmieniony = f;
      const int ile = 1 + static_cast<int>(los() % 4);
      for (int k = 0; k < ile; ++k) {
        const std::size_t gdzie = los() % zmieniony.size();
        zmieniony[gdzie] = los() % 2 ? bajty[los() % sizeof bajty] : static_cast<char>(los() % 256);
      }
      spojny(czytaj(zmieniony));
    }
  }
}

TEST(ImportRobustness, AOneLineFileOfManyMegabytesIsRefused) {
  Straznik straznik(60);
  const std::string jedna = "HE20261210090507" "5260001246" + std::string(20 << 20, 'x');
  auto w = czytajTxt(jedna, kontekst());
  ASSERT_TRUE(w.blad);
  EXPECT_EQ(*w.blad, kInna);
  const std::string da = "HE20261210090507" "5260001246\r\nDA;" + std::string(20 << 20, '1') + ":x;";
  w = czytajTxt(da, kontekst());
  ASSERT_TRUE(w.blad);
  EXPECT_LT(w.blad->size(), 200) << "the message quotes a part of the value";
  const std::string xml = "<wykazTr NipIO=\"5260001246\"><kartaTr Status=\"1\">" + std::string(20 << 20, '<') + "\r\n";
  w = czytajXml(xml, kontekst());
  EXPECT_FALSE(w.blad);
  EXPECT_EQ(w.rekordy.size(), 1u);
}

}  // namespace
