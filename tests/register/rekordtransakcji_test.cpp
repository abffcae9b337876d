#include <gtest/gtest.h>

#include <cstring>

#include "platform/cp1250.h"
#include "register/rekordtransakcji.h"

using zelt::TRekordTransakcji;

namespace {

// A record built by hand from the layout table: literal offsets, not the codec's constants.
struct Fixture {
  std::string b = std::string(3512, '\0');
  void str(size_t off, std::string_view s) {
    b[off] = char(s.size());
    std::memcpy(&b[off + 1], s.data(), s.size());
  }
  void i32(size_t off, int32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = char((uint32_t(v) >> (8 * i)) & 0xFF);
  }
  void raw(size_t off, std::string_view bytes) { std::memcpy(&b[off], bytes.data(), bytes.size()); }
};

Fixture sample() {
  Fixture f;
  f.str(0, "TR/1/2007");
  f.str(26, "12");
  f.raw(39, std::string("\x00\x00\x00\x00\x40\x1D\xE3\x40", 8));  // 39146.0 = 2007-03-05
  f.str(47, "03");
  f.i32(56, 1);
  f.str(60, "0607");
  f.i32(65, 2);
  f.str(69, "A1");
  f.i32(74, 0);
  f.str(78, "DOK-1");
  f.raw(91, std::string("\x00\x00\x00\x00\x40\x1D\xE3\x40", 8));
  f.str(99, cp1250::fromUtf8("Łódź"));
  f.str(135, "1000,50");
  f.str(151, "PLN");
  f.str(155, "250");
  f.str(171, "EUR");
  f.i32(175, 3);
  f.str(179, "Jan Kowalski");
  f.str(320, "PL");
  f.str(323, "DE");
  f.str(326, "00-950");
  f.str(337, "Warszawa");
  f.str(373, "Polna 1");
  f.str(409, "44051401359");
  f.str(421, "123456785");
  f.str(431, "0000012345");
  f.str(442, "BPKOPLPW");
  f.str(458, "1234563218");
  f.i32(469, 4);
  f.str(473, "ABC123456");
  f.i32(499, -1);
  f.str(503, "Firma P");
  f.str(644, "CZ");
  f.str(647, "11-000");
  f.str(658, "Praha");
  f.str(694, "Hlavni 2");
  f.i32(730, 5);
  f.str(734, "Firma B");
  f.str(875, "FR");
  f.str(878, "75001");
  f.str(889, "Paris");
  f.str(925, "Rue 3");
  f.str(961, "PL61109010140000071219812874");
  f.str(1018, "DE89370400440532013000");
  f.str(1075, "uw06");
  f.str(1331, "uw07");
  f.str(1587, "uw08");
  f.str(1843, "uw09");
  f.str(2099, "uw17");
  f.str(2355, "uw29");
  f.str(2611, "uw19");
  f.str(2867, "uw31");
  f.str(3123, "uw37");
  f.str(3251, "45:inne");
  f.raw(3379, "\x02\x03\x04\x05");
  f.str(3383, "Jan;Nowak;Kierownik");
  return f;
}

TEST(TRekordTransakcji, DecodesEveryFieldAtItsOffset) {
  const Fixture f = sample();
  const auto r = TRekordTransakcji::decode(f.b.data());
  EXPECT_EQ(r.nrEwT, "TR/1/2007");
  EXPECT_EQ(r.nrRejDat, "12");
  EXPECT_EQ(r.rejDat, 39146.0);
  EXPECT_EQ(r.jedIO, "03");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.kRodzTr, "0607");
  EXPECT_EQ(r.kPwz, 2);
  EXPECT_EQ(r.kPdjrz, "A1");
  EXPECT_EQ(r.spDysp, 0);
  EXPECT_EQ(r.nrDokT, "DOK-1");
  EXPECT_EQ(r.tDat, 39146.0);
  EXPECT_EQ(r.tM, "\xA3\xF3\x64\x9F");
  EXPECT_EQ(r.tKw, "1000,50");
  EXPECT_EQ(r.tJ, "PLN");
  EXPECT_EQ(r.tKwZ, "250");
  EXPECT_EQ(r.tJZ, "EUR");
  EXPECT_EQ(r.zTypPo, 3);
  EXPECT_EQ(r.zNz, "Jan Kowalski");
  EXPECT_EQ(r.zObyw, "PL");
  EXPECT_EQ(r.zAdrKr, "DE");
  EXPECT_EQ(r.zAdrKod, "00-950");
  EXPECT_EQ(r.zAdrM, "Warszawa");
  EXPECT_EQ(r.zAdrUl, "Polna 1");
  EXPECT_EQ(r.zNrPes, "44051401359");
  EXPECT_EQ(r.zNrReg, "123456785");
  EXPECT_EQ(r.zNrReS, "0000012345");
  EXPECT_EQ(r.zNrSwt, "BPKOPLPW");
  EXPECT_EQ(r.zNip, "1234563218");
  EXPECT_EQ(r.zRodzDokTo, 4);
  EXPECT_EQ(r.zNrDokTo, "ABC123456");
  EXPECT_EQ(r.pTypPo, -1);
  EXPECT_EQ(r.pNz, "Firma P");
  EXPECT_EQ(r.pAdrKr, "CZ");
  EXPECT_EQ(r.pAdrKod, "11-000");
  EXPECT_EQ(r.pAdrM, "Praha");
  EXPECT_EQ(r.pAdrUl, "Hlavni 2");
  EXPECT_EQ(r.bTypPo, 5);
  EXPECT_EQ(r.bNz, "Firma B");
  EXPECT_EQ(r.bAdrKr, "FR");
  EXPECT_EQ(r.bAdrKod, "75001");
  EXPECT_EQ(r.bAdrM, "Paris");
  EXPECT_EQ(r.bAdrUl, "Rue 3");
  EXPECT_EQ(r.nrRachZ, "PL61109010140000071219812874");
  EXPECT_EQ(r.nrRachN, "DE89370400440532013000");
  EXPECT_EQ(r.uwkRodzTr, "uw06");
  EXPECT_EQ(r.uwkPwz, "uw07");
  EXPECT_EQ(r.uwkPdjrz, "uw08");
  EXPECT_EQ(r.uwspDysp, "uw09");
  EXPECT_EQ(r.uwzTypPo, "uw17");
  EXPECT_EQ(r.uwzRodzDokTo, "uw29") << "the remark on 29 lies before the remark on 19";
  EXPECT_EQ(r.uwzObyw, "uw19");
  EXPECT_EQ(r.uwpTypPo, "uw31");
  EXPECT_EQ(r.uwbTypPo, "uw37");
  EXPECT_EQ(r.uwInne, "45:inne");
  EXPECT_EQ(r.ilWydrukow, 2);
  EXPECT_EQ(r.ilOstrzezen, 3);
  EXPECT_EQ(r.ilBledow, 4);
  EXPECT_EQ(r.ilWyslan, 5);
  EXPECT_EQ(r.Wprow, "Jan;Nowak;Kierownik");
}

