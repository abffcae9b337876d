// The register list at its largest: 100,000 rows of 48 columns, filled as the register load
// fills it, sorted by one column and by two, and scrolled a page at a time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <fstream>
#include <unistd.h>

#include "gridfill.h"
#include "qtbench.h"

namespace {

constexpr int kRows = 100000, kColumns = 48;

double residentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

kgrid::TKStringGrid& shownGrid() {
  static kgrid::TKStringGrid* g = [] {
    auto* grid = new kgrid::TKStringGrid;
    grid->SetActiveColColor(kgrid::clAqua);
    grid->SetActiveRowColor(kgrid::clAqua);
    grid->SetActiveRowFontColor(kgrid::clBlack);
    grid->SetScrollBars(kgrid::ssVertical);
    grid->resize(1200, 700);
    grid->show();
    QApplication::processEvents();
    return grid;
  }();
  return *g;
}

// Filled while hidden, as at start-up, or while shown.
void BM_FillRegisterList(benchmark::State& state) {
  const bool shown = state.range(0);
  kgrid::TKStringGrid hidden;
  kgrid::TKStringGrid& g = shown ? shownGrid() : hidden;
  double before = 0, after = 0;
  for (auto _ : state) {
    state.PauseTiming();
    g.Clear();
    g.Columns().Clear();
    before = residentMiB();
    state.ResumeTiming();
    gridfill::fill(g, kRows, kColumns);
    state.PauseTiming();
    after = residentMiB();
    state.ResumeTiming();
  }
  state.counters["cells_MiB"] = double(g.CellBytes()) / (1024.0 * 1024.0);
  state.counters["bytes_per_cell"] = double(g.CellBytes()) / (double(kRows) * kColumns);
  state.counters["rss_growth_MiB"] = after - before;
  state.SetItemsProcessed(state.iterations() * kRows);
}

void ensureFilled() {
  kgrid::TKStringGrid& g = shownGrid();
  if (g.RowCount() != kRows || g.Columns().Count() != kColumns) gridfill::fill(g, kRows, kColumns);
}

// Alternating the direction makes every round a full sort of rows in the opposite order.
void sortBy(benchmark::State& state, std::initializer_list<int> columns) {
  ensureFilled();
  kgrid::TKStringGrid& g = shownGrid();
  g.SetAutoSort(false);
  bool ascending = true;
  for (auto _ : state) {
    for (int c = 0; c < g.Columns().Count(); ++c) g.Columns().Items(c).SetSortOrder(kgrid::csNone);
    for (int c : columns) g.VisibleColumn(c).SetSortOrder(ascending ? kgrid::csAsc : kgrid::csDsc);
    g.SortRows();
    ascending = !ascending;
  }
  g.SetAutoSort(true);
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SortByName(benchmark::State& state) { sortBy(state, {3}); }
void BM_SortByDateAndAmount(benchmark::State& state) { sortBy(state, {1, 2}); }

// One page down and a synchronous repaint of the whole list each round.
void BM_ScrollPage(benchmark::State& state) {
  ensureFilled();
  kgrid::TKStringGrid& g = shownGrid();
  g.SetTopRow(1);
  for (auto _ : state) {
    int next = g.TopRow() + std::max(1, g.VisibleRowCount());
    if (next > g.MaxTopRow()) next = 1;
    g.SetTopRow(next);
    g.viewport()->repaint();
  }
  state.counters["rows_per_page"] = g.VisibleRowCount();
}

BENCHMARK(BM_FillRegisterList)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_SortByDateAndAmount)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);

}  // namespace

QT_BENCHMARK_MAIN()
