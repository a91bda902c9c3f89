// The host's global value-conversion functions.
//
// ValoreTesto gives the text the host writes into SQL for a value: numbers bare in the
// host's CStr form ("12", "3.5"); Booleans as 1 and 0; texts exactly as they are, without
// quotes (the caller adds them where its statement needs them); dates as "YYYY-MM-DD",
// with " HH:MM:SS" when they carry a time; Empty and Null as the empty text. An object
// has no text form (error 13).
// ValoreNumero gives the number of a value: numbers and dates as they are, Booleans -1/0,
// a numeric text its number, any other text, Empty and Null 0.
#pragma once

#include "host/regdoc.h"

namespace zq::sim {

class SimFunzioniGlobali : public host::IFunzioniGlobali {
  public:
    std::string ValoreTesto(const Variant& v) const override;
    double ValoreNumero(const Variant& v) const override;
};

}  // namespace zq::sim
