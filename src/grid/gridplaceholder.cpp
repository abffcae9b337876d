// Keeps the grid library non-empty until its control lands.
namespace zelt_grid_detail { int placeholder = 0; }
