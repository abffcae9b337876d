#include "register/archiwizacja.h"

#include "platform/dialogs.h"
#include "platform/registry.h"
#include "register/program.h"
#include "settings/firmaform.h"
#include "zip/zippack.h"

namespace zelt {

void archiwizuj(Program& p, zip::TZipPacker& ZipPacker) {
  if (ZipPacker.Busy()) return;
  platform::DialogDriver& dialogs = p.svc.dialogs;

  platform::FileDialogRequest Archiw;
  Archiw.caption = QStringLiteral("Katalog archiwizacji");
  Archiw.filter = QStringLiteral("Archiwa zip (*.zip)");
  Archiw.defaultSuffix = QStringLiteral("zip");
  // The institution's archive folder, as the institution window holds it; it is not changed here.
  if (p.firma()) Archiw.folder = p.firma()->archdir;
  // An existing archive is added to, so naming one needs no question.
  Archiw.confirmOverwrite = false;
  const auto plik = dialogs.saveFile(Archiw);
  if (!plik) return;

  try {
    // Reads the archive's directory: a file that is no archive is refused before anything changes.
    ZipPacker.setZipFileName(*plik);
  } catch (const zip::EZipPacker& e) {
    dialogs.showMessage(e.text());
    return;
  }

  // The export goes straight into the data folder through a temporary file and a rename, so a
  // failed save keeps the older "konfig" whole; the archive is made all the same.
  try {
    p.svc.reg.saveKey(platform::RegRoot::CurrentUser, platform::RegistryStore::kProgramKey,
                      p.plikDanych(QStringLiteral("konfig")));
  } catch (const std::exception&) {
    dialogs.showMessage(QStringLiteral("Błąd"));
  }

  // Given as folder and mask, never parsed: a folder name may hold any character.
  ZipPacker.FSpecArgs.clear();
  ZipPacker.FSpecArgsExcl.clear();
  ZipPacker.addFileSpec(p.KatDan, QStringLiteral("*.*"));
  try {
    ZipPacker.Add();
  } catch (const zip::EZipPacker& e) {
    dialogs.showMessage(e.text());
  }
}

}  // namespace zelt
