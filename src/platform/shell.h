#pragma once
// The desktop's services: documents folder, help file, web page and mail, the trash.
#include <QString>
#include <QStringList>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  virtual QString documentsFolder() const = 0;
  // topic 0 opens the help file's contents; false when it cannot be shown.
  virtual bool showHelp(const QString& helpFile, int topic) = 0;
  virtual bool openUrl(const QString& url) = 0;
  virtual bool openMail(const QString& address, const QString& subject) = 0;
  // Moves a file to the desktop's trash, silently; false when it is still where it was.
  virtual bool moveToTrash(const QString& path) = 0;
};

class DesktopShell : public Shell {
 public:
  QString documentsFolder() const override;
  bool showHelp(const QString& helpFile, int topic) override;
  bool openUrl(const QString& url) override;
  bool openMail(const QString& address, const QString& subject) override;
  bool moveToTrash(const QString& path) override;
};

// The test double: records every request and answers as told.
class RecordingShell : public Shell {
 public:
  explicit RecordingShell(QString documents = {}) : documents_(std::move(documents)) {}
  QString documentsFolder() const override { return documents_; }
  bool showHelp(const QString& helpFile, int topic) override {
    requests << QStringLiteral("help %1 %2").arg(helpFile).arg(topic);
    return answer;
  }
  bool openUrl(const QString& url) override {
    requests << "url " + url;
    return answer;
  }
  bool openMail(const QString& address, const QString& subject) override {
    requests << "mail " + address + " " + subject;
    return answer;
  }
  // The file leaves its folder, as it would into a trash, when the answer is yes.
  bool moveToTrash(const QString& path) override;
  QStringList requests;
  bool answer = true;

 private:
  QString documents_;
};

}  // namespace platform
