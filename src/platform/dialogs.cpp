#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <stdexcept>

#include "platform/wmrelease.h"

namespace platform {

ModalForm::ModalForm(QWidget* parent) : QDialog(parent) {}

void ModalForm::setModalResult(int result) {
  modalResult_ = result;
  if (result != mrNone) done(result == mrDismissed ? 0 : result);
}

void ModalForm::showEvent(QShowEvent* event) {
  // Sent before the window is mapped; its frame position is known from its last showing.
  if (shownBefore_ && !event->spontaneous()) move(pos());
  shownBefore_ = true;
  QDialog::showEvent(event);
}

void ModalForm::setVisible(bool visible) {
  if (visible) waitForWindowManagerRelease(*this);
  QDialog::setVisible(visible);
}

void ModalForm::reject() {
  modalResult_ = closeResult_;
  QDialog::done(closeResult_ == mrDismissed ? 0 : closeResult_);
}

void DialogDriver::showMessage(const QString& text) {
  messageBox(text, QApplication::applicationName(), MsgButtons::Ok, MsgIcon::None);
}

int DialogDriver::ask(const QString& text, MsgButtons buttons) {
  return messageBox(text, QStringLiteral("Pytanie ?"), buttons, MsgIcon::Question);
}

std::optional<QString> DialogDriver::saveFile(const FileDialogRequest& req) {
  auto r = saveFileAs(req);
  if (!r) return std::nullopt;
  return r->path;
}

int QtDialogDriver::messageBox(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(caption);
  box.setText(text);
  switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
  }
  struct B { QMessageBox::StandardButton b; int id; const char* label; };
  std::vector<B> list;
  switch (buttons) {
    case MsgButtons::Ok: list = {{QMessageBox::Ok, IdOk, "OK"}}; break;
    case MsgButtons::OkCancel: list = {{QMessageBox::Ok, IdOk, "OK"}, {QMessageBox::Cancel, IdCancel, "Anuluj"}}; break;
    case MsgButtons::YesNo: list = {{QMessageBox::Yes, IdYes, "&Tak"}, {QMessageBox::No, IdNo, "&Nie"}}; break;
    case MsgButtons::YesNoCancel:
      list = {{QMessageBox::Yes, IdYes, "&Tak"}, {QMessageBox::No, IdNo, "&Nie"}, {QMessageBox::Cancel, IdCancel, "Anuluj"}};
      break;
    case MsgButtons::RetryCancel:
      list = {{QMessageBox::Retry, IdRetry, "&Ponów"}, {QMessageBox::Cancel, IdCancel, "Anuluj"}};
      break;
  }
  QMessageBox::StandardButtons all;
  for (const auto& b : list) all |= b.b;
  box.setStandardButtons(all);
  for (const auto& b : list) box.button(b.b)->setText(QString::fromUtf8(b.label));
  int r = box.exec();
  for (const auto& b : list)
    if (r == b.b) return b.id;
  return buttons == MsgButtons::Ok ? IdOk : buttons == MsgButtons::YesNo ? IdNo : IdCancel;
}

int QtDialogDriver::showModal(ModalForm& form) {
  form.resetModalResult();
  form.exec();
  return form.modalResult() == mrNone ? form.closeResult() : form.modalResult();
}

std::optional<QString> QtDialogDriver::openFile(const FileDialogRequest& req) {
  QString f = QFileDialog::getOpenFileName(QApplication::activeWindow(), req.caption,
                                           req.fileName.isEmpty() ? req.folder : req.folder + "/" + req.fileName,
                                           req.filter);
  if (f.isEmpty()) return std::nullopt;
  return f;
}

namespace {

// The extension of a filter's first pattern "*.ext", or none.
QString rozszerzenieFiltra(const QString& filtr) {
  const qsizetype p = filtr.indexOf(QStringLiteral("*."));
  if (p < 0) return {};
  QString e = filtr.mid(p + 2);
  for (qsizetype i = 0; i < e.size(); ++i)
    if (!e[i].isLetterOrNumber()) return e.left(i);
  return e;
}

}  // namespace

std::optional<SavedFile> QtDialogDriver::saveFileAs(const FileDialogRequest& req) {
  QFileDialog dlg(QApplication::activeWindow(), req.caption, req.folder, req.filter);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  const QStringList filtry = req.filter.split(QStringLiteral(";;"));
  if (req.filterIndex >= 1 && req.filterIndex <= filtry.size()) dlg.selectNameFilter(filtry[req.filterIndex - 1]);
  if (!req.defaultSuffix.isEmpty()) {
    dlg.setDefaultSuffix(req.defaultSuffix);
  } else {
    dlg.setDefaultSuffix(rozszerzenieFiltra(dlg.selectedNameFilter()));
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                     [&dlg](const QString& f) { dlg.setDefaultSuffix(rozszerzenieFiltra(f)); });
  }
  if (!req.confirmOverwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite);
  if (!req.fileName.isEmpty()) dlg.selectFile(req.fileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  const qsizetype wybrany = filtry.indexOf(dlg.selectedNameFilter());
  return SavedFile{dlg.selectedFiles().front(), wybrany >= 0 ? int(wybrany) + 1 : 1};
}

