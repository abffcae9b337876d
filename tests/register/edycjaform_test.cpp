// The card editor: its controls over the card both ways, its opening from the main window, the
// exit checks with their pickers, remark visibility, the number preview and the navigation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabBar>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/geometry.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "register/werform.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podpowform.h"
#include "support/x11keys.h"
#include "swiatrejestru.h"

using platform::ModalForm;
using swiat::rekord;
using zelt::Karta;
using zelt::TedycjaForm;
using zelt::TRekordTransakcji;

namespace {

constexpr auto HKCU = platform::RegRoot::CurrentUser;
const std::string kOkno = "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Edycja\\";

QString u(const char* s) { return QString::fromUtf8(s); }

// The started program with its card editor; `otworz` shows the editor over the card as it is and
// runs `fn` while it is on screen and active.
struct Edytor : swiat::SwiatRejestru {
  zelt::Program& p;
  TedycjaForm& e;
  Edytor() : p(uruchomiony()), e(*p.edycja()) {}

  int otworz(const std::function<void(TedycjaForm&)>& fn) {
    dialogs.expectModal("edycjaForm", [&](ModalForm&) {
      QApplication::setActiveWindow(&e);
      EXPECT_TRUE(QTest::qWaitForWindowActive(&e));
      fn(e);
      return platform::mrNone;
    });
    return e.pokaz();
  }
  // "&Dodaj" as the main window runs it, with the editor's work given by `fn`.
  int nowa(const std::function<void(TedycjaForm&)>& fn) {
    int wynik = -100;
    dialogs.expectModal("edycjaForm", [&](ModalForm&) {
      QApplication::setActiveWindow(&e);
      EXPECT_TRUE(QTest::qWaitForWindowActive(&e));
      fn(e);
      return platform::mrNone;
    });
    p.glowny()->dodajClick();
    wynik = dialogs.shown().empty() ? -100 : dialogs.shown().back().answer;
    return wynik;
  }
  Karta& k() { return p.karta; }
};

QWidget* fokus() { return QApplication::focusWidget(); }
std::string nazwaFokusu() { return fokus() ? fokus()->objectName().toStdString() : "(none)"; }

void wybierz(QComboBox* c, int i) {
  c->setCurrentIndex(i);
  emit c->activated(i);
}

// Types as the keyboard does, Polish letters too.
void wpisz(QWidget* w, const QString& t) {
  if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
  for (QChar ch : t) {
    if (ch.unicode() < 128) QTest::keyClick(w, ch.toLatin1());
    else QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

// ---- start-up, geometry, the main window's buttons ----

TEST(CardEditor, CreatedAtStartUpWithItsStoredPositionAndWrittenBackAtExit) {
  swiat::SwiatRejestru w;
  w.reg().writeInteger(HKCU, kOkno, "Left", 33);
  w.reg().writeInteger(HKCU, kOkno, "Top", 44);
  auto& p = w.uruchomiony();
  ASSERT_NE(p.edycja(), nullptr);
  EXPECT_EQ(p.edycja()->pos(), QPoint(33, 44));
  EXPECT_EQ(p.edycja()->windowTitle(), "Karta Transakcji - ZELT");
  EXPECT_GE(p.edycja()->width(), 600);
  EXPECT_GE(p.edycja()->height(), 452);
  p.edycja()->move(70, 80);
  p.glowny()->zapiszUstawienia();
  EXPECT_EQ(w.reg().readInteger(HKCU, kOkno, "Left"), 70);
  EXPECT_EQ(w.reg().readInteger(HKCU, kOkno, "Top"), 80);
}

TEST(CardEditor, AddAndEditOpenItAndPowrotClosesWithoutSaving) {
  Edytor w;
  auto& g = *w.p.glowny();
  EXPECT_TRUE(g.dodaj->isEnabled());
  EXPECT_FALSE(g.Edytuj->isEnabled()) << "no rows, nothing to edit";
  EXPECT_EQ(w.nowa([](TedycjaForm& e) {
              EXPECT_EQ(e.Wprowadzanie->currentIndex(), 0);
              EXPECT_EQ(nazwaFokusu(), "nrEwT");
              QTest::keyClicks(e.nrEwT, "123");
              e.wyjdz->click();
            }),
            platform::mrCancel);
  EXPECT_EQ(w.k().nrEwT, "123") << "the editor is a view of the card";
  EXPECT_TRUE(w.rekordy().empty()) << "nothing saved";
}

TEST(CardEditor, TheRegistrationNumberListIsOpenForANewCardAndACardOfSeveralRecords) {
  Edytor w;
  w.zapisz({rekord("1", w.dzis(), "0"), rekord("2", w.dzis(), "1"), rekord("2", w.dzis(), "2")});
  w.p.konfig()->FormCreate();  // the list shows the register
  auto& g = *w.p.glowny();
  const struct {
    int wiersz;  // -1: "&Dodaj"
    bool aktywny;
  } cases[] = {{-1, true}, {0, false}, {1, true}};
  for (const auto& c : cases) {
    w.dialogs.expectModal("edycjaForm", [&](ModalForm&) {
      EXPECT_EQ(w.e.NrRejDat->isEnabled(), c.aktywny) << c.wiersz;
      return platform::mrCancel;
    });
    if (c.wiersz < 0) {
      g.dodajClick();
    } else {
      g.lista->SetDataRow(c.wiersz);
      g.EdytujClick();
    }
  }
}

TEST(CardEditor, ButtonsAndPages) {
  Edytor w;
  auto& e = w.e;
  for (QWidget* c : std::initializer_list<QWidget*>{e.wyjdz, e.Weryfikuj, e.zapisz, e.bdr, e.bpl, e.PelNaLis, e.BenNaLis})
    EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
  QStringList karty;
  for (int i = 0; i < e.Wprowadzanie->count(); ++i) karty << e.Wprowadzanie->tabText(i);
  EXPECT_EQ(karty, (QStringList{"1.Identyfikacja", "2.Transakcja", "3.Dysponenci", "4.W imieniu", "5.Beneficjenci",
                                u("6.Rachunki uczestniczące"), "7.Uwagi"}));
}

// ---- every field both ways ----

struct Pole {
  const char* kontrolka;
  std::function<std::string&(Karta&)> tekst;
  std::function<std::int32_t&(Karta&)> indeks;
  std::function<double&(Karta&)> data;
};

#define T(name, expr) Pole{name, [](Karta& k) -> std::string& { return expr; }, {}, {}}
#define I(name, expr) Pole{name, {}, [](Karta& k) -> std::int32_t& { return expr; }, {}}
#define D(name, expr) Pole{name, {}, {}, [](Karta& k) -> double& { return expr; }}

// In the order a user fills them: a date before the number it proposes, a code before the remark it shows.
const std::vector<Pole>& pola() {
  static const std::vector<Pole> p = {
      D("rejDat", k.rejDat),           T("nrEwT", k.nrEwT),             T("NrRejDat", k.NrRejDatTekst),
      T("jedIO", k.jedIO),             I("Status", k.Status),           T("kRodzTr", k.kRodzTr),
      I("kPwz", k.kPwz),               T("kPdjrz", k.kPdjrz),           I("spDysp", k.spDysp),
      T("nrDokT", k.nrDokT),           D("tDat", k.tDat),               T("tM", k.tM),
      T("tKw", k.tKw),                 T("tJ", k.tJ),                   T("tKwZ", k.tKwZ),
      T("tJZ", k.tJZ),                 I("zTypPo", k.z.pola.TypPo),     T("zNz", k.z.pola.Nz),
      T("zObyw", k.z.pola.Obyw),       T("zAdrKr", k.z.pola.AdrKr),     T("zAdrKod", k.z.pola.AdrKod),
      T("zAdrM", k.z.pola.AdrM),       T("zAdrUl", k.z.pola.AdrUl),     T("zNrPes", k.z.pola.NrPes),
      T("zNrReg", k.z.pola.NrReg),     T("zNrReS", k.z.pola.NrReS),     T("zNrSwt", k.z.pola.NrSwt),
      T("zNip", k.z.pola.Nip),         I("zRodzDokTo", k.z.pola.RodzDokTo), T("zNrDokTo", k.z.pola.NrDokTo),
      I("pTypPo", k.p.pola.TypPo),     T("pNz", k.p.pola.Nz),           T("pAdrKr", k.p.pola.AdrKr),
      T("pAdrKod", k.p.pola.AdrKod),   T("pAdrM", k.p.pola.AdrM),       T("pAdrUl", k.p.pola.AdrUl),
      I("bTypPo", k.b.pola.TypPo),     T("bNz", k.b.pola.Nz),           T("bAdrKr", k.b.pola.AdrKr),
      T("bAdrKod", k.b.pola.AdrKod),   T("bAdrM", k.b.pola.AdrM),       T("bAdrUl", k.b.pola.AdrUl),
      T("nrRachZ", k.nrRachZ),         T("nrRachN", k.nrRachN),
      // 45: the remarks
      T("uwkRodzTr", k.uwkRodzTr),     T("uwkPwz", k.uwkPwz),           T("uwkPdjrz", k.uwkPdjrz),
      T("uwspDysp", k.uwspDysp),       T("uwzTypPo", k.z.pola.uwTypPo), T("uwzObyw", k.z.pola.uwObyw),
      T("uwzRodzDokTo", k.z.pola.uwRodzDokTo), T("uwpTypPo", k.p.pola.uwTypPo), T("uwbTypPo", k.b.pola.uwTypPo),
      T("uwInne", k.uwInne),
  };
  return p;
}

#undef T
#undef I
#undef D

// A value for the i-th field that no other field gets: for the codes one that shows the remarks and
// fields 15 and 16, for the lists an item, for the texts as much as the control takes.
QString wartosc(std::size_t i, QWidget* w) {
  const QString n = w->objectName();
  if (n == "kRodzTr") return "0600";
  if (n == "kPdjrz") return "12 podejrzana";
  QString t = QStringLiteral("%1%2 ").arg(QChar('A' + int(i % 26))).arg(i) + u("Żółć ") + n;
  if (auto* e = qobject_cast<QLineEdit*>(w)) t = t.left(platform::typingLimit(e));
  return t;
}
int indeksDla(const QString& n) {
  static const std::map<QString, int> m = {{"Status", 0}, {"kPwz", 1},   {"spDysp", 0},    {"zTypPo", 0},
                                           {"pTypPo", 0}, {"bTypPo", 0}, {"zRodzDokTo", 0}};
  return m.at(n);
}
QDate dataDla(const QString& n) { return n == "rejDat" ? QDate(2026, 3, 4) : QDate(2025, 7, 8); }

TEST(CardEditor, EveryControlOfTheFieldsAndRemarksReachesTheCard) {
  Edytor w;
  std::map<std::string, QString> wpisane;
  w.nowa([&](TedycjaForm& e) {
    e.dwaobyw->click();  // the second citizenship's remark
    for (std::size_t i = 0; i < pola().size(); ++i) {
      QWidget* c = e.findChild<QWidget*>(pola()[i].kontrolka);
      ASSERT_NE(c, nullptr) << pola()[i].kontrolka;
      if (auto* d = qobject_cast<QDateEdit*>(c)) {
        d->setDate(dataDla(c->objectName()));
      } else if (pola()[i].indeks) {
        wybierz(qobject_cast<QComboBox*>(c), indeksDla(c->objectName()));
      } else {
        ASSERT_FALSE(c->isHidden()) << pola()[i].kontrolka << " is shown when its code asks for it";
        if (auto* l = qobject_cast<QComboBox*>(c)) l->lineEdit()->clear();
        else if (auto* l = qobject_cast<QLineEdit*>(c)) l->clear();
        else qobject_cast<QPlainTextEdit*>(c)->clear();
        wpisane[pola()[i].kontrolka] = wartosc(i, c);
        wpisz(c, wartosc(i, c));
      }
    }
    e.wyjdz->click();
  });
  Karta& k = w.k();
  for (const Pole& f : pola()) {
    const QString n = f.kontrolka;
    if (f.data) EXPECT_EQ(f.data(k), platform::dateToDays(dataDla(n))) << f.kontrolka;
    else if (f.indeks) EXPECT_EQ(f.indeks(k), indeksDla(n)) << f.kontrolka;
    else {
      QString oczekiwane = wpisane[f.kontrolka];
      if (n == "tJ" || n.endsWith("AdrKr") || n == "zObyw") oczekiwane = oczekiwane.toUpper();
      EXPECT_EQ(f.tekst(k), cp1250::fromUnicode(oczekiwane)) << f.kontrolka;
    }
  }
}

TEST(CardEditor, ACardShownFillsEveryControl) {
  Edytor w;
  Karta k;
  k.z.uwObywWidoczna = k.z.uwTypPoWidoczna = k.z.uwRodzDokToWidoczna = true;
  k.p.uwTypPoWidoczna = k.b.uwTypPoWidoczna = true;
  k.uwkRodzTrWidoczna = k.uwkPwzWidoczna = k.uwkPdjrzWidoczna = k.uwspDyspWidoczna = k.kwotaZWidoczna = true;
  std::map<std::string, QString> dane;
  for (std::size_t i = 0; i < pola().size(); ++i) {
    const Pole& f = pola()[i];
    QWidget* c = w.e.findChild<QWidget*>(f.kontrolka);
    ASSERT_NE(c, nullptr) << f.kontrolka;
    if (f.data) f.data(k) = platform::dateToDays(dataDla(c->objectName()));
    else if (f.indeks) f.indeks(k) = indeksDla(c->objectName()) == 0 ? 1 : 0;
    else {
      dane[f.kontrolka] = wartosc(i, c).toUpper();
      f.tekst(k) = cp1250::fromUnicode(dane[f.kontrolka]);
    }
  }
  w.p.karta = k;
  w.otworz([&](TedycjaForm& e) {
    for (const Pole& f : pola()) {
      QWidget* c = e.findChild<QWidget*>(f.kontrolka);
      if (auto* d = qobject_cast<QDateEdit*>(c)) EXPECT_EQ(d->date(), dataDla(c->objectName())) << f.kontrolka;
      else if (f.indeks) EXPECT_EQ(qobject_cast<QComboBox*>(c)->currentIndex(), f.indeks(k)) << f.kontrolka;
      else if (auto* l = qobject_cast<QComboBox*>(c)) EXPECT_EQ(l->currentText(), dane[f.kontrolka]) << f.kontrolka;
      else if (auto* l = qobject_cast<QLineEdit*>(c)) EXPECT_EQ(l->text(), dane[f.kontrolka]) << f.kontrolka;
      else EXPECT_EQ(qobject_cast<QPlainTextEdit*>(c)->toPlainText(), dane[f.kontrolka]) << f.kontrolka;
      EXPECT_FALSE(c->isHidden()) << f.kontrolka;
    }
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), 0) << "showing a card moves no page";
    e.wyjdz->click();
  });
  // Showing it changed nothing of the card.
  for (const Pole& f : pola()) {
    if (f.tekst) {
      EXPECT_EQ(f.tekst(w.k()), f.tekst(k)) << f.kontrolka;
    } else if (f.indeks) {
      EXPECT_EQ(f.indeks(w.k()), f.indeks(k)) << f.kontrolka;
    }
  }
}

TEST(CardEditor, EnterInTheLastRemarkAndEscLeaveTheEditorOpen) {
  Edytor w;
  w.nowa([](TedycjaForm& e) {
    e.przejdz(TedycjaForm::Uwagi, e.uwInne);
    QTest::keyClick(e.uwInne, Qt::Key_Return);
    QTest::keyClick(e.uwInne, Qt::Key_Escape);
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(e.modalResult(), platform::mrNone);
    EXPECT_TRUE(e.isVisible());
    e.wyjdz->click();
    EXPECT_EQ(e.modalResult(), platform::mrCancel);
  });
}

TEST(CardEditor, F1OpensItsHelpTopic) {
  Edytor w;
  w.nowa([](TedycjaForm& e) {
    QTest::keyClick(e.nrEwT, Qt::Key_F1);
    e.wyjdz->click();
  });
  EXPECT_TRUE(w.shell.requests.contains("help zelt.hlp 1040000"));
}

// ---- pictures ----

TEST(CardEditor, PicturesOfEveryPageNewAndLoaded) {
  Edytor w;
  w.nowa([](TedycjaForm& e) {
    e.Wprowadzanie->tabBar()->setFocus();  // as a click on a tab does
    for (int s = 0; s < e.Wprowadzanie->count(); ++s) {
      e.Wprowadzanie->setCurrentIndex(s);
      EXPECT_GT(testing_world::renderWindow(e, QStringLiteral("edycja-nowa-%1").arg(s + 1)), 8);
    }
    e.wyjdz->click();
  });
  // A stored card of three ordering parties with every remark shown.
  std::vector<TRekordTransakcji> r(3, rekord("777", w.dzis(), "0"));
  for (int i = 0; i < 3; ++i) {
    r[i].nrRejDat = std::to_string(i);
    r[i].zTypPo = 0;
    r[i].tDat = w.dzis();
    r[i].zNz = cp1250::fromUtf8("Przedsiębiorstwo Wielobranżowe Spółka z ograniczoną odpowiedzialnością ") +
               std::to_string(i);
    r[i].zRodzDokTo = 0;
    r[i].uwzTypPo = r[i].uwzRodzDokTo = r[i].uwzObyw = "uwaga dysponenta";
  }
  r[0].kRodzTr = "0600";
  r[0].kPwz = 1;
  r[0].kPdjrz = "0000";
  r[0].spDysp = 0;
  r[0].pTypPo = r[0].bTypPo = 0;
  r[0].pNz = r[0].bNz = cp1250::fromUtf8("Ktoś");
  r[0].uwkRodzTr = r[0].uwkPwz = r[0].uwkPdjrz = r[0].uwspDysp = r[0].uwpTypPo = r[0].uwbTypPo = r[0].uwInne =
      "uwagi do pola";
  w.zapisz(r);
  std::int32_t n = 0;
  ASSERT_EQ(zelt::wczytajKarte(w.p, n, nullptr), zelt::Wczytanie::Wczytana);
  w.otworz([](TedycjaForm& e) {
    for (QLineEdit* uw : {e.uwkRodzTr, e.uwkPwz, e.uwkPdjrz, e.uwspDysp, e.uwzTypPo, e.uwzObyw, e.uwzRodzDokTo,
                          e.uwpTypPo, e.uwbTypPo, e.uwInne})
      EXPECT_FALSE(uw->isHidden()) << uw->objectName().toStdString();
    e.Wprowadzanie->tabBar()->setFocus();
    for (int s = 0; s < e.Wprowadzanie->count(); ++s) {
      e.Wprowadzanie->setCurrentIndex(s);
      EXPECT_GT(testing_world::renderWindow(e, QStringLiteral("edycja-wczytana-%1").arg(s + 1)), 8);
      // Every control of the page lies inside the window.
      for (QWidget* c : e.Wprowadzanie->currentWidget()->findChildren<QWidget*>()) {
        if (!c->isVisible() || c->parentWidget() != e.Wprowadzanie->currentWidget()) continue;
        const QRect r(c->mapTo(&e, QPoint(0, 0)), c->size());
        EXPECT_TRUE(e.rect().contains(r)) << c->objectName().toStdString() << " on page " << s + 1;
      }
    }
    e.wyjdz->click();
  });
}

// ---- exit checks and pickers ----

// Moves the focus from `z` (its page brought up first) to `do_`, as a click would.
void opusc(TedycjaForm& e, QWidget* z, QWidget* do_) {
  e.przejdz(e.Wprowadzanie->indexOf(z->parentWidget()), z);
  do_->setFocus(Qt::MouseFocusReason);
}

// Replaces a field's text as the user does: everything selected and deleted, then typed.
void ustawTekst(QWidget* w, const QString& t) {
  if (auto* l = qobject_cast<QLineEdit*>(w); l && !l->text().isEmpty()) {
    l->selectAll();
    QTest::keyClick(l, Qt::Key_Backspace);
  }
  wpisz(w, t);
}

TEST(CardEditor, KindCodeExitTable) {
  const int anuluj = platform::mrDismissed;
  const struct {
    const char* tekst;
    const char* komunikat;  // empty: accepted
    int kategoria;          // the picker's category preset
    int wynik;              // the picker's answer
    const char* potem;
  } cases[] = {
      {"0607", "", 0, 0, "0607"},
      {"0146", "", 0, 0, "0146"},
      {"0100", "", 0, 0, "0100"},
      {"0847", "Błędny kod kategorii transakcji", -1, 607, "0607"},
      {"ab07", "Błędny kod kategorii transakcji", -1, anuluj, "ab07"},
      {"", "Błędny kod kategorii transakcji", -1, 101, "0101"},
      {"0007", "Błędny kod kategorii transakcji", -1, anuluj, "0007"},
      {"01x5", "Błędny kod tytułu transakcji", 0, 205, "0205"},
      {"0147", "Błędny kod tytułu transakcji", 0, anuluj, "0147"},
      {"06", "Błędny kod tytułu transakcji", 5, 607, "0607"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tekst);
    Edytor w;
    w.nowa([&](TedycjaForm& e) {
      e.przejdz(TedycjaForm::Transakcja, e.kRodzTr);
      ustawTekst(e.kRodzTr, c.tekst);
      if (*c.komunikat) {
        w.dialogs.expectMessage(platform::IdOk, u(c.komunikat));
        w.dialogs.expectModal("podpowForm", [&](ModalForm& f) {
          auto& k = static_cast<zelt::TpodpowForm&>(f);
          EXPECT_EQ(k.Podrodz->currentIndex(), c.kategoria);
          EXPECT_EQ(k.Podtytul->currentIndex(), -1);
          return c.wynik;
        });
      }
      if (e.kRodzTr->hasFocus()) e.kPwz->setFocus(Qt::MouseFocusReason);
      EXPECT_TRUE(w.dialogs.scriptDone());
      EXPECT_EQ(e.kRodzTr->text(), c.potem);
      EXPECT_EQ(w.k().kRodzTr, c.potem);
      if (*c.komunikat && c.wynik == anuluj) {
        EXPECT_EQ(nazwaFokusu(), "kRodzTr") << "the focus goes back";
      }
      e.wyjdz->click();
    });
  }
}

TEST(CardEditor, KindCodeWithTitleZeroLeadsToItsRemarkOnEnter) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    e.przejdz(TedycjaForm::Transakcja, e.kRodzTr);
    e.kRodzTr->setText("0100");  // set without the typing's own jump
    emit e.kRodzTr->textEdited("0100");
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Uwagi) << "the change brings the remark up";
    e.przejdz(TedycjaForm::Transakcja, e.kRodzTr);
    QTest::keyClick(e.kRodzTr, Qt::Key_Return);
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Uwagi);
    EXPECT_EQ(nazwaFokusu(), "uwkRodzTr");
    EXPECT_TRUE(e.uwkRodzTr->isEnabled());
    e.wyjdz->click();
  });
}

