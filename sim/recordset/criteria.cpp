#include "sim/recordset/criteria.h"

#include <charconv>
#include <cstdint>

#include "sim/recordset/ado_errors.h"

namespace zq::sim {

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsWildcard(char c) {
    return c == '*' || c == '%';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Numbers as criteria and the host's CDbl read them: optional sign, digits, decimals,
// exponent. Infinity and NaN spellings are not numbers here.
std::optional<double> ParseNumber(std::string_view s) {
    s = Trim(s);
    if (s.empty()) return std::nullopt;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !((s.front() >= '0' && s.front() <= '9') || s.front() == '.')) {
        return std::nullopt;
    }
    double d = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -d : d;
}

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

unsigned DaysInMonth(std::int64_t y, unsigned m) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

bool ReadUnsigned(std::string_view& s, int& out, int& digits) {
    digits = 0;
    out = 0;
    while (!s.empty() && s.front() >= '0' && s.front() <= '9' && digits < 5) {
        out = out * 10 + (s.front() - '0');
        s.remove_prefix(1);
        ++digits;
    }
    return digits > 0;
}

std::optional<double> ParseTime(std::string_view s) {
    s = Trim(s);
    if (s.empty()) return 0.0;
    int h = 0, mi = 0, sec = 0, n = 0;
    if (!ReadUnsigned(s, h, n) || s.empty() || s.front() != ':') return std::nullopt;
    s.remove_prefix(1);
    if (!ReadUnsigned(s, mi, n)) return std::nullopt;
    if (!s.empty() && s.front() == ':') {
        s.remove_prefix(1);
        if (!ReadUnsigned(s, sec, n)) return std::nullopt;
    }
    s = Trim(s);
    if (!s.empty()) {
        const std::string ampm = FoldCase(s);
        if (ampm != "am" && ampm != "pm") return std::nullopt;
        if (h < 1 || h > 12) return std::nullopt;
        if (ampm == "am" && h == 12) h = 0;
        if (ampm == "pm" && h != 12) h += 12;
    }
    if (h > 23 || mi > 59 || sec > 59) return std::nullopt;
    return (h * 3600.0 + mi * 60.0 + sec) / 86400.0;
}

}  // namespace

