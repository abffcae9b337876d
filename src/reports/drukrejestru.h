#pragma once
// The register print: the chosen rows of the register list as a ruled table on landscape sheets,
// with the columns, order and widths that the column definitions give for print. A table wider
// than the page is cut into bands of whole columns, lettered A..Z, AA, AB, ..., each band on its
// own sheets; a table longer than the page runs over pages; every text wraps inside its column.
//
// The layout is plain functions over widths, line counts and a text metric. Between the layout
// and the drawing only each row's line count is kept: the texts are built again page by page, so
// a print of the whole register needs no more memory than one page's texts.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"
#include "reports/ramkawydruku.h"

namespace zelt {

class Program;
class DefinicjeKolumn;

// Every header and cell line is this high (mm); the table's rows start below the title and the
// header, whose height with its margin is 3 H + 5.
constexpr int kWysokoscLinii = 3;
constexpr int kNadTabela = 5;
// The font of the whole print.
constexpr double kPunktyRejestru = 6;

// One printed column.
struct KolumnaWydruku {
  std::string kod;       // which value its cells show
  std::string nazwa;     // its header
  double pole = 0;       // the print width field halved: the width the bands fit (mm)
  int szerokosc = 0;     // on paper, whole mm, page-wide at most
  double zawijanie = 0;  // texts wrap against this (mm), page-wide at most
  bool doPrawej = false;  // lines end at the right edge

  // From a coded print width (mm x 2, + 1 for right-aligned), for a page this wide (mm).
  static KolumnaWydruku z(std::string kod, std::string nazwa, std::uint16_t szerokoscKod, int szerokoscStrony);
};

// The definitions with a print position, in position order.
std::vector<KolumnaWydruku> kolumnyWydruku(const DefinicjeKolumn& defs, int szerokoscStrony);

// Consecutive columns [od, doo) printed on one sheet side by side, `szerokosc` mm wide.
struct Pasmo {
  std::size_t od = 0, doo = 0;
  int szerokosc = 0;
  bool operator==(const Pasmo&) const = default;
};
// A column joins the open band while the band's width plus its field fits the page; a band
// holds at least one column.
std::vector<Pasmo> pasma(const std::vector<KolumnaWydruku>& kolumny, int szerokoscStrony);

// A band's letters: 1 "A" .. 26 "Z", 27 "AA", 28 "AB", ...
std::string literyPasma(int n);
// "Rejestr transakcji strona " + p + letters of b + " z " + P + letters of B.
QString tytulArkusza(int p, int b, int P, int B);

// Widths of texts on the canvas in its current font, character by character: a line's width is
// the sum of its characters' advances, each measured once. Control characters measure (and
// print) as blanks.
class MiaraTekstu {
 public:
  MiaraTekstu(platform::PrintCanvas& canvas, double pikseliNaMm) : c_(canvas), pxmm_(pikseliNaMm) {}
  double pikseliNaMm() const { return pxmm_; }
  int znak(unsigned char z);  // pixels
  int tekst(std::string_view t);

 private:
  platform::PrintCanvas& c_;
  double pxmm_;
  std::array<int, 256> w_{};
  std::array<bool, 256> znany_{};
};

// Wraps a text into lines against a wrap width (mm): a line takes characters while it is
// narrower than the width, and gives its last one back when it reached or passed it; a line
// holds at least one character; CR, LF and CR LF end a line; an empty text is one empty line.
// `linia`, when set, gets each line; returns the number of lines.
int zawin(std::string_view tekst, double zawijanie, MiaraTekstu& miara,
          const std::function<void(std::string_view)>& linia = {});

// The rows [od, doo) of one sheet. A row taller than a page goes on over the next sheets: the
// first row then starts at line `odLinii` of it, the last ends before `doLinii` (-1: its end).
struct StronaWydruku {
  std::size_t od = 0, doo = 0;
  int odLinii = 0;
  int doLinii = -1;
  bool operator==(const StronaWydruku&) const = default;
};
// The pages for rows of these line counts under a header of H lines, on a page this high (mm).
std::vector<StronaWydruku> strony(const std::vector<int>& linieWierszy, int H, int wysokoscStrony);

// A cell's text: the register list's, but the remarks with the print's own gates.
std::string tekstKomorkiWydruku(const std::string& kod, const TRekordTransakcji& r, std::int32_t nrRekordu,
                                const ListyKarty& listy);

// Lays out and draws the records onto a begun job; `czytaj` gives record n and throws
// platform::IoError when it cannot. Each record is read once for the layout and once for its page.
void rysujRejestr(platform::PrintJob& job, const DefinicjeKolumn& defs, const std::vector<std::int32_t>& numery,
                  const std::function<TRekordTransakcji(std::int32_t)>& czytaj, const ListyKarty& listy);

// One job on the current printer: its title, landscape, the drawing. The system's text of a
// failure, empty when the print came out; a failed job is aborted.
QString drukujRejestr(platform::Printers& drukarki, const DefinicjeKolumn& defs, const std::vector<std::int32_t>& numery,
                      const std::function<TRekordTransakcji(std::int32_t)>& czytaj, const ListyKarty& listy);

// The print of these records on the chosen printer. Nothing happens without records or printed
// columns; "Brak pliku danych" when transak.dat cannot be opened, before the printer is touched;
// a record that cannot be read aborts the job with the system's text.
void drukujRejestr(Program& program, const std::vector<std::int32_t>& numery);

// The main window's "Druk Rejstru": the records of the chosen rows of the register list.
void DrukRejClick(Program& program);

}  // namespace zelt
