// The rules that every stored-text edit carries: what the user types or pastes is cleaned or
// refused, what the program sets is shown untouched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QRegularExpressionValidator>
#include <QTest>

#include "platform/edits.h"

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(GuardedEdit, TypedAndPastedTextIsCleanedOrRefused) {
  QLineEdit e;
  platform::guardEdit(&e);
  e.show();
  QTest::keyClicks(&e, "ab");
  e.insert(u("Ж"));  // typed: the keystroke is refused
  EXPECT_EQ(e.text(), "ab");
  e.insert(u("c\td"));
  EXPECT_EQ(e.text(), "abc d");
  QGuiApplication::clipboard()->setText(u("x\r\ny"));
  e.paste();
  EXPECT_EQ(e.text(), "abc dx  y");
  QGuiApplication::clipboard()->setText(u("Жук1"));
  e.paste();  // a paste with one character outside the code page is refused whole
  EXPECT_EQ(e.text(), "abc dx  y");
  e.insert(u("😀"));
  EXPECT_EQ(e.text(), "abc dx  y");
}

TEST(GuardedEdit, TextSetByTheProgramIsShownAsItIsAndTypingStaysGuarded) {
  QLineEdit e;
  platform::guardEdit(&e);
  e.setText(u("zapisane\tŻ\x1b"));  // a value from the store is never rewritten
  EXPECT_EQ(e.text(), u("zapisane\tŻ\x1b"));
  EXPECT_FALSE(e.isModified());
  e.end(false);
  e.insert(u("Ж"));
  EXPECT_EQ(e.text(), u("zapisane\tŻ\x1b"));
  e.insert(u("\n"));  // once the user edits it, the whole text is cleaned
  EXPECT_EQ(e.text(), u("zapisane Ż  "));
}

TEST(GuardedEdit, FoldersKeepAnyCharacter) {
  QLineEdit e;
  platform::guardEdit(&e, {.anyCharacter = true});
  e.insert(u("/home/Документы\t"));
  EXPECT_EQ(e.text(), u("/home/Документы "));
}

TEST(GuardedEdit, TheEditsOwnValidatorJudgesTheCleanedText) {
  QLineEdit e;
  e.setValidator(new QRegularExpressionValidator(QRegularExpression("[a-z ]*"), &e));
  platform::guardEdit(&e);
  platform::guardEdit(&e);  // a second call changes nothing
  e.insert("ab\tc");
  EXPECT_EQ(e.text(), "ab c");
  e.insert("X");
  EXPECT_EQ(e.text(), "ab c");
}

TEST(GuardedEdit, AnEditableComboBoxIsGuardedThroughItsLineEdit) {
  QComboBox c;
  c.setEditable(true);
  platform::guardEdit(&c);
  c.lineEdit()->insert(u("a\tЖ"));
  EXPECT_EQ(c.currentText(), "");
  c.lineEdit()->insert(u("a\tb"));
  EXPECT_EQ(c.currentText(), "a b");
}

TEST(GuardedEdit, AMultiLineEditTakesTheSameRuleAndItsLength) {
  QPlainTextEdit e;
  platform::guardEdit(&e, 8);
  QStringList seen;  // what a reader connected after the guard sees
  QObject::connect(&e, &QPlainTextEdit::textChanged, [&] { seen << e.toPlainText(); });
  e.setPlainText(u("a\tb\x1b 123456789"));  // the program's text is shown as it is
  EXPECT_EQ(e.toPlainText(), u("a\tb\x1b 123456789"));
  e.setPlainText("");
  e.insertPlainText(u("x\ny\tz"));
  EXPECT_EQ(e.toPlainText(), "x y z");
  e.insertPlainText(u("Ж"));
  EXPECT_EQ(e.toPlainText(), "x y z") << "a character outside the code page is refused";
  e.moveCursor(QTextCursor::Start);
  e.insertPlainText("1234");
  EXPECT_EQ(e.toPlainText(), "123x y z") << "the tail of a paste past the length is refused";
  EXPECT_EQ(e.textCursor().position(), 3);
  QTest::keyClick(&e, Qt::Key_A);
  EXPECT_EQ(e.toPlainText(), "123x y z");
  EXPECT_EQ(seen.back(), "123x y z");
}

}  // namespace
