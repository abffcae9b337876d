#pragma once
// Every message box, modal window and file dialog of the program goes through one replaceable
// driver, so that tests can answer them. The real driver shows Qt dialogs.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };

// Answers of a message box, numbered as the windows' own message boxes number them.
constexpr int IdOk = 1, IdCancel = 2, IdRetry = 4, IdYes = 6, IdNo = 7;

// Modal results: 0 keeps the window open; 1 OK; 2 cancel or close box; the windows use others too.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
              mrNo = 7;
// A window closed without any result (a picker's close box), distinct from every real result.
constexpr int mrDismissed = -1;

// Base of every window the program shows modally. Setting a modal result other than 0 closes it
// with that result; the close box and Esc give closeResult() (2 unless the window says otherwise).
class ModalForm : public QDialog {
  Q_OBJECT
 public:
  explicit ModalForm(QWidget* parent = nullptr);
  void setModalResult(int result);
  int modalResult() const { return modalResult_; }
  void setCloseResult(int result) { closeResult_ = result; }
  int closeResult() const { return closeResult_; }
  // Called before each modal showing: the result starts at 0.
  void resetModalResult() { modalResult_ = mrNone; }
  void reject() override;
  // A window shown again at once (progress, then a question, then a report) is first let go by
  // the window manager, or it may never appear; modal or not.
  void setVisible(bool visible) override;

 protected:
  // A window shown again opens where it was: without, the window manager places it anew, a title
  // bar lower at each showing.
  void showEvent(QShowEvent* event) override;

 private:
  int modalResult_ = mrNone;
  int closeResult_ = mrCancel;
  bool shownBefore_ = false;
};

struct FileDialogRequest {
  QString caption;
  QString folder;     // initial folder
  QString fileName;   // proposed file name
  QString filter;     // Qt filter text, "Pliki XML (*.xml);;Pliki TXT (*.txt)"
  // Added to a name typed without one. When empty, a save dialog adds the chosen filter's own
  // extension (its first "*.ext"), so that its question before replacing names the real file.
  QString defaultSuffix;
  bool confirmOverwrite = true;  // a save dialog asks before it names an existing file
  int filterIndex = 1;           // the filter chosen when the dialog opens, from 1
};

// A save dialog's answer: the file and the filter chosen (from 1).
struct SavedFile {
  QString path;
  int filter = 1;
};

class DialogDriver {
 public:
  virtual ~DialogDriver() = default;
  // Returns IdOk, IdCancel, IdYes or IdNo.
  virtual int messageBox(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon) = 0;
  // Shows the window modally; returns its modal result, or its closeResult() when closed.
  virtual int showModal(ModalForm& form) = 0;
  virtual std::optional<QString> openFile(const FileDialogRequest& req) = 0;
  virtual std::optional<SavedFile> saveFileAs(const FileDialogRequest& req) = 0;
  // The file alone.
  std::optional<QString> saveFile(const FileDialogRequest& req);
  // Chooses a folder (the archive's and the export's folder pickers).
  virtual std::optional<QString> chooseFolder(const FileDialogRequest& req) = 0;

  // A plain message with an OK button, captioned with the application's title.
  void showMessage(const QString& text);
  // A question captioned "Pytanie ?".
  int ask(const QString& text, MsgButtons buttons);
};

class QtDialogDriver : public DialogDriver {
 public:
  int messageBox(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon) override;
  int showModal(ModalForm& form) override;
  std::optional<QString> openFile(const FileDialogRequest& req) override;
  std::optional<SavedFile> saveFileAs(const FileDialogRequest& req) override;
  std::optional<QString> chooseFolder(const FileDialogRequest& req) override;
};

// The test double: records every dialog and answers from a script given in advance. A dialog that
// the script does not expect is reported through the failure hook and answered with a cancel.
class ScriptedDialogs : public DialogDriver {
 public:
  struct Shown {
    enum class Kind { Message, Modal, OpenFile, SaveFile, Folder } kind;
    QString text;     // message text, window object name or dialog caption
    QString caption;  // message caption
    int answer = 0;
    FileDialogRequest request;  // the file dialogs' request as it was made
    MsgButtons buttons = MsgButtons::Ok;  // a message box's buttons and icon
    MsgIcon icon = MsgIcon::None;
  };
  // Runs while the window is "shown": it may work the window's controls; it returns the result
  // (or sets it on the window and returns mrNone to take the window's own result).
  using ModalScript = std::function<int(ModalForm&)>;

  // The next message box answers `answer`; when `textPart` is not empty the text must contain it.
  ScriptedDialogs& expectMessage(int answer = IdOk, const QString& textPart = {});
  // The next modal window must have this object name.
  ScriptedDialogs& expectModal(const QString& objectName, ModalScript script);
  ScriptedDialogs& expectOpenFile(std::optional<QString> answer);
  // The save dialog's answer, with the filter the user chose (from 1).
  ScriptedDialogs& expectSaveFile(std::optional<QString> answer, int filter = 1);
  ScriptedDialogs& expectFolder(std::optional<QString> answer);

  int messageBox(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon) override;
  int showModal(ModalForm& form) override;
  std::optional<QString> openFile(const FileDialogRequest& req) override;
  std::optional<SavedFile> saveFileAs(const FileDialogRequest& req) override;
  std::optional<QString> chooseFolder(const FileDialogRequest& req) override;

  const std::vector<Shown>& shown() const { return shown_; }
  QStringList messages() const;  // texts of the message boxes shown, in order
  bool scriptDone() const { return script_.empty(); }
  void clear() { shown_.clear(); script_.clear(); }

  std::function<void(const QString&)> onFailure;  // defaults to throwing std::logic_error
  // Runs after each message box is answered: what the user does next (a disk put in a drive).
  std::function<void(const Shown&)> afterMessage;

 private:
  struct Step {
    Shown::Kind kind;
    int answer = 0;
    QString match;
    ModalScript modal;
    std::optional<QString> file;
    int filter = 1;
  };
  bool take(Shown::Kind kind, const QString& what, Step& step);
  std::vector<Step> script_;
  std::vector<Shown> shown_;
};

}  // namespace platform