TEST(CardEditor, KindPickerButtonPresetsAndResults) {
  const int anuluj = platform::mrDismissed;
  const struct {
    const char* tekst;
    int kategoria, tytul;
    int wynik;
    const char* potem;
    int strona;
    const char* fokus;
  } cases[] = {
      {"0607", 5, 7, 600, "0600", TedycjaForm::Uwagi, "uwkRodzTr"},
      {"0600", 5, 0, 607, "0607", TedycjaForm::Transakcja, "kRodzTr"},
      {"0607", 5, 7, anuluj, "0607", TedycjaForm::Transakcja, "kRodzTr"},
      {"06x7", -1, -1, 101, "0101", TedycjaForm::Transakcja, "kRodzTr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tekst + std::string(" ") + std::to_string(c.wynik));
    Edytor w;
    w.nowa([&](TedycjaForm& e) {
      w.k().kRodzTr = c.tekst;
      e.pokazKarte();
      w.dialogs.expectModal("podpowForm", [&](ModalForm& f) {
        auto& k = static_cast<zelt::TpodpowForm&>(f);
        EXPECT_EQ(k.Podrodz->currentIndex(), c.kategoria);
        EXPECT_EQ(k.Podtytul->currentIndex(), c.tytul);
        return c.wynik;
      });
      e.kRodzTrPod->click();
      EXPECT_EQ(w.k().kRodzTr, c.potem);
      EXPECT_EQ(e.Wprowadzanie->currentIndex(), c.strona);
      EXPECT_EQ(nazwaFokusu(), c.fokus);
      e.wyjdz->click();
    });
  }
}

// Three lines in each code list: known codes, and the picker's answers by line.
struct EdytorKodow : Edytor {
  EdytorKodow() {
    p.kodwaluty()->ustawPozycje({"EUR Euro", "PLN Zloty", "USD Dolar"});
    p.kodykraj()->ustawPozycje({"DE-NIEMCY", "PL-POLSKA", "US-USA"});
  }
};

TEST(CardEditor, CurrencyAndCountryExitOnAThreeLineList) {
  const int anuluj = platform::mrDismissed;
  const struct {
    const char* pole;
    const char* dokad;
    const char* tekst;
    const char* picker;  // empty: accepted
    int wynik;
    const char* potem;
  } cases[] = {
      {"tJ", "tKw", "PLN", "", 0, "PLN"},
      {"tJ", "tKw", "XXX", "KodwalutyForm", 3, "USD"},
      {"tJ", "tKw", "XXX", "KodwalutyForm", anuluj, "XXX"},
      {"tJ", "tKw", "", "KodwalutyForm", 1, "EUR"},
      {"tJZ", "tKw", "EU", "KodwalutyForm", 2, "PLN"},
      {"zObyw", "zAdrKod", "PL", "", 0, "PL"},
      {"zObyw", "zAdrKod", "XX", "KodykrajForm", 2, "PL"},
      {"zAdrKr", "zAdrKod", "XX", "KodykrajForm", anuluj, "XX"},
      {"pAdrKr", "pAdrKod", "P", "KodykrajForm", 3, "US"},
      {"bAdrKr", "bAdrKod", "US", "", 0, "US"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pole) + " " + c.tekst);
    EdytorKodow w;
    w.k().kRodzTr = "0600";  // fields 15 and 16 shown
    w.nowa([&](TedycjaForm& e) {
      auto* pole = e.findChild<QLineEdit*>(c.pole);
      auto* dokad = e.findChild<QWidget*>(c.dokad);
      e.przejdz(e.Wprowadzanie->indexOf(pole->parentWidget()), pole);
      ustawTekst(pole, c.tekst);
      if (*c.picker) {
        const bool waluta = QString(c.picker) == "KodwalutyForm";
        w.dialogs.expectMessage(platform::IdOk, waluta ? u("Błędny kod waluty") : u("Błędny kod kraju"));
        w.dialogs.expectModal(c.picker, [&](ModalForm& f) {
          EXPECT_EQ(f.findChild<QListWidget*>()->currentRow(), 0) << "the picker on its first line";
          return c.wynik;
        });
      }
      dokad->setFocus(Qt::MouseFocusReason);
      EXPECT_TRUE(w.dialogs.scriptDone());
      EXPECT_EQ(pole->text(), c.potem);
      EXPECT_EQ(nazwaFokusu(), c.dokad) << "the focus goes on where the user went";
      e.wyjdz->click();
    });
  }
}

