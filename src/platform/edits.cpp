#include "platform/edits.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/cp1250.h"

namespace platform {

GuardedTextValidator::GuardedTextValidator(QLineEdit* edit, EditRules rules, const QValidator* inner)
    : QValidator(edit), edit_(edit), rules_(rules), inner_(inner) {}

QValidator::State GuardedTextValidator::validate(QString& input, int& pos) const {
  // The line edit resets its modified flag whenever the program sets its text; a text that the
  // user has not touched is accepted as it is, so a stored value comes back unchanged.
  if (!edit_->isModified()) return Acceptable;
  if (!cp1250::cleanTyped(input, rules_.anyCharacter)) return Invalid;
  return inner_ ? inner_->validate(input, pos) : Acceptable;
}

void GuardedTextValidator::fixup(QString& input) const {
  if (inner_) inner_->fixup(input);
}

void guardEdit(QLineEdit* edit, EditRules rules) {
  if (!edit) return;
  if (qobject_cast<const GuardedTextValidator*>(edit->validator())) return;  // guarded already
  edit->setValidator(new GuardedTextValidator(edit, rules, edit->validator()));
}

void guardEdit(QComboBox* combo, EditRules rules) {
  if (combo && combo->lineEdit()) guardEdit(combo->lineEdit(), rules);
}

}  // namespace platform
