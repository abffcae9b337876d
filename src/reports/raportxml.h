#pragma once
// The XML report file: the declaration, the wykazTr start tag (the send's form with the optional
// Konfig attributes, or the export's form), one kartaTr element per register record, and the end
// tag; every line ends in CR LF. The import finds elements by their tags within lines, so the
// line layout and the indents are fixed. Text is escaped (& < and the > of "]]>") and Polish
// letters in the converted elements are byte-value references, as the import reads them.
#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"

namespace platform {
class RegistryStore;
}

namespace zelt {

// The three optional strings of the program's "Konfig\" key that the send copies into its start
// tag. They are set outside the program; none of its windows reads or writes them.
struct AtrybutyWykazu {
  std::optional<std::string> schemaLocation, xmlns, xmlnsXsi;
};
// Read when the file is written, without creating the key; a missing value, or one of another
// type, stays empty.
AtrybutyWykazu atrybutyWykazu(const platform::RegistryStore& reg);

// <?xml version="1.0" encoding="ISO-8859-2" ?>
std::string deklaracjaXml();
// The start tag of the send's files: the Konfig attributes each on a line of its own, then
// NipIO, lKart (the number of kartaTr elements in 8 digits), pDat and pCzas from one reading of
// the clock.
std::string poczatekWykazuWysylki(const AtrybutyWykazu& atrybuty, std::string_view nip, std::int32_t liczba,
                                  const QDateTime& czas);
// The start tag of the export's files.
std::string poczatekWykazuEksportu(std::string_view nip, std::int32_t liczba, const QDateTime& czas);
// </wykazTr>
std::string koniecWykazu();

// The kartaTr element of `r` (callers pass aktualnyRekord), with the card editor's lists for the codes.
std::string generujxml(const TRekordTransakcji& r, const ListyKarty& listy);

}  // namespace zelt
