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

  // The parts of a record, for a pass over the file that decodes only what it reads.
  enum Pole : std::uint32_t {
    pTypPo = 1u << 0, pNz = 1u << 1, pObyw = 1u << 2, pAdrKr = 1u << 3, pAdrKod = 1u << 4, pAdrM = 1u << 5,
    pAdrUl = 1u << 6, pNrPes = 1u << 7, pNrReg = 1u << 8, pNrReS = 1u << 9, pNrSwt = 1u << 10, pNip = 1u << 11,
    pRodzDokTo = 1u << 12, pNrDokTo = 1u << 13, pUwTypPo = 1u << 14, pUwRodzDokTo = 1u << 15, pUwObyw = 1u << 16,
    pRolaPo = 1u << 17,
    pWszystkie = (1u << 18) - 1,
  };
  using Pola = std::uint32_t;

  using Bytes = std::array<char, kSize>;
  // Decodes exactly kSize bytes; a length byte beyond its capacity is clamped.
  static TRekordPodmiotu decode(const char* bytes);
  // The same into a record whose texts keep their storage: a pass over a whole file allocates
  // nothing per record. Only the parts in `pola` are decoded; the others keep what they held.
  static void decode(const char* bytes, TRekordPodmiotu& into, Pola pola = pWszystkie);
  // A deleted record's bytes, told by its type alone.
  static bool usuniety(const char* bytes);
  // Texts are cut to their capacity; the bytes past each text are zero.
  void encode(char* bytes) const;
  Bytes encode() const;

  bool operator==(const TRekordPodmiotu&) const = default;
};

}  // namespace zelt
