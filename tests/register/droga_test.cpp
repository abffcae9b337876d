// The card's road as a compliance officer walks it, through the whole program: the first start and
// the administrator's password, a card of three ordering parties and a beneficiary added, edited
// (grown and shrunk), printed to PDF, sent as TXT and (another card) as XML, a card deleted, and a
// restart that shows everything as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include <sys/stat.h>

#include "platform/cp1250.h"
#include "platform/library.h"
#include "platform/printers.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "register/wysylka.h"
#include "settings/addioform.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"
#include "settings/podmiotform.h"
#include "settings/wybkolumn.h"
#include "support/world.h"

using platform::ModalForm;
using testing_world::World;
using zelt::TedycjaForm;
using zelt::TRekordTransakcji;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QStringList pozycje(QComboBox* c) {
  QStringList l;
  for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
  return l;
}

// The five commands on rows, as the user sees them: enabled or not.
struct Przyciski {
  bool edytuj, usun, drukKar, drukRej, wyslij;
  bool operator==(const Przyciski&) const = default;
};
void PrintTo(const Przyciski& p, std::ostream* os) {
  *os << "{Edytuj " << p.edytuj << ", Usuń " << p.usun << ", Druk Karty " << p.drukKar << ", Druk Rejstru "
      << p.drukRej << ", Wyślij " << p.wyslij << "}";
}
constexpr Przyciski kWszystkie{true, true, true, true, true};
constexpr Przyciski kZadne{false, false, false, false, false};

// A world whose printer is the PDF printer, with the program started and restarted in it.
struct Droga {
  World w;
  platform::SystemPrinters druk{w.shell, w.clock};
  std::unique_ptr<zelt::Program> prog;
  int konce = 0;
  // With several institutions: the one chosen at the next start (0-based) and the names offered.
  int instytucja = -1;
  QStringList instytucje;
  int podsuniete = -1;  // the institution the chooser offered first
  QString uzytkownik;   // the sign-in's institution: "name|NIP"

  Droga() { druk.select(int(druk.names().size()) - 1); }

  zelt::Program& p() { return *prog; }
  zelt::TglownyForm& g() { return *prog->glowny(); }
  TedycjaForm& e() { return *prog->edycja(); }

  // Starts the program; the sign-in gets the passwords typed, each with Enter.
  bool uruchom(std::vector<const char*> hasla) {
    prog = std::make_unique<zelt::Program>(zelt::Services{w.reg(), w.dialogs, w.clock, w.shell, druk});
    prog->zakoncz = [this] { ++konce; };
    if (instytucja >= 0)
      w.dialogs.expectModal("wizytForm", [this](ModalForm& f) {
        auto& s = static_cast<zelt::TwizytForm&>(f);
        instytucje = pozycje(s.WyborIO);
        podsuniete = s.WyborIO->currentIndex();
        testing_world::renderWindow(s, "droga-wybor-instytucji");
        EXPECT_TRUE(s.WyborIO->isVisibleTo(&s) && s.Wybierz->isVisibleTo(&s)) << "the chooser is offered";
        s.WyborIO->setCurrentIndex(instytucja);
        s.Wybierz->click();
        return platform::mrNone;
      });
    w.dialogs.expectModal("wizytForm", [this, hasla](ModalForm& f) {
      auto& s = static_cast<zelt::TwizytForm&>(f);
      uzytkownik = s.NazUzyt->text() + "|" + s.NipUzyt->text();
      for (const char* h : hasla) {
        s.haslo->clear();
        QTest::keyClicks(s.haslo, h);
        QTest::keyClick(s.haslo, Qt::Key_Return);
      }
      return platform::mrNone;
    });
    return prog->start();
  }
  // "&Zamknij" (or the window's close box), then the program is gone and its registry read again
  // from the file.
  void zamknij(bool krzyzyk = false) {
    if (krzyzyk) g().close();
    else g().Zamknij->click();
    prog.reset();
    w.reloadRegistry();
  }

  Przyciski przyciski() {
    return {g().Edytuj->isEnabled(), g().Usun->isEnabled(), g().DrukKar->isEnabled(), g().DrukRej->isEnabled(),
            g().Wyslij->isEnabled()};
  }
  // The rows as the user reads them: "Lp|transaction number|ordering party".
  std::vector<std::string> wiersze() {
    const auto& uk = p().ukladListy;
    const int kolumny[] = {uk.kolumnaLp(), uk.kolumna("nrEwT"), uk.kolumna("zNz")};
    std::vector<std::string> out;
    for (int r = 0; r < g().lista->RowCount(); ++r) {
      std::string s;
      for (int c : kolumny) {
        if (!s.empty() || c != kolumny[0]) s += '|';
        s += c < 0 ? std::string("?") : cp1250::toQ(g().lista->Cells(c, r)).toStdString();
      }
      out.push_back(s);
    }
    return out;
  }
  // The row that shows an ordering party.
  int wiersz(const char* nazwa) {
    const int c = p().ukladListy.kolumna("zNz");
    for (int r = 0; r < g().lista->RowCount(); ++r)
      if (g().lista->Cells(c, r) == cp1250::fromUtf8(nazwa)) return r;
    ADD_FAILURE() << "no row shows " << nazwa;
    return 0;
  }
  std::vector<TRekordTransakcji> rekordy() {
    std::vector<TRekordTransakcji> out;
    zelt::PlikRejestru f(p().transakDat());
    if (f.otworzDoOdczytu()) f.kazdy([&](qint64, const TRekordTransakcji& r) { out.push_back(r); });
    return out;
  }
  // The card editor over "&Dodaj" or "&Edytuj"; `praca` works it while it is on screen. The
  // editor's modal result.
  int edytor(void (zelt::TglownyForm::*polecenie)(), const std::function<void(TedycjaForm&)>& praca) {
    const auto ile = w.dialogs.shown().size();
    w.dialogs.expectModal("edycjaForm", [&](ModalForm&) {
      QApplication::setActiveWindow(&e());
      praca(e());
      return platform::mrNone;
    });
    (g().*polecenie)();
    EXPECT_TRUE(w.dialogs.scriptDone());
    for (auto i = ile; i < w.dialogs.shown().size(); ++i)
      if (w.dialogs.shown()[i].text == "edycjaForm") return w.dialogs.shown()[i].answer;
    return -1;
  }
  // "&Zapisz" of the editor; the findings, when there are any, confirmed.
  void zapiszZUwagami() {
    bool pokazane = false;
    w.dialogs.expectModal("WerForm", [&](ModalForm& f) {
      auto& wer = static_cast<zelt::TWerForm&>(f);
      pokazane = true;
      EXPECT_FALSE(wer.zapisz->isHidden()) << "the findings can be confirmed";
      return zelt::TWerForm::kPotwierdz;
    });
    e().zapisz->click();
    EXPECT_TRUE(pokazane) << "an incomplete card has findings";
  }
  // "&Konfiguracja": the PDF printer chosen and saved.
  void drukarkaPdf() {
    w.dialogs.expectModal("KonfigForm", [&](ModalForm&) {
      auto& k = *p().konfig();
      k.WybDruk->setCurrentIndex(k.WybDruk->findText(u("Zapis do pliku PDF")));
      k.zapis->click();
      return platform::mrNone;
    });
    g().konMen->trigger();
  }
  QString eksport(const QString& nazwa) const { return prog->KatEks + "/" + nazwa; }
  // "&Wyślij" of the card on a row, the report closed: the files it wrote, in the order written.
  QStringList wyslij(int wiersz) {
    const QStringList przed = QDir(p().KatEks).entryList(QDir::Files);
    g().lista->SetDataRow(wiersz);
    w.dialogs.expectModal("Wysylka", [](ModalForm&) { return platform::mrCancel; });
    g().Wybranezpowizanymi2Click();
    EXPECT_TRUE(w.dialogs.scriptDone());
    QStringList nowe;
    for (const QString& f : QDir(p().KatEks).entryList(QDir::Files, QDir::Name))
      if (!przed.contains(f)) nowe << eksport(f);
    // The number of the day follows the category letter.
    std::sort(nowe.begin(), nowe.end(),
              [](const QString& a, const QString& b) { return QFileInfo(a).fileName().mid(1) < QFileInfo(b).fileName().mid(1); });
    return nowe;
  }
};

