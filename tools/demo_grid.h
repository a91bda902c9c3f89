// The size grid of the demo: the company's variant dimensions (which make the grid's rows
// and columns, where each segment starts in a variant code) and the order's size family
// as the grid shows it, read from the host database.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/db/sqlite_connection.h"
#include "tools/json_out.h"

namespace zq::tool {

struct SizeGridReport {
    struct Dimension {
        std::string code, description;
        std::int32_t start = 0, size = 0, indGriglia = 0, indGenGridDoc = 0;
    };
    struct Line {
        std::int32_t progRiga = 0;
        std::string article, option, season;
        double qta1 = 0;
    };
    std::vector<Dimension> dimensions;  // in code order
    std::int32_t progPadre = 0;         // the family's group (0: the order has none)
    std::vector<Line> family;
};

// The first line group of the order is its size family.
SizeGridReport ReadSizeGrid(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg);
void PrintSizeGrid(std::ostream& out, const SizeGridReport& r, std::int32_t ditta,
                   std::int32_t numreg);
Json SizeGridJson(const SizeGridReport& r);

}  // namespace zq::tool
