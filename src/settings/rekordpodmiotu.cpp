#include "settings/rekordpodmiotu.h"

#include <cstring>

#include "platform/packed.h"

namespace zelt {

namespace {
using R = TRekordPodmiotu;

struct Tekst {
  std::size_t offset, capacity;
  std::string R::* pole;
};
const Tekst kTeksty[] = {
    {4, 140, &R::Nz},       {145, 2, &R::Obyw},      {148, 2, &R::AdrKr},       {151, 10, &R::AdrKod},
    {162, 35, &R::AdrM},    {198, 35, &R::AdrUl},    {234, 11, &R::NrPes},      {246, 9, &R::NrReg},
    {256, 10, &R::NrReS},   {267, 15, &R::NrSwt},    {283, 10, &R::Nip},        {298, 25, &R::NrDokTo},
    {324, 255, &R::uwTypPo}, {580, 255, &R::uwRodzDokTo}, {836, 255, &R::uwObyw},
};
constexpr std::size_t kTypPo = 0, kRodzDokTo = 294, kRolaPo = 1092;
static_assert(kRolaPo + 1 == R::kSize, "the record ends with the role byte");
}  // namespace

TRekordPodmiotu TRekordPodmiotu::decode(const char* b) {
  R r;
  decode(b, r);
  return r;
}

void TRekordPodmiotu::decode(const char* b, TRekordPodmiotu& r) {
  r.TypPo = packed::getI32(b, kTypPo);
  for (const auto& t : kTeksty) packed::getStr(b, t.offset, t.capacity, r.*(t.pole));
  r.RodzDokTo = packed::getI32(b, kRodzDokTo);
  r.rolaPo = packed::getU8(b, kRolaPo);
}

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