TEST(CardEditor, CodeButtonsPresetTheirLineAndMoveTheFocusOn) {
  const int anuluj = platform::mrDismissed;
  const struct {
    const char* przycisk;
    const char* pole;
    const char* tekst;
    bool wymiana;  // fields 15 and 16 shown
    int wiersz;    // the picker's preset line
    int wynik;
    const char* potem;
    const char* fokus;
  } cases[] = {
      {"PodtJ", "tJ", "PLN", false, 1, 3, "USD", "zTypPo"},
      {"PodtJ", "tJ", "PLN", true, 1, 1, "EUR", "tKwZ"},
      {"PodtJ", "tJ", "XYZ", false, 0, anuluj, "XYZ", "zTypPo"},
      {"PodtJ", "tJ", "", false, 0, 2, "PLN", "zTypPo"},
      {"PodtJZ", "tJZ", "USD", true, 2, 2, "PLN", "zTypPo"},
      {"PodzObyw", "zObyw", "US", false, 2, 1, "DE", "PodzAdrKr"},
      {"PodzAdrKr", "zAdrKr", "", false, 0, 2, "PL", "zAdrKod"},
      {"PodpAdrKr", "pAdrKr", "PL", false, 1, anuluj, "PL", "pAdrKod"},
      {"PodbAdrKr", "bAdrKr", "DE", false, 0, 3, "US", "bAdrKod"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.przycisk) + " " + c.tekst);
    EdytorKodow w;
    w.nowa([&](TedycjaForm& e) {
      auto* pole = e.findChild<QLineEdit*>(c.pole);
      auto* b = e.findChild<QPushButton*>(c.przycisk);
      w.k().kRodzTr = c.wymiana ? "0600" : "0101";
      w.k().kwotaZWidoczna = c.wymiana;
      e.pokazKarte();
      e.przejdz(e.Wprowadzanie->indexOf(b->parentWidget()), b);
      ustawTekst(pole, c.tekst);
      w.dialogs.expectModal(QString(c.pole).startsWith('t') ? "KodwalutyForm" : "KodykrajForm", [&](ModalForm& f) {
        EXPECT_EQ(f.findChild<QListWidget*>()->currentRow(), c.wiersz);
        return c.wynik;
      });
      if (!*c.tekst && c.wynik == anuluj) w.dialogs.expectMessage(platform::IdOk, u("Brak kodu waluty"));
      b->click();
      EXPECT_EQ(pole->text(), c.potem);
      EXPECT_EQ(nazwaFokusu(), c.fokus);
      e.wyjdz->click();
    });
  }
}

