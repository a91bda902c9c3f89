#include "host/variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "host/error.h"

namespace zq {

namespace {

constexpr const char* kSource = "Variant";

// OLE dates cover 1 Jan 100 to 31 Dec 9999.
constexpr double kMinOleDate = -657434.0;
constexpr double kMaxOleDate = 2958466.0;  // exclusive: midnight after 31 Dec 9999

[[noreturn]] void RaiseTypeMismatch() {
    Raise(err::TypeMismatch, kSource, "Type mismatch");
}
[[noreturn]] void RaiseInvalidUseOfNull() {
    Raise(err::InvalidUseOfNull, kSource, "Invalid use of Null");
}
[[noreturn]] void RaiseOverflow() {
    Raise(err::Overflow, kSource, "Overflow");
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number as the host reads it from text: blanks around it, an optional sign,
// digits with an optional decimal separator and an optional exponent. The host works in an
// Italian locale: the separator is "," and "." is taken as one too ("1,5" and "1.5" are
// both one and a half); there is no thousands separator. Returns nothing when the text is
// not a number; raises Overflow when it is one too large for a double.
std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Check the shape first: from_chars would accept forms the host does not ("inf", "nan").
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    const std::size_t separatore = i;
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;

    // strtod wants a terminated buffer; it reports ERANGE for overflow and for underflow.
    std::string buffer(s);
    if (separatore < buffer.size() && buffer[separatore] == ',') buffer[separatore] = '.';
    errno = 0;
    double value = std::strtod(buffer.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(value)) RaiseOverflow();
    return negative ? -value : value;
}

// Round half to even, as the host's CLng and CInt do.
double RoundHalfEven(double d) {
    double floor = std::floor(d);
    double diff = d - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <class Int>
Int RoundToInt(double d) {
    if (std::isnan(d)) RaiseOverflow();
    double r = RoundHalfEven(d);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        RaiseOverflow();
    return static_cast<Int>(r);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Civil date of a day count from 1 Jan 1970 (proleptic Gregorian calendar).
void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

// OLE dates: the whole part counts days from 30 Dec 1899 (negative before it), the
// fraction is the time of day whatever the sign. The text is ISO-like, as readable and
// unambiguous in traces as in SQL: "2026-12-05", "2026-12-05 14:30:00", and "14:30:00" for
// a time without date (day 0), as the host also omits the date then.
std::string FormatOleDate(double ole) {
    double whole = std::trunc(ole);
    long long day = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(ole - whole) * 86400.0);
    if (seconds >= 86400) {  // rounding reached the next midnight
        seconds -= 86400;
        day += 1;
    }
    char time[32];
    std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    if (day == 0 && seconds != 0) return time;
    int y;
    unsigned m, d;
    CivilFromDays(day - 25569, y, m, d);  // 30 Dec 1899 is 25569 days before 1 Jan 1970
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02u-%02u", y, m, d);
    return seconds == 0 ? std::string(date) : std::string(date) + " " + time;
}

}  // namespace

std::string FormatDouble(double d) {
    if (std::isnan(d)) return "-1.#IND";
    if (std::isinf(d)) return d < 0 ? "-1.#INF" : "1.#INF";
    if (d == 0) return "0";  // also -0
    // Whole numbers of up to 15 digits print as they are: line numbers, ids, quantities.
    if (std::abs(d) < 1e15 && d == std::trunc(d)) return std::to_string(static_cast<long long>(d));

    // Round to 15 significant digits first: the rounded exponent decides the form.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", d);  // "-d.dddddddddddddde+XX"
    std::string_view s(buf);
    bool negative = s.front() == '-';
    if (negative) s.remove_prefix(1);
    std::size_t ePos = s.find('e');
    std::string digits;
    digits += s[0];
    digits += s.substr(2, ePos - 2);
    int exponent = std::atoi(std::string(s.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + exp;
    }
    if (exponent < 0) {
        return out + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits)
        return out + digits + std::string(intDigits - digits.size(), '0');
    return out + digits.substr(0, intDigits) + "." + digits.substr(intDigits);
}

Variant Variant::Null() {
    Variant v;
    v.v_ = NullTag{};
    return v;
}

Variant Variant::Bool(bool b) {
    Variant v;
    v.v_ = BoolV{static_cast<std::int16_t>(b ? -1 : 0)};
    return v;
}

Variant Variant::Int16(std::int16_t i) {
    Variant v;
    v.v_ = Int16V{i};
    return v;
}

Variant Variant::Int32(std::int32_t i) {
    Variant v;
    v.v_ = Int32V{i};
    return v;
}

Variant Variant::Date(double oleDate) {
    if (!(oleDate >= kMinOleDate && oleDate < kMaxOleDate)) RaiseOverflow();
    Variant v;
    v.v_ = DateV{oleDate};
    return v;
}

VarType Variant::Type() const {
    struct {
        VarType operator()(std::monostate) const { return VarType::Empty; }
        VarType operator()(NullTag) const { return VarType::Null; }
        VarType operator()(Int16V) const { return VarType::Integer; }
        VarType operator()(Int32V) const { return VarType::Long; }
        VarType operator()(double) const { return VarType::Double; }
        VarType operator()(DateV) const { return VarType::Date; }
        VarType operator()(const Str&) const { return VarType::String; }
        VarType operator()(const ObjectPtr&) const { return VarType::Object; }
        VarType operator()(BoolV) const { return VarType::Boolean; }
        VarType operator()(const VarArrayPtr&) const { return VarType::Array; }
    } visitor;
    return std::visit(visitor, v_);
}

bool Variant::IsBool() const {
    return std::holds_alternative<BoolV>(v_);
}

bool Variant::IsNumeric() const {
    switch (Type()) {
        case VarType::Empty:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Boolean:
            return true;
        case VarType::String:
            try {
                return ParseNumber(RawString()).has_value();
            } catch (const HostError&) {
                return true;  // a number, only too large for a double
            }
        default:
            return false;
    }
}

std::string Variant::ToString() const {
    switch (Type()) {
        case VarType::Empty:
            return "";
        case VarType::Null:
            RaiseInvalidUseOfNull();
        case VarType::Integer:
            return std::to_string(std::get<Int16V>(v_).i);
        case VarType::Long:
            return std::to_string(std::get<Int32V>(v_).i);
        case VarType::Double:
            return FormatDouble(std::get<double>(v_));
        case VarType::Date:
            return FormatOleDate(std::get<DateV>(v_).d);
        case VarType::String:
            return RawString();
        case VarType::Boolean:
            return std::get<BoolV>(v_).b ? "True" : "False";
        default:
            RaiseTypeMismatch();  // objects and arrays have no text form
    }
}

double Variant::ToDouble() const {
    switch (Type()) {
        case VarType::Empty:
            return 0;
        case VarType::Null:
            RaiseInvalidUseOfNull();
        case VarType::Integer:
            return std::get<Int16V>(v_).i;
        case VarType::Long:
            return std::get<Int32V>(v_).i;
        case VarType::Double:
            return std::get<double>(v_);
        case VarType::Date:
            return std::get<DateV>(v_).d;
        case VarType::Boolean:
            return std::get<BoolV>(v_).b;
        case VarType::String: {
            std::optional<double> d = ParseNumber(RawString());
            if (!d) RaiseTypeMismatch();
            return *d;
        }
        default:
            RaiseTypeMismatch();
    }
}

std::int32_t Variant::ToLong() const {
    if (auto* i = std::get_if<Int32V>(&v_)) return i->i;
    return RoundToInt<std::int32_t>(ToDouble());
}

std::int16_t Variant::ToInt() const {
    if (auto* i = std::get_if<Int16V>(&v_)) return i->i;
    return RoundToInt<std::int16_t>(ToDouble());
}

bool Variant::ToBool() const {
    if (auto* b = std::get_if<BoolV>(&v_)) return b->b != 0;
    if (auto* s = std::get_if<Str>(&v_)) {
        std::string_view t = TrimBlanks(s->s);
        if (EqualsNoCase(t, "True")) return true;
        if (EqualsNoCase(t, "False")) return false;
    }
    return ToDouble() != 0;
}

ObjectPtr Variant::ToObject() const {
    if (IsEmpty() || IsNull()) return nullptr;
    if (auto* o = std::get_if<ObjectPtr>(&v_)) return *o;
    RaiseTypeMismatch();
}

VarArrayPtr Variant::ToArray() const {
    if (auto* a = std::get_if<VarArrayPtr>(&v_)) return *a;
    RaiseTypeMismatch();
}

std::string Variant::Describe() const {
    switch (Type()) {
        case VarType::Empty:
            return "Empty";
        case VarType::Null:
            return "Null";
        case VarType::Object:
            return std::get<ObjectPtr>(v_) ? "<Object>" : "Nothing";
        case VarType::Array:
            return "<Array>";
        case VarType::String:
            return "\"" + RawString() + "\"";
        default:
            return ToString();  // numbers, Booleans and dates always have a text form
    }
}

bool Variant::SameAs(const Variant& other) const {
    return v_ == other.v_;
}

namespace {

enum class Kind { Null, Empty, Number, Text, Other };

Kind KindOf(const Variant& v) {
    switch (v.Type()) {
        case VarType::Null:
            return Kind::Null;
        case VarType::Empty:
            return Kind::Empty;
        case VarType::String:
            return Kind::Text;
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Date:
        case VarType::Boolean:
            return Kind::Number;
        default:
            return Kind::Other;
    }
}

CompareResult CompareNumbers(double a, double b) {
    if (a < b) return CompareResult::Less;
    if (a > b) return CompareResult::Greater;
    return CompareResult::Equal;
}

CompareResult CompareTexts(const std::string& a, const std::string& b) {
    int c = a.compare(b);  // byte order: the host's binary comparison
    return c < 0 ? CompareResult::Less : c > 0 ? CompareResult::Greater : CompareResult::Equal;
}

}  // namespace

CompareResult Compare(const Variant& a, const Variant& b) {
    Kind ka = KindOf(a);
    Kind kb = KindOf(b);
    if (ka == Kind::Other || kb == Kind::Other) RaiseTypeMismatch();
    if (ka == Kind::Null || kb == Kind::Null) return CompareResult::Null;
    if (ka == Kind::Text && kb == Kind::Text) return CompareTexts(a.RawString(), b.RawString());
    // Empty takes the form of the other side: "" against a text, 0 otherwise.
    if (ka == Kind::Empty && kb == Kind::Text) return CompareTexts("", b.RawString());
    if (kb == Kind::Empty && ka == Kind::Text) return CompareTexts(a.RawString(), "");
    if (ka == Kind::Text || kb == Kind::Text) {
        // One number, one text: numerically when the text reads as a number.
        const Variant& text = ka == Kind::Text ? a : b;
        if (!text.IsNumeric())
            return ka == Kind::Text ? CompareResult::Greater : CompareResult::Less;
    }
    return CompareNumbers(a.ToDouble(), b.ToDouble());
}

bool VarEq(const Variant& a, const Variant& b) {
    return Compare(a, b) == CompareResult::Equal;
}

bool VarNe(const Variant& a, const Variant& b) {
    CompareResult r = Compare(a, b);
    return r == CompareResult::Less || r == CompareResult::Greater;
}

VarArray::VarArray(int lower1, int upper1, int lower2, int upper2)
    : l1_(lower1), u1_(upper1), l2_(lower2), u2_(upper2) {
    if (upper1 < lower1 || upper2 < lower2)
        Raise(err::SubscriptOutOfRange, "VarArray", "Subscript out of range");
    items_.resize(static_cast<std::size_t>(upper1 - lower1 + 1) *
                  static_cast<std::size_t>(upper2 - lower2 + 1));
}

int VarArray::LBound(int dim) const {
    if (dim == 1) return l1_;
    if (dim == 2) return l2_;
    Raise(err::SubscriptOutOfRange, "VarArray", "Subscript out of range");
}

int VarArray::UBound(int dim) const {
    if (dim == 1) return u1_;
    if (dim == 2) return u2_;
    Raise(err::SubscriptOutOfRange, "VarArray", "Subscript out of range");
}

const Variant& VarArray::At(int i, int j) const {
    if (i < l1_ || i > u1_ || j < l2_ || j > u2_)
        Raise(err::SubscriptOutOfRange, "VarArray", "Subscript out of range");
    std::size_t columns = static_cast<std::size_t>(u2_ - l2_ + 1);
    return items_[static_cast<std::size_t>(i - l1_) * columns + static_cast<std::size_t>(j - l2_)];
}

Variant& VarArray::At(int i, int j) {
    return const_cast<Variant&>(static_cast<const VarArray&>(*this).At(i, j));
}

}  // namespace zq
