#include "grid/kerrors.h"

#include "grid/kconsts.h"
#include "platform/cp1250.h"

namespace kgrid {

void throwWrongColIndex() { throw EKGridError(KConsts::SWrongColIndex); }
void throwWrongRowIndex() { throw EKGridError(KConsts::SWrongRowIndex); }

void throwColumnNameExists(const std::string& name) {
  std::string text = KConsts::SColumnNameExists;
  text.replace(text.find("%s"), 2, cp1250::toQ(name).toStdString());
  throw EKGridColumnsError(text);
}

}  // namespace kgrid
