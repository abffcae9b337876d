#pragma once
// The grid's own message texts. They are English, as the control always had them.
namespace kgrid::KConsts {

inline constexpr const char* SWrongColIndex = "Wrong column index";          // resource 65268
inline constexpr const char* SWrongRowIndex = "Wrong row index";             // resource 65269
inline constexpr const char* SColumnNameExists = "Column name \"%s\" already exists";  // 65270

}  // namespace kgrid::KConsts
