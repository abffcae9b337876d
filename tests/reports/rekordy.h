#pragma once
// Records shared by the report writers' tests: the minimal one and one with every field filled.
#include "platform/cp1250.h"
#include "register/rekordtransakcji.h"

namespace rekordy {

using zelt::TRekordTransakcji;

inline std::string u(const char* utf8) { return cp1250::fromUtf8(utf8); }

inline constexpr double k20250101 = 45658;  // days since 1899-12-30
inline constexpr double k20250102 = 45659;

inline TRekordTransakcji minimalny() {
  TRekordTransakcji r;
  r.nrRejDat = "7";
  r.rejDat = k20250102;
  r.jedIO = "123";
  return r;
}

// Every field filled, every party present.
inline TRekordTransakcji pelny() {
  TRekordTransakcji r;
  r.nrEwT = "TR/1";
  r.nrRejDat = "12";
  r.rejDat = k20250102;
  r.jedIO = "5";
  r.Status = 0;
  r.kRodzTr = "12";
  r.kPwz = 1;
  r.kPdjrz = "0000";
  r.spDysp = 2;
  r.nrDokT = u("Dok-ą");
  r.tDat = k20250101;
  r.tM = u("Łódź");
  r.tKw = u("100,5ą");
  r.tJ = "PLN";
  r.tKwZ = "25";
  r.tJZ = "EUR";
  r.zTypPo = 2;
  r.zNz = u("Żółw");
  r.zObyw = "D";
  r.zAdrKr = "PL";
  r.zAdrKod = "00-950";
  r.zAdrM = u("Wąchock");
  r.zAdrUl = u("Ślusarska 1");
  r.zNrPes = "44051401359";
  r.zNrReg = "1234567";
  r.zNrReS = "0000012345";
  r.zNrSwt = "BPKOPLPW";
  r.zNip = "123456789";
  r.zRodzDokTo = 1;
  r.zNrDokTo = u("ABCą");
  r.pTypPo = 0;
  r.pNz = "Firma P";
  r.pAdrKr = "C";
  r.pAdrKod = "11-000";
  r.pAdrM = "Praha";
  r.pAdrUl = "Hlavni";
  r.bTypPo = 22;
  r.bNz = "Bank";
  r.bAdrKr = "FR";
  r.bAdrKod = "75001";
  r.bAdrM = "Paris";
  r.bAdrUl = "Rue 3";
  r.nrRachZ = "PL61";
  r.nrRachN = "DE89";
  r.uwInne = "45:inne";
  r.uwkRodzTr = "a";
  r.uwkPwz = "b";
  r.uwkPdjrz = "c";
  r.uwspDysp = "d";
  r.uwzTypPo = "e";  // type 2: not written
  r.uwzObyw = "f";
  r.uwzRodzDokTo = "g";
  r.uwpTypPo = "h";
  r.uwbTypPo = u("ś");
  return r;
}

}  // namespace rekordy
