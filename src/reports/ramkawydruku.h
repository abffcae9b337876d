#pragma once
// What the three prints share: the choice of the configured printer, the job titles, the
// calibration of a boxed form, millimetres turned into printer pixels, and the canvas helpers
// that draw a row of character boxes, write a text one character per box, draw a rule and turn
// the font on its side. Every position is in millimetres; pixels appear only in the conversion.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/printers.h"

namespace platform {
class DialogDriver;
}

namespace zelt {

class Program;
struct UstawieniaWydruku;

// The printers' document titles.
inline QString tytulKarty() { return QStringLiteral("ZELT - Karta Transakcji"); }
inline QString tytulRejestru() { return QStringLiteral("ZELT - Rejestr Transakcji"); }
inline QString tytulFormularzaIO() { return QStringLiteral("ZELT - Formularz identyfikacyjny"); }

// The face of the forms' texts.
inline QString czcionkaFormularzy() { return QStringLiteral("Arial Ce"); }

// Checks that a printer is chosen in the settings ("Brak wybranej drukarki w konfiguracji"
// otherwise, and false) and makes it the current printer. Every installed printer of that name
// is selected in turn, so with two of one name the later one prints; a chosen printer that is
// gone leaves the current one, without a message.
bool wybierzDrukarke(platform::Printers& drukarki, platform::DialogDriver& dialogi, const QString& wybrana);
bool wybierzDrukarke(Program& program);

// A calibration text of the settings as a number: optional sign, "," or "." before the
// fraction, whatever the locale. Empty when it is no number.
std::optional<double> liczbaKalibracji(const QString& tekst);

struct Kalibracja {
  double skalaX = 1, skalaY = 1, przesuniecieX = 0, przesuniecieY = 0;
};
// The four calibration texts of one form; a text that is no number, or a scale not above 0,
// gives "Błędna wartość skali lub położenia wydruku w konfiguracji: " + the text in *blad.
std::optional<Kalibracja> odczytajKalibracje(const UstawieniaWydruku& u, QString* blad);

// A value in extended precision to the nearest whole number, halves to the even neighbour.
std::int32_t zaokraglij(long double v);

// The geometry of one print job; each print makes its own, so nothing leaks between prints.
struct GeometriaWydruku {
  double skalaDrukuX = 0;    // printer pixels per millimetre
  double skalaDrukuY = 0;
  double przesuniecieX = 0;  // millimetres added to every x (so scaled with it)
  double przesuniecieY = 0;
  double bokKratki = 0;      // side of a character box, mm
  double skokWiersza = 0;    // from the top of one row of boxes to the next, mm

  // A boxed form: the resolution times the scale per millimetre, the offsets as set.
  static GeometriaWydruku formularz(const Kalibracja& k, int dpiX, int dpiY, double bokKratki,
                                    double skokWiersza);
  // The register: the resolution per millimetre, no offset.
  static GeometriaWydruku rejestr(int dpiX, int dpiY);

  std::int32_t mmNaPikselX(double mm) const;
  std::int32_t mmNaPikselY(double mm) const;
};

// The canvas of a job in millimetres, with the boxed forms' helpers. Texts are Windows-1250.
class PlotnoWydruku {
 public:
  PlotnoWydruku(platform::PrintCanvas& canvas, const GeometriaWydruku& g) : c(canvas), g(g) {}

  platform::PrintCanvas& c;
  GeometriaWydruku g;

  void linia(double x1, double y1, double x2, double y2);
  void prostokat(double x1, double y1, double x2, double y2);
  // The face of the forms unless named; never paints a background.
  void czcionka(double punkty, bool pogrubiona = true, bool pochyla = false,
                const QString& kroj = czcionkaFormularzy());
  void tekst(double x, double y, std::string_view tekst);

  // n boxes whose right edge is at x and top at y (the row grows to the left); with ogon 1 the
  // bottom line runs 16 mm further left and ends in a 2 mm downward stroke.
  void rysujKratki(int n, int ogon, double x, double y);
  // The text one upper-case character per box of that row, from the leftmost box; cut at n.
  void drukujWKratkach(int n, std::string_view tekst, double x, double y);
  // A rule across the form at y.
  void rysujLinie(double y, double szerokosc = 190);
  // The same face and size, bold, running up the page.
  void czcionkaPionowa();
  // The longest beginning of the text that ends left of x (mm) when written from x0, in the
  // current font.
  std::string przytnij(const std::string& tekst, double x0, double x);
};

// The three layers of a boxed form, each when its switch is set, always in this order.
void rysujWarstwy(const UstawieniaWydruku& u, const std::function<void()>& ramki,
                  const std::function<void()>& opisy, const std::function<void()>& zawartosc);

}  // namespace zelt
