#include "platform/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/singleinstance.h"

namespace platform {

void prepareProcess() { SingleInstance::provideRuntimeFolder(); }

namespace {
const char kQtPolish[] = "qtbase_pl";
QString translationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }
}  // namespace

QString qtPolishTranslationFile() {
  return QDir(translationsFolder()).filePath(QLatin1String(kQtPolish) + QStringLiteral(".qm"));
}

bool installQtPolish(QString* why) {
  if (QCoreApplication* app = QCoreApplication::instance()) {
    // Owned by the application: it serves for the whole run.
    auto* translator = new QTranslator(app);
    if (translator->load(QLatin1String(kQtPolish), translationsFolder()) &&
        QCoreApplication::installTranslator(translator))
      return true;
    delete translator;
  }
  if (why) *why = QStringLiteral("Brak tłumaczenia Qt %1 (pakiet qt6-translations-l10n)").arg(qtPolishTranslationFile());
  return false;
}

}  // namespace platform
