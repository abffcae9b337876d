#include "register/rekordtransakcji.h"

#include <cstring>

#include "platform/packed.h"

namespace zelt {

namespace {
using R = TRekordTransakcji;

#define T(n, off, cap) PoleRekordu{#n, off, cap, &R::n}
const std::array<PoleRekordu, 46> kTexts = {{
    T(nrEwT, 0, 25),        T(nrRejDat, 26, 12),    T(jedIO, 47, 8),         T(kRodzTr, 60, 4),
    T(kPdjrz, 69, 4),       T(nrDokT, 78, 12),      T(tM, 99, 35),           T(tKw, 135, 15),
    T(tJ, 151, 3),          T(tKwZ, 155, 15),       T(tJZ, 171, 3),          T(zNz, 179, 140),
    T(zObyw, 320, 2),       T(zAdrKr, 323, 2),      T(zAdrKod, 326, 10),     T(zAdrM, 337, 35),
    T(zAdrUl, 373, 35),     T(zNrPes, 409, 11),     T(zNrReg, 421, 9),       T(zNrReS, 431, 10),
    T(zNrSwt, 442, 15),     T(zNip, 458, 10),       T(zNrDokTo, 473, 25),    T(pNz, 503, 140),
    T(pAdrKr, 644, 2),      T(pAdrKod, 647, 10),    T(pAdrM, 658, 35),       T(pAdrUl, 694, 35),
    T(bNz, 734, 140),       T(bAdrKr, 875, 2),      T(bAdrKod, 878, 10),     T(bAdrM, 889, 35),
    T(bAdrUl, 925, 35),     T(nrRachZ, 961, 56),    T(nrRachN, 1018, 56),    T(uwkRodzTr, 1075, 255),
    T(uwkPwz, 1331, 255),   T(uwkPdjrz, 1587, 255), T(uwspDysp, 1843, 255),  T(uwzTypPo, 2099, 255),
    T(uwzRodzDokTo, 2355, 255), T(uwzObyw, 2611, 255), T(uwpTypPo, 2867, 255), T(uwbTypPo, 3123, 127),
    T(uwInne, 3251, 127),   T(Wprow, 3383, 128),
}};
#undef T
constexpr std::size_t kDistinct = kTexts.size();

struct IntField {
  std::size_t offset;
  std::int32_t R::* value;
};
const IntField kInts[] = {{R::kOffsetStatus, &R::Status},  {65, &R::kPwz},   {74, &R::spDysp}, {175, &R::zTypPo},
                          {469, &R::zRodzDokTo}, {499, &R::pTypPo}, {730, &R::bTypPo}};
static_assert(3383 + 1 + 128 == R::kSize, "the record ends with Wprow");
}  // namespace

const std::array<PoleRekordu, 46>& polaTekstowe() { return kTexts; }

const PoleRekordu* poleTekstowe(std::string_view name) {
  for (std::size_t i = 0; i < kDistinct; ++i)
    if (name == kTexts[i].name) return &kTexts[i];
  return nullptr;
}

TRekordTransakcji TRekordTransakcji::decode(const char* b) {
  R r;
  for (std::size_t i = 0; i < kDistinct; ++i) r.*(kTexts[i].text) = packed::getStr(b, kTexts[i].offset, kTexts[i].capacity);
  for (const auto& f : kInts) r.*(f.value) = packed::getI32(b, f.offset);
  r.rejDat = packed::getF64(b, kOffsetRejDat);
  r.tDat = packed::getF64(b, 91);
  r.ilWydrukow = packed::getU8(b, kOffsetIlWydrukow);
  r.ilOstrzezen = packed::getU8(b, 3380);
  r.ilBledow = packed::getU8(b, 3381);
  r.ilWyslan = packed::getU8(b, 3382);
  return r;
}

void TRekordTransakcji::encode(char* b) const {
  std::memset(b, 0, kSize);
  for (std::size_t i = 0; i < kDistinct; ++i) packed::putStr(b, kTexts[i].offset, kTexts[i].capacity, this->*(kTexts[i].text));
  for (const auto& f : kInts) packed::putI32(b, f.offset, this->*(f.value));
  packed::putF64(b, kOffsetRejDat, rejDat);
  packed::putF64(b, 91, tDat);
  packed::putU8(b, kOffsetIlWydrukow, ilWydrukow);
  packed::putU8(b, 3380, ilOstrzezen);
  packed::putU8(b, 3381, ilBledow);
  packed::putU8(b, 3382, ilWyslan);
}

TRekordTransakcji::Bytes TRekordTransakcji::encode() const {
  Bytes b;
  encode(b.data());
  return b;
}

}  // namespace zelt