TEST(CardEditor, AListWithoutUsableCodesNeverTrapsTheUser) {
  Edytor w;
  w.p.kodwaluty()->ustawPozycje({""});
  w.p.kodykraj()->ustawPozycje({"", " "});
  w.nowa([&](TedycjaForm& e) {
    w.dialogs.expectMessage(platform::IdOk, u("Błędny kod waluty"));
    opusc(e, e.tJ, e.tKw);
    EXPECT_EQ(nazwaFokusu(), "tKw") << "no picker, the focus goes on";
    w.dialogs.expectMessage(platform::IdOk, u("Błędny kod kraju"));
    opusc(e, e.zObyw, e.zAdrKod);
    EXPECT_EQ(nazwaFokusu(), "zAdrKod");
    e.wyjdz->click();
  });
}

TEST(CardEditor, TabOnTheCurrencyButtonWithoutACodeSaysSoOnce) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    w.k().tJ.clear();
    e.pokazKarte();
    e.przejdz(TedycjaForm::Transakcja, e.PodtJ);
    w.dialogs.expectMessage(platform::IdOk, u("Brak kodu waluty"));
    QTest::keyClick(e.PodtJ, Qt::Key_Tab);
    EXPECT_EQ(nazwaFokusu(), "PodtJ");
    EXPECT_EQ(w.dialogs.messages().size(), 1);
    // Leaving it by the mouse says the same and keeps it.
    w.dialogs.expectMessage(platform::IdOk, u("Brak kodu waluty"));
    e.tM->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(nazwaFokusu(), "PodtJ");
    e.wyjdz->click();
  });
}

