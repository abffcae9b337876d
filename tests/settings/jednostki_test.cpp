// The institution's organisational units: the table and its number proposal, the unit dialog
// and the grid's buttons, the writer with the institution's values, a new card's unit list, and
// adding a further institution.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <set>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/errors.h"
#include "platform/geometry.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/werform.h"
#include "settings/addioform.h"
#include "settings/konfigform.h"
#include "settings/firmaform.h"
#include "settings/jednform.h"
#include "settings/jednostki.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;
using zelt::JednostkiIO;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kProg = "\\SOFTWARE\\Tarvo\\ZELT\\";
const std::string kIO = kProg + "IO\\";

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A unit row with a number and a name (the other columns derived from the name).
JednostkiIO::Wiersz jednostka(const std::string& numer, const std::string& nazwa = "Oddział") {
  return {"", numer, nazwa, nazwa + " ul", "00950", nazwa + " m", nazwa + " w", "221", "222"};
}

JednostkiIO tabela(std::initializer_list<std::string> numery) {
  JednostkiIO j;
  for (const auto& n : numery) j.dodaj(jednostka(n, "J" + n));
  return j;
}

// Column c of every unit row, in order.
std::vector<std::string> kolumna(const JednostkiIO& j, int c) {
  std::vector<std::string> v;
  for (int w = 1; w <= j.RowCount() - 2; ++w) v.push_back(j.komorka(w, c));
  return v;
}

TEST(UnitNumbers, AWholeNumberOfOneToEightDigits) {
  const std::pair<const char*, std::optional<long>> przypadki[] = {
      {"00000005", 5}, {"5", 5},           {" 12 ", 12},         {"99999999", 99999999}, {"", std::nullopt},
      {"   ", std::nullopt}, {"12 4", std::nullopt}, {"123456789", std::nullopt}, {"-1", std::nullopt},
      {"1a", std::nullopt},  {"+7", std::nullopt},
  };
  for (auto [tekst, wynik] : przypadki) EXPECT_EQ(zelt::numerJednostki(tekst), wynik) << '"' << tekst << '"';
}

TEST(UnitNumbers, TheProposalIsTheFirstFreeNumber) {
  struct Przypadek {
    const char* numIO;
    std::vector<std::string> jednostki;
    const char* propozycja;
  };
  const Przypadek przypadki[] = {
      {"00000000", {}, "00000001"},
      {"00000000", {"00000001", "00000003"}, "00000002"},
      {"00000005", {"00000000", "00000001", "00000002", "00000003", "00000004"}, "00000006"},
      {"00000000", {"12 4", "1"}, "00000002"},  // a number with a blank inside is no number
      {"  3     ", {"00000000", "1", "2"}, "00000004"},
      {"", {}, "00000000"},
  };
  for (const auto& c : przypadki) {
    JednostkiIO j;
    for (const auto& n : c.jednostki) j.dodaj(jednostka(n));
    EXPECT_EQ(zelt::zaproponujNumer(c.numIO, j), c.propozycja) << c.numIO << " + " << c.jednostki.size();
  }
}

