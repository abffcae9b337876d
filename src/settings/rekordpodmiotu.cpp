#include "settings/rekordpodmiotu.h"

#include <cstring>

#include "platform/packed.h"

namespace zelt {

namespace {
using R = TRekordPodmiotu;

struct Tekst {
  std::size_t offset, capacity;
  std::string R::* pole;
  R::Pole czesc;
};
const Tekst kTeksty[] = {
    {4, 140, &R::Nz, R::pNz},
    {145, 2, &R::Obyw, R::pObyw},
    {148, 2, &R::AdrKr, R::pAdrKr},
    {151, 10, &R::AdrKod, R::pAdrKod},
    {162, 35, &R::AdrM, R::pAdrM},
    {198, 35, &R::AdrUl, R::pAdrUl},
    {234, 11, &R::NrPes, R::pNrPes},
    {246, 9, &R::NrReg, R::pNrReg},
    {256, 10, &R::NrReS, R::pNrReS},
    {267, 15, &R::NrSwt, R::pNrSwt},
    {283, 10, &R::Nip, R::pNip},
    {298, 25, &R::NrDokTo, R::pNrDokTo},
    {324, 255, &R::uwTypPo, R::pUwTypPo},
    {580, 255, &R::uwRodzDokTo, R::pUwRodzDokTo},
    {836, 255, &R::uwObyw, R::pUwObyw},
};
constexpr std::size_t kTypPo = 0, kRodzDokTo = 294, kRolaPo = 1092;
static_assert(kRolaPo + 1 == R::kSize, "the record ends with the role byte");
}  // namespace

TRekordPodmiotu TRekordPodmiotu::decode(const char* b) {
  R r;
  decode(b, r);
  return r;
}

void TRekordPodmiotu::decode(const char* b, TRekordPodmiotu& r, Pola pola) {
  if (pola & pTypPo) r.TypPo = packed::getI32(b, kTypPo);
  for (const auto& t : kTeksty)
    if (pola & t.czesc) packed::getStr(b, t.offset, t.capacity, r.*(t.pole));
  if (pola & pRodzDokTo) r.RodzDokTo = packed::getI32(b, kRodzDokTo);
  if (pola & pRolaPo) r.rolaPo = packed::getU8(b, kRolaPo);
}

bool TRekordPodmiotu::usuniety(const char* b) { return packed::getI32(b, kTypPo) == kDeleted; }

void TRekordPodmiotu::encode(char* b) const {
  std::memset(b, 0, kSize);
  packed::putI32(b, kTypPo, TypPo);
  for (const auto& t : kTeksty) packed::putStr(b, t.offset, t.capacity, this->*(t.pole));
  packed::putI32(b, kRodzDokTo, RodzDokTo);
  packed::putU8(b, kRolaPo, rolaPo);
}

TRekordPodmiotu::Bytes TRekordPodmiotu::encode() const {
  Bytes b;
  encode(b.data());
  return b;
}

}  // namespace zelt
