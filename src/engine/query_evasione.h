// The fulfilment query: every line of a document beside what the view VFW_SELDOC reports
// delivered for it. Applying a state to lines and confirming a line cancellation send the
// same text, each fragment followed by a carriage return.
#pragma once

#include <string>

#include "host/variant.h"

namespace zq::plugin {

std::string QueryEvasioneDocumento(const Variant& ditta, const Variant& numreg);

}  // namespace zq::plugin
