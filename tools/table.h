// Aligned text tables for the terminal: a header row, a rule, then the rows, each column
// as wide as its widest cell.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/variant.h"

namespace zq::tool {

struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // Columns whose cells are right-aligned (numbers).
    std::vector<bool> rightAligned;
};

void PrintTable(std::ostream& out, const TextTable& table, const std::string& indent = "  ");

// A value as a table cell: Null as "Null", Empty as "", numbers without trailing zeros,
// texts cut at `width` characters.
std::string Cell(const Variant& v, std::size_t width = 40);

}  // namespace zq::tool
