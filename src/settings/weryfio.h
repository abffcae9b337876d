#pragma once
// The institution check: the institution's required fields and its first responsible person,
// the unit numbers (whole numbers, none twice, none equal to the institution's own) and each
// unit's required fields, then the three folders, which it creates when they are missing, also
// when its caller then does not save. Findings go to the verification lists in a fixed order
// (their "Lp" follows it); the check itself blocks nothing, its callers read the totals.
#include "register/weryfikacja.h"
#include "settings/daneio.h"
#include "settings/jednostki.h"

namespace zelt {

// Empties both lists first. The folders are taken from `dane.KatDan`, `KatPod` and `KatEks`.
void weryfikujIO(const DaneIO& dane, const JednostkiIO& jednostki, ListyWeryfikacji& listy);

}  // namespace zelt
