// The host's recalculation of a body line's amounts after its quantity changed.
//
//   DO30_IMPORTO    = round2(DO30_QTA1 * DO30_PREZZO1)
//   DO30_IMPNETSCP  = round2(DO30_IMPORTO * (1 - SCPER1/100) * ... * (1 - SCPER6/100)
//                            * (1 + MAGPER1/100) * (1 + MAGPER2/100) - SCIMP + MAGIMP)
//
// Discounts apply in cascade, surcharges after them, then the discount and surcharge
// amounts. A column the recordset lacks, or a Null, counts as 0. Rounding is half away
// from zero to 2 decimals, the precision of the amounts.
#pragma once

#include "data/ado.h"

namespace zq::sim {

// Writes DO30_IMPORTO and DO30_IMPNETSCP of the current row of `corpo` (no Update).
void RecalculateLineAmounts(ado::Recordset& corpo);

double RoundAmount(double v);

}  // namespace zq::sim
