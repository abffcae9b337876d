#pragma once
// One party record: 1093 bytes, packed, little-endian, the same for klienci.dat and for the
// card's three party lists. Texts are Windows-1250.
#include <array>
#include <cstdint>
#include <string>

namespace zelt {

struct TRekordPodmiotu {
  static constexpr std::size_t kSize = 1093;
  // A party type that marks a deleted record of klienci.dat.
  static constexpr std::int32_t kDeleted = 99;
  // The role byte: the party list the entry belongs to.
  enum Rola : std::uint8_t { Brak = 0, Dysponent = 1, WImieniu = 2, Beneficjent = 3 };

  std::int32_t TypPo = -1;  // index in the party-type list, -1 none
  std::string Nz, Obyw, AdrKr, AdrKod, AdrM, AdrUl, NrPes, NrReg, NrReS, NrSwt, Nip;
  std::int32_t RodzDokTo = -1;  // index in the document list, -1 none
  std::string NrDokTo, uwTypPo, uwRodzDokTo, uwObyw;
  std::uint8_t rolaPo = Brak;

  using Bytes = std::array<char, kSize>;
  // Decodes exactly kSize bytes; a length byte beyond its capacity is clamped.
  static TRekordPodmiotu decode(const char* bytes);
  // The same into a record whose texts keep their storage: a pass over a whole file allocates
  // nothing per record.
  static void decode(const char* bytes, TRekordPodmiotu& into);
  // Texts are cut to their capacity; the bytes past each text are zero.
  void encode(char* bytes) const;
  Bytes encode() const;

  bool operator==(const TRekordPodmiotu&) const = default;
};

}  // namespace zelt