std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Fold(c);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(Fold(a[i]));
        const auto cb = static_cast<unsigned char>(Fold(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::optional<double> ParseDateLiteral(std::string_view text) {
    std::string_view s = Trim(text);
    int parts[3] = {0, 0, 0};
    int widths[3] = {0, 0, 0};
    char sep = 0;
    for (int i = 0; i < 3; ++i) {
        if (!ReadUnsigned(s, parts[i], widths[i])) return std::nullopt;
        if (i < 2) {
            if (s.empty() || (s.front() != '/' && s.front() != '-')) return std::nullopt;
            if (sep != 0 && s.front() != sep) return std::nullopt;
            sep = s.front();
            s.remove_prefix(1);
        }
    }
    std::int64_t y = 0;
    int m = 0, d = 0;
    if (widths[0] == 4) {  // y-m-d
        y = parts[0];
        m = parts[1];
        d = parts[2];
    } else {  // m/d/y
        m = parts[0];
        d = parts[1];
        y = parts[2];
        if (widths[2] <= 2) y += y < 30 ? 2000 : 1900;
    }
    if (m < 1 || m > 12 || d < 1 || static_cast<unsigned>(d) > DaysInMonth(y, m)) {
        return std::nullopt;
    }
    if (!s.empty() && !IsBlank(s.front())) return std::nullopt;
    const auto time = ParseTime(s);
    if (!time) return std::nullopt;
    const auto days = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) -
                      DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + *time;
}

namespace {

class Parser {
  public:
    Parser(std::string_view text, const FieldLookup& lookup) : s_(text), lookup_(lookup) {}

    Criteria ParseAll() {
        Criteria c;
        c.anyOf = ParseOr();
        SkipBlanks();
        if (!AtEnd()) Fail("unexpected text");
        return c;
    }

    Clause ParseSingle() {
        Clause c = ParseClause();
        SkipBlanks();
        if (!AtEnd()) Fail("Find takes one criterion");
        return c;
    }

  private:
    using Groups = std::vector<std::vector<Clause>>;

    [[noreturn]] void Fail(std::string_view why) const {
        RaiseArgumentsWrong(std::string(why) + " at position " + std::to_string(i_) + " of \"" +
                            std::string(s_) + "\"");
    }

    bool AtEnd() const { return i_ >= s_.size(); }
    char Peek() const { return AtEnd() ? '\0' : s_[i_]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(s_[i_])) ++i_;
    }

    // A keyword matches without regard to case and must end at a blank, a parenthesis, a
    // quote or the end of the text.
    bool Keyword(std::string_view kw) {
        if (s_.size() - i_ < kw.size()) return false;
        if (CompareText(s_.substr(i_, kw.size()), kw) != 0) return false;
        const std::size_t after = i_ + kw.size();
        if (after < s_.size()) {
            const char c = s_[after];
            if (!IsBlank(c) && c != '(' && c != '\'' && c != '#' && c != '{') return false;
        }
        i_ = after;
        return true;
    }

    Groups ParseOr() {
        Groups all = ParseAnd();
        for (;;) {
            SkipBlanks();
            if (!Keyword("OR")) return all;
            Groups more = ParseAnd();
            for (auto& g : more) all.push_back(std::move(g));
        }
    }

    // The filters a pass sets on every line are mostly one clause: it goes back as it was
    // parsed, without a list of parts to join.
    Groups ParseAnd() {
        Groups first = ParsePrimary();
        SkipBlanks();
        if (!Keyword("AND")) return first;
        std::vector<Groups> parts;
        parts.push_back(std::move(first));
        do {
            parts.push_back(ParsePrimary());
            SkipBlanks();
        } while (Keyword("AND"));
        std::vector<Clause> joined;
        for (auto& p : parts) {
            if (p.size() != 1) Fail("a group joined by OR cannot be joined to a clause with AND");
            for (auto& c : p.front()) joined.push_back(std::move(c));
        }
        return Groups{std::move(joined)};
    }

    Groups ParsePrimary() {
        SkipBlanks();
        if (Peek() == '(') {
            ++i_;
            Groups inner = ParseOr();
            SkipBlanks();
            if (Peek() != ')') Fail("missing ')'");
            ++i_;
            return inner;
        }
        Groups one(1);
        one.front().push_back(ParseClause());
        return one;
    }

    Clause ParseClause() {
        Clause c;
        const std::string_view name = ParseName();
        c.column = lookup_(name);
        if (c.column < 0) RaiseItemNotFound(name);
        SkipBlanks();
        c.op = ParseOperator();
        SkipBlanks();
        c.value = ParseValue();
        if (c.value.isNull && c.op != CompareOp::Equal && c.op != CompareOp::NotEqual) {
            Fail("NULL compares only with = and <>");
        }
        if (c.op == CompareOp::Like) PreparePattern(c);
        return c;
    }

    std::string_view ParseName() {
        SkipBlanks();
        if (Peek() == '[') {
            const std::size_t close = s_.find(']', i_ + 1);
            if (close == std::string_view::npos) Fail("missing ']'");
            const std::string_view name = s_.substr(i_ + 1, close - i_ - 1);
            i_ = close + 1;
            if (name.empty()) Fail("empty field name");
            return name;
        }
        const std::size_t start = i_;
        while (!AtEnd()) {
            const char c = s_[i_];
            if (IsBlank(c) || c == '<' || c == '>' || c == '=' || c == '(' || c == ')' ||
                c == '\'' || c == '#' || c == '{') {
                break;
            }
            ++i_;
        }
        if (i_ == start) Fail("field name expected");
        return s_.substr(start, i_ - start);
    }

    CompareOp ParseOperator() {
        const std::string_view rest = s_.substr(i_);
        auto take = [&](std::size_t n, CompareOp op) {
            i_ += n;
            return op;
        };
        if (rest.starts_with("<=")) return take(2, CompareOp::LessEqual);
        if (rest.starts_with(">=")) return take(2, CompareOp::GreaterEqual);
        if (rest.starts_with("<>")) return take(2, CompareOp::NotEqual);
        if (rest.starts_with("<")) return take(1, CompareOp::Less);
        if (rest.starts_with(">")) return take(1, CompareOp::Greater);
        if (rest.starts_with("=")) return take(1, CompareOp::Equal);
        if (Keyword("LIKE")) return CompareOp::Like;
        Fail("operator expected");
    }

    Literal ParseValue() {
        Literal lit;
        const char c = Peek();
        if (c == '\'') {
            ++i_;
            for (;;) {
                if (AtEnd()) Fail("missing closing quote");
                const char ch = s_[i_++];
                if (ch == '\'') {
                    if (Peek() != '\'') break;
                    ++i_;
                }
                lit.text.push_back(ch);
            }
            if (auto n = ParseNumber(lit.text)) {
                lit.hasNumber = true;
                lit.number = *n;
            }
            return lit;
        }
        if (c == '#' || c == '{') {
            const char close = c == '#' ? '#' : '}';
            const std::size_t end = s_.find(close, i_ + 1);
            if (end == std::string_view::npos) Fail("missing closing delimiter");
            if (c == '#') {
                lit.text = std::string(s_.substr(i_ + 1, end - i_ - 1));
                if (auto d = ParseDateLiteral(lit.text)) {
                    lit.hasNumber = true;
                    lit.number = *d;
                }
            } else {
                lit.text = std::string(s_.substr(i_, end - i_ + 1));  // braces included
            }
            i_ = end + 1;
            return lit;
        }
        const std::size_t start = i_;
        while (!AtEnd() && !IsBlank(s_[i_]) && s_[i_] != ')') ++i_;
        std::string_view token = s_.substr(start, i_ - start);
        if (token.empty()) Fail("value expected");
        if (CompareText(token, "NULL") == 0) {
            lit.isNull = true;
            return lit;
        }
        if (CompareText(token, "TRUE") == 0 || CompareText(token, "FALSE") == 0) {
            lit.hasNumber = true;
            lit.number = CompareText(token, "TRUE") == 0 ? -1 : 0;
            lit.text = CompareText(token, "TRUE") == 0 ? "True" : "False";
            return lit;
        }
        std::string digits(token);
        if (const auto dollar = digits.find('$'); dollar != std::string::npos && dollar <= 1) {
            digits.erase(dollar, 1);
        }
        const auto n = ParseNumber(digits);
        if (!n) Fail("value is not a number, a quoted text, a #date# or a {GUID}");
        lit.hasNumber = true;
        lit.number = *n;
        lit.text = digits;
        return lit;
    }

    void PreparePattern(Clause& c) {
        if (c.value.isNull) Fail("LIKE needs a text");
        std::string p = c.value.text;
        if (p.size() == 1 && IsWildcard(p[0])) {
            c.like = LikeKind::Prefix;
            c.value.text.clear();
            return;
        }
        const bool lead = !p.empty() && IsWildcard(p.front());
        const bool trail = p.size() > 1 && IsWildcard(p.back());
        if (lead && !trail) Fail("LIKE allows a leading wildcard only with a trailing one");
        if (lead) p.erase(0, 1);
        if (trail) p.pop_back();
        for (char ch : p) {
            if (IsWildcard(ch)) Fail("LIKE allows wildcards only at the ends of the pattern");
        }
        c.like = lead ? LikeKind::Contains : (trail ? LikeKind::Prefix : LikeKind::Exact);
        c.value.text = std::move(p);
        c.value.hasNumber = false;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    const FieldLookup& lookup_;
};

// Orders a field value against the literal, or nullopt when the two do not meet (Null,
// objects, a number against a text that is not a number).
std::optional<int> CompareToLiteral(const ValueView& v, const Literal& lit) {
    switch (v.type) {
        case VarType::String:
            return CompareText(v.text, lit.text);
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Date:
        case VarType::Boolean: {
            if (!lit.hasNumber) return std::nullopt;
            return v.number < lit.number ? -1 : (v.number > lit.number ? 1 : 0);
        }
        default:
            return std::nullopt;
    }
}

// The text LIKE reads of a value that is not a text: its CStr.
std::string TextOf(const ValueView& v) {
    switch (v.type) {
        case VarType::Integer:
            return Variant::Int16(static_cast<std::int16_t>(v.number)).ToString();
        case VarType::Long:
            return Variant::Int32(static_cast<std::int32_t>(v.number)).ToString();
        case VarType::Date:
            return Variant::Date(v.number).ToString();
        case VarType::Boolean:
            return Variant::Bool(v.number != 0).ToString();
        default:
            return Variant(v.number).ToString();
    }
}

bool LikeMatches(const Clause& c, const ValueView& v) {
    std::string converted;
    std::string_view text;
    if (v.type == VarType::String) {
        text = v.text;
    } else if (v.type == VarType::Object || v.type == VarType::Array) {
        return false;
    } else {
        converted = TextOf(v);
        text = converted;
    }
    const std::string& pattern = c.value.text;
    switch (c.like) {
        case LikeKind::Exact:
            return CompareText(text, pattern) == 0;
        case LikeKind::Prefix:
            return text.size() >= pattern.size() &&
                   CompareText(text.substr(0, pattern.size()), pattern) == 0;
        case LikeKind::Contains:
            return FoldCase(text).find(FoldCase(pattern)) != std::string::npos;
    }
    return false;
}

}  // namespace

Criteria ParseCriteria(std::string_view text, const FieldLookup& lookup) {
    return Parser(text, lookup).ParseAll();
}

Clause ParseFindCriterion(std::string_view text, const FieldLookup& lookup) {
    return Parser(text, lookup).ParseSingle();
}

bool Matches(const Clause& c, const ValueView& v) {
    const bool valueIsNull = v.type == VarType::Null || v.type == VarType::Empty;
    if (c.value.isNull) return c.op == CompareOp::Equal ? valueIsNull : !valueIsNull;
    if (valueIsNull) return false;
    if (c.op == CompareOp::Like) return LikeMatches(c, v);
    const auto cmp = CompareToLiteral(v, c.value);
    if (!cmp) return false;
    switch (c.op) {
        case CompareOp::Less:
            return *cmp < 0;
        case CompareOp::Greater:
            return *cmp > 0;
        case CompareOp::LessEqual:
            return *cmp <= 0;
        case CompareOp::GreaterEqual:
            return *cmp >= 0;
        case CompareOp::NotEqual:
            return *cmp != 0;
        case CompareOp::Equal:
            return *cmp == 0;
        case CompareOp::Like:
            break;
    }
    return false;
}

bool Matches(const Clause& c, const Variant& v) {
    ValueView view;
    view.type = v.Type();
    if (v.IsString()) {
        view.text = v.RawString();
    } else if (v.IsNumeric() || view.type == VarType::Date) {
        view.number = view.type == VarType::Empty ? 0 : v.ToDouble();
    }
    return Matches(c, view);
}

}  // namespace zq::sim
