#include "sim/host/line_amounts.h"

#include <cmath>
#include <string>

namespace zq::sim {

namespace {

double Num(const ado::Recordset& rs, const std::string& name) {
    if (!rs.HasField(name)) return 0;
    Variant v = rs.Get(name);
    if (v.IsNull() || v.IsEmpty()) return 0;
    return v.ToDouble();
}

}  // namespace

double RoundAmount(double v) {
    return std::round(v * 100.0) / 100.0;
}

void RecalculateLineAmounts(ado::Recordset& corpo) {
    const double importo = RoundAmount(Num(corpo, "DO30_QTA1") * Num(corpo, "DO30_PREZZO1"));
    double netto = importo;
    for (int i = 1; i <= 6; ++i)
        netto *= 1.0 - Num(corpo, "DO30_SCPER" + std::to_string(i)) / 100.0;
    for (int i = 1; i <= 2; ++i)
        netto *= 1.0 + Num(corpo, "DO30_MAGPER" + std::to_string(i)) / 100.0;
    netto = netto - Num(corpo, "DO30_SCIMP") + Num(corpo, "DO30_MAGIMP");
    if (corpo.HasField("DO30_IMPORTO")) corpo.Set("DO30_IMPORTO", Variant(importo));
    if (corpo.HasField("DO30_IMPNETSCP")) corpo.Set("DO30_IMPNETSCP", Variant(RoundAmount(netto)));
}

}  // namespace zq::sim