TEST(UnitTable, AddEditAndRemoveKeepTheHeaderAndTheTrailingRow) {
  JednostkiIO j;
  EXPECT_EQ(j.RowCount(), 2);
  EXPECT_EQ(j.komorka(0, 1), "Numer jednostki");
  EXPECT_EQ(j.komorka(0, 5), cp1250::fromUtf8("Miejscowość"));
  EXPECT_EQ(j.dodaj(jednostka("00000001", "A")), 1);
  EXPECT_EQ(j.dodaj(jednostka("00000002", "B")), 2);
  EXPECT_EQ(j.dodaj(jednostka("00000003", "C")), 3);
  EXPECT_EQ(j.RowCount(), 5);
  EXPECT_EQ(kolumna(j, 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(j.wiersz(4), JednostkiIO::Wiersz{}) << "the trailing row stays empty";

  EXPECT_TRUE(j.zmien(2, jednostka("99999999", "Nowa")));
  EXPECT_EQ(j.komorka(2, 1), "00000002") << "the number is not edited";
  EXPECT_EQ(j.komorka(2, 2), "Nowa");
  EXPECT_EQ(j.komorka(2, 8), "222");
  EXPECT_EQ(j.komorka(2, 0), "2");

  // Header and trailing row are no unit rows: nothing happens there.
  for (int w : {0, 4, 5, -1}) {
    EXPECT_FALSE(j.usun(w)) << w;
    EXPECT_FALSE(j.zmien(w, jednostka("1", "X"))) << w;
  }
  EXPECT_EQ(j.RowCount(), 5);
  EXPECT_EQ(j.wiersz(4), JednostkiIO::Wiersz{});

  EXPECT_TRUE(j.usun(2));  // the middle one
  EXPECT_EQ(j.RowCount(), 4);
  EXPECT_EQ(kolumna(j, 1), (std::vector<std::string>{"00000001", "00000003"}));
  EXPECT_EQ(kolumna(j, 0), (std::vector<std::string>{"1", "2"})) << "renumbered";
  EXPECT_EQ(j.wiersz(3), (JednostkiIO::Wiersz{"3"})) << "the trailing row shows the next unit's number";
  EXPECT_TRUE(j.usun(1));
  EXPECT_TRUE(j.usun(1));
  EXPECT_EQ(j.RowCount(), 2);
  EXPECT_FALSE(j.usun(1));
}

TEST(UnitTable, NinetyNineUnitsAtMost) {
  JednostkiIO j;
  for (int i = 0; i < 99; ++i) ASSERT_EQ(j.dodaj(jednostka(std::to_string(i))), i + 1);
  EXPECT_EQ(j.dodaj(jednostka("x")), 0);
  EXPECT_EQ(j.RowCount(), 101);
}

TEST(UnitTable, ANewCardListsTheRowsThatHoldAUnit) {
  JednostkiIO j = tabela({"00000001"});
  j.setRowCount(4);  // a row left empty, as a missing subkey leaves it
  j.dodaj({"", "", cp1250::fromUtf8("Bez numeru")});
  using L = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(j.listaKarty(), (L{{"00000001", "J00000001"}, {"", cp1250::fromUtf8("Bez numeru")}}));
}

// A folder of the second (third) institution from the current one's.
TEST(FurtherInstitution, FoldersBranchAfterZelt) {
  const std::tuple<const char*, int, const char*> przypadki[] = {
      {"C:\\Dane\\ZELT\\Baza", 2, "C:\\Dane\\ZELT\\IO02\\Baza"},
      {"C:\\Dane\\ZELT\\IO02\\Baza", 3, "C:\\Dane\\ZELT\\IO03\\IO02\\Baza"},
      {"/home/u/ZELT/Baza", 2, "/home/u/ZELT/IO02/Baza"},
      {"/home/u/ZELT/Przekaz", 12, "/home/u/ZELT/IO12/Przekaz"},
      {"/srv/ZELTX/a/ZELT/b", 2, "/srv/ZELTX/a/ZELT/IO02/b"},
      {"D:\\Rej", 2, "D:\\Rej\\IO02"},
      {"/data/rej/", 3, "/data/rej/IO03"},
      {"/data/ZELT", 2, "/data/ZELT/IO02"},
      {"", 2, ""},
  };
  for (auto [folder, n, wynik] : przypadki) EXPECT_EQ(zelt::folderNowejInstytucji(folder, n), wynik) << folder;
  const QString dluga = "/a/ZELT/" + QString(300, 'x');
  EXPECT_EQ(zelt::folderNowejInstytucji(dluga, 2), "/a/ZELT/IO02/" + QString(255, 'x'));
}

// The writer over a store: the table's rows as subkeys, the old ones by the old count removed.
TEST(UnitWriter, RowsBecomeSubkeysAndOldOnesGo) {
  platform::RegistryStore reg;
  for (int i = 0; i < 5; ++i) reg.writeString(HKCU, kIO + zelt::podkluczJednostki(i + 1), "NumJe", "stary");
  JednostkiIO j = tabela({"00000001", "00000002"});
  j.setRowCount(5);           // row 3 empty, then a new trailing row
  j.dodaj(jednostka("00000004", "D"));  // row 4
  zelt::zapiszJednostki(reg, "IO\\", 7, j);
  EXPECT_EQ(reg.subkeyNames(HKCU, kIO), (std::vector<std::string>{"JED00", "JED01", "JED03"}));
  EXPECT_EQ(reg.valueNames(HKCU, kIO + "JED03\\"),
            (std::vector<std::string>{"NumJe", "NazJe", "UliJe", "KodJe", "MieJe", "WojJe", "TelJe", "FaxJe"}));
  EXPECT_EQ(reg.readString(HKCU, kIO + "JED03\\", "NumJe"), "00000004");
  EXPECT_EQ(reg.readString(HKCU, kIO + "JED03\\", "KodJe"), "00950");
  EXPECT_EQ(reg.readString(HKCU, kIO + "JED01\\", "NazJe"), "J00000002");

  // Read back with the count: the empty row stays empty and shows no running number.
  const JednostkiIO z = zelt::wczytajJednostki(reg, "IO\\", 6);
  EXPECT_EQ(z.RowCount(), 6);
  EXPECT_EQ(z.wiersz(1), j.wiersz(1));
  EXPECT_EQ(z.wiersz(3), JednostkiIO::Wiersz{});
  EXPECT_EQ(z.wiersz(4), j.wiersz(4));
  EXPECT_EQ(z.komorka(4, 0), "4");

  // A name alone, or a number alone, makes a unit; the old count's subkeys go.
  JednostkiIO k;
  k.dodaj({"", "", "Tylko nazwa"});
  zelt::zapiszJednostki(reg, "IO02\\", 0, k);
  EXPECT_EQ(reg.readString(HKCU, kProg + "IO02\\JED00\\", "NazJe"), "Tylko nazwa");
  zelt::zapiszJednostki(reg, "IO\\", 6, JednostkiIO{});
  EXPECT_TRUE(reg.subkeyNames(HKCU, kIO).empty());
}

// A world whose program has started, every window created.
struct JednWorld : World {
  int ends = 0;
  zelt::Program& start() {
    auto& p = program();
    p.logowanie = [] { return platform::mrOk; };
    p.zakoncz = [this] { ++ends; };
    EXPECT_TRUE(p.start());
    return p;
  }
  // Stores units with these numbers in the institution key, as "&Zapisz" would.
  void zapiszJednostki(std::initializer_list<std::string> numery) {
    const JednostkiIO j = tabela(numery);
    reg().writeInteger(HKCU, kIO, "JedIO", j.RowCount());
    zelt::zapiszJednostki(reg(), "IO\\", 0, j);
  }
  // The unit dialog as the next modal window: `wpisz` works it, then "&Wprowadź" or "&Powrót".
  void dialogJednostki(std::function<void(zelt::TJednForm&)> wpisz, bool wprowadz = true) {
    dialogs.expectModal("JednForm", [wpisz, wprowadz](platform::ModalForm& f) {
      auto& j = static_cast<zelt::TJednForm&>(f);
      f.resetModalResult();
      wpisz(j);
      (wprowadz ? j.Zapis : j.wyjscie)->click();
      return f.modalResult();
    });
  }
};

struct Przyciski {
  bool dodaj, edytuj, usun;
  bool operator==(const Przyciski&) const = default;
};
Przyciski przyciski(const zelt::TFirmaForm& f) {
  return {f.DodajIO->isEnabled(), f.editIO->isEnabled(), f.UsunIO->isEnabled()};
}
std::ostream& operator<<(std::ostream& o, const Przyciski& p) {
  return o << "dodaj " << p.dodaj << " edytuj " << p.edytuj << " usun " << p.usun;
}

// What the grid shows in row r (table numbering) and column c.
QString komorka(const zelt::TFirmaForm& f, int r, int c) {
  const auto* it = f.JedIO->item(r - 1, c);
  return it ? it->text() : QString();
}

TEST(UnitsPage, TheLoadFillsTheGridAndAMissingSubkeyLeavesItsRowEmpty) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002", "00000003"});
  w.reg().deleteKey(HKCU, kIO + "JED01\\");
  w.reg().writeString(HKCU, kIO + "JED02\\", "NazJe", cp1250::fromUtf8("Oddział Łódź"));
  auto& f = *w.start().firma();
  EXPECT_EQ(f.jednostkiIO.RowCount(), 5);
  EXPECT_EQ(f.JedIO->rowCount(), 4) << "units and the trailing row under the header";
  EXPECT_EQ(f.JedIO->columnCount(), 9);
  QStringList naglowki;
  std::vector<int> szerokosci;
  for (int c = 0; c < 9; ++c) {
    naglowki << f.JedIO->horizontalHeaderItem(c)->text();
    szerokosci.push_back(f.JedIO->columnWidth(c));
  }
  EXPECT_EQ(naglowki, (QStringList{"LP", "Numer jednostki", "Nazwa jednostki", "Ulica", "Kod pocztowy",
                                   u("Miejscowość"), u("Województwo"), "Telefon", "Fax"}));
  // The design widths; the numbers' columns wider where the font needs it to show them whole.
  const std::vector<int> projekt = {20, 60, 150, 100, 50, 100, 100, 60, 60};
  for (int c = 0; c < 9; ++c)
    if (c == 0 || c == 1)
      EXPECT_GE(szerokosci[c], projekt[c]) << c;
    else
      EXPECT_EQ(szerokosci[c], projekt[c]) << c;
  EXPECT_GE(szerokosci[1], f.JedIO->fontMetrics().horizontalAdvance("00000000"));
  EXPECT_EQ(komorka(f, 1, 0), "1");
  EXPECT_EQ(komorka(f, 1, 1), "00000001");
  EXPECT_EQ(komorka(f, 2, 0), "") << "JED01 is missing";
  EXPECT_EQ(komorka(f, 2, 1), "");
  EXPECT_EQ(komorka(f, 3, 2), u("Oddział Łódź"));
  EXPECT_EQ(komorka(f, 3, 6), "J00000003 w");
  EXPECT_EQ(przyciski(f), (Przyciski{true, true, true}));

  JednWorld bez;
  EXPECT_EQ(przyciski(*bez.start().firma()), (Przyciski{true, false, false}));
}

TEST(UnitsPage, AddProposesANumberAndFillsTheTrailingRow) {
  JednWorld w;
  w.reg().writeString(HKCU, kIO, "numIO", "00000000");
  w.zapiszJednostki({"00000001", "00000003"});
  auto& f = *w.start().firma();
  f.setBiezacyWiersz(1);
  w.dialogJednostki([](zelt::TJednForm& j) {
    EXPECT_TRUE(j.NumIO->isEnabled());
    EXPECT_EQ(j.NumIO->text(), "00000002");
    EXPECT_EQ(j.NazIO->text(), "") << "the other edits cleared";
    j.NazIO->setText(u("Filia Gdańsk"));
    j.UliIO->setText("Długa");
    j.KodIO->setText("80001");
    j.MieIO->setText(u("Gdańsk"));
    j.WojIO->setText("pomorskie");
    j.TelIO->setText("58");
    j.FaxIO->setText("59");
  });
  f.DodajIO->click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(f.jednostkiIO.RowCount(), 5);
  EXPECT_EQ(f.JedIO->rowCount(), 4);
  const QStringList wiersz3 = {"3", "00000002", u("Filia Gdańsk"), u("Długa"), "80001", u("Gdańsk"), "pomorskie",
                               "58", "59"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(komorka(f, 3, c), wiersz3[c]) << c;
  EXPECT_EQ(komorka(f, 4, 0), "");
  EXPECT_EQ(przyciski(f), (Przyciski{true, true, true}));

  // "&Powrót" adds nothing; the next proposal skips the new number.
  w.dialogJednostki([](zelt::TJednForm& j) { EXPECT_EQ(j.NumIO->text(), "00000004"); }, false);
  f.DodajIOClick();
  EXPECT_EQ(f.jednostkiIO.RowCount(), 5);
}

TEST(UnitsPage, AnIncompleteNumberKeepsTheDialogOpenAndTheGridUnchanged) {
  JednWorld w;
  auto& f = *w.start().firma();
  w.dialogs.expectModal("JednForm", [&w](platform::ModalForm& form) {
    auto& j = static_cast<zelt::TJednForm&>(form);
    form.resetModalResult();
    j.NumIO->selectAll();
    QTest::keyClicks(j.NumIO, "1234567");
    w.dialogs.expectMessage(platform::IdOk, u("Numer jednostki musi składać się z 8 cyfr"));
    j.Zapis->click();
    EXPECT_EQ(form.modalResult(), platform::mrNone) << "still open";
    return platform::mrCancel;
  });
  f.DodajIOClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(f.jednostkiIO.RowCount(), 2);
  EXPECT_EQ(f.JedIO->rowCount(), 1);
}

TEST(UnitsPage, EditChangesAllButTheNumberOfTheCurrentRow) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002"});
  auto& f = *w.start().firma();
  f.setBiezacyWiersz(2);
  w.dialogJednostki([](zelt::TJednForm& j) {
    EXPECT_FALSE(j.NumIO->isEnabled());
    EXPECT_EQ(j.NumIO->text(), "00000002");
    EXPECT_EQ(j.NazIO->text(), "J00000002");
    EXPECT_EQ(j.FaxIO->text(), "222");
    j.NazIO->selectAll();
    QTest::keyClicks(j.NazIO, "Zmieniona");
  });
  f.editIO->click();
  EXPECT_EQ(komorka(f, 2, 2), "Zmieniona");
  EXPECT_EQ(komorka(f, 2, 1), "00000002");
  EXPECT_EQ(komorka(f, 1, 2), "J00000001");
  EXPECT_EQ(f.jednostkiIO.RowCount(), 4);
}

// A stored value longer than its edit takes comes back whole unless the user changes it.
TEST(UnitsPage, EditKeepsAnUntouchedStoredValueWhole) {
  JednWorld w;
  w.zapiszJednostki({"00000001"});
  const std::string dluga(70, 'N');
  w.reg().writeString(HKCU, kIO + "JED00\\", "NazJe", dluga);
  w.reg().writeString(HKCU, kIO + "JED00\\", "TelJe", std::string(20, '7'));
  auto& f = *w.start().firma();
  f.setBiezacyWiersz(1);
  w.dialogJednostki([](zelt::TJednForm& j) {
    j.TelIO->selectAll();
    QTest::keyClicks(j.TelIO, "123");
  });
  f.editIOClick();
  EXPECT_EQ(f.jednostkiIO.komorka(1, zelt::kol::Naz), dluga);
  EXPECT_EQ(f.jednostkiIO.komorka(1, zelt::kol::Tel), "123");
}

TEST(UnitsPage, TheButtonsFollowTheCurrentRowAndDoNothingOffAUnit) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002", "00000003"});
  auto& f = *w.start().firma();
  // On the trailing row: both off, and the handlers themselves change nothing.
  f.setBiezacyWiersz(4);
  EXPECT_EQ(przyciski(f), (Przyciski{true, false, false}));
  f.UsunIOClick();
  f.editIOClick();  // no dialog: the script expects none
  EXPECT_EQ(f.jednostkiIO.RowCount(), 5);
  EXPECT_EQ(komorka(f, 3, 1), "00000003");

  // A middle row: the rows below move up, renumbered; the trailing row shows the next number's place.
  f.setBiezacyWiersz(2);
  EXPECT_EQ(przyciski(f), (Przyciski{true, true, true}));
  f.UsunIO->click();
  EXPECT_EQ(f.jednostkiIO.RowCount(), 4);
  EXPECT_EQ(f.JedIO->rowCount(), 3);
  EXPECT_EQ(komorka(f, 2, 0), "2");
  EXPECT_EQ(komorka(f, 2, 1), "00000003");
  EXPECT_EQ(komorka(f, 3, 0), "3");
  EXPECT_EQ(komorka(f, 3, 1), "");
  EXPECT_EQ(przyciski(f), (Przyciski{true, true, true})) << "row 2 is still a unit";

  // The last unit: the current row becomes the trailing row.
  f.UsunIO->click();
  EXPECT_EQ(f.jednostkiIO.RowCount(), 3);
  EXPECT_EQ(przyciski(f), (Przyciski{true, false, false}));
  // The only unit.
  f.setBiezacyWiersz(1);
  f.UsunIO->click();
  EXPECT_EQ(f.jednostkiIO.RowCount(), 2);
  EXPECT_EQ(f.JedIO->rowCount(), 1);
  EXPECT_EQ(przyciski(f), (Przyciski{true, false, false}));
}