std::optional<QString> QtDialogDriver::chooseFolder(const FileDialogRequest& req) {
  QString f = QFileDialog::getExistingDirectory(QApplication::activeWindow(), req.caption, req.folder);
  if (f.isEmpty()) return std::nullopt;
  return f;
}

// ---- test double ----

ScriptedDialogs& ScriptedDialogs::expectMessage(int answer, const QString& textPart) {
  script_.push_back({Shown::Kind::Message, answer, textPart, {}, {}});
  return *this;
}
ScriptedDialogs& ScriptedDialogs::expectModal(const QString& objectName, ModalScript script) {
  script_.push_back({Shown::Kind::Modal, 0, objectName, std::move(script), {}});
  return *this;
}
ScriptedDialogs& ScriptedDialogs::expectOpenFile(std::optional<QString> answer) {
  script_.push_back({Shown::Kind::OpenFile, 0, {}, {}, std::move(answer)});
  return *this;
}
ScriptedDialogs& ScriptedDialogs::expectSaveFile(std::optional<QString> answer, int filter) {
  script_.push_back({Shown::Kind::SaveFile, 0, {}, {}, std::move(answer), filter});
  return *this;
}
ScriptedDialogs& ScriptedDialogs::expectFolder(std::optional<QString> answer) {
  script_.push_back({Shown::Kind::Folder, 0, {}, {}, std::move(answer)});
  return *this;
}

bool ScriptedDialogs::take(Shown::Kind kind, const QString& what, Step& step) {
  auto fail = [&](const QString& why) {
    if (onFailure) onFailure(why);
    else throw std::logic_error(why.toStdString());
    return false;
  };
  if (script_.empty()) return fail("Unexpected dialog: " + what);
  step = std::move(script_.front());
  script_.erase(script_.begin());
  if (step.kind != kind) return fail("Dialog of another kind than expected: " + what);
  if (kind == Shown::Kind::Modal && step.match != what)
    return fail("Expected window " + step.match + ", shown " + what);
  if (kind == Shown::Kind::Message && !step.match.isEmpty() && !what.contains(step.match))
    return fail("Expected a message with \"" + step.match + "\", shown \"" + what + "\"");
  return true;
}

int ScriptedDialogs::messageBox(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon) {
  Step step;
  int answer = buttons == MsgButtons::Ok ? IdOk : IdCancel;
  if (take(Shown::Kind::Message, text, step)) answer = step.answer;
  shown_.push_back({Shown::Kind::Message, text, caption, answer, {}, buttons, icon});
  if (afterMessage) afterMessage(shown_.back());
  return answer;
}

int ScriptedDialogs::showModal(ModalForm& form) {
  Step step;
  form.resetModalResult();
  int result = form.closeResult();
  // The window's own entry: a modal window shown from this one's script comes after it.
  const std::size_t entry = shown_.size();
  shown_.push_back({Shown::Kind::Modal, form.objectName(), form.windowTitle(), 0, {}, MsgButtons::Ok, MsgIcon::None});
  form.show();  // runs the window's own on-show handling, as a real showing would
  if (take(Shown::Kind::Modal, form.objectName(), step) && step.modal) {
    int r = step.modal(form);
    if (r != mrNone) result = r;
    else if (form.modalResult() != mrNone) result = form.modalResult();
  }
  form.hide();
  shown_[entry].answer = result;
  return result;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& req) {
  Step step;
  std::optional<QString> r;
  if (take(Shown::Kind::OpenFile, req.caption, step)) r = step.file;
  shown_.push_back({Shown::Kind::OpenFile, req.caption, req.folder, 0, req, MsgButtons::Ok, MsgIcon::None});
  return r;
}

std::optional<SavedFile> ScriptedDialogs::saveFileAs(const FileDialogRequest& req) {
  Step step;
  std::optional<SavedFile> r;
  if (take(Shown::Kind::SaveFile, req.caption, step) && step.file) r = SavedFile{*step.file, step.filter};
  shown_.push_back({Shown::Kind::SaveFile, req.caption, req.folder, r ? r->filter : 0, req, MsgButtons::Ok, MsgIcon::None});
  return r;
}

std::optional<QString> ScriptedDialogs::chooseFolder(const FileDialogRequest& req) {
  Step step;
  std::optional<QString> r;
  if (take(Shown::Kind::Folder, req.caption, step)) r = step.file;
  shown_.push_back({Shown::Kind::Folder, req.caption, req.folder, 0, req, MsgButtons::Ok, MsgIcon::None});
  return r;
}

QStringList ScriptedDialogs::messages() const {
  QStringList out;
  for (const auto& s : shown_)
    if (s.kind == Shown::Kind::Message) out << s.text;
  return out;
}

}  // namespace platform
