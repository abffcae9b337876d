#pragma once
// The transaction card on the authority's boxed form (190 x 284 mm, the 45 numbered fields one
// upper-case character per box) and the batch that prints chosen register records, one job per
// record, raising each record's print count.
//
// The frames, the labels and the contents are drawn from tables; the frames and the contents
// share one table of box rows, so a value always lands in the boxes drawn for it.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"
#include "reports/ramkawydruku.h"

namespace zelt {

class Program;
struct UstawieniaWydruku;

// The card's box rows, by field; the a/b rows are a field's first and second row; P45 is the
// first of the remarks' twelve rows.
enum class Pole : int {
  NIP, NrKarty, P01, P02, P05, P04, P03, P09, P08, P07, P06, P10, P12, P11, P14, P13, P16, P15,
  P17, P18a, P19, P18b, P22, P21, P20, P23, P26, P25, P24, P28, P27, P30, P29,
  P31, P32a, P32b, P35, P34, P33, P36,
  P37, P38a, P38b, P41, P40, P39, P42,
  P43a, P43b, P44a, P44b,
  P45, P45ostatni = P45 + 11,
  Ile
};
inline Pole rzadUwag(int i) { return static_cast<Pole>(static_cast<int>(Pole::P45) + i); }

// n boxes whose right edge is at x and top at y (mm from the form's corner).
struct RzadKratek {
  int n;
  double x, y;
};
const RzadKratek& rzad(Pole p);

// The card's constants.
constexpr double kBokKratkiKarty = 5.25;
constexpr double kSkokWierszaKarty = 6.7;
constexpr double kSkokWierszaUwag = 5.58;
// A remarks text this long or longer goes to the attachment pages.
constexpr std::size_t kDlugoscZalacznika = 334;
constexpr int kWierszeZalacznika = 42, kKratkiZalacznika = 36;

// The remarks of field 45: the general remark, then the field remarks, each in brackets, only
// those the card prints (06-09 with a kind code; 17, 19, 29 with the ordering party's type set;
// 31 and 37 only for party type 0).
std::string uwagiKarty(const TRekordTransakcji& r);

// A value of the contents layer: the text for one box row.
struct Wpis {
  Pole pole;
  std::string tekst;
};
// Every value the contents layer writes into boxes, in drawing order. Texts are the stored
// bytes with control characters as blanks; list codes and dates that are not there give no
// value.
std::vector<Wpis> zawartoscKarty(const TRekordTransakcji& r, const ListyKarty& listy, const std::string& nip);

// The person who filled in the card, from "first name;surname;position": the first two parts
// on lines one and two, the rest on line three (a text without ";" only on line three).
std::array<std::string, 3> osobaWypelniajaca(const std::string& wprow);

// The footer below the remarks.
std::string stopkaKarty();

// What came of one card's job.
struct WynikKarty {
  bool wydrukowana = false;  // the job ended successfully
  bool zawartosc = false;    // and its contents layer was drawn
  QString blad;              // the system's text when the job failed at its start or end
};

// Prints one record as one job on the current printer.
WynikKarty drukujKarte(platform::Printers& drukarki, const TRekordTransakcji& r, const ListyKarty& listy,
                       const std::string& nip, const UstawieniaWydruku& u, const Kalibracja& k);

// The current record with the program's settings and current printer; a calibration text that
// is no number, or a job that fails, is shown as a message (the card editor's print).
WynikKarty drukujkarte(Program& program);

// The batch: each record in the given order is read, printed and counted. The count rises by
// one, up to 255, only for a card whose job ended and whose contents were printed; only that
// byte of the record changes.
void drukujKarty(Program& program, const std::vector<std::int32_t>& numery);

}  // namespace zelt
