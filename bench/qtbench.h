#pragma once
// The entry of a benchmark that builds and draws widgets: it needs a QApplication, and runs
// headless unless a platform is chosen in the environment.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>

namespace qtbench {

// `poKoncu` runs while the application still exists: what holds widgets must end before it.
inline int run(int argc, char** argv, const std::function<void()>& poKoncu = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (poKoncu) poKoncu();
  return 0;
}

}  // namespace qtbench

// As BENCHMARK_MAIN(), with the application the widgets need.
#define QT_BENCHMARK_MAIN() \
  int main(int argc, char** argv) { return qtbench::run(argc, argv); }
