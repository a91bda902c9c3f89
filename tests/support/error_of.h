// The number of the host error a call raised, for tests that check which error a rule gives.
#pragma once

#include <cstdint>
#include <string>

#include "host/error.h"

namespace zq::test {

// Runs `f` and returns the number of the HostError it raised, 0 when it raised none. The
// error's description goes to `description` when the caller asks for it.
template <class F>
std::int32_t ErrorOf(F&& f, std::string* description = nullptr) {
    try {
        f();
    } catch (const HostError& e) {
        if (description) *description = e.Description();
        return e.Number();
    }
    return 0;
}

}  // namespace zq::test