TEST(UnitsPage, AtNinetyNineUnitsAddIsOff) {
  JednWorld w;
  auto& f = *w.start().firma();
  for (int i = 0; i < 98; ++i) f.jednostkiIO.dodaj(jednostka(std::to_string(i + 1)));
  w.dialogJednostki([](zelt::TJednForm&) {});
  f.DodajIOClick();
  EXPECT_EQ(f.jednostkiIO.iloscJednostek(), 99);
  EXPECT_FALSE(f.DodajIO->isEnabled());
  f.DodajIOClick();  // no dialog
  EXPECT_EQ(f.jednostkiIO.iloscJednostek(), 99);
  f.setBiezacyWiersz(5);
  f.UsunIOClick();
  EXPECT_TRUE(f.DodajIO->isEnabled());
}

// "&Zapisz" writes the units with the institution's values; the old count's subkeys go.
TEST(UnitsSave, TheWindowsSaveWritesTheGridsUnits) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002", "00000003"});
  auto& p = w.start();
  auto& f = *p.firma();
  f.setBiezacyWiersz(1);
  f.UsunIOClick();
  w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
  f.zapisClick();
  auto& r = w.reg();
  EXPECT_EQ(r.readInteger(HKCU, kIO, "JedIO"), 4);
  EXPECT_EQ(r.subkeyNames(HKCU, kIO), (std::vector<std::string>{"JED00", "JED01"}));
  EXPECT_EQ(r.readString(HKCU, kIO + "JED00\\", "NumJe"), "00000002");
  EXPECT_EQ(r.readString(HKCU, kIO + "JED01\\", "NumJe"), "00000003");
}

