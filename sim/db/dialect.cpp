#include "sim/db/dialect.h"

#include <cctype>
#include <cstdlib>
#include <regex>

#include "host/error.h"

namespace zq::sim {
namespace {

constexpr std::string_view kSource = "T-SQL dialect";
constexpr char kOpen = '\x01';
constexpr char kClose = '\x02';

[[noreturn]] void Fail(const std::string& what) {
    Raise(err::AdoProviderError, std::string(kSource), what);
}

bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#' || c == '@' ||
           c == '$';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The pieces set aside while the rules run.
enum class PieceKind { String, QuotedIdent, BracketIdent, Comment };
struct Piece {
    PieceKind kind;
    std::string original;
    std::string content;  // literal value / identifier name
};

struct Masked {
    std::string text;
    std::vector<Piece> pieces;
};

std::string Placeholder(size_t index) {
    return std::string(1, kOpen) + std::to_string(index) + std::string(1, kClose);
}

// Reads `close`-terminated text where a doubled `close` stands for one.
size_t ScanDoubled(std::string_view s, size_t start, char close, std::string& content) {
    size_t i = start;
    while (i < s.size()) {
        if (s[i] == close) {
            if (i + 1 < s.size() && s[i + 1] == close) {
                content += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        content += s[i++];
    }
    Fail("Unclosed quotation mark after the character string '" + content + "'.");
}

Masked Mask(std::string_view s) {
    Masked m;
    size_t i = 0;
    auto add = [&](PieceKind kind, std::string original, std::string content) {
        m.text += Placeholder(m.pieces.size());
        m.pieces.push_back({kind, std::move(original), std::move(content)});
    };
    while (i < s.size()) {
        char c = s[i];
        bool nPrefix = (c == 'N' || c == 'n') && i + 1 < s.size() && s[i + 1] == '\'' &&
                       (i == 0 || !IsIdentChar(s[i - 1]));
        if (c == '\'' || nPrefix) {
            size_t start = i + (nPrefix ? 2 : 1);
            std::string content;
            size_t end = ScanDoubled(s, start, '\'', content);
            add(PieceKind::String, std::string(s.substr(i, end - i)), std::move(content));
            i = end;
        } else if (c == '"') {
            std::string content;
            size_t end = ScanDoubled(s, i + 1, '"', content);
            add(PieceKind::QuotedIdent, std::string(s.substr(i, end - i)), std::move(content));
            i = end;
        } else if (c == '[') {
            std::string content;
            size_t end = ScanDoubled(s, i + 1, ']', content);
            add(PieceKind::BracketIdent, std::string(s.substr(i, end - i)), std::move(content));
            i = end;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            size_t end = s.find_first_of("\r\n", i);
            if (end == std::string_view::npos) end = s.size();
            add(PieceKind::Comment, std::string(s.substr(i, end - i)), "");
            i = end;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            size_t end = s.find("*/", i + 2);
            if (end == std::string_view::npos) Fail("Missing end comment mark '*/'.");
            add(PieceKind::Comment, std::string(s.substr(i, end + 2 - i)), "");
            i = end + 2;
        } else if (c == kOpen || c == kClose) {
            // The two bytes that stand for the pieces set aside: one typed outside a literal
            // would be read as a piece. SQL Server refuses such a character there as well.
            Fail("Incorrect syntax near '" + std::string(1, c) + "'.");
        } else {
            m.text += c;
            ++i;
        }
    }
    return m;
}

// Index of the placeholder starting at `pos`, or -1.
long PlaceholderAt(std::string_view s, size_t pos, size_t* end) {
    if (pos >= s.size() || s[pos] != kOpen) return -1;
    size_t close = s.find(kClose, pos);
    *end = close + 1;
    return std::strtol(std::string(s.substr(pos + 1, close - pos - 1)).c_str(), nullptr, 10);
}

std::string QuoteIdent(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Unmask(std::string_view s, const std::vector<Piece>& pieces) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        size_t end = 0;
        long idx = PlaceholderAt(s, i, &end);
        if (idx < 0) {
            out += s[i++];
            continue;
        }
        const Piece& p = pieces[static_cast<size_t>(idx)];
        switch (p.kind) {
            case PieceKind::String: {
                out += '\'';
                for (char c : p.content) {
                    if (c == '\'') out += '\'';
                    out += c;
                }
                out += '\'';
                break;
            }
            case PieceKind::BracketIdent:
                out += QuoteIdent(p.content);
                break;
            case PieceKind::QuotedIdent:
            case PieceKind::Comment:
                out += p.original;
                break;
        }
        i = end;
    }
    return out;
}

std::string Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

// Name of a table inside OBJECT_ID's text: "TEMPDB.DBO.x", "tempdb..x", "dbo.x", "x".
std::string ObjectIdTarget(std::string_view text) {
    std::string s(text);
    auto dropPrefix = [&s](std::string_view p) {
        if (s.size() >= p.size() && EqualsNoCase(std::string_view(s).substr(0, p.size()), p)) {
            s.erase(0, p.size());
            return true;
        }
        return false;
    };
    if (dropPrefix("tempdb.")) {
        if (!dropPrefix("dbo.")) dropPrefix(".");
    } else {
        dropPrefix("dbo.");
    }
    return s;
}

// Rule 3: the drop guard of temporary tables.
std::string RewriteDropGuards(const std::string& text, const std::vector<Piece>& pieces) {
    static const std::regex guard(
        R"(\bIF\s+(NOT\s+OBJECT_ID\s*\(\s*\x01(\d+)\x02\s*\)\s+IS\s+NULL|OBJECT_ID\s*\(\s*\x01(\d+)\x02\s*\)\s+IS\s+NOT\s+NULL)\s+DROP\s+TABLE\s+([#\w.@$]+))",
        std::regex::icase | std::regex::ECMAScript);
    std::string out;
    auto begin = text.cbegin();
    std::smatch m;
    while (std::regex_search(begin, text.cend(), m, guard)) {
        std::string idx = m[2].matched ? m[2].str() : m[3].str();
        const Piece& lit = pieces[std::stoul(idx)];
        std::string dropped = m[4].str();
        if (lit.kind != PieceKind::String || !EqualsNoCase(ObjectIdTarget(lit.content), dropped))
            Fail("The table tested (" + lit.content + ") is not the table dropped (" + dropped +
                 ").");
        out.append(begin, m[0].first);
        out += "DROP TABLE IF EXISTS " + dropped;
        begin = m[0].second;
    }
    out.append(begin, text.cend());
    return out;
}

bool WordAt(std::string_view s, size_t i, std::string_view word) {
    if (i + word.size() > s.size()) return false;
    if (i > 0 && IsIdentChar(s[i - 1])) return false;
    if (i + word.size() < s.size() && IsIdentChar(s[i + word.size()])) return false;
    return EqualsNoCase(s.substr(i, word.size()), word);
}

// Rule 7: a top-level SELECT … INTO t … creates the table from the query.
std::string RewriteSelectInto(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || !WordAt(text, first, "SELECT")) return text;
    int depth = 0;
    for (size_t i = first; i < text.size(); ++i) {
        char c = text[i];
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (depth != 0 || !WordAt(text, i, "INTO")) continue;
        size_t nameBegin = text.find_first_not_of(" \t\r\n", i + 4);
        if (nameBegin == std::string::npos) Fail("Incorrect syntax near 'INTO'.");
        size_t nameEnd = nameBegin;
        if (text[nameBegin] == kOpen) {
            nameEnd = text.find(kClose, nameBegin) + 1;
        } else {
            while (nameEnd < text.size() && (IsIdentChar(text[nameEnd]) || text[nameEnd] == '.'))
                ++nameEnd;
        }
        if (nameEnd == nameBegin) Fail("Incorrect syntax near 'INTO'.");
        std::string name = text.substr(nameBegin, nameEnd - nameBegin);
        // A # table lives with the connection; any other name is a real table.
        std::string create = name[0] == '#' ? "CREATE TEMP TABLE " : "CREATE TABLE ";
        return create + name + " AS " + text.substr(first, i - first) + text.substr(nameEnd);
    }
    return text;
}

// Rule 8: #name becomes a quoted identifier.
std::string QuoteTempNames(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool starts = text[i] == '#' && (i == 0 || !IsIdentChar(text[i - 1])) &&
                      i + 1 < text.size() && IsIdentChar(text[i + 1]);
        if (!starts) {
            out += text[i++];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && IsIdentChar(text[end])) ++end;
        out += QuoteIdent(text.substr(i, end - i));
        i = end;
    }
    return out;
}

Variant ParseArgValue(std::string_view token, const std::vector<Piece>& pieces) {
    std::string t = Trim(token);
    size_t end = 0;
    long idx = PlaceholderAt(t, 0, &end);
    if (idx >= 0 && end == t.size()) {
        const Piece& p = pieces[static_cast<size_t>(idx)];
        if (p.kind == PieceKind::String) return Variant(p.content);
        Fail("Incorrect syntax near '" + p.original + "'.");
    }
    if (EqualsNoCase(t, "NULL")) return Variant::Null();
    char* stop = nullptr;
    double d = std::strtod(t.c_str(), &stop);
    if (t.empty() || stop != t.c_str() + t.size()) Fail("Incorrect syntax near '" + t + "'.");
    if (t.find_first_of(".eE") == std::string::npos && d >= -2147483648.0 && d <= 2147483647.0)
        return Variant::Int32(static_cast<std::int32_t>(d));
    return Variant(d);
}

// Rule 2: EXEC[UTE] name @p=value ,@q=value …
bool ParseExec(const Masked& m, ProcCall& call) {
    static const std::regex head(R"(^\s*EXEC(UTE)?\s+)", std::regex::icase);
    std::smatch h;
    if (!std::regex_search(m.text, h, head)) return false;
    std::string rest = h.suffix().str();
    size_t nameEnd = 0;
    while (nameEnd < rest.size() && !std::isspace(static_cast<unsigned char>(rest[nameEnd])))
        ++nameEnd;
    call.name = Trim(Unmask(rest.substr(0, nameEnd), m.pieces));
    if (call.name.size() > 2 && call.name.front() == '"' && call.name.back() == '"')
        call.name = call.name.substr(1, call.name.size() - 2);
    std::string args = Trim(rest.substr(nameEnd));
    if (!args.empty() && args.back() == ';') args.pop_back();
    if (Trim(args).empty()) return true;
    size_t pos = 0;
    while (pos <= args.size()) {
        size_t comma = args.find(',', pos);
        if (comma == std::string::npos) comma = args.size();
        std::string item = Trim(args.substr(pos, comma - pos));
        if (item.empty()) Fail("Incorrect syntax near ','.");
        ProcArgument a;
        if (item[0] == '@') {
            size_t eq = item.find('=');
            if (eq == std::string::npos) Fail("Incorrect syntax near '" + item + "'.");
            a.name = Trim(item.substr(0, eq));
            a.value = ParseArgValue(item.substr(eq + 1), m.pieces);
        } else {
            a.value = ParseArgValue(item, m.pieces);
        }
        call.args.push_back(std::move(a));
        pos = comma + 1;
    }
    return true;
}

std::string ReplaceAll(const std::string& s, const std::regex& re, const char* with) {
    return std::regex_replace(s, re, with);
}

}  // namespace

