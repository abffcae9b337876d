#pragma once
// The party editor's rules as data, apart from its window: clearing a party, the party check
// and the import of a party from the optional library "kelbrix".
//
// The library lies outside the program; the user may put it beside the program to take parties
// from another database. It exports, with C linkage,
//   int importpodmiot(void* rekord);
// which fills the 1093-byte party record it is given (layout of TRekordPodmiotu). Its result
// means nothing to the program. What comes back is not trusted: length bytes beyond a text's
// capacity are clamped, a list index that the editor's lists do not hold becomes none, and
// control bytes (a line break in a name would split a report line) become blanks.
#include <optional>

#include "settings/rekordpodmiotu.h"
#include "settings/slownik.h"

namespace platform {
class Library;
}

namespace zelt {

class ListyWeryfikacji;

// The library's file name without prefix and suffix, and its one export.
inline constexpr const char* kBibliotekaImportu = "kelbrix";
inline constexpr const char* kEksportImportu = "importpodmiot";
// The library is handed more room than a record, zeroed, so that a library built for a longer
// record writes into nothing of ours; only the record's bytes are read back.
inline constexpr std::size_t kBuforImportu = 4096;

// Types and document kinds none, every text empty; the role byte is left as it is.
void czyscPodmiot(TRekordPodmiotu& r);

// The party check: both lists emptied and the totals zeroed, then each finding in the check's
// order, with an empty field number and record 0. `kraje` is the country picker's list: a
// country code is valid when it is the first two characters of one of its lines.
void weryfPodmiot(const TRekordPodmiotu& r, const Slownik& kraje, ListyWeryfikacji& listy);

// A record as the library left it, made safe to show: indexes outside [0, typow) and
// [0, dokumentow) become -1, control bytes in every text become blanks (lengths were clamped by
// the decoding).
TRekordPodmiotu podmiotZImportu(const char* rekord, int typow, int dokumentow);

// One import: loads the library, looks up its export, hands it a cleared record, reads the
// record back and unloads the library. Nothing when the library does not load or lacks the export.
std::optional<TRekordPodmiotu> importujPodmiot(platform::Library& biblioteka, int typow, int dokumentow);

}  // namespace zelt
