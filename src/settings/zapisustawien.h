#pragma once
// The save-all step at the end of a run: the program values always; the window positions, the
// configuration (with or without the column layout) and the current institution as the four
// remember switches say. What is written is the windows' state at that moment, saved or not.
namespace zelt {

class Program;

// Who writes a window's values: its own "&Zapisz", which stores what the controls hold, or the
// save-all step, which stores the values in force (a code or number that a control holds but that
// never met its rule is not one of them).
enum class KtoZapisuje { Okno, Wyjscie };

// Writes in one change of the store, so a failed write leaves the stored settings as they were;
// the failure is shown, and the caller ends the program all the same.
void zapiszWszystkieUstawienia(Program& program);

}  // namespace zelt
