// The card editor: its controls over the card both ways, its opening from the main window, the
// exit checks with their pickers, remark visibility, the number preview and the navigation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/geometry.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/program.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podpowform.h"
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

TEST(CardEditor, WorkOfLaterPartsIsBuiltDisabled) {
  Edytor w;
  auto& e = w.e;
  for (QWidget* c : std::initializer_list<QWidget*>{e.zapisz, e.Weryfikuj, e.bdr, e.bpl, e.zLis, e.pLis, e.bLis,
                                                    e.zDodaj, e.zUsun, e.pDodaj, e.pUsun, e.bDodaj, e.bUsun,
                                                    e.DysNaLis, e.DysZLis, e.PelNaLis, e.PelZLis, e.BenNaLis,
                                                    e.BenZLis})
    EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
  EXPECT_TRUE(e.wyjdz->isEnabled());
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
  if (auto* e = qobject_cast<QLineEdit*>(w)) t = t.left(e->maxLength());
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

}  // namespace
