#pragma once
// The commands read and write CSV through the shared reader and writer.
#include "platform/Csv.h"

namespace cli {

using csv::CsvLine;
using csv::CsvRow;
using csv::IsHeader;
using csv::ParseCsv;

}  // namespace cli
