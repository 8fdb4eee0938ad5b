#pragma once

#include <string>
#include <vector>

#include "core/call_list_row.h"

namespace kw {

// The rows as a file for a German spreadsheet: UTF-8 with BOM, ";" between cells, CR LF after
// each line, the column names first. Caller texts are forged network data, so a cell that a
// spreadsheet would read as a formula (starting with =, +, -, @, tab or CR) gets a leading "'",
// and cells with ";", quotes or line breaks are quoted with their quotes doubled.
std::string CallListCsv(const std::vector<CallListRow>& rows);

}  // namespace kw