TEST(UnitsSave, AStoreThatCannotBeWrittenKeepsInstitutionAndUnits) {
  JednWorld w;
  w.reg().writeString(HKCU, kIO, "nazIO", "Stara");
  w.zapiszJednostki({"00000001", "00000002"});
  auto& p = w.start();
  const std::string przed = World::readFile(w.registryFile());
  auto& f = *p.firma();
  f.NazIO->setText("Nowa");
  f.setBiezacyWiersz(1);
  f.UsunIOClick();
  ASSERT_TRUE(QFile::remove(w.registryFile()));
  ASSERT_TRUE(QDir().mkpath(w.registryFile() + "/x"));
  w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
  EXPECT_THROW(f.zapisClick(), platform::IoError);
  EXPECT_EQ(w.reg().readString(HKCU, kIO, "nazIO"), "Stara");
  EXPECT_EQ(w.reg().readInteger(HKCU, kIO, "JedIO"), 4);
  EXPECT_EQ(w.reg().readString(HKCU, kIO + "JED00\\", "NumJe"), "00000001");
  EXPECT_EQ(w.reg().readString(HKCU, kIO + "JED01\\", "NumJe"), "00000002");
  // And the save-all step at exit, which fails the same way.
  w.dialogs.expectMessage(platform::IdOk);
  p.glowny()->zapiszUstawienia();
  EXPECT_EQ(w.ends, 1);
  QDir(w.registryFile()).removeRecursively();
  World::writeFile(w.registryFile(), przed);
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readString(HKCU, kIO + "JED00\\", "NumJe"), "00000001");
}

