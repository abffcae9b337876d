#pragma once
// The rules of an edit whose value is stored, attached in one call. What the user types or pastes
// is cleaned by cp1250::cleanTyped (controls become blanks, characters outside Windows-1250 are
// refused). A value that the program sets (loaded from the store, taken from a picker) is shown as
// it is and never rewritten: only the user's own edits are bound by the rules. Qt's own limits
// would rewrite it (setText cuts to the maximum length, an input mask drops what does not fit),
// so guardEdit takes them over: the edit's maximum length and a mask of digits alone ("0000",
// "99999999") become rules of typing, and the edit is left without them. A stored value longer
// than the limit can be shortened but not lengthened; a stored value with other characters than
// digits can be edited without adding any.
//
// Every window calls guardEdit once for each of its text edits, after giving the edit its length,
// mask and any validator of its own (that validator then judges the cleaned text).
#include <QString>
#include <QValidator>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace platform {

struct EditRules {
  // Folder paths keep any character (the store holds them as Unicode text); controls are still
  // blanked.
  bool anyCharacter = false;
  // Keep Qt's maximum length as it is, cutting also what the program sets (the password edits,
  // whose stored value is compared with what the sign-in's edit can take).
  bool keepMaxLength = false;
};

void guardEdit(QLineEdit* edit, EditRules rules = {});
// An editable combo box: its line edit. Call it after setEditable(true).
void guardEdit(QComboBox* combo, EditRules rules = {});
// A multi-line edit, which has no validator and no length limit of its own: the same rule, and
// at most `maxLength` characters (what goes past it of a keystroke or a paste is refused). Call it
// before connecting to the edit's textChanged, so that the edit's own readers see the cleaned text.
void guardEdit(QPlainTextEdit* edit, int maxLength, EditRules rules = {});

// How many characters the user may type into the edit: the guard's limit, else Qt's maximum length.
int typingLimit(const QLineEdit* edit);

// Whether the text is exactly `count` digits 0..9.
bool exactDigits(const QString& text, int count);

// The value in force of an edit whose value must be `count` digits (a code, a number), read by
// other windows: what the edit holds when it is whole, else the last whole value recorded, none
// before any. A text that is not whole (typed, the window then left without saving; or loaded so)
// never acts. The window records at its load and at each leaving.
class DigitsInForce {
 public:
  DigitsInForce() = default;
  DigitsInForce(const QLineEdit* edit, int count) : edit_(edit), count_(count) {}
  void take();
  std::optional<QString> value() const;

 private:
  const QLineEdit* edit_ = nullptr;
  int count_ = 0;
  std::optional<QString> last_;
};

// The validator that guardEdit installs; exposed for the edits of the grid's in-place editor.
class GuardedTextValidator : public QValidator {
  Q_OBJECT
 public:
  GuardedTextValidator(QLineEdit* edit, EditRules rules, const QValidator* inner);
  State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  // The typing limit, 0 for none.
  int maxLength() const;

 private:
  QLineEdit* edit_;
  EditRules rules_;
  const QValidator* inner_;
  int maxLength_ = 0;   // 0: none
  bool digits_ = false;
  // What the user may not exceed: the limit, or a longer text the program set, as far as the
  // user has shortened it; and the text last accepted.
  mutable int allowed_ = 0;
  mutable QString last_;
};

}  // namespace platform
