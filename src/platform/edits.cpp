#include "platform/edits.h"

#include <QComboBox>
#include <algorithm>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <memory>

#include "platform/cp1250.h"

namespace platform {

namespace {

int nonDigits(const QString& t) {
  int n = 0;
  for (QChar c : t) n += !(c >= u'0' && c <= u'9');
  return n;
}

}  // namespace

GuardedTextValidator::GuardedTextValidator(QLineEdit* edit, EditRules rules, const QValidator* inner)
    : QValidator(edit), edit_(edit), rules_(rules), inner_(inner) {
  // A mask of digits alone becomes the digits rule with the mask's length.
  QString mask = edit->inputMask();
  mask = mask.left(mask.indexOf(u';'));
  if (!mask.isEmpty() && std::all_of(mask.begin(), mask.end(), [](QChar c) { return c == u'0' || c == u'9'; })) {
    digits_ = true;
    maxLength_ = static_cast<int>(mask.size());
    const QString text = edit->text();
    edit->setInputMask(QString());
    edit->setText(text);
  }
  if (!rules.keepMaxLength && edit->maxLength() < 32767) {
    if (!maxLength_) maxLength_ = edit->maxLength();
    edit->setMaxLength(32767);
  }
  allowed_ = std::max(maxLength_, static_cast<int>(edit->text().size()));
  last_ = edit->text();
}

QValidator::State GuardedTextValidator::validate(QString& input, int& pos) const {
  // The line edit resets its modified flag whenever the program sets its text; a text that the
  // user has not touched is accepted as it is, so a stored value comes back unchanged.
  if (!edit_->isModified()) {
    allowed_ = std::max(maxLength_, static_cast<int>(input.size()));
    last_ = input;
    return Acceptable;
  }
  if (!cp1250::cleanTyped(input, rules_.anyCharacter)) return Invalid;
  if (maxLength_ && input.size() > allowed_) return Invalid;
  if (digits_ && nonDigits(input) > nonDigits(last_)) return Invalid;
  const State state = inner_ ? inner_->validate(input, pos) : Acceptable;
  if (state != Invalid) {
    allowed_ = std::max(maxLength_, static_cast<int>(input.size()));
    last_ = input;
  }
  return state;
}

int GuardedTextValidator::maxLength() const { return maxLength_; }

void GuardedTextValidator::fixup(QString& input) const {
  if (inner_) inner_->fixup(input);
}

void guardEdit(QLineEdit* edit, EditRules rules) {
  if (!edit) return;
  if (qobject_cast<const GuardedTextValidator*>(edit->validator())) return;  // guarded already
  edit->setValidator(new GuardedTextValidator(edit, rules, edit->validator()));
}

int typingLimit(const QLineEdit* edit) {
  if (auto* g = qobject_cast<const GuardedTextValidator*>(edit->validator()); g && g->maxLength() > 0) return g->maxLength();
  return edit->maxLength();
}

bool exactDigits(const QString& text, int count) {
  return text.size() == count && nonDigits(text) == 0;
}

void DigitsInForce::take() {
  if (edit_ && exactDigits(edit_->text(), count_)) last_ = edit_->text();
}

std::optional<QString> DigitsInForce::value() const {
  if (edit_ && exactDigits(edit_->text(), count_)) return edit_->text();
  return last_;
}

void guardEdit(QComboBox* combo, EditRules rules) {
  if (combo && combo->lineEdit()) guardEdit(combo->lineEdit(), rules);
}

void guardEdit(QPlainTextEdit* edit, int maxLength, EditRules rules) {
  if (!edit || edit->property("guardedEdit").toBool()) return;  // guarded already
  edit->setProperty("guardedEdit", true);
  auto przed = std::make_shared<QString>(edit->toPlainText());
  auto zmienia = std::make_shared<bool>(false);
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength, rules, przed, zmienia] {
    if (*zmienia) return;
    QString t = edit->toPlainText();
    // A text that the program set is shown as it is: setPlainText replaces the text with undo
    // switched off, and leaves the document unmodified.
    if (!edit->document()->isUndoRedoEnabled() || !edit->document()->isModified()) {
      *przed = t;
      return;
    }
    int pos = edit->textCursor().position();
    if (!cp1250::cleanTyped(t, rules.anyCharacter)) {
      t = *przed;
      pos = std::min<int>(pos, static_cast<int>(t.size()));
    } else if (t.size() > maxLength) {
      // The characters just typed or pasted lie before the cursor: their tail is refused.
      const int nadmiar = static_cast<int>(t.size()) - maxLength;
      const int kursor = std::max(nadmiar, pos);
      t.remove(kursor - nadmiar, nadmiar);
      pos = kursor - nadmiar;
    }
    if (t != edit->toPlainText()) {
      *zmienia = true;
      edit->setPlainText(t);
      edit->document()->setModified(true);
      QTextCursor c = edit->textCursor();
      c.setPosition(pos);
      edit->setTextCursor(c);
      *zmienia = false;
    }
    *przed = t;
  });
}

}  // namespace platform