TEST(UnitsSave, TheSaveAllStepWritesTheGridsUnits) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002"});
  auto& p = w.start();
  auto& f = *p.firma();
  f.setBiezacyWiersz(1);
  f.UsunIOClick();
  p.glowny()->zapiszUstawienia();
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readInteger(HKCU, kIO, "JedIO"), 3);
  EXPECT_EQ(w.reg().subkeyNames(HKCU, kIO), (std::vector<std::string>{"JED00"}));
  EXPECT_EQ(w.reg().readString(HKCU, kIO + "JED00\\", "NumJe"), "00000002");
}

TEST(UnitsCard, ANewCardListsTheSeatThenTheUnits) {
  JednWorld w;
  w.reg().writeString(HKCU, kIO, "numIO", "12345678");
  w.zapiszJednostki({"00000001", "00000002"});
  auto& p = w.start();
  auto& g = *p.glowny();
  int pokazana = 0;
  g.pokazEdycje = [&] { return ++pokazana; };
  g.dodajClick();
  ASSERT_EQ(pokazana, 1);
  EXPECT_EQ(p.karta.jedIOPozycje,
            (std::vector<std::string>{"12345678 - siedziba", "00000001 - J00000001", "00000002 - J00000002"}));
}

// Adding a further institution.
struct AddIOWorld : JednWorld {
  // The add-institution dialog as the next modal window, answered with `nazwa` and a button.
  void dialogDodania(const QString& nazwa, bool zapisz) {
    dialogs.expectModal("AddIOForm", [nazwa, zapisz](platform::ModalForm& f) {
      auto& a = static_cast<zelt::TAddIOForm&>(f);
      f.resetModalResult();
      EXPECT_EQ(a.AddIO->text(), "");
      a.AddIO->setText(nazwa);
      (zapisz ? a.zapisz : a.anuluj)->click();
      return f.modalResult();
    });
  }
};

