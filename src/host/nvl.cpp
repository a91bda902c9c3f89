#include "host/nvl.h"

#include <exception>

namespace zq {

Variant NvlVar(const Variant& value, const Variant& defaultValue) {
    if (value.IsNull() || value.IsEmpty()) return defaultValue;
    try {
        // Only spaces count as blank here, as the host's Trim removes only spaces.
        std::string text = value.ToString();
        if (text.find_first_not_of(' ') == std::string::npos) return defaultValue;
        return value;
    } catch (const std::exception&) {
        return Variant();
    }
}

}  // namespace zq