TEST(TRekordTransakcji, EncodesToTheSameBytes) {
  const Fixture f = sample();
  const auto r = TRekordTransakcji::decode(f.b.data());
  const auto out = r.encode();
  ASSERT_EQ(out.size(), 3512u);
  EXPECT_EQ(std::string(out.data(), out.size()), f.b);
}

TEST(TRekordTransakcji, LengthsAreClampedAndTheRestZeroFilled) {
  Fixture f;
  f.b[60] = char(200);  // kRodzTr is S[4]: a corrupt length reads 4 characters
  f.raw(61, "0607XYZ");
  auto r = TRekordTransakcji::decode(f.b.data());
  EXPECT_EQ(r.kRodzTr, "0607");
  EXPECT_EQ(r.kPwz, int32_t(0x5A5958));  // kPwz starts right after the capacity: "XYZ\0" at 65

  r = TRekordTransakcji{};
  r.nrEwT = std::string(30, 'N');
  r.tM = "krotki";
  auto out = r.encode();
  EXPECT_EQ(static_cast<unsigned char>(out[0]), 25) << "a 30-character number is cut to 25";
  EXPECT_EQ(std::string(out.data() + 1, 25), std::string(25, 'N'));
  EXPECT_EQ(out[26], '\0') << "nothing spills into nrRejDat";
  // A longer earlier text never leaks past the length of a later one.
  r.tM = std::string(35, 'x');
  auto longer = r.encode();
  r.tM = "ab";
  longer = r.encode();
  EXPECT_EQ(std::string(longer.data() + 99, 4), std::string("\x02" "ab\0", 4));
  for (int i = 102; i < 135; ++i) EXPECT_EQ(longer[i], '\0') << i;
}

TEST(TRekordTransakcji, FieldsByName) {
  EXPECT_EQ(zelt::poleTekstowe("zNrPes")->offset, 409u);
  EXPECT_EQ(zelt::poleTekstowe("Wprow")->capacity, 128u);
  EXPECT_EQ(zelt::poleTekstowe("Status"), nullptr);
  EXPECT_EQ(zelt::poleTekstowe("nieznane"), nullptr);
}

}  // namespace
