#pragma once
// The register's load at start-up: every live record of transak.dat becomes one row of the
// register list, in file order.
#include <QString>
#include <cstdint>
#include <functional>

#include "register/rekordtransakcji.h"

namespace zelt {

class Program;

// Calls `dodajWiersz` for each live record and writes the splash lines. A partial record at the
// end of the file is left out, said in the last line and its size kept in the program for the
// warning before the sign-in; a read error shows its message and keeps the rows read so far. A
// register that is there but cannot be opened is not an empty one: its reason is kept in the
// program for the message after the splash.
// Returns the number of rows added.
std::int64_t zaladujRejestr(Program& program,
                            const std::function<void(std::int32_t nrRekordu, const TRekordTransakcji&)>& dodajWiersz);

}  // namespace zelt
