// The 1093-byte party record, against bytes laid out by hand at the offsets of its table.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "settings/rekordpodmiotu.h"

using zelt::TRekordPodmiotu;

namespace {

void put(std::string& b, std::size_t off, const std::string& bytes) { b.replace(off, bytes.size(), bytes); }
std::string str(const std::string& s) { return std::string(1, char(s.size())) + s; }

// Every field set to a distinct value; bytes past each text's length are zero.
std::string fixture() {
  std::string b(1093, '\0');
  put(b, 0, std::string("\x02\x00\x00\x00", 4));  // TypPo 2
  put(b, 4, str("\xA3\xF3\x64\x9F"));              // Nz "Łódź" in Windows-1250
  put(b, 145, str("PL"));
  put(b, 148, str("DE"));
  put(b, 151, str("00-950"));
  put(b, 162, str("Warszawa"));
  put(b, 198, str("Prosta 1"));
  put(b, 234, str("44051401359"));
  put(b, 246, str("123456785"));
  put(b, 256, str("0000012345"));
  put(b, 267, str("BPKOPLPW"));
  put(b, 283, str("5260250274"));
  put(b, 294, std::string("\xFF\xFF\xFF\xFF", 4));  // RodzDokTo -1
  put(b, 298, str("ABC123456"));
  put(b, 324, str("typ"));
  put(b, 580, str("dok"));
  put(b, 836, str("DE"));
  b[1092] = 3;  // beneficiary
  return b;
}

TEST(PartyRecord, DecodesAndEncodesTheHandBuiltLayout) {
  const std::string b = fixture();
  const TRekordPodmiotu r = TRekordPodmiotu::decode(b.data());
  EXPECT_EQ(r.TypPo, 2);
  EXPECT_EQ(r.Nz, "\xA3\xF3\x64\x9F");
  EXPECT_EQ(r.Obyw, "PL");
  EXPECT_EQ(r.AdrKr, "DE");
  EXPECT_EQ(r.AdrKod, "00-950");
  EXPECT_EQ(r.AdrM, "Warszawa");
  EXPECT_EQ(r.AdrUl, "Prosta 1");
  EXPECT_EQ(r.NrPes, "44051401359");
  EXPECT_EQ(r.NrReg, "123456785");
  EXPECT_EQ(r.NrReS, "0000012345");
  EXPECT_EQ(r.NrSwt, "BPKOPLPW");
  EXPECT_EQ(r.Nip, "5260250274");
  EXPECT_EQ(r.RodzDokTo, -1);
  EXPECT_EQ(r.NrDokTo, "ABC123456");
  EXPECT_EQ(r.uwTypPo, "typ");
  EXPECT_EQ(r.uwRodzDokTo, "dok");
  EXPECT_EQ(r.uwObyw, "DE");
  EXPECT_EQ(r.rolaPo, TRekordPodmiotu::Beneficjent);
  const auto e = r.encode();
  EXPECT_EQ(std::string(e.data(), e.size()), b);
}

TEST(PartyRecord, TextsAreCutToTheirCapacityAndCorruptLengthsClamped) {
  TRekordPodmiotu r;
  r.Nz = std::string(150, 'x');
  r.Obyw = "POL";
  const auto e = r.encode();
  EXPECT_EQ(static_cast<unsigned char>(e[4]), 140);
  EXPECT_EQ(e[144], 'x') << "the name fills its 140 characters";
  EXPECT_EQ(static_cast<unsigned char>(e[145]), 2);
  EXPECT_EQ(std::string(e.data() + 146, 2), "PO");
  EXPECT_EQ(std::string(e.data() + 0, 4), std::string("\xFF\xFF\xFF\xFF", 4)) << "no type is -1";

  std::string b = fixture();
  b[145] = char(200);  // a length byte beyond the capacity of 2
  b[283] = char(11);   // one beyond the NIP's 10
  const TRekordPodmiotu d = TRekordPodmiotu::decode(b.data());
  EXPECT_EQ(d.Obyw, "PL");
  EXPECT_EQ(d.AdrKr, "DE") << "the next field is not read into";
  EXPECT_EQ(d.Nip, "5260250274");
}

// A pass over a file decodes every record into one reused record: nothing of the party before
// (a longer name, a remark, codes, the role) may stay in it.
TEST(PartyRecord, DecodingIntoAReusedRecordLeavesNothingOfTheOneBefore) {
  const std::string pelny = fixture();
  std::string pusty(1093, '\0');
  put(pusty, 0, std::string("\x01\x00\x00\x00", 4));
  put(pusty, 4, str("Ab"));
  put(pusty, 294, std::string("\x05\x00\x00\x00", 4));
  TRekordPodmiotu r;
  TRekordPodmiotu::decode(pelny.data(), r);
  TRekordPodmiotu::decode(pusty.data(), r);
  EXPECT_EQ(r, TRekordPodmiotu::decode(pusty.data()));
  EXPECT_EQ(r.Nz, "Ab");
  EXPECT_TRUE(r.uwTypPo.empty() && r.Nip.empty() && r.Obyw.empty());
  EXPECT_EQ(r.RodzDokTo, 5);
  EXPECT_EQ(r.rolaPo, 0);
  const auto e = r.encode();
  EXPECT_EQ(std::string(e.data(), e.size()), pusty);
}

// A pass that reads a few parts decodes those and no other: each part alone comes as the whole
// decode gives it, and every other part keeps what the reused record held.
TEST(PartyRecord, APartialDecodeFillsTheNamedPartsOnly) {
  using R = TRekordPodmiotu;
  const std::string b = fixture();
  const R pelny = R::decode(b.data());
  R dawny;
  dawny.TypPo = dawny.RodzDokTo = 7;
  dawny.rolaPo = 9;
  for (std::string* t : {&dawny.Nz, &dawny.Obyw, &dawny.AdrKr, &dawny.AdrKod, &dawny.AdrM, &dawny.AdrUl, &dawny.NrPes,
                         &dawny.NrReg, &dawny.NrReS, &dawny.NrSwt, &dawny.Nip, &dawny.NrDokTo, &dawny.uwTypPo,
                         &dawny.uwRodzDokTo, &dawny.uwObyw})
    *t = "?";
  const struct {
    R::Pola pola;
    std::function<void(R&, const R&)> czesc;
  } cases[] = {
      {R::pTypPo, [](R& r, const R& z) { r.TypPo = z.TypPo; }},
      {R::pNz, [](R& r, const R& z) { r.Nz = z.Nz; }},
      {R::pObyw, [](R& r, const R& z) { r.Obyw = z.Obyw; }},
      {R::pAdrKr, [](R& r, const R& z) { r.AdrKr = z.AdrKr; }},
      {R::pAdrKod, [](R& r, const R& z) { r.AdrKod = z.AdrKod; }},
      {R::pAdrM, [](R& r, const R& z) { r.AdrM = z.AdrM; }},
      {R::pAdrUl, [](R& r, const R& z) { r.AdrUl = z.AdrUl; }},
      {R::pNrPes, [](R& r, const R& z) { r.NrPes = z.NrPes; }},
      {R::pNrReg, [](R& r, const R& z) { r.NrReg = z.NrReg; }},
      {R::pNrReS, [](R& r, const R& z) { r.NrReS = z.NrReS; }},
      {R::pNrSwt, [](R& r, const R& z) { r.NrSwt = z.NrSwt; }},
      {R::pNip, [](R& r, const R& z) { r.Nip = z.Nip; }},
      {R::pRodzDokTo, [](R& r, const R& z) { r.RodzDokTo = z.RodzDokTo; }},
      {R::pNrDokTo, [](R& r, const R& z) { r.NrDokTo = z.NrDokTo; }},
      {R::pUwTypPo, [](R& r, const R& z) { r.uwTypPo = z.uwTypPo; }},
      {R::pUwRodzDokTo, [](R& r, const R& z) { r.uwRodzDokTo = z.uwRodzDokTo; }},
      {R::pUwObyw, [](R& r, const R& z) { r.uwObyw = z.uwObyw; }},
      {R::pRolaPo, [](R& r, const R& z) { r.rolaPo = z.rolaPo; }},
  };
  R::Pola razem = 0;
  for (const auto& c : cases) {
    R r = dawny, oczekiwany = dawny;
    R::decode(b.data(), r, c.pola);
    c.czesc(oczekiwany, pelny);
    EXPECT_EQ(r, oczekiwany) << "part " << c.pola;
    EXPECT_NE(r, dawny) << "part " << c.pola << " is decoded";
    razem |= c.pola;
  }
  R r = dawny;
  R::decode(b.data(), r, razem);
  EXPECT_EQ(r, pelny) << "every part named once is the whole record";
}

}  // namespace
