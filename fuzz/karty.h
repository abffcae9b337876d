#pragma once
// Sample records of the program's own making, for the targets' registers and the report seeds: a
// card of two records (the transaction data and remarks shown in the first, a party of each role)
// and a card of one for an exchange of currency.
#include <array>

#include "register/rekordtransakcji.h"

namespace zeltfuzz {

inline constexpr double kDzienKart = 45658;  // 2025-01-01

std::array<zelt::TRekordTransakcji, 3> przykladoweKarty();

}  // namespace zeltfuzz