TEST(FurtherInstitution, CancelOrAnEmptyNameChangesNothing) {
  const std::pair<const char*, bool> przypadki[] = {{"Kantor B", false}, {"", true}, {"   ", true}};
  for (auto [nazwa, zapisz] : przypadki) {
    AddIOWorld w;
    auto& p = w.start();
    const std::string przed = World::readFile(w.registryFile());
    w.dialogDodania(nazwa, zapisz);
    p.firma()->dodaj->click();
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(World::readFile(w.registryFile()), przed) << nazwa;
    EXPECT_EQ(w.ends, 0) << nazwa;
    EXPECT_EQ(p.IloscIO, 1);
  }
}

TEST(FurtherInstitution, ConfirmedItIsStoredAndTheProgramEndsOnce) {
  AddIOWorld w;
  const QString baza = w.path("Dane/ZELT/Baza");
  const QString eksp = w.path("Eksport");
  QDir().mkpath(baza);
  QDir().mkpath(eksp);
  w.reg().writeString(HKCU, kIO, "nazIO", "Kantor A");
  w.reg().writeString(HKCU, kIO, "KatDan", cp1250::fromUnicode(baza));
  w.reg().writeString(HKCU, kIO, "KatEks", cp1250::fromUnicode(eksp));
  auto& p = w.start();
  ASSERT_EQ(p.KatDan, baza);
  p.firma()->NazIO->setText("Kantor A2");  // not saved: the save-all step writes it
  w.dialogDodania(u("Kantor Łęczyca"), true);
  p.firma()->dodaj->click();
  EXPECT_EQ(w.ends, 1);
  p.glowny()->zapiszUstawienia();  // the close that follows ends nothing twice
  EXPECT_EQ(w.ends, 1);
  w.reloadRegistry();
  auto& r = w.reg();
  EXPECT_EQ(r.readInteger(HKCU, kProg, "IloscIO"), 2);
  const std::string io2 = kProg + "IO02\\";
  EXPECT_EQ(r.readString(HKCU, io2, "nazIO"), cp1250::fromUtf8("Kantor Łęczyca"));
  EXPECT_EQ(r.readString(HKCU, io2, "KatDan"), cp1250::fromUnicode(w.path("Dane/ZELT/IO02/Baza")));
  EXPECT_EQ(r.readString(HKCU, io2, "KatPod"), cp1250::fromUnicode(w.path("Dane/ZELT/IO02/Baza")));
  EXPECT_EQ(r.readString(HKCU, io2, "KatEks"), cp1250::fromUnicode(w.path("Eksport/IO02")))
      << "no ZELT folder: a folder of its own";
  EXPECT_EQ(r.valueNames(HKCU, io2).size(), 4u);
  EXPECT_EQ(r.readString(HKCU, kIO, "nazIO"), "Kantor A2") << "the current institution by the save-all step";
}

