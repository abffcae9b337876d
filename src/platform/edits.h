#pragma once
// The rules of an edit whose value is stored, attached in one call. What the user types or pastes
// is cleaned by cp1250::cleanTyped (controls become blanks, characters outside Windows-1250 are
// refused). A value that the program sets (loaded from the store, taken from a picker) is shown as
// it is and never rewritten: only the user's own edits are bound by the rules.
//
// Every window calls guardEdit once for each of its text edits, after giving the edit any
// validator of its own (that validator then judges the cleaned text).
#include <QValidator>

class QComboBox;
class QLineEdit;

namespace platform {

struct EditRules {
  // Folder paths keep any character (the store holds them as Unicode text); controls are still
  // blanked.
  bool anyCharacter = false;
};

void guardEdit(QLineEdit* edit, EditRules rules = {});
// An editable combo box: its line edit. Call it after setEditable(true).
void guardEdit(QComboBox* combo, EditRules rules = {});

// The validator that guardEdit installs; exposed for the edits of the grid's in-place editor.
class GuardedTextValidator : public QValidator {
  Q_OBJECT
 public:
  GuardedTextValidator(QLineEdit* edit, EditRules rules, const QValidator* inner);
  State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  QLineEdit* edit_;
  EditRules rules_;
  const QValidator* inner_;
};

}  // namespace platform
