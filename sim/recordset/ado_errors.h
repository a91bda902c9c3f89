// ADO's run-time errors as the in-memory recordset raises them (same numbers and texts).
#pragma once

#include <string_view>

#include "host/error.h"

namespace zq::sim {

[[noreturn]] void RaiseBofEof();                              // 3021
[[noreturn]] void RaiseArgumentsWrong(std::string_view why);  // 3001
[[noreturn]] void RaiseItemNotFound(std::string_view name);   // 3265
[[noreturn]] void RaiseNotAllowed(std::string_view why);      // 3219
[[noreturn]] void RaiseClosed();                              // 3704

}  // namespace zq::sim
