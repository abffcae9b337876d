#include <gtest/gtest.h>

#include <QPushButton>

#include "platform/dialogs.h"

using namespace platform;

namespace {

TEST(ScriptedDialogs, AnswersInOrderAndRecordsTexts) {
  ScriptedDialogs d;
  d.expectMessage(IdCancel, "usunąć").expectMessage(IdOk);
  EXPECT_EQ(d.ask(QString::fromUtf8("Czy napewno chcesz usunąć wskazane karty transakcji ?"), MsgButtons::OkCancel),
            IdCancel);
  d.showMessage("Brak pliku danych");
  EXPECT_TRUE(d.scriptDone());
  ASSERT_EQ(d.shown().size(), 2u);
  EXPECT_EQ(d.shown()[0].caption, "Pytanie ?");
  EXPECT_EQ(d.messages().last(), "Brak pliku danych");
}

TEST(ScriptedDialogs, UnexpectedOrMismatchedDialogsFail) {
  ScriptedDialogs d;
  QStringList failures;
  d.onFailure = [&](const QString& why) { failures << why; };
  EXPECT_EQ(d.ask("Pytanie", MsgButtons::YesNo), IdCancel) << "an unexpected question is cancelled";
  d.expectMessage(IdOk, "inny tekst");
  d.showMessage("tekst");
  ModalForm form;
  form.setObjectName("formA");
  d.expectModal("formB", [](ModalForm&) { return mrOk; });
  d.showModal(form);
  EXPECT_EQ(failures.size(), 3);
}

// A window shown from another's script: each keeps its own answer in the log.
TEST(ScriptedDialogs, NestedWindowsKeepTheirOwnAnswers) {
  ScriptedDialogs d;
  ModalForm outer, inner;
  outer.setObjectName("outer");
  inner.setObjectName("inner");
  d.expectModal("outer", [&](ModalForm&) {
    d.expectModal("inner", [](ModalForm&) { return mrOk; });
    EXPECT_EQ(d.showModal(inner), mrOk);
    return mrIgnore;
  });
  EXPECT_EQ(d.showModal(outer), mrIgnore);
  ASSERT_EQ(d.shown().size(), 2u);
  EXPECT_EQ(d.shown()[0].answer, mrIgnore);
  EXPECT_EQ(d.shown()[1].answer, mrOk);
}

TEST(ModalForm, ResultsAndTheCloseBox) {
  ScriptedDialogs d;
  ModalForm form;
  form.setObjectName("f");
  // 0 keeps the window open; any other result closes it.
  d.expectModal("f", [](ModalForm& f) {
    f.setModalResult(mrNone);
    EXPECT_TRUE(f.isVisible());
    f.setModalResult(5);
    EXPECT_FALSE(f.isVisible());
    return mrNone;
  });
  EXPECT_EQ(d.showModal(form), 5);
  // The close box gives 2, or the window's own close result, distinct from every result.
  d.expectModal("f", [](ModalForm& f) {
    f.reject();
    return mrNone;
  });
  EXPECT_EQ(d.showModal(form), mrCancel);
  form.setCloseResult(mrDismissed);
  d.expectModal("f", [](ModalForm& f) {
    f.reject();
    return mrNone;
  });
  EXPECT_EQ(d.showModal(form), mrDismissed);
}

TEST(ScriptedDialogs, FileDialogs) {
  ScriptedDialogs d;
  d.expectSaveFile(QString("/tmp/x.xml")).expectOpenFile(std::nullopt);
  EXPECT_EQ(d.saveFile({"Zapisz", "/tmp", "x.xml", "*.xml", "xml"}), QString("/tmp/x.xml"));
  EXPECT_FALSE(d.openFile({"Otwórz", "/tmp", {}, {}, {}}).has_value());

  // The save dialog reports the filter chosen; the request keeps the one preselected.
  d.expectSaveFile(QString("/tmp/w"), 1).expectSaveFile(std::nullopt, 2);
  FileDialogRequest r{"Zapisz", "/tmp", {}, "A (*.txt);;B (*.xml)", {}};
  r.filterIndex = 2;
  const auto wybor = d.saveFileAs(r);
  ASSERT_TRUE(wybor);
  EXPECT_EQ(wybor->path, "/tmp/w");
  EXPECT_EQ(wybor->filter, 1);
  EXPECT_EQ(d.shown().back().request.filterIndex, 2);
  EXPECT_FALSE(d.saveFileAs(r)) << "cancelled, whatever filter was chosen";
  EXPECT_TRUE(d.scriptDone());
}

}  // namespace

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The real save dialog, worked as a user would while it is shown: the filter preselected, the
// filter the user picks reported from 1, and a name typed without an extension taking the picked
// filter's, so that the question before replacing names the file that will be written.
TEST(QtDialogDriver, SaveDialogFilters) {
  QTemporaryDir dir;
  struct C {
    const char* name;
    int preselected;
    int picked;  // 0: left as preselected
    const char* typed;
    int filter;
    const char* file;
  } cases[] = {
      {"preselected kept", 2, 0, "wykaz", 2, "wykaz.xml"},
      {"another picked", 2, 1, "wykaz", 1, "wykaz.txt"},
      {"an extension typed stays", 1, 0, "wykaz.dat", 1, "wykaz.dat"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.name);
    FileDialogRequest r{"Katalog eksportu", dir.path(), {}, "Plik tekstowy (*.txt);;Plik xml (*.xml)", {}};
    r.filterIndex = c.preselected;
    QString preselectedSeen;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dlg, nullptr);
      preselectedSeen = dlg->selectedNameFilter();
      if (c.picked) {
        const QString f = r.filter.split(";;")[c.picked - 1];
        dlg->selectNameFilter(f);
        emit dlg->filterSelected(f);
      }
      dlg->selectFile(c.typed);
      static_cast<QDialog*>(dlg)->accept();
    });
    QtDialogDriver d;
    const auto wybor = d.saveFileAs(r);
    EXPECT_EQ(preselectedSeen, r.filter.split(";;")[c.preselected - 1]);
    ASSERT_TRUE(wybor);
    EXPECT_EQ(wybor->filter, c.filter);
    EXPECT_EQ(QFileInfo(wybor->path).fileName(), c.file);
  }
}

}  // namespace

