#pragma once
// The register list's texts made straight from the records' bytes, for the start-up pass over
// every record: each column's code is resolved once into what the column shows and where that
// lies in the record, so that a cell needs neither a decoded record nor a comparison of codes.
// Every text is the one tekstKomorki gives for the decoded record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"

namespace zelt {

struct KolumnaWiersza {
  enum class Rodzaj { Pusta, Lp, Info, Uwagi, Data, Lista, Tekst };
  Rodzaj rodzaj = Rodzaj::Pusta;
  // A column of the transaction: empty while the record's kind code is empty or four blanks.
  bool transakcyjna = false;
  std::size_t offset = 0, pojemnosc = 0;  // a date's or index's offset; a text's and its room
  ListyKarty::Lista ListyKarty::* lista = nullptr;
};

KolumnaWiersza rozpoznajKolumne(std::string_view kod);

class TekstyWiersza {
 public:
  explicit TekstyWiersza(const std::vector<std::string>& kody);

  std::size_t ile() const { return kolumny_.size(); }
  const KolumnaWiersza& kolumna(std::size_t c) const { return kolumny_[c]; }
  bool lista(std::size_t c) const { return kolumny_[c].rodzaj == KolumnaWiersza::Rodzaj::Lista; }

  // The text of column c for a record as stored (kSize bytes), into `out`.
  void tekst(std::size_t c, const char* rekord, std::int32_t nrRekordu, const ListyKarty& listy, std::string& out);
  // The item index a list column shows, -1 where it shows none: the pass keeps the index and
  // the item's text is taken once the dictionaries are read.
  std::int32_t indeks(std::size_t c, const char* rekord) const;

 private:
  std::vector<KolumnaWiersza> kolumny_;
  TRekordTransakcji uwagi_;  // the remarks alone, for the remark column
};

}  // namespace zelt
