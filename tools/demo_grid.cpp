#include "tools/demo_grid.h"

#include "tools/table.h"

namespace zq::tool {

namespace {

std::string Text(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

std::string Role(const SizeGridReport::Dimension& d) {
    if (d.indGriglia == 1) return "rows";
    if (d.indGriglia > 1) return "columns";
    return "-";
}

// The segment of a variant code that belongs to a dimension.
std::string Segment(const std::string& option, const SizeGridReport::Dimension& d) {
    const auto from = static_cast<std::size_t>(d.start - 1);
    return from < option.size() ? option.substr(from, static_cast<std::size_t>(d.size)) : "";
}

}  // namespace

SizeGridReport ReadSizeGrid(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg) {
    SizeGridReport r;
    auto dims = conn.QueryRows(
        "SELECT MG5F_CODICEVAR, MG5F_DESCRIZIONE, MG5F_SIZE, MG5F_INDGRIGLIA, MG5F_INDGENGRIDDOC "
        "FROM MG5F_DIMECONF WHERE MG5F_DITTA_CG18 = ? ORDER BY MG5F_CODICEVAR",
        {Variant::Int32(ditta)});
    std::int32_t start = 1;  // each segment follows those of the smaller codes
    for (const auto& row : dims.rows) {
        SizeGridReport::Dimension d{Text(row[0]),    Text(row[1]),    start,
                                    row[2].ToLong(), row[3].ToLong(), row[4].ToLong()};
        start += d.size;
        r.dimensions.push_back(std::move(d));
    }
    auto group = conn.QueryRows(
        "SELECT MIN(DO30_PROGPADRE) FROM DO30_DOCCORPO WHERE DO30_DITTA_CG18 = ? AND "
        "DO30_NUMREG_CO99 = ? AND DO30_PROGPADRE > 0",
        {Variant::Int32(ditta), Variant::Int32(numreg)});
    if (group.rows.empty() || group.rows[0][0].IsNull()) return r;
    r.progPadre = group.rows[0][0].ToLong();
    auto lines = conn.QueryRows(
        "SELECT DO30_PROGRIGA, DO30_CODART_MG66, DO30_OPZIONE_MG5E, MG5T_CODICE, DO30_QTA1 "
        "FROM DO30_DOCCORPO LEFT JOIN MG5T_STAGIONI ON MG5T_DITTA_CG18 = DO30_DITTA_CG18 AND "
        "MG5T_IDSTAGIONE = DO30_STAGIONE_MG5T WHERE DO30_DITTA_CG18 = ? AND "
        "DO30_NUMREG_CO99 = ? AND DO30_PROGPADRE = ? ORDER BY DO30_PROGRIGA",
        {Variant::Int32(ditta), Variant::Int32(numreg), Variant::Int32(r.progPadre)});
    for (const auto& row : lines.rows)
        r.family.push_back({row[0].ToLong(), Text(row[1]), Text(row[2]), Text(row[3]),
                            row[4].IsNull() ? 0 : row[4].ToDouble()});
    return r;
}

void PrintSizeGrid(std::ostream& out, const SizeGridReport& r, std::int32_t ditta,
                   std::int32_t numreg) {
    out << "\nSize grid of company " << ditta
        << ": a variant code is the segments of its dimensions in code order\n";
    TextTable dims;
    dims.header = {"code", "description", "start", "size", "grid"};
    dims.rightAligned = {false, false, true, true, false};
    for (const auto& d : r.dimensions)
        dims.rows.push_back(
            {d.code, d.description, std::to_string(d.start), std::to_string(d.size), Role(d)});
    PrintTable(out, dims, "  ");
    if (r.family.empty()) {
        out << "Order " << numreg << " has no size family\n";
        return;
    }
    out << "Size family of order " << numreg << " (DO30_PROGPADRE " << r.progPadre
        << "), as the grid shows it:\n";
    TextTable fam;
    fam.header = {"line", "article", "option"};
    std::vector<const SizeGridReport::Dimension*> grid;
    for (const auto& d : r.dimensions)
        if (d.indGriglia != 0) grid.push_back(&d);
    for (const auto* d : grid) fam.header.push_back(d->description);
    fam.header.insert(fam.header.end(), {"season", "qta1"});
    fam.rightAligned.assign(fam.header.size(), false);
    fam.rightAligned.front() = fam.rightAligned.back() = true;
    for (const auto& l : r.family) {
        std::vector<std::string> row{std::to_string(l.progRiga), l.article, l.option};
        for (const auto* d : grid) row.push_back(Segment(l.option, *d));
        row.push_back(l.season);
        row.push_back(Cell(Variant(l.qta1)));
        fam.rows.push_back(std::move(row));
    }
    PrintTable(out, fam, "  ");
}

Json SizeGridJson(const SizeGridReport& r) {
    Json dims = Json::array(), family = Json::array();
    for (const auto& d : r.dimensions)
        dims.push_back({{"MG5F_CODICEVAR", d.code},
                        {"MG5F_DESCRIZIONE", d.description},
                        {"MG5F_START", d.start},
                        {"MG5F_SIZE", d.size},
                        {"MG5F_INDGRIGLIA", d.indGriglia},
                        {"MG5F_INDGENGRIDDOC", d.indGenGridDoc}});
    for (const auto& l : r.family)
        family.push_back({{"DO30_PROGRIGA", l.progRiga},
                          {"DO30_CODART_MG66", l.article},
                          {"DO30_OPZIONE_MG5E", l.option},
                          {"MG5T_CODICE", l.season},
                          {"DO30_QTA1", l.qta1}});
    return {{"dimensions", std::move(dims)},
            {"DO30_PROGPADRE", r.progPadre},
            {"family", std::move(family)}};
}

}  // namespace zq::tool