#include <QLabel>
#include <QMessageBox>

#include "platform/startup.h"
#include "support/world.h"

namespace {

// Texts of the labels and buttons inside a window, as the user reads them (mnemonics dropped).
QStringList napisy(QWidget* w) {
  QStringList out;
  for (auto* l : w->findChildren<QLabel*>())
    if (l->isVisibleTo(w) && !l->text().isEmpty()) out << l->text().remove('&');
  for (auto* b : w->findChildren<QAbstractButton*>())
    if (b->isVisibleTo(w) && !b->text().isEmpty()) out << b->text().remove('&');
  return out;
}

// Qt's own dialogs and the question before replacing a file speak the program's language: the
// tests' main sets it up as the program does.
TEST(QtDialogDriver, QtsOwnDialogsSpeakPolish) {
  EXPECT_TRUE(QFileInfo::exists(platform::qtPolishTranslationFile()))
      << "Qt's Polish translation is missing (scripts/deps.sh installs qt6-translations-l10n)";
  QTemporaryDir dir;
  QFile istniejacy(dir.filePath("wykaz.txt"));
  ASSERT_TRUE(istniejacy.open(QIODevice::WriteOnly));
  istniejacy.close();
  QtDialogDriver d;
  const FileDialogRequest r{"Eksport", dir.path(), {}, "Plik tekstowy (*.txt)", {}};

  // Save: the existing file chosen, the question answered "Nie", then the dialog cancelled.
  QStringList zapis, pytanie;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    zapis = napisy(dlg);
    testing_world::renderWindow(*dlg, "qt-zapis");
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << "the question before replacing";
      pytanie = napisy(box);
      testing_world::renderWindow(*box, "qt-zapis-pytanie");
      box->button(QMessageBox::No)->click();
      QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) d->reject();
      });
    });
    dlg->selectFile("wykaz.txt");
    static_cast<QDialog*>(dlg)->accept();
  });
  EXPECT_FALSE(d.saveFileAs(r)) << "not replaced, then cancelled";
  EXPECT_EQ(zapis.join('|').toStdString(), "Szukaj w:|Nazwa pliku:|Pliki rodzaju:|Zachowaj|Anuluj");
  EXPECT_EQ(pytanie.join('|').toStdString(), "wykaz.txt już istnieje.\nCzy chcesz go zastąpić?|Tak|Nie");

  QStringList otwarcie;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    otwarcie = napisy(dlg);
    dlg->reject();
  });
  EXPECT_FALSE(d.openFile(r));
  EXPECT_EQ(otwarcie.join('|').toStdString(), "Szukaj w:|Nazwa pliku:|Pliki rodzaju:|Otwórz|Anuluj");
}

}  // namespace
