#include "register/tekstywierszy.h"

#include "platform/packed.h"
#include "reports/uwagi.h"

namespace zelt {

namespace {

using Rodzaj = KolumnaWiersza::Rodzaj;

constexpr std::size_t kOffsetTDat = 91, kOffsetOstrzezen = 3380, kOffsetBledow = 3381;

std::string_view pole(const char* rekord, std::size_t offset, std::size_t pojemnosc) {
  std::size_t len = static_cast<unsigned char>(rekord[offset]);
  if (len > pojemnosc) len = pojemnosc;
  return {rekord + offset + 1, len};
}

bool bezRodzaju(const char* rekord) {
  static const PoleRekordu& rodzaj = *poleTekstowe("kRodzTr");
  const std::string_view k = pole(rekord, rodzaj.offset, rodzaj.capacity);
  return k.empty() || k == "    ";
}

void liczba(std::string& out, std::uint64_t v) {
  char b[20];
  int i = 20;
  do {
    b[--i] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  out.append(b + i, static_cast<std::size_t>(20 - i));
}

}  // namespace

KolumnaWiersza rozpoznajKolumne(std::string_view kod) {
  KolumnaWiersza k;
  k.transakcyjna = kolumnaTransakcji(kod);
  struct Indeksowa {
    const char* kod;
    std::size_t offset;
    ListyKarty::Lista ListyKarty::* lista;
  };
  static const Indeksowa indeksowe[] = {
      {"Status", TRekordTransakcji::kOffsetStatus, &ListyKarty::Status},
      {"kPwz", 65, &ListyKarty::kPwz},
      {"spDysp", 74, &ListyKarty::spDysp},
      {"zTypPo", 175, &ListyKarty::zTypPo},
      {"zRodzDokTo", 469, &ListyKarty::zRodzDokTo},
      {"pTypPo", 499, &ListyKarty::pTypPo},
      {"bTypPo", 730, &ListyKarty::bTypPo},
  };
  if (kod == "Lp") {
    k.rodzaj = Rodzaj::Lp;
  } else if (kod == "Info") {
    k.rodzaj = Rodzaj::Info;
  } else if (kod == "Uwagi") {
    k.rodzaj = Rodzaj::Uwagi;
  } else if (kod == "rejDat" || kod == "tDat") {
    k.rodzaj = Rodzaj::Data;
    k.offset = kod == "rejDat" ? TRekordTransakcji::kOffsetRejDat : kOffsetTDat;
  } else {
    for (const auto& i : indeksowe)
      if (kod == i.kod) {
        k.rodzaj = Rodzaj::Lista;
        k.offset = i.offset;
        k.lista = i.lista;
        return k;
      }
    // The list's code of the target account differs from its field's name.
    if (const PoleRekordu* p = poleTekstowe(kod == "nrRachNa" ? std::string_view("nrRachN") : kod)) {
      k.rodzaj = Rodzaj::Tekst;
      k.offset = p->offset;
      k.pojemnosc = p->capacity;
    }
  }
  return k;
}

TekstyWiersza::TekstyWiersza(const std::vector<std::string>& kody) {
  kolumny_.reserve(kody.size());
  for (const auto& k : kody) kolumny_.push_back(rozpoznajKolumne(k));
}

std::int32_t TekstyWiersza::indeks(std::size_t c, const char* rekord) const {
  const KolumnaWiersza& k = kolumny_[c];
  if (k.transakcyjna && bezRodzaju(rekord)) return -1;
  return packed::getI32(rekord, k.offset);
}

void TekstyWiersza::tekst(std::size_t c, const char* rekord, std::int32_t nrRekordu, const ListyKarty& listy,
                          std::string& out) {
  out.clear();
  const KolumnaWiersza& k = kolumny_[c];
  if (k.transakcyjna && bezRodzaju(rekord)) return;
  switch (k.rodzaj) {
    case Rodzaj::Pusta:
      return;
    case Rodzaj::Lp:
      // The record number is below 2^31, so its successor is never negative.
      liczba(out, static_cast<std::uint64_t>(static_cast<std::int64_t>(nrRekordu) + 1));
      return;
    case Rodzaj::Info: {
      if (const unsigned b = packed::getU8(rekord, kOffsetBledow)) {
        liczba(out, b);
        out += "B;";
      }
      if (const unsigned o = packed::getU8(rekord, kOffsetOstrzezen)) {
        liczba(out, o);
        out += "O;";
      }
      if (packed::getU8(rekord, TRekordTransakcji::kOffsetIlWydrukow)) out += "D;";
      if (packed::getU8(rekord, TRekordTransakcji::kOffsetIlWyslan)) out += "W;";
      if (!out.empty()) out.pop_back();
      return;
    }
    case Rodzaj::Uwagi: {
      // Only the remarks are read: the list shows every one that is not empty.
      static const std::vector<const PoleRekordu*> pola = [] {
        std::vector<const PoleRekordu*> v{poleTekstowe("uwInne")};
        for (const UwagaPola& u : kUwagiPol)
          for (const PoleRekordu& p : polaTekstowe())
            if (p.text == u.pole) v.push_back(&p);
        return v;
      }();
      for (const PoleRekordu* p : pola) packed::getStr(rekord, p->offset, p->capacity, uwagi_.*(p->text));
      out = lancuchUwag(uwagi_, BramkiUwag::Brak, [](std::string_view t) { return std::string(t); });
      return;
    }
    case Rodzaj::Data:
      dopiszDateListy(packed::getF64(rekord, k.offset), out);
      return;
    case Rodzaj::Lista:
      out = ListyKarty::tekst(listy.*k.lista, packed::getI32(rekord, k.offset));
      return;
    case Rodzaj::Tekst:
      out.append(pole(rekord, k.offset, k.pojemnosc));
      return;
  }
}

}  // namespace zelt