// Types a name into a party page as the keyboard does.
void wpisz(QWidget* pole, const char* tekst) {
  pole->setFocus();
  for (QChar ch : u(tekst)) {
    if (ch.unicode() < 128) QTest::keyClick(pole, ch.toLatin1());
    else QTest::sendKeyEvent(QTest::Click, pole, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

// A field's text replaced by typing over it.
void nadpisz(QLineEdit* pole, const char* tekst) {
  pole->selectAll();
  QTest::keyClicks(pole, tekst);
}


// The members of a zip archive, read by another tool.
QStringList czlonkowie(const QString& archiwum) {
  QProcess py;
  py.start("python3", {"-c", "import sys, zipfile\nfor n in zipfile.ZipFile(sys.argv[1]).namelist(): print(n)", archiwum});
  py.waitForFinished(60000);
  return QString::fromUtf8(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// One member of a zip archive, read by another tool.
QByteArray czlonek(const QString& archiwum, const QString& nazwa) {
  QProcess py;
  py.start("python3", {"-c", "import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))",
                       archiwum, nazwa});
  py.waitForFinished(60000);
  return py.readAllStandardOutput();
}

// Renders a PDF's first page to PNG beside it (when pdftoppm is there) for looking at.
void obejrzyjPdf(const QString& pdf, const QString& nazwa) {
  const QByteArray dir = qgetenv("ZELT_SHOT_DIR");
  if (dir.isEmpty() || QStandardPaths::findExecutable("pdftoppm").isEmpty()) return;
  QProcess::execute("pdftoppm", {"-r", "60", "-f", "1", "-l", "1", "-png", "-singlefile", pdf,
                                 QString::fromLocal8Bit(dir) + "/" + nazwa});
}

TEST(CardRoad, FromTheFirstStartToARestart) {
  Droga d;
  auto& w = d.w;

  // ---- first start: the administrator chooses a password ----
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  EXPECT_TRUE(d.g().isVisible());
  EXPECT_EQ(d.g().lista->RowCount(), 0);
  EXPECT_EQ(d.przyciski(), kZadne) << "an empty register: nothing to edit, print or send";
  EXPECT_TRUE(d.g().dodaj->isEnabled());
  EXPECT_TRUE(d.g().JedMen->isEnabled()) << "the administrator signed in";

  // ---- "&Konfiguracja": the PDF printer and a default party type ----
  w.dialogs.expectModal("KonfigForm", [&](ModalForm&) {
    auto& k = *d.p().konfig();
    k.WybDruk->setCurrentIndex(k.WybDruk->findText(u("Zapis do pliku PDF")));
    EXPECT_GE(k.WybDruk->currentIndex(), 0) << "the PDF printer is offered";
    k.domTypPo->setCurrentIndex(1);
    k.zapis->click();
    return platform::mrNone;
  });
  d.g().konMen->trigger();
  EXPECT_TRUE(w.dialogs.scriptDone());

  // A transaction number as the check leaves it: zero-filled to 25 digits.
  const std::string nr1 = std::string(21, '0') + "1001", nr2 = std::string(21, '0') + "1002";

  // ---- "&Dodaj": three ordering parties and one beneficiary ----
  const int dodana = d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.NrRejDat->currentText(), "0") << "the first free number of the day";
    QTest::keyClicks(e.nrEwT, "1001");
    nadpisz(e.kRodzTr, "0101");
    QTest::keyClicks(e.tKw, "20000");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    wpisz(e.zNz, "Jan Kowalski");
    QTest::keyClicks(e.zNip, "5260250274");
    e.zDodaj->click();
    wpisz(e.zNz, "Anna Nowak");
    e.zDodaj->click();
    wpisz(e.zNz, "Firma ABC");
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", "Anna Nowak", "Firma ABC"}));
    EXPECT_TRUE(e.zUsun->isEnabled());
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Beneficjenci);
    e.bTypPo->setCurrentIndex(1);
    emit e.bTypPo->activated(1);
    wpisz(e.bNz, "Bank Odbiorca");
    testing_world::renderWindow(e, "droga-edytor-nowa");
    d.zapiszZUwagami();
  });
  EXPECT_EQ(dodana, platform::mrOk) << "saved and closed";
  testing_world::renderWindow(d.g(), "droga-glowny-po-dodaniu");
  EXPECT_EQ(d.wiersze(), (std::vector<std::string>{"1|" + nr1 + "|Jan Kowalski", "2|" + nr1 + "|Anna Nowak", "3|" + nr1 + "|Firma ABC"}));
  EXPECT_EQ(d.przyciski(), kWszystkie) << "the first card's rows";
  {
    const auto r = d.rekordy();
    ASSERT_EQ(r.size(), 3u);
    const char* const rej[] = {"0", "1", "2"};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(r[i].nrRejDat, rej[i]) << i;
      EXPECT_EQ(r[i].Status, 1) << i;
    }
    EXPECT_EQ(r[0].tKw, "20000");
    EXPECT_EQ(r[0].zNip, "5260250274");
    EXPECT_EQ(r[0].bNz, "Bank Odbiorca");
    EXPECT_EQ(r[1].bTypPo, -1) << "one beneficiary: record 2 has none";
    EXPECT_TRUE(r[1].tKw.empty()) << "the transaction data on record 1 only";
  }

  // ---- "&Edytuj": the amount changed, a fourth party ----
  d.g().lista->SetDataRow(1);
  const int poprawiona = d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.nrEwT->text().toStdString(), nr1);
    EXPECT_EQ(pozycje(e.NrRejDat), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", "Anna Nowak", "Firma ABC"}));
    EXPECT_EQ(pozycje(e.bLis), (QStringList{"Bank Odbiorca"}));
    EXPECT_EQ(e.tKw->text(), "20000");
    nadpisz(e.tKw, "25000");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    e.zLis->setCurrentIndex(2);
    emit e.zLis->activated(2);
    e.zDodaj->click();
    wpisz(e.zNz, "Ewa Zielińska");
    d.zapiszZUwagami();
  });
  EXPECT_EQ(poprawiona, platform::mrOk);
  EXPECT_EQ(d.wiersze(), (std::vector<std::string>{"1|" + nr1 + "|Jan Kowalski", "2|" + nr1 + "|Anna Nowak", "3|" + nr1 + "|Firma ABC",
                                                   "4|" + nr1 + "|Ewa Zielińska"}));
  {
    const auto r = d.rekordy();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].tKw, "25000");
    EXPECT_EQ(r[3].nrRejDat, "3") << "the next free number of the day";
  }

  // ---- "&Edytuj" again: two parties removed ----
  d.g().lista->SetDataRow(0);
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", "Anna Nowak", "Firma ABC", u("Ewa Zielińska")}));
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    for (int i = 0; i < 2; ++i) {
      e.zLis->setCurrentIndex(1);
      emit e.zLis->activated(1);
      e.zUsun->click();
    }
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", u("Ewa Zielińska")}));
    d.zapiszZUwagami();
  });
  EXPECT_EQ(d.wiersze(), (std::vector<std::string>{"1|" + nr1 + "|Jan Kowalski", "2|" + nr1 + "|Ewa Zielińska"}));
  {
    const auto r = d.rekordy();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1].zNz, cp1250::fromUtf8("Ewa Zielińska")) << "record 2 rewritten in place";
    EXPECT_EQ(r[2].Status, 99);
    EXPECT_EQ(r[3].Status, 99);
    EXPECT_EQ(r[0].nrRejDat, "0");
    EXPECT_EQ(r[1].nrRejDat, "1");
  }
  testing_world::renderWindow(d.g(), "droga-glowny-po-edycji");

  // ---- "Druk &Karty" on the PDF printer ----
  d.g().lista->SetDataRow(0);
  d.g().DrukKar->click();
  const QDir wydruki(w.documents() + "/ZELT/Wydruki");
  const QStringList pdf = wydruki.entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1) << "one card printed into one file";
  EXPECT_GT(QFileInfo(wydruki.filePath(pdf[0])).size(), 1000);
  obejrzyjPdf(wydruki.filePath(pdf[0]), "droga-karta");
  EXPECT_EQ(d.rekordy()[0].ilWydrukow, 1);
  EXPECT_EQ(d.rekordy()[1].ilWydrukow, 0) << "only the chosen row";
  d.g().DrukRej->click();
  const QStringList pdf2 = wydruki.entryList({"*.pdf"}, QDir::Files, QDir::Time | QDir::Reversed);
  ASSERT_EQ(pdf2.size(), 2) << "the register printed into a second file";
  obejrzyjPdf(wydruki.filePath(pdf2.last()), "droga-rejestr");

  // ---- "&Wyślij" with the records of the same number (TXT, the default) ----
  QString raport;
  w.dialogs.expectModal("Wysylka", [&](ModalForm& f) {
    auto& wys = static_cast<zelt::TWysylka&>(f);
    raport = wys.Pliki->toPlainText();
    EXPECT_FALSE(wys.Wyslij->isHidden()) << "closed with Zamknij";
    EXPECT_TRUE(wys.pomin->isHidden() && wys.Anuluj->isHidden()) << "nothing to skip or cancel";
    testing_world::renderWindow(wys, "droga-wysylka");
    return platform::mrCancel;
  });
  d.g().Wybranezpowizanymi2Click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(raport, u("Rekordów do wysłania 2\nGenerowanie pliku W01.txt\nGenerowanie pliku B02.txt\n"
                      "Zakończono generowanie plików"));
  // Record 1 carries the kind code (W); record 2 has none (B): one file each, numbered in turn.
  const QString txt = d.eksport("W01.txt");
  const std::string plikTxt = World::readFile(txt);
  const std::string plikTxt2 = World::readFile(d.eksport("B02.txt"));
  ASSERT_FALSE(plikTxt.empty() || plikTxt2.empty())
      << QDir(d.p().KatEks).entryList(QDir::Files).join(",").toStdString();
  for (const std::string& t : {plikTxt, plikTxt2}) {
    EXPECT_EQ(t.substr(0, 2), "HE");
    EXPECT_NE(t.find("\nTR00000001"), std::string::npos) << t;
  }
  EXPECT_NE(plikTxt.find(";01:" + nr1 + ";02:           0;"), std::string::npos) << plikTxt;
  EXPECT_NE(plikTxt.find(";13:25000;"), std::string::npos) << "the amount as edited";
  EXPECT_NE(plikTxt.find(";18:Jan Kowalski;"), std::string::npos);
  EXPECT_NE(plikTxt.find(";38:Bank Odbiorca;"), std::string::npos) << plikTxt;
  EXPECT_NE(plikTxt2.find(";02:           1;"), std::string::npos) << plikTxt2;
  EXPECT_NE(plikTxt2.find(";18:Ewa Zieli\xF1ska;"), std::string::npos) << "ISO-8859-2";
  for (const auto& r : d.rekordy())
    if (r.Status != 99) {
      EXPECT_EQ(r.ilWyslan, 1) << r.zNz;
    }

  // The same card again: the user is told that it was sent and skips it.
  const QStringList przedPonownym = QDir(d.p().KatEks).entryList(QDir::Files);
  w.dialogs.expectModal("Wysylka", [&](ModalForm&) {
    EXPECT_TRUE(d.p().wysylka()->Pliki->toPlainText().contains(u("znajdują się rekordy już wysłane")));
    return 3;  // "Pomiń"
  });
  w.dialogs.expectModal("Wysylka", [&](ModalForm&) {
    raport = d.p().wysylka()->Pliki->toPlainText();
    return platform::mrCancel;
  });
  d.g().Wybranezpowizanymi2Click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_TRUE(raport.endsWith(u("w edycji tego rekordu\nZakończono generowanie plików"))) << raport.toStdString();
  EXPECT_EQ(QDir(d.p().KatEks).entryList(QDir::Files), przedPonownym) << "nothing sent twice";

  // ---- the institution's format switched to XML, another card sent ----
  w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    f.formatXml->click();
    QTest::keyClicks(f.NIPIO, "5260250274");
    QTest::keyClicks(f.nazpli, "abcde");
    EXPECT_EQ(f.nazpli->text(), "ABCDE") << "the short name in capitals";
    w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    d.p().firma()->zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  EXPECT_TRUE(w.dialogs.scriptDone());
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.NrRejDat->currentText(), "2") << "0 and 1 are live, 2 and 3 deleted";
    QTest::keyClicks(e.nrEwT, "1002");
    nadpisz(e.kRodzTr, "0201");
    QTest::keyClicks(e.tKw, "70000");
    wpisz(e.zNz, "Łukasz Ćwik & syn <sp. j.>");
    d.zapiszZUwagami();
  });
  ASSERT_EQ(d.g().lista->RowCount(), 3);
  EXPECT_EQ(d.wiersze()[2], "5|" + nr2 + "|Łukasz Ćwik & syn <sp. j.>");
  d.g().lista->SetDataRow(2);
  w.dialogs.expectModal("Wysylka", [](ModalForm&) { return platform::mrCancel; });
  d.g().Wyslij->click();
  const std::string plikXml = World::readFile(d.eksport("G03ABCDE.xml"));
  ASSERT_FALSE(plikXml.empty()) << QDir(d.p().KatEks).entryList(QDir::Files).join(",").toStdString();
  EXPECT_NE(plikXml.find("<wykazTr"), std::string::npos);
  EXPECT_NE(plikXml.find("</wykazTr>"), std::string::npos);
  EXPECT_NE(plikXml.find(" NipIO=\"5260250274\" lKart=\"00000001\" pDat=\"20261210\""), std::string::npos) << plikXml;
  EXPECT_NE(plikXml.find("&#38; syn &#60;sp. j.>"), std::string::npos) << plikXml;
  EXPECT_EQ(d.rekordy()[4].ilWyslan, 1);

  // ---- "&Usuń": a sent card stays, an unsent one goes ----
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "1003");
    d.zapiszZUwagami();
  });
  ASSERT_EQ(d.g().lista->RowCount(), 4);
  const auto pytanie = u("Czy napewno chcesz usunąć wskazane karty transakcji ?");
  w.dialogs.expectMessage(platform::IdOk, pytanie);
  w.dialogs.expectMessage(platform::IdOk, u("Usunięcie po wydruku lub wysłaniu danych niemożliwe"));
  d.g().lista->SetDataRow(2);
  d.g().Usun->click();
  EXPECT_EQ(d.g().lista->RowCount(), 4) << "the sent card stays";
  w.dialogs.expectMessage(platform::IdOk, pytanie);
  d.g().lista->SetDataRow(3);
  d.g().Usun->click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  const std::vector<std::string> przed = {"1|" + nr1 + "|Jan Kowalski", "2|" + nr1 + "|Ewa Zielińska",
                                          "5|" + nr2 + "|Łukasz Ćwik & syn <sp. j.>"};
  EXPECT_EQ(d.wiersze(), przed);
  EXPECT_EQ(d.rekordy().back().Status, 99);
  EXPECT_EQ(d.przyciski(), kWszystkie);

  // ---- "&Archiwizacja": the data folder into a zip archive ----
  platform::Library::setProgramFolder(ZPACK_DIR);
  const QString archiwum = w.path("kopia.zip");
  w.dialogs.expectSaveFile(archiwum);
  d.g().ArchMen->trigger();
  platform::Library::setProgramFolder({});
  EXPECT_TRUE(w.dialogs.messages().filter(u("Błąd")).isEmpty());
  QStringList czlonkowieArchiwum = czlonkowie(archiwum);
  czlonkowieArchiwum.sort();
  EXPECT_EQ(czlonkowieArchiwum, (QStringList{"konfig", "np2026.dat", "transak.dat"}))
      << "the register, the numbers of the day and the settings";

  // ---- a restart: everything as it was ----
  const std::string rejestr = World::readFile(d.p().transakDat());
  d.zamknij();
  EXPECT_EQ(d.konce, 1);
  ASSERT_TRUE(d.uruchom({"tajne"}));
  EXPECT_EQ(d.wiersze(), przed);
  EXPECT_EQ(d.przyciski(), kWszystkie);
  EXPECT_EQ(World::readFile(d.p().transakDat()), rejestr) << "a start writes nothing into the register";
  EXPECT_TRUE(d.p().firma()->formatXml->isChecked());
  EXPECT_EQ(World::readFile(txt), plikTxt);
  testing_world::renderWindow(d.g(), "droga-glowny-po-restarcie");
  d.g().lista->SetDataRow(1);
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.nrEwT->text().toStdString(), nr1);
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", u("Ewa Zielińska")}));
    EXPECT_EQ(pozycje(e.bLis), (QStringList{"Bank Odbiorca"}));
    EXPECT_EQ(e.tKw->text(), "25000");
    EXPECT_TRUE(e.bpl->isChecked()) << "record 1 was sent";
    EXPECT_TRUE(e.bdr->isChecked()) << "record 1 was printed";
    testing_world::renderWindow(e, "droga-edytor-po-restarcie");
    e.wyjdz->click();
  });

  // ---- after the restart: the printer and the numbers of the day go on ----
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.NrRejDat->currentText(), "3") << "0, 1 and 2 are live";
    QTest::keyClicks(e.nrEwT, "1004");
    d.zapiszZUwagami();
  });
  ASSERT_EQ(d.g().lista->RowCount(), 4);
  d.g().lista->SetDataRow(3);
  d.g().DrukKar->click();
  const QStringList pdf3 = wydruki.entryList({"*.pdf"}, QDir::Files, QDir::Time | QDir::Reversed);
  ASSERT_EQ(pdf3.size(), 3) << "the chosen printer is kept";
  obejrzyjPdf(wydruki.filePath(pdf3.last()), "droga-karta-po-restarcie");
  w.dialogs.expectModal("Wysylka", [](ModalForm&) { return platform::mrCancel; });
  d.g().Wyslij->click();
  EXPECT_TRUE(QFile::exists(d.eksport("D04ABCDE.xml"))) << QDir(d.p().KatEks).entryList(QDir::Files).join(",").toStdString();
}

}  // namespace

