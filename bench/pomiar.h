#pragma once
// Timing helpers of the benchmarks that measure a path beside its yardstick in the same run and
// give the figures of all rounds: the median and the range of each.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// One plain sequential read of a whole file in blocks of `blok` bytes, the yardstick of a pass
// over it: the number of bytes read. The buffer is kept from call to call, as a pass keeps its own.
inline qint64 czytajBlokami(const QString& plik, std::size_t blok) {
  static std::vector<char> bufor;
  bufor.resize(blok);
  QFile f(plik);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot open " + plik.toStdString());
  qint64 razem = 0;
  for (qint64 n; (n = f.read(bufor.data(), static_cast<qint64>(blok))) > 0;) razem += n;
  return razem;
}

// The wall time of one call, in milliseconds.
inline double ms(const std::function<void()>& fn) {
  QElapsedTimer t;
  t.start();
  fn();
  return double(t.nsecsElapsed()) / 1e6;
}

// The median of the figures.
inline double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The median and the range of a figure over the rounds, as the benchmark's counters.
inline void zakres(benchmark::State& state, const std::string& nazwa, const std::vector<double>& v) {
  if (v.empty()) return;
  state.counters[nazwa] = mediana(v);
  state.counters[nazwa + "_min"] = *std::min_element(v.begin(), v.end());
  state.counters[nazwa + "_max"] = *std::max_element(v.begin(), v.end());
}

}  // namespace bench
