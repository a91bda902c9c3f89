// Shapes the host's interfaces carry: 16-bit Booleans (True is -1) and COM-style results.
#pragma once

#include <cstdint>

namespace zq {

using VBool = std::int16_t;
inline constexpr VBool VTrue = -1;
inline constexpr VBool VFalse = 0;

inline constexpr VBool ToVBool(bool b) {
    return b ? VTrue : VFalse;
}
inline constexpr bool IsTrue(VBool b) {
    return b != 0;
}

}  // namespace zq