namespace {

// A card grown after another card was saved has its rows apart in the list; editing it from either
// of its rows, shrinking it, must rewrite and remove exactly its own rows.
TEST(CardRoad, ACardWhoseRowsStandApart) {
 for (bool malejaco : {false, true}) {
  SCOPED_TRACE(malejaco ? "the list sorted by Lp, descending" : "the list in file order");
  Droga d;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  auto wiersze = [&] {
    auto w = d.wiersze();
    std::sort(w.begin(), w.end());
    return w;
  };
  auto strony = [&](TedycjaForm& e, std::vector<const char*> nazwy) {
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    for (const char* n : nazwy) {
      if (!e.zNz->toPlainText().isEmpty()) e.zDodaj->click();
      e.zTypPo->setCurrentIndex(1);
      emit e.zTypPo->activated(1);
      wpisz(e.zNz, n);
    }
  };
  auto nowa = [&](const char* nr, std::vector<const char*> nazwy) {
    d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
      QTest::keyClicks(e.nrEwT, nr);
      strony(e, nazwy);
      d.zapiszZUwagami();
    });
  };
  nowa("1", {"A1", "A2"});
  nowa("2", {"B1"});
  // Two clicks on the header of "Lp": its rows in reverse order.
  if (malejaco) {
    auto& l = *d.g().lista;
    for (int i = 0; i < 2; ++i) {
      const int x = l.CellRect(0, 0).Left + 5;
      l.MouseDown(kgrid::mbLeft, kgrid::ssLeft, x, 5);
      l.MouseUp(kgrid::mbLeft, 0, x, 5);
    }
  }
  const std::string a = std::string(24, '0') + "1", b = std::string(24, '0') + "2";
  d.g().lista->SetDataRow(d.wiersz("A1"));
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(pozycje(e.zLis), (QStringList{"A1", "A2"}));
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    e.zLis->setCurrentIndex(1);
    emit e.zLis->activated(1);
    strony(e, {"A3", "A4"});
    d.zapiszZUwagami();
  });
  ASSERT_EQ(wiersze(), (std::vector<std::string>{"1|" + a + "|A1", "2|" + a + "|A2", "3|" + b + "|B1",
                                                   "4|" + a + "|A3", "5|" + a + "|A4"}));
  const struct {
    const char* nazwa;
    const char* wiersz;  // the party shown on the row the edit starts from
    int usun;    // the entry removed
    std::vector<std::string> wiersze;
  } cases[] = {
      {"from its last row, its second entry removed", "A4", 1,
       {"1|" + a + "|A1", "2|" + a + "|A3", "3|" + b + "|B1", "4|" + a + "|A4"}},
      {"from its first row, its last entry removed", "A1", 2, {"1|" + a + "|A1", "2|" + a + "|A3", "3|" + b + "|B1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    d.g().lista->SetDataRow(d.wiersz(c.wiersz));
    d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
      e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
      e.zLis->setCurrentIndex(c.usun);
      emit e.zLis->activated(c.usun);
      e.zUsun->click();
      d.zapiszZUwagami();
    });
    EXPECT_EQ(wiersze(), c.wiersze);
  }
  // What the list shows is what a restart reads.
  const auto widziane = wiersze();
  d.zamknij(true);
  EXPECT_EQ(d.konce, 1) << "the close box ends the program";
  ASSERT_TRUE(d.uruchom({"tajne"}));
  EXPECT_EQ(wiersze(), widziane);
 }
}

}  // namespace