TEST(CardEditor, TransactionNumberAndPartyTypeExitChecks) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    w.dialogs.expectMessage(platform::IdOk, u("Numer ewidencyjny może zawierać tylko cyfry 0..9"));
    ustawTekst(e.nrEwT, "12A");
    opusc(e, e.nrEwT, e.rejDat);
    EXPECT_EQ(nazwaFokusu(), "nrEwT");
    ustawTekst(e.nrEwT, "");
    e.rejDat->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(nazwaFokusu(), "rejDat") << "an empty number passes";
    w.k().z.pola.TypPo = -1;
    e.pokazKarte();
    w.dialogs.expectMessage(platform::IdOk, u("To pole musi być wypełnione"));
    opusc(e, e.zTypPo, e.zAdrKod);
    EXPECT_EQ(nazwaFokusu(), "zTypPo");
    wybierz(e.zTypPo, 1);
    e.zAdrKod->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(nazwaFokusu(), "zAdrKod");
    e.wyjdz->click();
  });
}

TEST(CardEditor, PowrotFromAWrongCurrencyClosesWithoutAMessage) {
  Edytor w;
  EXPECT_EQ(w.nowa([&](TedycjaForm& e) {
              e.przejdz(TedycjaForm::Transakcja, e.tJ);
              ustawTekst(e.tJ, "XXX");
              e.wyjdz->setFocus(Qt::MouseFocusReason);
              e.wyjdz->click();
            }),
            platform::mrCancel);
  EXPECT_TRUE(w.dialogs.messages().isEmpty());
}

// ---- stored texts ----

TEST(CardEditor, StoredTextsAsTypedOrPastedNamesOf140AndCodesInUpperCase) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    e.zNz->clear();
    wpisz(e.zNz, QString(140, 'a'));
    wpisz(e.zNz, "b");
    EXPECT_EQ(w.k().z.pola.Nz, std::string(140, 'a')) << "the 141st character is refused";
    e.zNz->moveCursor(QTextCursor::Start);
    e.zNz->insertPlainText("xyz");
    EXPECT_EQ(w.k().z.pola.Nz, std::string(140, 'a')) << "a full field takes nothing pasted";
    e.zNz->setPlainText(QString(138, 'a'));
    e.zNz->moveCursor(QTextCursor::Start);
    e.zNz->insertPlainText("xyz");
    EXPECT_EQ(w.k().z.pola.Nz, "xy" + std::string(138, 'a')) << "what is pasted fills the room left";
    EXPECT_EQ(e.zNz->toPlainText().size(), 140);
    e.zNz->setPlainText("");
    e.zNz->insertPlainText("Jan\r\nKowalski\tsyn");
    EXPECT_EQ(w.k().z.pola.Nz, "Jan Kowalski syn") << "a pasted line break and tab become blanks";
    EXPECT_EQ(e.zNz->toPlainText(), "Jan Kowalski syn");
    e.zNz->insertPlainText(u(" Жук"));
    EXPECT_EQ(w.k().z.pola.Nz, "Jan Kowalski syn") << "a character the code page cannot hold is refused";
    e.przejdz(TedycjaForm::Transakcja, e.tM);
    e.tM->insert(u("Łódź\nBałuty"));
    EXPECT_EQ(w.k().tM, cp1250::fromUtf8("Łódź Bałuty"));
    e.tM->insert(u("Жук"));
    EXPECT_EQ(w.k().tM, cp1250::fromUtf8("Łódź Bałuty"));
    ustawTekst(e.tJ, "pln");
    EXPECT_EQ(e.tJ->text(), "PLN");
    EXPECT_EQ(w.k().tJ, "PLN");
    ustawTekst(e.zObyw, u("pl"));
    EXPECT_EQ(w.k().z.pola.Obyw, "PL");
    e.wyjdz->click();
  });
}

