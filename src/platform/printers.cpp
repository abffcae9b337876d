#include "platform/printers.h"

#include <QPrinterInfo>

namespace platform {

QStringList SystemPrinters::names() const { return QPrinterInfo::availablePrinterNames(); }

}  // namespace platform