namespace {

// The settings' numbering switches on: a new card's number gets the date suffix once, an edit
// keeps the number as stored, and the same typed number on another card of that day is refused.
TEST(CardRoad, TheNumberSuffixOnANewCardOnly) {
  Droga d;
  auto& w = d.w;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  w.dialogs.expectModal("KonfigForm", [&](ModalForm&) {
    auto& k = *d.p().konfig();
    for (QCheckBox* c : {k.NrEwDz, k.NrEwMc, k.NrEwRo}) c->setChecked(true);
    k.zapis->click();
    return platform::mrNone;
  });
  d.g().konMen->trigger();
  const std::string numer = std::string(18, '0') + "7" + "101226";  // transaction date 2026-12-10
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "7");
    EXPECT_EQ(e.RozNum->text(), "101226") << "the suffix shown beside the number";
    d.zapiszZUwagami();
  });
  ASSERT_EQ(d.rekordy().size(), 1u);
  EXPECT_EQ(d.rekordy()[0].nrEwT, numer);
  d.g().lista->SetDataRow(0);
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.nrEwT->text().toStdString(), numer);
    nadpisz(e.tKw, "100");
    d.zapiszZUwagami();
  });
  EXPECT_EQ(d.rekordy()[0].nrEwT, numer) << "no second suffix";
  EXPECT_EQ(d.rekordy()[0].tKw, "100");
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "7");
    bool potwierdzenie = true;
    QStringList bledy;
    w.dialogs.expectModal("WerForm", [&](ModalForm& f) {
      auto& wer = static_cast<zelt::TWerForm&>(f);
      potwierdzenie = !wer.zapisz->isHidden();
      for (int r = 0; r < wer.bledy->rowCount(); ++r)
        if (auto* i = wer.bledy->item(r, wer.bledy->columnCount() - 1)) bledy << i->text();
      return zelt::TWerForm::kAnuluj;
    });
    e.zapisz->click();
    EXPECT_FALSE(potwierdzenie) << "a number already in the register blocks the save";
    EXPECT_TRUE(bledy.contains(u("Transakcja o takim numerze już jest w rejestrze"))) << bledy.join("\n").toStdString();
  });
  EXPECT_EQ(d.rekordy().size(), 1u);
}

}  // namespace

