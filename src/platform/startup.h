#pragma once
// What the program's process sets up around its QApplication. The program and the tests' main
// call the same functions, so that the tests run with what the user gets.
#include <QString>

namespace platform {

// Before the QApplication is made: a runtime folder where the session gives none.
void prepareProcess();

// Once the QApplication exists: Qt's own texts (the file dialogs, their questions, the standard
// buttons) in Polish whatever the user's locale, for the program is Polish throughout. False, with
// the reason, when Qt's Polish translation is not installed; Qt's texts then stay English.
bool installQtPolish(QString* why = nullptr);
// The file of Qt's Polish translation that installQtPolish loads.
QString qtPolishTranslationFile();

}  // namespace platform
