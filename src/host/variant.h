// The host's value type: what a VB-style host passes around as a Variant.
//
// Kinds: Empty, Null, 16-bit Boolean (True is -1), 16-bit and 32-bit integers, double,
// text, date (a double counting days from 30 Dec 1899, as OLE dates do), a counted object
// reference and a two-dimensional array of values. Conversions follow the host language:
// CStr, CDbl, CLng (round half to even, error 6 on overflow), CInt, CBool, and the
// comparison rules of its `=` and `<>` operators.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zq {

class Object;
using ObjectPtr = std::shared_ptr<Object>;
class VarArray;
using VarArrayPtr = std::shared_ptr<VarArray>;

// Matches the VARTYPE numbers, so that a COM binding can map them one to one.
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,  // 16-bit
    Long = 3,     // 32-bit
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Boolean = 11,
    Array = 0x200C,  // array of Variant
};

class Variant {
  public:
    Variant() = default;  // Empty
    Variant(double d) : v_(d) {}
    Variant(std::string s) : v_(Str{std::move(s)}) {}
    Variant(const char* s) : v_(Str{std::string(s)}) {}
    Variant(std::string_view s) : v_(Str{std::string(s)}) {}
    Variant(ObjectPtr o) : v_(std::move(o)) {}
    Variant(VarArrayPtr a) : v_(std::move(a)) {}
    // Integers are deliberately not implicit: say which width you mean.
    Variant(int) = delete;
    Variant(bool) = delete;

    static Variant Empty() { return Variant(); }
    static Variant Null();
    static Variant Bool(bool b);
    static Variant Int16(std::int16_t i);
    static Variant Int32(std::int32_t i);
    static Variant Date(double oleDate);  // 6 outside the years 100 to 9999
    static Variant Text(std::string s) { return Variant(std::move(s)); }

    VarType Type() const;
    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsNull() const { return std::holds_alternative<NullTag>(v_); }
    bool IsString() const { return std::holds_alternative<Str>(v_); }
    bool IsObject() const { return std::holds_alternative<ObjectPtr>(v_); }
    bool IsArray() const { return std::holds_alternative<VarArrayPtr>(v_); }
    bool IsBool() const;
    // The host's IsNumeric: numbers, Booleans and Empty are; Null, dates, objects and arrays
    // are not; a text is when it reads as a number (see ToDouble).
    bool IsNumeric() const;

    // Conversions with the host's rules; each raises HostError on failure
    // (13 type mismatch, 94 invalid use of Null, 6 overflow). Objects and arrays have no
    // text or number form (13).
    // CStr; Empty gives "", True "True", numbers as FormatDouble, dates "yyyy-mm-dd",
    // "yyyy-mm-dd hh:mm:ss", or "hh:mm:ss" for a time on day 0.
    std::string ToString() const;
    // CDbl; Empty gives 0. A text reads as a number with blanks around it allowed, an
    // optional sign, "." as decimal point and an optional exponent ("1E+16"); anything
    // else is 13, a number beyond the double range 6.
    double ToDouble() const;
    std::int32_t ToLong() const;  // CLng: round half to even
    std::int16_t ToInt() const;   // CInt: round half to even
    bool ToBool() const;          // CBool; texts "True"/"False" in any case, or numeric
    ObjectPtr ToObject() const;   // Empty and Null give a null reference; other kinds: 13
    VarArrayPtr ToArray() const;  // 13 unless an array

    // Raw access, for code that has checked Type() first.
    double RawDouble() const { return std::get<double>(v_); }
    const std::string& RawString() const { return std::get<Str>(v_).s; }

    // Text form for traces and test output, never raises: "Empty", "Null", "Nothing",
    // "<Object>", "<Array>", texts in double quotes, anything else as CStr.
    std::string Describe() const;

    // Identity: same kind and same value (objects: same reference). Not the host's `=`.
    bool SameAs(const Variant& other) const;

  private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct Str {
        std::string s;
        bool operator==(const Str&) const = default;
    };
    struct Int16V {
        std::int16_t i;
        bool operator==(const Int16V&) const = default;
    };
    struct Int32V {
        std::int32_t i;
        bool operator==(const Int32V&) const = default;
    };
    struct BoolV {
        std::int16_t b;  // 0 or -1
        bool operator==(const BoolV&) const = default;
    };
    struct DateV {
        double d;
        bool operator==(const DateV&) const = default;
    };
    std::variant<std::monostate, NullTag, Int16V, Int32V, double, DateV, Str, ObjectPtr, BoolV,
                 VarArrayPtr>
        v_;
};

// Result of the host's comparison operators: Null when either side is Null.
enum class CompareResult { Less, Equal, Greater, Null };

// The host's comparison: numbers numerically; texts by binary (case-sensitive) order;
// a number against a text that looks numeric compares numerically, otherwise the number
// is less; Empty counts as 0 against numbers and "" against texts; Booleans are -1/0.
// Objects cannot be compared (error 13).
CompareResult Compare(const Variant& a, const Variant& b);
// `a = b` and `a <> b` as a condition: a Null result counts as False for both.
bool VarEq(const Variant& a, const Variant& b);
bool VarNe(const Variant& a, const Variant& b);

// A two-dimensional array with explicit bounds, as the look-up column definitions need.
class VarArray {
  public:
    VarArray(int lower1, int upper1, int lower2, int upper2);
    int LBound(int dim) const;  // dim 1 or 2
    int UBound(int dim) const;
    Variant& At(int i, int j);  // error 9 (subscript out of range) outside the bounds
    const Variant& At(int i, int j) const;

  private:
    int l1_, u1_, l2_, u2_;
    std::vector<Variant> items_;
};

// Text form of a double as the host writes it (CStr): up to 15 significant digits,
// no trailing zeros, "." as the decimal separator, exponent form outside 1e-5 .. 1e15.
std::string FormatDouble(double d);

}  // namespace zq