namespace {

// The list's columns chosen anew in the settings while cards are being entered: the list keeps the
// columns it was started with until the next start, every row written in the meantime stays in
// them, and the next start shows the new columns filled from the register.
TEST(CardRoad, ANewColumnLayoutShowsAfterTheNextStart) {
  Droga d;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  // Each row as "column=text" for the columns named.
  auto wiersze = [&](std::vector<std::string> kody) {
    auto& l = *d.g().lista;
    std::vector<std::string> out;
    for (int r = 0; r < l.RowCount(); ++r) {
      std::string s;
      for (const auto& kod : kody) {
        int c = -1;
        for (int k = 0; k < l.VisibleColumns().Count(); ++k)
          if (l.VisibleColumn(k).Name() == kod) c = k;
        s += kod + "=" + (c < 0 ? std::string("(brak)") : cp1250::toQ(l.Cells(c, r)).toStdString()) + ";";
      }
      out.push_back(s);
    }
    return out;
  };
  auto nowa = [&](const char* nr, const char* dysponent) {
    d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
      QTest::keyClicks(e.nrEwT, nr);
      e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
      e.zTypPo->setCurrentIndex(1);
      emit e.zTypPo->activated(1);
      wpisz(e.zNz, dysponent);
      e.Wprowadzanie->setCurrentIndex(TedycjaForm::Beneficjenci);
      e.bTypPo->setCurrentIndex(1);
      emit e.bTypPo->activated(1);
      wpisz(e.bNz, "Bank");
      d.zapiszZUwagami();
    });
  };
  nowa("1", "Jan");
  d.w.dialogs.expectModal("KonfigForm", [&](ModalForm&) {
    auto& k = *d.p().konfig();
    auto* c = k.WygladRej;
    auto znajdz = [](QListWidget* l, const char* kod) {
      for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->text().startsWith(QString(kod) + " - ")) return i;
      ADD_FAILURE() << kod << " not offered";
      return 0;
    };
    for (const char* kod : {"bNz", "nrRejDat"}) {
      c->Poz->setCurrentRow(znajdz(c->Poz, kod));
      c->PozMouseDown();
      c->WprowClick();
    }
    for (const char* kod : {"Info", "nrEwT"}) {
      c->Wyb->setCurrentRow(znajdz(c->Wyb, kod));
      c->WybMouseDown();
      c->UsunClick();
    }
    k.zapis->click();
    return platform::mrNone;
  });
  d.g().konMen->trigger();
  nowa("2", "Anna");
  d.g().lista->SetDataRow(0);
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.nrEwT->text().toStdString(), std::string(24, '0') + "1") << "the row still finds its card";
    d.zapiszZUwagami();
  });
  const std::vector<std::string> kody = {"Lp", "nrEwT", "nrRejDat", "bNz", "zNz"};
  const std::string n1 = std::string(24, '0') + "1", n2 = std::string(24, '0') + "2";
  EXPECT_EQ(wiersze(kody), (std::vector<std::string>{"Lp=1;nrEwT=" + n1 + ";nrRejDat=(brak);bNz=(brak);zNz=Jan;",
                                                     "Lp=2;nrEwT=" + n2 + ";nrRejDat=(brak);bNz=(brak);zNz=Anna;"}))
      << "until the next start the list keeps its columns";
  d.zamknij();
  ASSERT_TRUE(d.uruchom({"tajne"}));
  EXPECT_EQ(wiersze(kody), (std::vector<std::string>{"Lp=1;nrEwT=(brak);nrRejDat=0;bNz=Bank;zNz=Jan;",
                                                     "Lp=2;nrEwT=(brak);nrRejDat=1;bNz=Bank;zNz=Anna;"}));
  EXPECT_EQ(d.g().lista->VisibleColumn(0).Name(), "Lp");
  d.g().lista->SetDataRow(1);
  d.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.nrEwT->text().toStdString(), n2);
    EXPECT_EQ(e.zNz->toPlainText(), "Anna");
    e.wyjdz->click();
  });
}

}  // namespace

