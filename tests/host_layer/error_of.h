// The host error number a call raised, for tests that check which error a rule gives.
#pragma once

#include <cstdint>

#include "host/error.h"

namespace zq::testing {

// Runs `f` and returns the number of the HostError it raised, 0 when it raised none.
template <class F>
std::int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace zq::testing
