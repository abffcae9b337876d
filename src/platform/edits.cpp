#include "platform/edits.h"

#include <QComboBox>
#include <algorithm>
#include <QLineEdit>

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

void guardEdit(QComboBox* combo, EditRules rules) {
  if (combo && combo->lineEdit()) guardEdit(combo->lineEdit(), rules);
}

}  // namespace platform
