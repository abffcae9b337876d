#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace platform {

QString DesktopShell::documentsFolder() const {
  QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (d.isEmpty()) d = QDir::homePath();
  return QDir::toNativeSeparators(d);
}

bool DesktopShell::showHelp(const QString& helpFile, int topic) {
  // The help file lies beside the program; it is opened with the desktop's viewer (topics are
  // anchors "#<number>" where the viewer supports them).
  QFileInfo fi(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(helpFile));
  if (!fi.exists()) return false;
  QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
  if (topic != 0) url.setFragment(QString::number(topic));
  return QDesktopServices::openUrl(url);
}

bool DesktopShell::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

bool DesktopShell::openMail(const QString& address, const QString& subject) {
  QUrl url(QStringLiteral("mailto:") + address);
  QUrlQuery q;
  q.addQueryItem(QStringLiteral("subject"), QString::fromLatin1(QUrl::toPercentEncoding(subject)));
  url.setQuery(q);
  return QDesktopServices::openUrl(url);
}

bool DesktopShell::moveToTrash(const QString& path) {
  QString inTrash;
  return QFile::moveToTrash(path, &inTrash);
}

bool RecordingShell::moveToTrash(const QString& path) {
  requests << "trash " + path;
  return answer && QFile::remove(path);
}

}  // namespace platform