namespace {

// The administrator names a responsible person with a first password; the person signs in at the
// next start, chooses a password, and the cards that person saves carry the person's name.
TEST(CardRoad, AResponsiblePersonsCards) {
  Droga d;
  auto& w = d.w;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    QTest::keyClicks(f.ImOs1IO, "Jan");
    QTest::keyClicks(f.NaOs1IO, "Kowalski");
    QTest::keyClicks(f.StOs1IO, "Kierownik");
    QTest::keyClicks(f.HaOs1IO, "p1");
    w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  d.drukarkaPdf();
  EXPECT_TRUE(w.dialogs.scriptDone());
  d.zamknij();

  ASSERT_TRUE(d.uruchom({"p1", "nowe", "nowe"}));
  EXPECT_EQ(d.p().zalogowany, "Jan;Kowalski;Kierownik");
  EXPECT_FALSE(d.g().JedMen->isEnabled()) << "the institution's data is the administrator's";
  EXPECT_FALSE(d.g().konMen->isEnabled());
  EXPECT_EQ(d.g().statPanel[1]->text(), "Zalogowany : Jan Kowalski ");
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    EXPECT_EQ(e.Wprowa->text(), "Jan;Kowalski;Kierownik");
    QTest::keyClicks(e.nrEwT, "1");
    d.zapiszZUwagami();
  });
  ASSERT_EQ(d.rekordy().size(), 1u);
  EXPECT_EQ(d.rekordy()[0].Wprow, "Jan;Kowalski;Kierownik");
  const int wprow = d.p().ukladListy.kolumna("Wprow");
  ASSERT_GE(wprow, 0);
  EXPECT_EQ(d.g().lista->Cells(wprow, 0), "Jan;Kowalski;Kierownik");
  // The card printed: the person who filled it in, in the box for that person.
  if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    d.g().lista->SetDataRow(0);
    d.g().DrukKar->click();
    const QDir wydruki(w.documents() + "/ZELT/Wydruki");
    const QStringList pdf = wydruki.entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(pdf.size(), 1);
    QProcess tekst;
    tekst.start("pdftotext", {"-layout", wydruki.filePath(pdf[0]), "-"});
    tekst.waitForFinished(60000);
    const QString t = QString::fromUtf8(tekst.readAllStandardOutput());
    for (const char* s : {"Jan", "Kowalski", "Kierownik"}) EXPECT_TRUE(t.contains(s)) << s;
  }
  d.zamknij();

  // The person's new password is the one asked for now.
  ASSERT_TRUE(d.uruchom({"nowe"}));
  EXPECT_EQ(d.p().zalogowany, "Jan;Kowalski;Kierownik");
  EXPECT_EQ(d.g().lista->RowCount(), 1);
}

}  // namespace

namespace {

// A run that ends without the closing step (a power cut): every card saved, the password chosen
// and the settings saved in their window are there at the next start.
TEST(CardRoad, ARunEndedWithoutClosingKeepsWhatWasSaved) {
  Droga d;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  d.drukarkaPdf();
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "1");
    d.zapiszZUwagami();
  });
  const auto wiersze = d.wiersze();
  const std::string rejestr = World::readFile(d.p().transakDat());
  d.prog.reset();
  d.w.reloadRegistry();
  ASSERT_TRUE(d.uruchom({"tajne"}));
  EXPECT_EQ(d.konce, 0);
  EXPECT_TRUE(d.p().administrator) << "the password chosen at the first start";
  EXPECT_EQ(d.wiersze(), wiersze);
  EXPECT_EQ(World::readFile(d.p().transakDat()), rejestr);
  EXPECT_EQ(d.p().konfig()->drukarka(), u("Zapis do pliku PDF"));
}

}  // namespace

