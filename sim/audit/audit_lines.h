// The audit's reading of one document's lines, and the rules that judge them. Internal to
// sim/audit/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/audit/audit.h"

namespace zq::sim::audit {

// A quantity column as stored: none (Null), a finite number not below zero, or something
// no quantity may be (negative, infinite, a text).
struct Quantity {
    std::optional<double> value;  // set when the column holds a number
    std::string invalid;          // why it is no quantity; empty when it is one
    double Or0() const { return value.value_or(0.0); }
};

struct Line {
    std::int32_t progRiga = 0;
    std::string guid;  // normalised: no braces, upper case
    Quantity qta1, qta2;
    std::string progPadre;  // the group number as text, "" for Null
    bool hasOrd = false, hasVert = false;
    std::optional<double> flag;  // DO31_FLGNONPIUEV; none when Null or no DO31 row
    Quantity qtaOrig, qtaAnnullo;
    std::string master, detail;  // normalised link GUIDs, "" for Null
    std::string states;          // the line's states in the flow-state store, "" for none
    bool inCancelledState = false;

    bool IsCancellation() const { return !master.empty() && master != guid; }
    bool ClaimsMaster() const { return !master.empty() && master == guid; }
    bool Flagged() const { return flag && *flag == 1; }
    bool QuantitiesValid() const {
        return qta1.invalid.empty() && qtaOrig.invalid.empty() && qtaAnnullo.invalid.empty();
    }
};

// What the rules need to know of a document besides its lines.
struct DocumentFacts {
    std::int32_t ditta = 0, numreg = 0;
    std::optional<std::int32_t> statoAnnulloRighe;  // none: not configured
    bool headerCancelled = false;                   // the header is in the cancelled state
};

std::vector<Line> LinesOf(SqliteConnection& conn, const DocumentFacts& doc);

// Links, groups and quantities of the pairs; quantities of every order line.
void CheckPairs(const std::vector<Line>& lines, std::int32_t numreg, std::vector<Finding>& out);
// Flags and flow states of cancellation lines and of lines cancelled as a whole.
void CheckFlagsAndStates(const std::vector<Line>& lines, const DocumentFacts& doc,
                         std::vector<Finding>& out);

// Text of a number for findings: 15 significant digits, no trailing zeros.
std::string Num(double d);

}  // namespace zq::sim::audit