// ---- remark visibility, fields 15 and 16 ----

TEST(CardEditor, RemarkVisibilityFollowsTheUsersCodes) {
  struct Case {
    const char* nazwa;
    std::function<void(TedycjaForm&)> zmiana;
    const char* uwaga;
    bool pokazana;
    bool tekstZostaje;  // the remark's text when it is hidden
  };
  const auto typ = [](const char* lista, int i) {
    return [=](TedycjaForm& e) { wybierz(e.findChild<QComboBox*>(lista), i); };
  };
  const auto kod = [](const char* t) {
    return [=](TedycjaForm& e) {
      e.kRodzTr->setText(t);
      emit e.kRodzTr->textEdited(t);
    };
  };
  const Case cases[] = {
      {"06 title 00", kod("0100"), "uwkRodzTr", true, true},
      {"06 title 07", kod("0107"), "uwkRodzTr", false, true},
      {"07 linked", typ("kPwz", 1), "uwkPwz", true, false},
      {"07 not linked", typ("kPwz", 0), "uwkPwz", false, false},
      {"08 a code", typ("kPdjrz", 2), "uwkPdjrz", true, true},
      {"08 the empty item", typ("kPdjrz", 0), "uwkPdjrz", false, true},
      {"09 other", typ("spDysp", 0), "uwspDysp", true, true},
      {"09 in person", typ("spDysp", 1), "uwspDysp", false, true},
      {"17 other", typ("zTypPo", 0), "uwzTypPo", true, false},
      {"17 a person", typ("zTypPo", 1), "uwzTypPo", false, false},
      {"29 other", typ("zRodzDokTo", 0), "uwzRodzDokTo", true, false},
      {"29 identity card", typ("zRodzDokTo", 1), "uwzRodzDokTo", false, false},
      {"31 other", typ("pTypPo", 0), "uwpTypPo", true, false},
      {"31 a person", typ("pTypPo", 1), "uwpTypPo", false, false},
      {"37 other", typ("bTypPo", 0), "uwbTypPo", true, false},
      {"37 a company", typ("bTypPo", 11), "uwbTypPo", false, false},
      {"19 second citizenship", [](TedycjaForm& e) { e.dwaobyw->click(); }, "uwzObyw", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Edytor w;
    w.nowa([&](TedycjaForm& e) {
      auto* uw = e.findChild<QLineEdit*>(c.uwaga);
      // The remark shown and filled, as a card may hold it, with the focus on page 1.
      Karta& k = w.k();
      k.uwkRodzTrWidoczna = k.uwkPwzWidoczna = k.uwkPdjrzWidoczna = k.uwspDyspWidoczna = true;
      k.z.uwTypPoWidoczna = k.z.uwRodzDokToWidoczna = k.p.uwTypPoWidoczna = k.b.uwTypPoWidoczna = true;
      e.pokazKarte();
      ustawTekst(uw, "tekst uwagi");
      uw->setVisible(c.pokazana ? false : true);
      if (c.pokazana) {
        // Hidden before the change: the change shows it.
        k.uwkRodzTrWidoczna = k.uwkPwzWidoczna = k.uwkPdjrzWidoczna = k.uwspDyspWidoczna = false;
        k.z.uwTypPoWidoczna = k.z.uwRodzDokToWidoczna = k.p.uwTypPoWidoczna = k.b.uwTypPoWidoczna = false;
        k.z.uwObywWidoczna = false;
        e.pokazKarte();
      }
      e.przejdz(TedycjaForm::Identyfikacja, e.nrEwT);
      c.zmiana(e);
      EXPECT_EQ(!uw->isHidden(), c.pokazana);
      if (c.pokazana) {
        EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Uwagi);
        EXPECT_EQ(nazwaFokusu(), c.uwaga);
        EXPECT_EQ(uw->text(), "tekst uwagi");
      } else {
        EXPECT_EQ(uw->text(), c.tekstZostaje ? "tekst uwagi" : "");
        EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Identyfikacja) << "hiding moves nothing";
      }
      e.wyjdz->click();
    });
  }
}

TEST(CardEditor, CategorySixShowsFieldsFifteenAndSixteenAndAnotherEmptiesThem) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    e.przejdz(TedycjaForm::Transakcja, e.kRodzTr);
    ustawTekst(e.kRodzTr, "0607");
    EXPECT_FALSE(e.tKwZ->isHidden());
    EXPECT_FALSE(e.tJZ->isHidden());
    EXPECT_FALSE(e.PodtJZ->isHidden());
    ustawTekst(e.tKwZ, "12,50");
    ustawTekst(e.tJZ, "EUR");
    e.przejdz(TedycjaForm::Transakcja, e.kRodzTr);
    ustawTekst(e.kRodzTr, "0101");
    EXPECT_TRUE(e.tKwZ->isHidden());
    EXPECT_TRUE(e.tJZ->isHidden());
    EXPECT_TRUE(e.PodtJZ->isHidden());
    EXPECT_EQ(w.k().tKwZ, "");
    EXPECT_EQ(w.k().tJZ, "");
    EXPECT_EQ(e.tKwZ->text(), "");
    e.wyjdz->click();
  });
}

// ---- number preview, registration date ----

TEST(CardEditor, NumberSuffixPreviewTable) {
  const struct {
    bool io, dz, mc, ro;
    const char* oczekiwany;
    const char* jednostka = "12345678 - siedziba";
  } cases[] = {
      {false, false, false, false, ""},  {true, false, false, false, "12345678"},
      {false, true, false, false, "05"}, {false, false, true, true, "0307"},
      {true, true, true, true, "12345678050307"},
      // A short unit with the zeros that the card check puts in front and the save writes.
      {true, false, false, false, "00000005", "5"},
      {true, true, false, false, "0000012305", "123"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.oczekiwany);
    Edytor w;
    auto& konf = *w.p.konfig();
    konf.NrEwIO->setChecked(c.io);
    konf.NrEwDz->setChecked(c.dz);
    konf.NrEwMc->setChecked(c.mc);
    konf.NrEwRo->setChecked(c.ro);
    w.nowa([&](TedycjaForm& e) {
      e.przejdz(TedycjaForm::Identyfikacja, e.jedIO);
      e.jedIO->lineEdit()->clear();
      wpisz(e.jedIO, c.jednostka);
      e.tDat->setDate(QDate(2007, 3, 5));
      EXPECT_EQ(e.RozNum->text(), c.oczekiwany);
      EXPECT_EQ(w.k().RozNum, c.oczekiwany);
      e.wyjdz->click();
    });
  }
}