TEST(FurtherInstitution, AStoreThatCannotBeWrittenKeepsTheProgramRunning) {
  AddIOWorld w;
  w.reg().writeString(HKCU, kIO, "nazIO", "Kantor A");
  auto& p = w.start();
  ASSERT_TRUE(QFile::remove(w.registryFile()));
  ASSERT_TRUE(QDir().mkpath(w.registryFile() + "/x"));
  w.dialogDodania("Kantor B", true);
  w.dialogs.expectMessage(platform::IdOk);
  p.firma()->dodajClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(w.ends, 0);
  EXPECT_EQ(p.IloscIO, 1);
  EXPECT_FALSE(w.reg().keyExists(HKCU, kProg + "IO02\\"));
}

TEST(FurtherInstitution, TheHundredthIsRefused) {
  AddIOWorld w;
  auto& p = w.start();
  p.IloscIO = 99;  // as the chooser found them at start-up
  const std::string przed = World::readFile(w.registryFile());
  w.dialogs.expectMessage(platform::IdOk, u("Dodanie kolejnej instytucji niemożliwe (najwyżej 99 instytucji)"));
  p.firma()->dodajClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(World::readFile(w.registryFile()), przed);
  EXPECT_EQ(w.ends, 0);
}

// The unit dialog keeps its place under "OKNA\Jednostka\" from run to run; the add-institution
// dialog keeps none.
TEST(UnitsPage, TheUnitDialogsPlaceIsKeptAcrossRuns) {
  JednWorld w;
  const std::string klucz = platform::geometryKey("Jednostka");
  w.reg().writeInteger(HKCU, klucz, "Left", 40);
  w.reg().writeInteger(HKCU, klucz, "Top", 50);
  auto& p = w.start();
  EXPECT_EQ(p.jedn()->pos(), QPoint(40, 50));
  p.jedn()->move(70, 80);
  p.konfig()->zapokna->setChecked(true);
  p.glowny()->zapiszUstawienia();
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readInteger(HKCU, klucz, "Left"), 70);
  EXPECT_EQ(w.reg().readInteger(HKCU, klucz, "Top"), 80);
  const std::set<std::string> sloty = {"Glowne", "Konfig", "Firma", "Jednostka", "Edycja", "Podpow",
                                       "KodyWal", "KodyKraj", "Podmiot", "EdPodmiot", "Weryf"};
  for (const auto& n : w.reg().subkeyNames(HKCU, kProg + "OKNA\\")) EXPECT_TRUE(sloty.count(n)) << n;
}

