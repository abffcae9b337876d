#pragma once
// The archive command of the main window: the settings export "konfig" into the data folder,
// then the data folder packed into the zip archive the user names.
namespace zip {
class TZipPacker;
}

namespace zelt {

class Program;

// "Plik" -> "&Archiwizacja". Does nothing while the component is still packing.
void archiwizuj(Program& program, zip::TZipPacker& ZipPacker);

}  // namespace zelt