namespace {

// A second installation for the same institution: first start, the institution's NIP entered.
void instytucja(Droga& d, const char* nip) {
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  d.w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    nadpisz(f.NIPIO, nip);
    d.w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  EXPECT_TRUE(d.w.dialogs.scriptDone());
}

// A party's type chosen from its list, as the mouse does.
void typ(QComboBox* c) {
  c->setCurrentIndex(1);
  emit c->activated(1);
}

// Chooses the rows first..last as the mouse does with Shift.
void zaznacz(Droga& d, int first, int last) {
  d.g().lista->SetDataRow(first);
  for (int r = first + 1; r <= last; ++r) d.g().lista->MoveCurrent(0, r + 1, false);
}

// The chosen rows exported, and the cards' own send files, imported into another installation of
// the same institution: the records come back field by field but for what the files do not carry
// (the counts of prints, sends and findings, the person who entered the card) and, from TXT, the
// blanks that align the number of the day; the rows show and "&Edytuj" opens the imported card.
TEST(CardRoad, ExportedAndSentFilesImportIntoAnotherInstallation) {
  const char* const nip = "5260250274";
  Droga d;
  instytucja(d, nip);
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "2001");
    nadpisz(e.kRodzTr, "0101");
    QTest::keyClicks(e.tKw, "15000");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    typ(e.zTypPo);
    wpisz(e.zNz, "Jan Kowalski");
    QTest::keyClicks(e.zNip, "5260250274");
    e.zDodaj->click();
    typ(e.zTypPo);
    wpisz(e.zNz, "Zofia Żak");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Beneficjenci);
    e.bTypPo->setCurrentIndex(1);
    emit e.bTypPo->activated(1);
    wpisz(e.bNz, "Bank Odbiorca");
    d.zapiszZUwagami();
  });
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "2002");
    nadpisz(e.kRodzTr, "0201");
    QTest::keyClicks(e.tKw, "70000");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    typ(e.zTypPo);
    wpisz(e.zNz, "Łukasz Ćwik & syn <sp. j.>");
    d.zapiszZUwagami();
  });
  const auto zapisane = d.rekordy();
  ASSERT_EQ(zapisane.size(), 3u);
  const auto wiersze = d.wiersze();
  ASSERT_EQ(wiersze.size(), 3u);

  // ---- "&Exportuj" of all three rows, TXT then XML; the register is left as it was ----
  const std::string rejestr = World::readFile(d.p().transakDat());
  for (const int filtr : {1, 2}) {
    zaznacz(d, 0, 2);
    d.w.dialogs.expectSaveFile(d.w.path("wykaz"), filtr);
    d.g().ExpMenClick();
    EXPECT_TRUE(d.w.dialogs.scriptDone());
  }
  EXPECT_EQ(World::readFile(d.p().transakDat()), rejestr) << "an export changes no record";
  EXPECT_TRUE(d.w.dialogs.messages().isEmpty()) << d.w.dialogs.messages().join("\n").toStdString();

  // ---- "&Wyślij": the first card as TXT, the second, after the switch to XML, as XML ----
  QStringList wyslane = d.wyslij(0);
  ASSERT_EQ(wyslane.size(), 2) << "the card's two records go to two files";
  d.w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    f.formatXml->click();
    d.w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  wyslane << d.wyslij(2);
  ASSERT_EQ(wyslane.size(), 3);
  EXPECT_TRUE(wyslane[2].endsWith(".xml")) << wyslane[2].toStdString();

  // What an import gives back of a saved record.
  auto poImporcie = [](TRekordTransakcji r, bool txt) {
    r.ilWydrukow = r.ilOstrzezen = r.ilBledow = r.ilWyslan = 0;
    r.Wprow.clear();
    if (txt) r.nrRejDat = std::string(12 - r.nrRejDat.size(), ' ') + r.nrRejDat;
    return r;
  };
  const struct {
    const char* nazwa;
    QStringList pliki;
    std::vector<bool> txt;  // per record read back
  } cases[] = {
      {"the TXT export", {d.w.path("wykaz.txt")}, {true, true, true}},
      {"the XML export", {d.w.path("wykaz.xml")}, {false, false, false}},
      {"the send's files", wyslane, {true, true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Droga inna;
    instytucja(inna, nip);
    for (const QString& plik : c.pliki) {
      inna.w.dialogs.expectOpenFile(plik);
      inna.g().ImpMenClick();
      EXPECT_TRUE(inna.w.dialogs.scriptDone());
    }
    EXPECT_TRUE(inna.w.dialogs.messages().isEmpty()) << inna.w.dialogs.messages().join("\n").toStdString();
    const auto wczytane = inna.rekordy();
    ASSERT_EQ(wczytane.size(), zapisane.size());
    for (std::size_t i = 0; i < zapisane.size(); ++i) {
      const TRekordTransakcji ma = poImporcie(zapisane[i], c.txt[i]);
      for (const auto& pole : zelt::polaTekstowe())
        EXPECT_EQ(wczytane[i].*(pole.text), ma.*(pole.text)) << "record " << i << " " << pole.name;
      EXPECT_TRUE(wczytane[i] == ma) << "record " << i;
    }
    EXPECT_EQ(inna.wiersze(), wiersze) << "a row for each record, as in the register it came from";
    EXPECT_EQ(inna.przyciski(), kWszystkie);
    inna.g().lista->SetDataRow(1);
    const int wynik = inna.edytor(&zelt::TglownyForm::EdytujClick, [&](TedycjaForm& e) {
      EXPECT_EQ(e.nrEwT->text().toStdString(), std::string(21, '0') + "2001");
      EXPECT_EQ(pozycje(e.zLis), (QStringList{"Jan Kowalski", u("Zofia Żak")}));
      EXPECT_EQ(pozycje(e.bLis), (QStringList{"Bank Odbiorca"}));
      EXPECT_EQ(e.tKw->text(), "15000");
      nadpisz(e.tKw, "16000");
      inna.zapiszZUwagami();
    });
    EXPECT_EQ(wynik, platform::mrOk) << "the imported card opens and saves";
    const auto poEdycji = inna.rekordy();
    ASSERT_EQ(poEdycji.size(), zapisane.size()) << "rewritten in place";
    EXPECT_EQ(poEdycji[0].tKw, "16000");
    EXPECT_EQ(poEdycji[1].zNz, wczytane[1].zNz);
    EXPECT_EQ(poEdycji[2], wczytane[2]) << "the other card untouched";
    EXPECT_EQ(inna.wiersze(), wiersze);
    inna.zamknij();
    ASSERT_TRUE(inna.uruchom({"tajne"}));
    EXPECT_EQ(inna.wiersze(), wiersze) << "the imported cards after a restart";
    EXPECT_EQ(inna.rekordy(), poEdycji);
  }
}

// Under the usual umask 022 every folder the program makes is its user's alone (0700) and every
// file it writes too (0600): the register and all that is made from it carry personal identity
// numbers, and a folder chosen in the settings, or one made before, may be open to others.
TEST(CardRoad, WhatItMakesIsItsUsersAlone) {
  struct Umask {
    mode_t old = ::umask(022);
    ~Umask() { ::umask(old); }
  } umask022;
  Droga d;
  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));  // the first start makes the data and export folders
  d.drukarkaPdf();
  d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "3001");
    nadpisz(e.kRodzTr, "0101");
    d.zapiszZUwagami();
  });
  zelt::TRekordPodmiotu strona;
  strona.TypPo = 1;
  strona.Nz = "Jan Kowalski";
  ASSERT_TRUE(d.p().podmiot()->dopiszPodmiot(strona));
  d.g().lista->SetDataRow(0);
  d.g().DrukKar->click();
  const QStringList wyslane = d.wyslij(0);
  ASSERT_EQ(wyslane.size(), 1);
  zaznacz(d, 0, 0);
  d.w.dialogs.expectSaveFile(d.w.path("wykaz"), 1);
  d.g().ExpMenClick();
  EXPECT_TRUE(d.w.dialogs.scriptDone());
  EXPECT_TRUE(d.w.dialogs.messages().isEmpty()) << d.w.dialogs.messages().join("\n").toStdString();
  const QString zelt = d.w.documents() + "/ZELT";
  const QStringList pdf = QDir(zelt + "/Wydruki").entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1);
  d.zamknij();

  const struct {
    QString sciezka;
    unsigned prawa;
  } cases[] = {
      {zelt, 0700},
      {zelt + "/Baza", 0700},
      {zelt + "/Przekaz", 0700},
      {zelt + "/Wydruki", 0700},
      {zelt + "/Wydruki/" + pdf[0], 0600},
      {zelt + "/Baza/transak.dat", 0600},
      {zelt + "/Baza/klienci.dat", 0600},
      {zelt + "/Baza/np2026.dat", 0600},
      {wyslane[0], 0600},
      {d.w.path("wykaz.txt"), 0600},
      {d.w.registryFile(), 0600},
  };
  for (const auto& c : cases) {
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(c.sciezka).constData(), &st), 0) << c.sciezka.toStdString();
    EXPECT_EQ(st.st_mode & 07777, c.prawa) << c.sciezka.toStdString();
  }
}

}  // namespace

