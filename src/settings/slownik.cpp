#include "settings/slownik.h"

#include <QFile>

#include "register/program.h"

namespace zelt {

Slownik podzielNaLinie(std::string_view bytes) {
  Slownik lines;
  std::size_t pos = 0;
  do {
    std::size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    lines.emplace_back(bytes.substr(pos, end - pos));
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  } while (pos < bytes.size());
  return lines;
}

std::optional<Slownik> czytajSlownik(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return podzielNaLinie(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

bool zaladujSlownik(Program& program, const QString& path, const QString& opis, Slownik& lista) {
  program.akcja(opis);
  auto lines = czytajSlownik(path);
  if (!lines) {
    program.akcja(opis + QStringLiteral(" - brak pliku"));
    return false;
  }
  lista = std::move(*lines);
  return true;
}

std::string kodPozycji(std::string_view pozycja, std::size_t dlugosc) {
  return std::string(pozycja.substr(0, dlugosc));
}

int indeksKodu(const Slownik& lista, std::string_view kod, std::size_t dlugosc) {
  if (kod.empty()) return -1;
  for (std::size_t i = 0; i < lista.size(); ++i)
    if (kodPozycji(lista[i], dlugosc) == kod) return static_cast<int>(i);
  return -1;
}

}  // namespace zelt
