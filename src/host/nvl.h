// NvlVar: a value of a field or control with a default for "nothing there".
#pragma once

#include "host/variant.h"

namespace zq {

// Null, Empty, and any value whose text form is empty or only spaces give `defaultValue`;
// any other value comes back unchanged (a number stays a number, " A " keeps its spaces).
// A value without a text form (an object, an array) gives Empty. Never raises.
Variant NvlVar(const Variant& value, const Variant& defaultValue);

}  // namespace zq