TEST(CardEditor, AUsersRegistrationDateChangeProposesThatDatesFirstFreeNumber) {
  Edytor w;
  const double d = platform::dateToDays(QDate(2026, 3, 4));
  w.zapisz({rekord("1", d, "0"), rekord("2", d, "1"), rekord("3", d, "3")});
  w.nowa([&](TedycjaForm& e) {
    EXPECT_EQ(e.NrRejDat->currentText(), "0") << "today has no records";
    e.rejDat->setDate(QDate(2026, 3, 4));
    EXPECT_EQ(e.NrRejDat->currentText(), "2");
    EXPECT_EQ(w.k().NrRejDatTekst, "2");
    e.wyjdz->click();
  });
  // Opening a card shows its own number and searches none.
  w.k().rejDat = d;
  w.k().NrRejDat = {"7"};
  w.k().NrRejDatTekst = "7";
  w.otworz([&](TedycjaForm& e) {
    EXPECT_EQ(e.NrRejDat->currentText(), "7");
    e.wyjdz->click();
  });
  EXPECT_EQ(w.k().NrRejDatTekst, "7");
}

// ---- a loaded card ----

TEST(CardEditor, ALoadedCardOpensIntactWithItsDatesAndIndexes) {
  Edytor w;
  TRekordTransakcji a = rekord("555", platform::dateToDays(QDate(2026, 6, 1)), "4");
  a.tDat = platform::dateToDays(QDate(2001, 2, 3));
  a.kRodzTr = "0600";
  a.uwkRodzTr = "uwaga a";
  a.spDysp = 44;  // no such item
  a.zTypPo = 1;
  a.zNz = "Kowalski";
  a.Status = 0;
  TRekordTransakcji b = a;
  b.nrRejDat = "9";
  b.zNz = "Nowak";
  w.zapisz({a, b});
  std::int32_t n = 0;
  ASSERT_EQ(zelt::wczytajKarte(w.p, n, nullptr), zelt::Wczytanie::Wczytana);
  w.k().NrRejDatAktywny = true;
  const Karta przed = w.k();
  w.otworz([&](TedycjaForm& e) {
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Identyfikacja);
    EXPECT_EQ(e.NrRejDat->count(), 2);
    EXPECT_EQ(e.NrRejDat->currentText(), "4");
    EXPECT_EQ(e.rejDat->date(), QDate(2026, 6, 1));
    EXPECT_EQ(e.tDat->date(), QDate(2001, 2, 3)) << "an early stored date is shown as it is";
    EXPECT_EQ(e.spDysp->currentIndex(), -1);
    EXPECT_EQ(e.Status->currentIndex(), 0);
    EXPECT_FALSE(e.uwkRodzTr->isHidden());
    EXPECT_EQ(e.uwkRodzTr->text(), "uwaga a");
    EXPECT_FALSE(e.tKwZ->isHidden());
    e.Wprowadzanie->tabBar()->setFocus();
    for (int s = 0; s < e.Wprowadzanie->count(); ++s) e.Wprowadzanie->setCurrentIndex(s);
    e.wyjdz->click();
  });
  EXPECT_EQ(w.k().rejDat, przed.rejDat);
  EXPECT_EQ(w.k().tDat, przed.tDat);
  EXPECT_EQ(w.k().spDysp, 44) << "an index the list cannot show is kept";
  EXPECT_EQ(w.k().NrRejDat, przed.NrRejDat);
  EXPECT_EQ(w.k().NrRejDatTekst, "4");
  EXPECT_EQ(w.k().uwkRodzTr, "uwaga a");
  EXPECT_EQ(w.k().tKwZ, przed.tKwZ);
}

// ---- navigation ----

