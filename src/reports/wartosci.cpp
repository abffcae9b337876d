#include "reports/wartosci.h"

#include <cstdio>

#include "platform/cp1250.h"

namespace zelt {

std::string surowa(std::string_view tekst) { return cp1250::bezSterujacych(tekst); }

std::string doPrawej(std::string_view tekst, std::size_t szerokosc) {
  std::string out = surowa(tekst);
  if (out.size() < szerokosc) out.insert(0, szerokosc - out.size(), ' ');
  return out;
}

std::string kodTypu(const ListyKarty::Lista& lista, std::int32_t typ) {
  if (static_cast<std::size_t>(typ) < lista.size()) return surowa(ListyKarty::kod(lista, typ));
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(typ));
  return buf;
}

std::optional<std::string> kodDokumentu(const ListyKarty::Lista& lista, std::int32_t rodzaj) {
  if (!ustawiony(rodzaj) || static_cast<std::size_t>(rodzaj) >= lista.size()) return std::nullopt;
  return surowa(ListyKarty::kod(lista, rodzaj));
}

}  // namespace zelt
