#pragma once
// The TXT report file: a header line, one "DA;" line per register record with its numbered
// fields "01:" to "45:", and a trailer line with the count; every line ends in CR LF. The send and
// the export write whole files of these lines.
#include <QDateTime>
#include <cstdint>
#include <string>
#include <string_view>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"

namespace zelt {

// "HE", the file's creation time as yyyymmddhhnnss (read once by the caller), the institution's
// NIP unpadded and unconverted, CR LF.
std::string naglowekTxt(const QDateTime& czas, std::string_view nip);
// "TR" and the number of record lines in 8 digits, CR LF.
std::string stopkaTxt(std::int32_t liczba);

// The record line of `r` (callers pass aktualnyRekord), with the card editor's lists for the codes.
std::string generujtxt(const TRekordTransakcji& r, const ListyKarty& listy);

}  // namespace zelt
