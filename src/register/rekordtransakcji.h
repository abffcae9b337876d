#pragma once
// One register record of transak.dat: 3512 bytes, packed, little-endian. Texts are Windows-1250.
#include <array>
#include <cstdint>
#include <string>

namespace zelt {

struct TRekordTransakcji {
  static constexpr std::size_t kSize = 3512;
  static constexpr std::int32_t kDeleted = 99;
  // Where a pass over raw records finds the registration date and the 32-bit Status (the four
  // bytes a delete changes).
  static constexpr std::size_t kOffsetRejDat = 39, kOffsetStatus = 56;
  // Offset of the print count, the one byte the card print changes.
  static constexpr std::size_t kOffsetIlWydrukow = 3379;
  // Offset of the sent count, the one byte the send changes.
  static constexpr std::size_t kOffsetIlWyslan = 3382;

  std::string nrEwT, nrRejDat;
  double rejDat = 0;
  std::string jedIO;
  std::int32_t Status = 1;
  std::string kRodzTr;
  std::int32_t kPwz = -1;
  std::string kPdjrz;
  std::int32_t spDysp = -1;
  std::string nrDokT;
  double tDat = 0;
  std::string tM, tKw, tJ, tKwZ, tJZ;
  std::int32_t zTypPo = -1;
  std::string zNz, zObyw, zAdrKr, zAdrKod, zAdrM, zAdrUl, zNrPes, zNrReg, zNrReS, zNrSwt, zNip;
  std::int32_t zRodzDokTo = -1;
  std::string zNrDokTo;
  std::int32_t pTypPo = -1;
  std::string pNz, pAdrKr, pAdrKod, pAdrM, pAdrUl;
  std::int32_t bTypPo = -1;
  std::string bNz, bAdrKr, bAdrKod, bAdrM, bAdrUl;
  std::string nrRachZ, nrRachN;
  std::string uwkRodzTr, uwkPwz, uwkPdjrz, uwspDysp, uwzTypPo, uwzRodzDokTo, uwzObyw, uwpTypPo, uwbTypPo, uwInne;
  std::uint8_t ilWydrukow = 0, ilOstrzezen = 0, ilBledow = 0, ilWyslan = 0;
  std::string Wprow;

  using Bytes = std::array<char, kSize>;
  // Decodes exactly kSize bytes.
  static TRekordTransakcji decode(const char* bytes);
  void encode(char* bytes) const;
  Bytes encode() const;

  bool deleted() const { return Status == kDeleted; }
  bool operator==(const TRekordTransakcji&) const = default;
};

// The record's string fields by their names (the column codes and the writers use them).
struct PoleRekordu {
  const char* name;
  std::size_t offset;
  std::size_t capacity;
  std::string TRekordTransakcji::* text;
};
const std::array<PoleRekordu, 46>& polaTekstowe();
// The text field of the given name, or null.
const PoleRekordu* poleTekstowe(std::string_view name);

}  // namespace zelt