RewrittenSql RewriteTsql(std::string_view tsql) {
    RewrittenSql out;
    Masked m = Mask(tsql);  // rule 1
    if (ParseExec(m, out.call)) {
        out.isProcCall = true;
        return out;
    }
    static const std::regex nolock(R"(\bWITH\s*\(\s*NOLOCK\s*\))", std::regex::icase);
    static const std::regex isnull(R"(\bISNULL\s*\()", std::regex::icase);
    static const std::regex clustered(R"(\bCREATE\s+(UNIQUE\s+)?(NON)?CLUSTERED\s+INDEX\b)",
                                      std::regex::icase);
    std::string s = RewriteDropGuards(m.text, m.pieces);  // rule 3
    s = ReplaceAll(s, nolock, "");                        // rule 4
    s = ReplaceAll(s, isnull, "IFNULL(");                 // rule 5
    s = ReplaceAll(s, clustered, "CREATE $1INDEX");       // rule 6
    s = RewriteSelectInto(s);                             // rule 7
    s = QuoteTempNames(s);                                // rule 8
    out.sql = Unmask(s, m.pieces);
    return out;
}

std::string RewriteToSqlite(std::string_view tsql) {
    RewrittenSql r = RewriteTsql(tsql);
    if (r.isProcCall) Fail("A procedure call is not a SQL statement: " + std::string(tsql));
    return r.sql;
}

}  // namespace zq::sim