TEST(CardEditor, NavigationTable) {
  struct Case {
    const char* nazwa;
    const char* kontrolka;
    int klawisz;
    Qt::KeyboardModifiers mod;
    int strona;
    const char* fokus;
    std::function<void(Karta&)> karta = {};
  };
  const auto wymiana = [](Karta& k) {
    k.kRodzTr = "0600";
    k.kwotaZWidoczna = true;
  };
  const auto bezWymiany = [](Karta& k) {
    k.kRodzTr = "0101";
    k.kwotaZWidoczna = false;
  };
  const Case cases[] = {
      {"Enter in nrEwT", "nrEwT", Qt::Key_Return, {}, 0, "rejDat"},
      {"Tab from jedIO", "jedIO", Qt::Key_Tab, {}, 1, "kRodzTrPod"},
      {"Down in jedIO", "jedIO", Qt::Key_Down, {}, 1, "kRodzTrPod"},
      {"Enter in tKw", "tKw", Qt::Key_Return, {}, 1, "PodtJ", wymiana},
      {"Enter in tJ skips a hidden tKwZ", "tJ", Qt::Key_Return, {}, 2, "zTypPo", bezWymiany},
      {"Tab on PodtJ, 16 shown", "PodtJ", Qt::Key_Tab, {}, 1, "tKwZ", wymiana},
      {"Tab on PodtJ skips a hidden tKwZ", "PodtJ", Qt::Key_Tab, {}, 2, "zTypPo", bezWymiany},
      {"Enter in tJ, 15 shown", "tJ", Qt::Key_Return, {}, 1, "tKwZ", wymiana},
      {"Tab in tJ, 15 hidden", "tJ", Qt::Key_Tab, {}, 2, "zTypPo", bezWymiany},
      {"Tab from PodtJZ", "PodtJZ", Qt::Key_Tab, {}, 2, "zTypPo", wymiana},
      {"Enter in zTypPo", "zTypPo", Qt::Key_Return, {}, 2, "zNz"},
      {"Enter in zNz types no line", "zNz", Qt::Key_Return, {}, 2, "PodzObyw"},
      {"Enter on PodzObyw presses nothing", "PodzObyw", Qt::Key_Return, {}, 2, "PodzAdrKr"},
      {"Enter in zNrDokTo", "zNrDokTo", Qt::Key_Return, {}, 3, "pTypPo"},
      {"Tab from zNrDokTo", "zNrDokTo", Qt::Key_Tab, {}, 3, "pTypPo"},
      {"Shift+Tab from zNrDokTo stays on the page", "zNrDokTo", Qt::Key_Backtab, Qt::ShiftModifier, 2, "zRodzDokTo"},
      // The country edits are no tab stops, but Enter goes through them in their place.
      {"Enter in zObyw", "zObyw", Qt::Key_Return, {}, 2, "zAdrKr"},
      {"Enter in zAdrKr", "zAdrKr", Qt::Key_Return, {}, 2, "dwaobyw"},
      {"Enter in pAdrUl goes to the country edit", "pAdrUl", Qt::Key_Return, {}, 3, "pAdrKr"},
      {"Enter in pAdrKr", "pAdrKr", Qt::Key_Return, {}, 3, "pLis"},
      {"Enter in bAdrUl goes to the country edit", "bAdrUl", Qt::Key_Return, {}, 4, "bAdrKr"},
      {"Enter in bAdrKr goes on to the name list", "bAdrKr", Qt::Key_Return, {}, 4, "bLis"},
      {"Tab from bAdrUl", "bAdrUl", Qt::Key_Tab, {}, 5, "nrRachZ"},
      {"Shift+Tab from bAdrUl", "bAdrUl", Qt::Key_Backtab, Qt::ShiftModifier, 4, "bAdrM"},
      {"Enter in uwkRodzTr", "uwkRodzTr", Qt::Key_Return, {}, 1, "kPwz", wymiana},
      {"Tab in uwzObyw", "uwzObyw", Qt::Key_Tab, {}, 2, "zNrDokTo"},
      {"Enter in uwzRodzDokTo", "uwzRodzDokTo", Qt::Key_Return, {}, 3, "pNz"},
      {"Tab in uwbTypPo", "uwbTypPo", Qt::Key_Tab, {}, 4, "bNz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Edytor w;
    w.nowa([&](TedycjaForm& e) {
      Karta& k = w.k();
      k.z.pola.TypPo = 1;
      k.z.uwObywWidoczna = k.z.uwRodzDokToWidoczna = k.b.uwTypPoWidoczna = k.uwkRodzTrWidoczna = true;
      k.tJ = k.tJZ = "PLN";
      k.z.pola.Obyw = k.z.pola.AdrKr = k.p.pola.AdrKr = k.b.pola.AdrKr = "PL";
      if (c.karta) c.karta(k);
      e.pokazKarte();
      auto* w0 = e.findChild<QWidget*>(c.kontrolka);
      for (int s = 0; s < e.Wprowadzanie->count(); ++s)
        if (e.Wprowadzanie->widget(s)->isAncestorOf(w0)) e.przejdz(s, w0);
      ASSERT_EQ(fokus(), w0);
      QTest::keyClick(fokus(), Qt::Key(c.klawisz), c.mod);
      EXPECT_EQ(e.Wprowadzanie->currentIndex(), c.strona);
      EXPECT_EQ(nazwaFokusu(), c.fokus);
      if (QString(c.kontrolka) == "zNz") {
        EXPECT_FALSE(e.zNz->toPlainText().contains('\n'));
      }
      e.wyjdz->click();
    });
  }
}

// The editor opens with field 01 selected: Alt with a letter that no shortcut of the page takes
// ("Wprowadź &na listę" is on pages 3 to 5) leaves the number, AltGr types a Polish letter, and
// Alt+Z still reaches "&Zapisz", whose check finds the letter that the field was never left with.
TEST(CardEditor, AltWithALetterLeavesTheNumberAndAltZStillSaves) {
  Edytor w;
  QStringList bledy;
  w.nowa([&](TedycjaForm& e) {
    QTest::keyClicks(e.nrEwT, "123");
    e.nrEwT->selectAll();
    x11keys::alt(e.nrEwT, Qt::Key_N, "n");
    x11keys::alt(e.nrEwT, Qt::Key_X, "x");
    EXPECT_EQ(e.nrEwT->text(), "123");
    EXPECT_EQ(w.k().nrEwT, "123");
    e.nrEwT->end(false);
    x11keys::altGr(e.nrEwT, u("ą"));
    EXPECT_EQ(e.nrEwT->text(), u("123ą"));
    EXPECT_EQ(w.k().nrEwT, cp1250::fromUtf8("123ą"));
    w.dialogs.expectModal("WerForm", [&](ModalForm& f) {
      auto& wer = static_cast<zelt::TWerForm&>(f);
      for (int r = 0; r < wer.bledy->rowCount(); ++r)
        if (auto* i = wer.bledy->item(r, wer.bledy->columnCount() - 1)) bledy << i->text();
      return zelt::TWerForm::kAnuluj;
    });
    x11keys::alt(e.nrEwT, Qt::Key_Z, "z");
    for (int i = 0; i < 100 && bledy.isEmpty(); ++i) QTest::qWait(10);  // a mnemonic clicks as animated
  });
  EXPECT_TRUE(bledy.contains(u("Numer ewidencyjny może zawierać tylko cyfry 0..9"))) << bledy.join("\n").toStdString();
  EXPECT_TRUE(w.rekordy().empty());
}

TEST(CardEditor, LeftAndRightOnTheTabRowWrapAndAPickerClosingMovesNoPage) {
  Edytor w;
  w.nowa([&](TedycjaForm& e) {
    QTabBar* tabs = e.Wprowadzanie->tabBar();
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Left);
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Uwagi);
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Identyfikacja);
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Transakcja);
    // A picker shown and closed over the editor leaves its page and focus.
    e.przejdz(TedycjaForm::Dysponenci, e.PodzAdrKr);
    w.dialogs.expectModal("KodykrajForm", [](ModalForm&) { return platform::mrDismissed; });
    e.PodzAdrKr->click();
    EXPECT_EQ(e.Wprowadzanie->currentIndex(), TedycjaForm::Dysponenci);
    EXPECT_EQ(nazwaFokusu(), "zAdrKod");
    e.wyjdz->click();
  });
}

}  // namespace

namespace {

// The name lists, "Dodaj" and "Usuń" work the card's party lists on each page.
TEST(CardEditor, PartyPagesNameListsAddAndRemove) {
  Edytor w;
  struct Strona {
    QPlainTextEdit* nz;
    QComboBox* lis;
    QPushButton *dodaj, *usun;
    zelt::ListaPodmiotow zelt::Karta::*lista;
  };
  const Strona strony[] = {{w.e.zNz, w.e.zLis, w.e.zDodaj, w.e.zUsun, &zelt::Karta::listaDysponentow},
                           {w.e.pNz, w.e.pLis, w.e.pDodaj, w.e.pUsun, &zelt::Karta::listaWImieniu},
                           {w.e.bNz, w.e.bLis, w.e.bDodaj, w.e.bUsun, &zelt::Karta::listaBeneficjentow}};
  w.nowa([&](TedycjaForm& e) {
    for (const auto& s : strony) {
      EXPECT_TRUE(s.dodaj->isEnabled());
      EXPECT_FALSE(s.usun->isEnabled());
      for (const char* n : {"Alfa", "Beta", "Gamma"}) {
        if (std::string(n) != "Alfa") s.dodaj->click();
        s.nz->setFocus();
        QTest::keyClicks(s.nz, n);
      }
      EXPECT_EQ(s.lis->count(), 3);
      EXPECT_EQ(s.lis->currentText(), "Gamma");
      EXPECT_TRUE(s.usun->isEnabled());
      // Choosing Alfa stores Gamma and shows Alfa.
      s.lis->setCurrentIndex(0);
      emit s.lis->activated(0);
      EXPECT_EQ(s.nz->toPlainText(), "Alfa");
      const auto& l = w.k().*(s.lista);
      ASSERT_EQ(l.wpisy.size(), 3u);
      EXPECT_EQ(l.wpisy[2].Nz, "Gamma");
    }
    e.Wprowadzanie->setCurrentIndex(TedycjaForm::Dysponenci);
    e.grab().save(QDir::temp().filePath("edycja_dysponenci.png"));
    // "Usuń" on Alfa: Beta moves up and is shown.
    w.e.zUsun->click();
    EXPECT_EQ(w.e.zLis->count(), 2);
    EXPECT_EQ(w.e.zLis->currentText(), "Beta");
    EXPECT_EQ(w.e.zNz->toPlainText(), "Beta");
    EXPECT_EQ(w.k().listaDysponentow.wpisy.front().Nz, "Beta");
  });
}

}  // namespace
