// Alt with a letter types nothing in an edit, a combo box or a memo; the shortcut it is meant
// for still works, and AltGr still types the Polish letters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

#include "platform/altkeys.h"
#include "support/x11keys.h"

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A window with each kind of control and a button "&Zapisz"; shown and active, so that its
// mnemonic is a live shortcut.
struct Okno : QWidget {
  QLineEdit* edit = new QLineEdit(this);
  QComboBox* tekstowa = new QComboBox(this);
  QComboBox* lista = new QComboBox(this);
  QPlainTextEdit* memo = new QPlainTextEdit(this);
  QPushButton* zapisz = new QPushButton(u("&Zapisz"), this);
  int zapisano = 0;

  Okno() {
    auto* l = new QVBoxLayout(this);
    tekstowa->setEditable(true);
    lista->addItems({u("0 - korekta transakcji"), u("1 - nowa transakcja"), u("x - inna")});
    for (QWidget* w : std::initializer_list<QWidget*>{edit, tekstowa, lista, memo, zapisz}) l->addWidget(w);
    connect(zapisz, &QPushButton::clicked, this, [this] { ++zapisano; });
    show();
    QApplication::setActiveWindow(this);
    EXPECT_TRUE(QTest::qWaitForWindowActive(this));
  }
  // What each control shows.
  QString stan() const {
    return edit->text() + "|" + tekstowa->currentText() + "|" + lista->currentText() + "|" + memo->toPlainText();
  }
};

TEST(AltTextFilter, AltWithALetterTypesNothingAndAltGrTypesThePolishLetters) {
  ASSERT_NE(platform::AltTextFilter::installed(), nullptr) << "the test main installs it as the program does";
  const struct {
    const char* nazwa;
    std::function<void(QWidget*)> klawisz;
    const char* wpisane;  // what the key adds to an edit, UTF-8; nullptr: nothing
  } przypadki[] = {
      {"Alt+N", [](QWidget* w) { x11keys::alt(w, Qt::Key_N, "n"); }, nullptr},
      {"Alt+X", [](QWidget* w) { x11keys::alt(w, Qt::Key_X, "x"); }, nullptr},
      {"Alt+Shift+N", [](QWidget* w) { x11keys::alt(w, Qt::Key_N, "N", true); }, nullptr},
      {"Alt+1", [](QWidget* w) { x11keys::alt(w, Qt::Key_1, "1"); }, nullptr},
      {"AltGr+a", [](QWidget* w) { x11keys::altGr(w, u("ą")); }, "ą"},
      {"AltGr+Shift+z", [](QWidget* w) { x11keys::altGr(w, u("Ż")); }, "Ż"},
      {"n", [](QWidget* w) { QTest::keyClick(w, Qt::Key_N); }, "n"},
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.nazwa);
    Okno o;
    const QString przed = o.stan();
    QString oczekiwany = przed;
    if (p.wpisane) {
      const QString t = u(p.wpisane);
      oczekiwany = t + "|" + t + "|" + o.lista->currentText() + "|" + t;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{o.edit, o.tekstowa, o.lista, o.memo}) {
      w->setFocus();
      p.klawisz(w);
    }
    EXPECT_EQ(o.stan().toStdString(), oczekiwany.toStdString());
    EXPECT_EQ(o.lista->currentIndex(), 0) << "no item is found by an Alt+letter";
  }
}

TEST(AltTextFilter, TheShortcutOfAnAltLetterStillWorks) {
  Okno o;
  o.edit->setText("123");
  o.edit->selectAll();
  o.edit->setFocus();
  x11keys::alt(o.edit, Qt::Key_Z, "z");
  for (int i = 0; i < 100 && o.zapisano == 0; ++i) QTest::qWait(10);  // a mnemonic clicks as animated
  EXPECT_EQ(o.zapisano, 1);
  EXPECT_EQ(o.edit->text(), "123");
  // Ctrl+Alt is AltGr on other platforms: left to the control.
  QTest::sendKeyEvent(QTest::Press, o.edit, Qt::Key_A, u("ą"), Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(o.edit->text(), u("ą"));
}

TEST(AltTextFilter, InstalledOnceForTheApplication) {
  platform::AltTextFilter& a = platform::AltTextFilter::install();
  EXPECT_EQ(&platform::AltTextFilter::install(), &a);
  EXPECT_EQ(platform::AltTextFilter::installed(), &a);
  EXPECT_EQ(qApp->findChildren<platform::AltTextFilter*>().size(), 1);
}

}  // namespace
