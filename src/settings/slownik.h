#pragma once
// Code dictionaries: text files of one item per line (Windows-1250), read whole into a list that
// replaces a built-in one. An item's code is its first characters (2 for a country, a category
// or a title, 3 for a currency); nothing else of a line is parsed. Callers keep codes of lists by
// position, so a list's order and count are part of the meaning of stored data.
#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelt {

class Program;

using Slownik = std::vector<std::string>;

// Splits a file's bytes into items. Each line ends at CR LF, LF or a lone CR and keeps none of
// them; the end of the data is tested after each item, so an empty file gives one empty item
// and a file ending in an empty line gives a last empty item ("A\r\nB\r\n" two items,
// "A\r\nB\r\n\r\n" three).
Slownik podzielNaLinie(std::string_view bytes);

// Reads a dictionary file; nothing when it cannot be opened or read.
std::optional<Slownik> czytajSlownik(const QString& path);

// A dictionary's load at its window's creation: writes `opis` on the splash, then replaces
// `lista` with the file's lines. When the file cannot be read the list stays as it was and the
// splash shows `opis` + " - brak pliku"; start-up goes on either way. True when loaded.
bool zaladujSlownik(Program& program, const QString& path, const QString& opis, Slownik& lista);

// The code of an item: its first `dlugosc` characters (the whole item when it is shorter).
std::string kodPozycji(std::string_view pozycja, std::size_t dlugosc);
// The first item whose code is `kod`; -1 when none is (or `kod` is empty).
int indeksKodu(const Slownik& lista, std::string_view kod, std::size_t dlugosc);

// The lists the program offers when no dictionary file replaces them.
namespace wbudowane {
const Slownik& kraje();      // "PL-POLAND", ...
const Slownik& waluty();     // "PLN Poland, Zlotych ", ...
const Slownik& kategorie();  // "01 - wypłata gotówkowa", ...
const Slownik& tytuly();     // item k is title k: "00 - inne ...", ...
}  // namespace wbudowane

}  // namespace zelt
