#pragma once
// The institution's identification form (183 x 265 mm): page 1 the institution, its kind, the
// two responsible persons and the remarks one upper-case character per box; then, when the
// institution has units, pages of the units table, 49 units a page. Drawn from the institution
// window's controls as they stand, in the three switchable layers of the boxed forms.
//
// The frames and the contents share one table of box rows, so a value always lands in the boxes
// drawn for it.
#include <QDate>
#include <QString>
#include <string>
#include <vector>

#include "reports/ramkawydruku.h"
#include "settings/daneio.h"
#include "settings/jednostki.h"

namespace zelt {

class Program;
class TFirmaForm;
struct UstawieniaWydruku;

// Page 1's box rows; a person's rows are P1.. for person 1, the same + kRzedowOsoby for person 2.
enum class RzadIO : int {
  Data, Nazwa1, Nazwa2, Regon, Nip, Kraj, Wojewodztwo, Gmina, Powiat, Miejscowosc, Kod, Ulica, NrLokalu,
  NrDomu,
  Imie, Nazwisko, Stanowisko, Faks, Telefon, Email1, Komorka, Email2,
  Imie2, Nazwisko2, Stanowisko2, Faks2, Telefon2, Email12, Komorka2, Email22,
  Uwagi1, Uwagi2,
  Ile
};
constexpr int kRzedowOsoby = 8;

struct RzadKratekIO {
  int n, ogon;
  double x, y;  // right edge and top, mm
};
const RzadKratekIO& rzad(RzadIO r);

constexpr double kBokKratkiIO = 5.09;
constexpr double kSkokWierszaIO = 7.1;
constexpr double kSzerokoscIO = 183, kWysokoscIO = 265;
constexpr int kJednostekNaStrone = 49;

inline QString czcionkaTimes() { return QStringLiteral("Times New Roman CE"); }

// A value of page 1's contents layer. Texts are Windows-1250.
struct WpisIO {
  RzadIO rzad;
  std::string tekst;
};
std::vector<WpisIO> zawartoscFormularza(const DaneIO& d, const QDate& dzis);

// The units printed on the following pages, in row order: the rows that hold a unit.
std::vector<JednostkiIO::Wiersz> jednostkiDoDruku(const JednostkiIO& j);

struct WynikFormularza {
  bool wydrukowany = false;
  QString blad;  // the system's text when the job failed at its start or end
};

// One job on the current printer.
WynikFormularza drukujFormularzIO(platform::Printers& drukarki, const DaneIO& d, const JednostkiIO& j,
                                  const QDate& dzis, const UstawieniaWydruku& u, const Kalibracja& k);

// The institution window's command: the check (its findings shown with "Drukuj", only that
// button goes on), the printer, the calibration, then the form from the window's controls.
void drukujFormularzIO(Program& program, TFirmaForm& okno);

}  // namespace zelt
