// Criteria texts of Filter and Find: parsing into clauses, and matching values against them.
//
// A clause is `Field Operator Value`: operators < > <= >= <> = LIKE; values are texts in
// single quotes (a doubled quote stands for one), dates or texts between '#', numbers
// (sign, decimals, exponent, a leading '$'), TRUE/FALSE, NULL, and a GUID written in braces
// without quotes, which stands for its braced text. Field names compare without regard to
// case; a name with blanks goes in [brackets]; blanks around names and operators are free.
//
// Clauses join with AND and OR, grouped with parentheses. ADO keeps a criteria text as an
// OR of AND-groups: a parenthesised group that contains OR may not be joined to anything
// with AND (error 3001), and a text mixing the two without parentheses reads as that form
// (AND binds first). A field the recordset does not have raises 3265, any other fault in
// the text 3001.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cell_store.h"
#include "host/variant.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

enum class CompareOp { Less, Greater, LessEqual, GreaterEqual, NotEqual, Equal, Like };

// The value side of a clause with both meanings it may carry: a number (numbers, dates,
// texts that read as numbers, TRUE/FALSE) and a text (what stood between the quotes, the
// digits of a number as written, a GUID with its braces). Which one is used depends on
// the kind of the field value it is compared with.
struct Literal {
    bool isNull = false;
    bool hasNumber = false;
    double number = 0;
    std::string text;
};

// LIKE patterns: the wildcard ('*' or '%') may stand at the end, or at both ends.
enum class LikeKind { Exact, Prefix, Contains };

struct Clause {
    int column = -1;
    CompareOp op = CompareOp::Equal;
    Literal value;
    LikeKind like = LikeKind::Exact;  // for Like: value.text holds the pattern, wildcards removed
};

struct Criteria {
    std::vector<std::vector<Clause>> anyOf;  // OR of AND-groups
};

// Field name to column number, -1 when the recordset has no such field.
using FieldLookup = std::function<int(std::string_view)>;

Criteria ParseCriteria(std::string_view text, const FieldLookup& lookup);
// Find takes exactly one clause.
Clause ParseFindCriterion(std::string_view text, const FieldLookup& lookup);

bool Matches(const Clause& clause, const ValueView& value);
bool Matches(const Clause& clause, const Variant& value);
// Whether a row matches; `column(c)` gives the ValueView of the row's column c.
template <class ColumnView>
bool Matches(const Criteria& criteria, const ColumnView& column) {
    for (const auto& group : criteria.anyOf) {
        bool all = true;
        for (const auto& clause : group) {
            if (!Matches(clause, column(clause.column))) {
                all = false;
                break;
            }
        }
        if (all) return true;
    }
    return false;
}

// Texts in criteria compare without regard to the case of ASCII letters, as the client
// cursor engine compares them; other bytes compare by value.
int CompareText(std::string_view a, std::string_view b);
std::string FoldCase(std::string_view s);

// Dates between '#': m/d/y (US order, as ADO reads them) or y-m-d, with an optional time
// h:mm[:ss] [AM|PM]. Returns the OLE date (days from 30 Dec 1899).
std::optional<double> ParseDateLiteral(std::string_view text);

}  // namespace zq::sim
