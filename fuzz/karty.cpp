#include "karty.h"

namespace zeltfuzz {

std::array<zelt::TRekordTransakcji, 3> przykladoweKarty() {
  zelt::TRekordTransakcji a;
  a.nrEwT = "0000000000000000000000017";
  a.nrRejDat = "1";
  a.rejDat = kDzienKart;
  a.jedIO = "00000123";
  a.kRodzTr = "0100";
  a.uwkRodzTr = "inny tytul";
  a.kPwz = 1;
  a.uwkPwz = "powiazana";
  a.kPdjrz = "    ";
  a.spDysp = 0;
  a.uwspDysp = "telefon";
  a.nrDokT = "F/1";
  a.tDat = kDzienKart;
  a.tM = "Krakow";
  a.tKw = "555,00";
  a.tJ = "PLN";
  a.zTypPo = 0;
  a.uwzTypPo = "fundacja";
  a.zNz = "Kowalski Jan";
  a.zObyw = "PL";
  a.zAdrKr = "PL";
  a.zAdrM = "Krakow";
  a.zNrPes = "44051401359";
  a.zRodzDokTo = 0;
  a.uwzRodzDokTo = "legitymacja";
  a.pTypPo = 2;
  a.pNz = "Firma";
  a.bTypPo = 3;
  a.bNz = "Nowak";
  a.uwInne = "uwaga";
  zelt::TRekordTransakcji a2;
  a2.nrEwT = a.nrEwT;
  a2.nrRejDat = "2";
  a2.rejDat = a.rejDat;
  a2.jedIO = a.jedIO;
  a2.tDat = a.tDat;
  a2.uwInne = a.uwInne;
  a2.zTypPo = 1;
  a2.zNz = "Zielinska Anna";
  a2.zRodzDokTo = 1;
  a2.bTypPo = 0;
  a2.uwbTypPo = "inny";
  a2.bNz = "Wisniewski";
  zelt::TRekordTransakcji b = a;
  b.nrEwT = "0000000000000000000000018";
  b.nrRejDat = "3";
  b.Status = 0;
  b.kRodzTr = "0601";
  b.uwkRodzTr.clear();
  b.tKwZ = "100,00";
  b.tJZ = "EUR";
  return {a, a2, b};
}

}  // namespace zeltfuzz
