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
