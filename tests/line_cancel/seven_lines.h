// The order every line-cancellation test starts from: seven lines, no group numbers, line 2
// partly delivered, opened as a user opens it (header form, body form, line 1).
//   1 ART-A 10 x 5   2 ART-B 20 x 2.5 (8 delivered)   3 ART-C 6 x 4   4 ART-D 4 x 10
//   5 ART-E 5 x 2    6 ART-F 5 x 3                    7 ART-G 5 x 1
// Besides the default reason "CLI" the company has "FOR", whose description has blanks
// around it.
#pragma once

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {

inline constexpr char kTitolo[] = "Stato documento";

struct SevenLinesOptions {
    bool defaultReason = true;  // "CLI" is the default cancellation reason
    std::int16_t gridMode = 0;
    bool lotRow = false;  // line 6 carries one lot row of its whole quantity
};

inline SessionOptions SevenLines(SevenLinesOptions o = {}) {
    SessionOptions s;
    s.reasons = {{"CLI", "Richiesta del cliente", o.defaultReason},
                 {"FOR", "  Merce non disponibile  "}};
    s.gridMode = o.gridMode;
    s.line = 1;
    s.lines = [lotRow = o.lotRow](sim::HostDbBuilder& b) {
        b.Riga(1, "ART-A", 10, 5)
            .Riga(2, "ART-B", 20, 2.5)
            .Consegnato(8)
            .Riga(3, "ART-C", 6, 4)
            .Riga(4, "ART-D", 4, 10)
            .Riga(5, "ART-E", 5, 2)
            .Riga(6, "ART-F", 5, 3);
        if (lotRow) b.Lotto(1, "L2026A", 5);
        b.Riga(7, "ART-G", 5, 1);
    };
    return s;
}

}  // namespace zq::test
