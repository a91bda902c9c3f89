// The result type of the host interface methods: the COM-style result of the error
// policy (success, or a failure carrying number, source and description).
#pragma once

#include "host/policy.h"

namespace zq {

using HResult = ComResult;

}  // namespace zq
