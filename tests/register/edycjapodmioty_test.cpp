// The card editor's parties-file buttons over klienci.dat: a party chosen in the parties list taken
// into a page, and the ordering party's page written onto the list (over the live party of the
// same NIP after the question, or appended), with the files and the limit the list meets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/cp1250.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "settings/edpodmiotform.h"
#include "settings/konfigform.h"
#include "settings/plikpodmiotow.h"
#include "settings/podmiotform.h"
#include "swiatrejestru.h"

using platform::ModalForm;
using zelt::TedycjaForm;
using zelt::TPodmiotForm;
using zelt::TRekordPodmiotu;

namespace {

constexpr std::size_t kRec = TRekordPodmiotu::kSize;
const QString kPytanie = QString::fromUtf8("Podmiot o podanym NIP już jest na liście, czy nadpisać ? ");

TRekordPodmiotu podmiot(const char* nz, const char* nip) {
  TRekordPodmiotu r;
  r.TypPo = 1;
  r.Nz = cp1250::fromUtf8(nz);
  r.Nip = nip;
  r.Obyw = r.AdrKr = "PL";
  r.AdrM = "Opole";
  r.AdrUl = "Krakowska 1";
  return r;
}

// A beneficiary as the file may hold it: every field set, the three remarks too.
TRekordPodmiotu pelny() {
  TRekordPodmiotu r;
  r.TypPo = 0;
  r.Nz = cp1250::fromUtf8("Źródło Sp. z o.o.");
  r.Obyw = "DE";
  r.AdrKr = "CZ";
  r.AdrKod = "12-345";
  r.AdrM = cp1250::fromUtf8("Łódź");
  r.AdrUl = "Prosta 5/7";
  r.NrPes = "44051401359";
  r.NrReg = "123456785";
  r.NrReS = "0000012345";
  r.NrSwt = "BPKOPLPW";
  r.Nip = "5260250274";
  r.RodzDokTo = 0;
  r.NrDokTo = "ABC123456";
  r.uwTypPo = "fundacja";
  r.uwRodzDokTo = "legitymacja";
  r.uwObyw = "FR";
  r.rolaPo = TRekordPodmiotu::Beneficjent;
  return r;
}

std::string bajty(const std::vector<TRekordPodmiotu>& rs) {
  std::string b;
  for (const auto& r : rs) {
    const auto e = r.encode();
    b.append(e.data(), e.size());
  }
  return b;
}

// The started program over a data folder that holds klienci.dat (when given), its list loaded.
struct Karta : swiat::SwiatRejestru {
  zelt::Program& p;
  explicit Karta(const std::vector<TRekordPodmiotu>& zapisane) : p(przygotuj(zapisane)) {}
  zelt::Program& przygotuj(const std::vector<TRekordPodmiotu>& zapisane) {
    QDir().mkpath(baza());
    if (!zapisane.empty()) writeFile(klienci(), bajty(zapisane));
    return uruchomiony();
  }
  QString klienci() const { return baza() + "/klienci.dat"; }
  std::string plik() const { return readFile(klienci()); }
  TedycjaForm& e() { return *p.edycja(); }
  TPodmiotForm& lista() { return *p.podmiot(); }
  zelt::Karta& k() { return p.karta; }
  // The rows as "NIP|name|address|number".
  std::vector<std::string> wiersze() {
    std::vector<std::string> r;
    auto* g = lista().Podmiot;
    for (int w = 0; w < g->RowCount(); ++w)
      r.push_back(cp1250::toQ(g->Cells(0, w) + "|" + g->Cells(1, w) + "|" + g->Cells(2, w) + "|" + g->Cells(3, w))
                      .toStdString());
    return r;
  }
  // "&Dodaj" of the main window; `fn` works the editor while it is on screen.
  void nowa(const std::function<void(TedycjaForm&)>& fn) {
    dialogs.expectModal("edycjaForm", [&](ModalForm&) {
      fn(e());
      return platform::mrNone;
    });
    p.glowny()->dodajClick();
    EXPECT_TRUE(dialogs.scriptDone());
  }
};

// ---- "Wprowadź z listy" ----

TEST(CardPartiesFile, AllSixButtonsAreLive) {
  Karta w({});
  auto& e = w.e();
  for (QPushButton* b : {e.DysNaLis, e.DysZLis, e.PelNaLis, e.PelZLis, e.BenNaLis, e.BenZLis})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

TEST(CardPartiesFile, APartyChosenInTheListReachesThePageOfAnyRole) {
  const TRekordPodmiotu b = pelny();
  Karta w({podmiot("Adam", "1234563218"), b});
  w.nowa([&](TedycjaForm& e) {
    // Ordering party: every field, the remarks shown as their codes ask.
    bool wprowadzWidoczne = false;
    w.dialogs.expectModal("PodmiotForm", [&](ModalForm& f) {
      auto& l = static_cast<TPodmiotForm&>(f);
      wprowadzWidoczne = l.zapisz->isVisible();
      l.Podmiot->SetDataRow(l.wierszRekordu(1));
      l.zapisz->click();
      return platform::mrNone;
    });
    e.DysZLis->click();
    EXPECT_TRUE(wprowadzWidoczne) << "shown from a card, the list offers its take-over";
    TRekordPodmiotu oczekiwany = b;
    oczekiwany.rolaPo = TRekordPodmiotu::Dysponent;  // the record's own role is not looked at
    EXPECT_EQ(w.k().z.pola, oczekiwany);
    EXPECT_EQ(e.zNz->toPlainText(), QString::fromUtf8("Źródło Sp. z o.o."));
    EXPECT_EQ(e.zNip->text(), "5260250274");
    EXPECT_EQ(e.zLis->currentText(), QString::fromUtf8("Źródło Sp. z o.o.")) << "the name becomes the entry's item";
    EXPECT_TRUE(w.k().z.uwTypPoWidoczna && w.k().z.uwRodzDokToWidoczna && w.k().z.uwObywWidoczna);
    EXPECT_EQ(e.uwzObyw->text(), "FR");
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    e.grab().save(QDir::temp().filePath("edycja_z_listy.png"));

    // Beneficiary page: type, name, address and the type remark only.
    w.dialogs.expectModal("PodmiotForm", [&](ModalForm& f) {
      auto& l = static_cast<TPodmiotForm&>(f);
      l.Podmiot->SetDataRow(l.wierszRekordu(1));
      return platform::mrOk;
    });
    e.BenZLis->click();
    const TRekordPodmiotu& s = w.k().b.pola;
    EXPECT_EQ(s.TypPo, 0);
    EXPECT_EQ(s.Nz, b.Nz);
    EXPECT_EQ(s.AdrKr, "CZ");
    EXPECT_EQ(s.AdrKod, "12-345");
    EXPECT_EQ(s.AdrM, b.AdrM);
    EXPECT_EQ(s.AdrUl, b.AdrUl);
    EXPECT_EQ(s.uwTypPo, "fundacja");
    EXPECT_TRUE(s.Nip.empty() && s.NrPes.empty() && s.uwObyw.empty()) << "the page has no such fields";
    EXPECT_EQ(e.bNz->toPlainText(), QString::fromUtf8("Źródło Sp. z o.o."));
    EXPECT_TRUE(w.k().listaBeneficjentow.wpisy.size() == 1u && w.k().listaBeneficjentow.wpisy[0].Nz == b.Nz);
  });
}

TEST(CardPartiesFile, NothingReachesThePageWithoutALiveChosenParty) {
  const struct {
    const char* nazwa;
    bool plik;       // klienci.dat there
    int wynik;       // the list's result as the script gives it; -1: "&Wprowadź" clicked
    bool usunPo;     // the chosen party deleted while the list was open
    bool pustaSiatka;
  } cases[] = {
      {"closed with Zamknij", true, platform::mrCancel, false, false},
      {"party deleted behind its row", true, platform::mrOk, true, false},
      {"missing file", false, platform::mrOk, false, true},
      {"empty grid, Wprowadz clicked", false, -1, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Karta w(c.plik ? std::vector<TRekordPodmiotu>{podmiot("Adam", "1234563218")} : std::vector<TRekordPodmiotu>{});
    w.nowa([&](TedycjaForm& e) {
      const TRekordPodmiotu przed = w.k().z.pola;
      int wynik = -100;
      w.dialogs.expectModal("PodmiotForm", [&](ModalForm& f) {
        auto& l = static_cast<TPodmiotForm&>(f);
        EXPECT_EQ(l.Podmiot->RowCount(), c.pustaSiatka ? 0 : 1);
        if (!c.pustaSiatka) l.Podmiot->SetDataRow(0);
        if (c.usunPo) {
          w.dialogs.expectMessage(platform::IdYes);
          TPodmiotForm obok(w.p);  // another way to the same file
          obok.FormCreate();
          obok.Podmiot->SetDataRow(0);
          obok.usunClick();
        }
        if (c.wynik >= 0) return c.wynik;
        l.zapisz->click();
        wynik = l.modalResult();
        return platform::mrNone;
      });
      e.DysZLis->click();
      if (c.wynik < 0) {
        EXPECT_NE(wynik, platform::mrOk) << "never a take-over without a row";
      }
      EXPECT_EQ(w.k().z.pola, przed);
      EXPECT_EQ(e.zLis->count(), 0);
    });
  }
}

// ---- "Wprowadź na listę" ----

TEST(CardPartiesFile, TheOrderingPartyGoesOverTheSameNipAfterTheQuestionOrIsAppended) {
  // The page's NIP holds 10 characters, as the file's does: blanks and dashes take digits' places.
  const std::vector<TRekordPodmiotu> zapisane = {podmiot("Alfa", "12 345 678"), podmiot("Beta", ""),
                                                 podmiot("Gamma", "12-345-679")};
  const struct {
    const char* nazwa;
    const char* nip;     // on the page
    const char* filtr;   // a name filter run in the list first
    int odpowiedz;       // 0: no question expected
    int zapisany;        // the record written, -1 none
  } cases[] = {
      {"dashes for blanks, Yes: in place", "12-345-678", "", platform::IdYes, 0},
      {"dashes for blanks, No: appended", "12-345-678", "", platform::IdNo, 3},
      {"Cancel: nothing", "12-345-678", "", platform::IdCancel, -1},
      {"empty NIP: appended without asking", " - ", "", 0, 3},
      {"another NIP: appended", "12345677", "", 0, 3},
      {"match hidden by the filter, Yes", "12345678", "Gamma", platform::IdYes, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Karta w(zapisane);
    if (*c.filtr) {
      w.lista().fNz->setText(c.filtr);
      w.lista().filtrujClick();
    }
    const std::string przed = w.plik();
    const auto wierszePrzed = w.wiersze();
    TRekordPodmiotu strona;
    w.nowa([&](TedycjaForm& e) {
      auto& z = w.k().z;
      z.pola.TypPo = 2;
      z.pola.Nz = "Nowy";
      z.pola.Nip = c.nip;
      z.pola.NrPes = "44051401359";
      z.pola.RodzDokTo = 1;
      z.pola.uwRodzDokTo = "ukryta";  // its edit hidden: not written
      z.uwRodzDokToWidoczna = false;
      z.pola.uwObyw = "DE";
      e.pokazKarte();
      strona = z.pola;
      if (c.odpowiedz) w.dialogs.expectMessage(c.odpowiedz, kPytanie);
      e.DysNaLis->click();
      EXPECT_TRUE(w.dialogs.scriptDone());
      if (c.odpowiedz) {
        EXPECT_EQ(w.dialogs.shown().back().caption, "Pytanie ?");
      }
      EXPECT_EQ(w.k().z.pola, strona) << "the page is not changed";
    });
    const std::string po = w.plik();
    TRekordPodmiotu oczekiwany = strona;
    oczekiwany.uwRodzDokTo.clear();
    oczekiwany.rolaPo = TRekordPodmiotu::Dysponent;
    const auto e = oczekiwany.encode();
    const std::string zapis(e.data(), e.size());
    if (c.zapisany < 0) {
      EXPECT_EQ(po, przed);
      EXPECT_EQ(w.wiersze(), wierszePrzed);
    } else if (c.zapisany < 3) {
      ASSERT_EQ(po.size(), przed.size());
      EXPECT_EQ(po.substr(c.zapisany * kRec, kRec), zapis);
      EXPECT_EQ(po.substr(kRec), przed.substr(kRec)) << "the other records are byte-identical";
      auto wiersze = wierszePrzed;
      if (!*c.filtr) wiersze[std::size_t(w.lista().wierszRekordu(0))] = std::string(c.nip) + "|Nowy| |0";
      EXPECT_EQ(w.wiersze(), wiersze) << "a listed row is updated, no row is added";
    } else {
      ASSERT_EQ(po.size(), przed.size() + kRec);
      EXPECT_EQ(po.substr(0, przed.size()), przed);
      EXPECT_EQ(po.substr(przed.size()), zapis);
      auto wiersze = wierszePrzed;
      wiersze.push_back(std::string(c.nip) + "|Nowy| |3");
      EXPECT_EQ(w.wiersze(), wiersze);
    }
  }
}

TEST(CardPartiesFile, WritingOntoTheListCreatesAMissingFileAndIsRefusedOnAFullOne) {
  {
    Karta w({});
    EXPECT_FALSE(QFile::exists(w.klienci()));
    w.nowa([&](TedycjaForm& e) {
      w.k().z.pola.Nz = "Adam";
      w.k().z.pola.AdrM = "Opole";
      w.k().z.pola.AdrUl = "Prosta 2";
      e.pokazKarte();
      e.DysNaLis->click();
    });
    ASSERT_EQ(w.plik().size(), kRec);
    EXPECT_EQ(TRekordPodmiotu::decode(w.plik().data()).Nz, "Adam");
    EXPECT_EQ(w.wiersze(), std::vector<std::string>{"|Adam|Opole Prosta 2|0"});
  }
  {
    Karta w({});
    {
      QFile f(w.klienci());
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      ASSERT_TRUE(f.resize(zelt::PlikPodmiotow::kMaksimum * qint64(kRec)));  // sparse: 65536 zero records
    }
    const int wierszy = w.lista().Podmiot->RowCount();
    w.nowa([&](TedycjaForm& e) {
      w.k().z.pola.Nz = "Adam";
      w.k().z.pola.Nip = "1234563218";
      e.pokazKarte();
      w.dialogs.expectMessage(platform::IdOk, zelt::PlikPodmiotow::komunikatPelnej());
      e.DysNaLis->click();
    });
    EXPECT_EQ(w.dialogs.messages(), QStringList{zelt::PlikPodmiotow::komunikatPelnej()});
    EXPECT_EQ(QFileInfo(w.klienci()).size(), zelt::PlikPodmiotow::kMaksimum * qint64(kRec));
    EXPECT_EQ(w.lista().Podmiot->RowCount(), wierszy);
  }
}

// ---- "Wprowadź na listę" of pages 4 and 5, through the party editor ----

TEST(CardPartiesFile, OnBehalfAndBeneficiaryGoOntoTheListAsThePartyEditorAcceptsThem) {
  const struct {
    const char* nazwa;
    bool beneficjent;
    int wynik;                   // the party editor's result
    bool naLiscie;               // a party of the same NIP is listed already: the question, answered Yes
  } cases[] = {
      {"on behalf, accepted", false, platform::mrOk, false},
      {"beneficiary, accepted over the same NIP", true, platform::mrOk, true},
      {"on behalf, cancelled", false, platform::mrCancel, false},
      {"beneficiary, not accepted in the verification", true, platform::mrIgnore, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    const TRekordPodmiotu stary = podmiot("Stary", "5261040828");
    Karta w(c.naLiscie ? std::vector<TRekordPodmiotu>{podmiot("Adam", "1234563218"), stary}
                       : std::vector<TRekordPodmiotu>{});
    w.p.konfig()->domRodzDokTo->setCurrentIndex(2);
    const std::string przedPlikiem = w.plik();
    w.nowa([&](TedycjaForm& e) {
      zelt::StronaPodmiotu& s = c.beneficjent ? w.k().b : w.k().p;
      s.pola.TypPo = 0;
      s.uwTypPoWidoczna = true;
      s.pola.uwTypPo = "fundusz";
      s.pola.Nz = cp1250::fromUtf8("Żak Ewa");
      s.pola.AdrKr = "CZ";
      s.pola.AdrKod = "11000";
      s.pola.AdrM = "Praha";
      s.pola.AdrUl = "Na Poříčí 1";
      e.pokazKarte();
      const zelt::StronaPodmiotu przed = s;

      TRekordPodmiotu preset, zapisany;
      bool uwTypPo = false, uwRodzDokTo = true;
      w.dialogs.expectModal("EdPodmiotForm", [&](ModalForm&) {
        auto& ed = *w.p.edPodmiot();
        preset = ed.odczytaj();
        uwTypPo = ed.uwTypPoPokazane();
        uwRodzDokTo = ed.uwRodzDokToPokazane();
        ed.Nip->setText("5261040828");
        ed.NrPes->setText("44051401359");
        zapisany = ed.odczytaj();
        return c.wynik;
      });
      if (c.naLiscie) w.dialogs.expectMessage(platform::IdYes, kPytanie);
      (c.beneficjent ? e.BenNaLis : e.PelNaLis)->click();
      EXPECT_TRUE(w.dialogs.scriptDone());

      // The editor's preset: the page's type (with its remark), name and address, citizenship and
      // country the page's country, the numbers empty, the document the settings' default.
      TRekordPodmiotu oczekiwany;
      oczekiwany.TypPo = 0;
      oczekiwany.uwTypPo = "fundusz";
      oczekiwany.Nz = s.pola.Nz;
      oczekiwany.Obyw = oczekiwany.AdrKr = "CZ";
      oczekiwany.AdrKod = "11000";
      oczekiwany.AdrM = "Praha";
      oczekiwany.AdrUl = s.pola.AdrUl;
      oczekiwany.RodzDokTo = 2;
      oczekiwany.rolaPo = c.beneficjent ? TRekordPodmiotu::Beneficjent : TRekordPodmiotu::WImieniu;
      EXPECT_EQ(preset, oczekiwany);
      EXPECT_TRUE(uwTypPo);
      EXPECT_FALSE(uwRodzDokTo);
      EXPECT_EQ(s.pola, przed.pola) << "the page itself is not changed";

      if (c.wynik != platform::mrOk) {
        EXPECT_EQ(w.plik(), przedPlikiem) << "nothing written";
        return;
      }
      const std::string plik = w.plik();
      ASSERT_EQ(plik.size(), (c.naLiscie ? 2 : 1) * kRec);
      const std::size_t numer = c.naLiscie ? 1 : 0;
      EXPECT_EQ(TRekordPodmiotu::decode(plik.data() + numer * kRec), zapisany) << "the editor's record, its role";
      EXPECT_EQ(zapisany.rolaPo, oczekiwany.rolaPo);
      if (c.naLiscie) {
        EXPECT_EQ(plik.substr(0, kRec), przedPlikiem.substr(0, kRec));
      }
      const int wiersz = w.lista().wierszRekordu(int(numer));
      ASSERT_GE(wiersz, 0);
      EXPECT_EQ(w.lista().Podmiot->Cells(TPodmiotForm::poNIP, wiersz), "5261040828");
    });
  }
}

}  // namespace
