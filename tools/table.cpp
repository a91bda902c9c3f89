#include "tools/table.h"

#include <algorithm>

namespace zq::tool {

void PrintTable(std::ostream& out, const TextTable& table, const std::string& indent) {
    std::vector<std::size_t> width(table.header.size(), 0);
    auto widen = [&width](const std::vector<std::string>& row) {
        for (std::size_t c = 0; c < row.size() && c < width.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    };
    widen(table.header);
    for (const auto& r : table.rows) widen(r);
    auto line = [&](const std::vector<std::string>& row) {
        std::string text = indent;
        for (std::size_t c = 0; c < width.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            const std::string pad(width[c] - std::min(width[c], cell.size()), ' ');
            const bool right = c < table.rightAligned.size() && table.rightAligned[c];
            text += right ? pad + cell : cell + pad;
            if (c + 1 < width.size()) text += "  ";
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out << text << "\n";
    };
    line(table.header);
    std::string rule = indent;
    for (std::size_t c = 0; c < width.size(); ++c)
        rule += std::string(width[c], '-') + (c + 1 < width.size() ? "  " : "");
    while (!rule.empty() && rule.back() == ' ') rule.pop_back();
    out << rule << "\n";
    for (const auto& r : table.rows) line(r);
}

std::string Cell(const Variant& v, std::size_t width) {
    if (v.IsNull()) return "Null";
    if (v.IsEmpty()) return "";
    std::string s = v.IsString() ? v.RawString() : v.ToString();
    if (s.size() > width) s = s.substr(0, width - 3) + "...";
    return s;
}

}  // namespace zq::tool
