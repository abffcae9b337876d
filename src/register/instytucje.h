#pragma once
// Which institution this run works for, and its three folders, as the registry holds them.
#include <QString>
#include <string>
#include <vector>

namespace platform {
class RegistryStore;
class Shell;
}  // namespace platform

namespace zelt {

// Institution subkeys carry two digits: at most 99 institutions.
constexpr int kMaxInstytucji = 99;

// The registry subkey of institution n: "IO\" for 1, "IO" + two digits + "\" for 2..99.
std::string podkluczIO(int n);

struct ListaInstytucji {
  bool kluczProgramu = false;  // false on a first start: one institution, no values
  int IloscIO = 1;             // clamped to 1..99
  int wybor = 0;               // preselected 0-based index, clamped to the list
  // One name per institution 1..IloscIO, so that the item index + 1 is the institution number;
  // an institution without a stored name gets its subkey's name.
  std::vector<std::string> nazwy;
};
ListaInstytucji czytajInstytucje(const platform::RegistryStore& reg);

struct Foldery {
  QString KatDan, KatPod, KatEks;
  // Which of them took the default (documents + ZELT/...), so that only those are created.
  bool domyslnyDan = false, domyslnyPod = false, domyslnyEks = false;
};
// The folders of institution n: its "KatDan", "KatPod", "KatEks"; for institution 1 the older
// "katalog" and "eksport" of the configuration key when both KatDan and KatEks are empty; then
// the defaults under the documents folder (KatPod defaults to KatDan).
Foldery folderyInstytucji(const platform::RegistryStore& reg, int n, const QString& dokumenty);

// The user's documents folder: the shell-folders value "Personal" when it exists, else the
// desktop's documents folder.
QString folderDokumentow(const platform::RegistryStore& reg, const platform::Shell& shell);

}  // namespace zelt