namespace {

// Two institutions in one installation: the second added from the institution window, then chosen
// at each start. Each keeps its own register, data folder and numbers of the day; a card saved in
// one is not seen in the other.
TEST(CardRoad, TwoInstitutionsKeepTheirOwnRegisters) {
  Droga d;
  auto& w = d.w;
  auto nowa = [&](const char* nr, const char* dysponent, const char* numerDnia) {
    d.edytor(&zelt::TglownyForm::dodajClick, [&](TedycjaForm& e) {
      EXPECT_EQ(e.NrRejDat->currentText(), numerDnia) << "the first free number of the day";
      QTest::keyClicks(e.nrEwT, nr);
      e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
      typ(e.zTypPo);
      wpisz(e.zNz, dysponent);
      d.zapiszZUwagami();
    });
  };
  auto uruchom = [&](int io, std::vector<const char*> hasla) {
    d.instytucja = io;
    d.instytucje.clear();
    return d.uruchom(hasla);
  };
  const std::string n1 = std::string(24, '0') + "1", n2 = std::string(24, '0') + "2", n3 = std::string(24, '0') + "3";

  ASSERT_TRUE(d.uruchom({"", "tajne", "tajne"}));
  w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    QTest::keyClicks(f.NazIO, "Kancelaria Pierwsza");
    QTest::keyClicks(f.NIPIO, "5260250274");
    w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  nowa("1", "Jan", "0");
  nowa("2", "Anna", "1");
  const QString dane1 = d.p().KatDan, eksport1 = d.p().KatEks;
  const auto pierwsza = d.wiersze();
  // The number of the day in a report file's name: the two digits after the category letter.
  auto numerPliku = [](const QStringList& pliki) {
    return pliki.size() == 1 ? QFileInfo(pliki[0]).fileName().mid(1, 2) : QString("?");
  };
  EXPECT_EQ(numerPliku(d.wyslij(0)), "01");
  zaznacz(d, 0, 1);
  w.dialogs.expectSaveFile(w.path("pierwsza"), 2);
  d.g().ExpMenClick();
  ASSERT_TRUE(QFile::exists(w.path("pierwsza.xml")));

  // "Dodaj &IO": the name of the second institution; the program ends.
  w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    w.dialogs.expectModal("AddIOForm", [](ModalForm& f) {
      auto& a = static_cast<zelt::TAddIOForm&>(f);
      QTest::keyClicks(a.AddIO, "Kancelaria Druga");
      a.zapisz->click();
      return platform::mrNone;
    });
    d.p().firma()->dodaj->click();
    return platform::mrCancel;
  });
  d.g().JedMen->trigger();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(d.konce, 1) << "a new institution is chosen at the next start";
  d.prog.reset();
  w.reloadRegistry();

  // ---- the second institution: its own first sign-in, an empty register ----
  ASSERT_TRUE(uruchom(1, {"", "drugie", "drugie"}));
  EXPECT_EQ(d.instytucje, (QStringList{"Kancelaria Pierwsza", "Kancelaria Druga"}));
  EXPECT_TRUE(w.dialogs.messages().filter(u("Brak katalogu")).isEmpty()) << w.dialogs.messages().join("\n").toStdString();
  const QString dane2 = d.p().KatDan;
  EXPECT_NE(dane2, dane1) << "its own data folder";
  EXPECT_EQ(d.g().lista->RowCount(), 0) << "the first institution's cards are not shown";
  w.dialogs.expectModal("FirmaForm", [&](ModalForm&) {
    auto& f = *d.p().firma();
    EXPECT_EQ(f.NazIO->text(), "Kancelaria Druga");
    EXPECT_EQ(f.NIPIO->text(), "") << "none of the first institution's data";
    QTest::keyClicks(f.NIPIO, "1234563218");
    w.dialogs.expectModal("WerForm", [](ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapis->click();
    return platform::mrNone;
  });
  d.g().JedMen->trigger();
  // The first institution's file is refused here.
  w.dialogs.expectOpenFile(w.path("pierwsza.xml"));
  w.dialogs.expectMessage(platform::IdOk, u("Dane nie dotyczą tej instytucji obowiązanej"));
  d.g().ImpMenClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(d.g().lista->RowCount(), 0);
  EXPECT_FALSE(QFile::exists(d.p().transakDat()));
  nowa("3", "Ewa", "0");
  EXPECT_TRUE(QFile::exists(dane2 + "/transak.dat"));
  EXPECT_EQ(d.wiersze(), (std::vector<std::string>{"1|" + n3 + "|Ewa"}));
  // Its send: into its own export folder, under its own NIP.
  const QString eksport2 = d.p().KatEks;
  EXPECT_NE(eksport2, eksport1);
  const QStringList wyslane = d.wyslij(0);
  ASSERT_EQ(wyslane.size(), 1);
  EXPECT_EQ(numerPliku(wyslane), "01") << "its own first report file of the day";
  EXPECT_EQ(World::readFile(wyslane[0]).substr(16, 10), "1234563218");
  EXPECT_EQ(QDir(eksport1).entryList(QDir::Files).size(), 1) << "nothing into the first one's folder";
  // The export and import dialogs open in its export folder.
  w.dialogs.expectSaveFile(std::nullopt);
  d.g().ExpMenClick();
  w.dialogs.expectOpenFile(std::nullopt);
  d.g().ImpMenClick();
  ASSERT_TRUE(w.dialogs.scriptDone());
  for (auto i = w.dialogs.shown().size() - 2; i < w.dialogs.shown().size(); ++i)
    EXPECT_EQ(w.dialogs.shown()[i].request.folder, eksport2) << w.dialogs.shown()[i].text.toStdString();
  d.zamknij();

  // ---- back in the first: its two cards, its numbers of the day going on ----
  ASSERT_TRUE(uruchom(0, {"tajne"}));
  EXPECT_EQ(d.podsuniete, 1) << "the institution of the last run offered first";
  EXPECT_EQ(d.uzytkownik, "Kancelaria Pierwsza|5260250274") << "the sign-in names the institution";
  EXPECT_EQ(d.p().KatDan, dane1);
  EXPECT_EQ(d.wiersze(), pierwsza) << "the second institution's card is not here";
  nowa("4", "Olga", "2");
  EXPECT_EQ(d.rekordy().size(), 3u);
  EXPECT_EQ(numerPliku(d.wyslij(2)), "02") << "its files of the day go on";
  d.zamknij();

  // ---- and the second again ----
  ASSERT_TRUE(uruchom(1, {"tajne", "drugie"}));
  EXPECT_EQ(d.p().wizyt()->wprhas->text(), u("Błędne hasło wprowadź ponownie : ")) << "the first institution's password is not this one's";
  EXPECT_EQ(d.podsuniete, 0);
  EXPECT_EQ(d.uzytkownik, "Kancelaria Druga|1234563218");
  EXPECT_EQ(d.wiersze(), (std::vector<std::string>{"1|" + n3 + "|Ewa"}));
  nowa("5", "Piotr", "1");
  EXPECT_EQ(d.rekordy().size(), 2u);
  // Its archive holds its own register.
  platform::Library::setProgramFolder(ZPACK_DIR);
  w.dialogs.expectSaveFile(w.path("druga.zip"));
  d.g().ArchMen->trigger();
  platform::Library::setProgramFolder({});
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(czlonek(w.path("druga.zip"), "transak.dat").toStdString(), World::readFile(d.p().transakDat()));
}

}  // namespace