// The two dialogs and the units page as the user sees them (saved when ZELT_SHOT_DIR is set).
TEST(UnitsPage, TheDialogsAndThePageAreDrawn) {
  JednWorld w;
  w.zapiszJednostki({"00000001", "00000002", "00000003"});
  auto& p = w.start();
  auto& f = *p.firma();
  f.strony->setCurrentWidget(f.stronaJednostek);
  EXPECT_GT(testing_world::renderWindow(f, "jednostki"), 8);
  auto& j = *p.jedn();
  j.trybEdycji(f.jednostkiIO, 1);
  EXPECT_EQ(j.windowTitle(), u("Edycja danych jednoski organizacyjnej"));
  EXPECT_GT(testing_world::renderWindow(j, "jednform"), 8);
  QTest::keyClick(&j, Qt::Key_F1);
  EXPECT_EQ(w.shell.requests, QStringList{"help zelt.hlp 1100300"});
  // Tab order: name, number, voivodeship, postcode, town, street, telephone, fax.
  QStringList kolejnosc;
  for (QWidget* e = j.NazIO; kolejnosc.size() < 8; e = e->nextInFocusChain())
    if (qobject_cast<QLineEdit*>(e)) kolejnosc << e->objectName();
  EXPECT_EQ(kolejnosc, (QStringList{"NazIO", "NumIO", "WojIO", "KodIO", "MieIO", "UliIO", "TelIO", "FaxIO"}));
  auto& a = *p.addIO();
  EXPECT_EQ(a.windowTitle(), u("Dodawanie kolejnej Instytucji Obowiązanej"));
  EXPECT_EQ(platform::typingLimit(a.AddIO), 56);
  EXPECT_GT(testing_world::renderWindow(a, "addio"), 8);
}

}  // namespace
