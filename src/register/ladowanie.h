#pragma once
// The register's load at start-up: every live record of transak.dat becomes one row of the
// register list, in file order. The pass over the file starts on a worker thread as soon as the
// data folder is settled and runs while the other windows are created; the list is filled from
// its finished texts when the settings window has built the list's columns.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kgrid {
class TKGridModel;
}

namespace zelt {

class Program;
class PrzebiegRejestru;

// Plays back an unfinished write's journal (its outcome kept in the program), then starts the
// pass for the list's columns as the stored column definitions give them. Only the main thread
// touches the program; the worker reads the register alone.
void rozpocznijLadowanieRejestru(Program& program);

// The card's item lists as the dictionaries gave them, for the pass's list columns; the load
// makes those cells itself when the lists changed after.
void dajListyLadowaniu(Program& program);

// Writes the splash lines and fills `lista`, whose columns are the program's ukladListy, from the
// pass started before (the pass runs here, at once, when none was started or when it was started
// for other columns). A partial record at the end of the file is left out, said in the last line
// and its size kept in the program for the warning before the sign-in; a read error shows its
// message and keeps the rows read before it. A register that is there but cannot be opened is
// not an empty one: its reason is kept in the program for the message after the splash.
// Returns the number of rows added.
std::int64_t zaladujRejestr(Program& program, kgrid::TKGridModel& lista);

// The columns of each of `watkow` threads (at least one), given what each column costs and what
// the first thread does besides (the index): the costliest first, each to the thread with the
// least so far. Columns come in ascending order; a thread beyond the first may get none.
std::vector<std::vector<std::size_t>> rozdzielKolumny(const std::vector<std::uint64_t>& koszty, std::size_t watkow,
                                                      std::uint64_t pierwszyPonadto);

// The threads the pass shares the list's columns among: half the processors, at most four, when
// 0 (the default).
void ustawWatkiLadowania(std::size_t watkow);

}  // namespace zelt
