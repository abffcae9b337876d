#pragma once
// The value kinds that the TXT and XML report writers share, and the rules for stored indexes
// that no longer fit the card editor's current lists (a shorter dictionary file, an imported
// record): a writer never fails on them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "register/listykarty.h"

namespace zelt {

// A list index is set when it is not negative (stored indexes are -1 for none).
inline bool ustawiony(std::int32_t index) { return index >= 0; }
// A party is written when its type is set and its name is non-empty.
inline bool obecny(std::int32_t typ, const std::string& nazwa) { return ustawiony(typ) && !nazwa.empty(); }

// raw: the stored bytes, control bytes as blanks.
std::string surowa(std::string_view tekst);
// raw, preceded by blanks up to `szerokosc` characters (a longer text whole).
std::string doPrawej(std::string_view tekst, std::size_t szerokosc);

// The code of a set party type; at or past the list's end, the index in two digits (its code in
// the built-in list, which the import reads back).
std::string kodTypu(const ListyKarty::Lista& lista, std::int32_t typ);
// The code of a document kind; none when unset or outside the list.
std::optional<std::string> kodDokumentu(const ListyKarty::Lista& lista, std::int32_t rodzaj);

}  // namespace zelt
