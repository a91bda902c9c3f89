#include "host/nvl.h"

namespace zq {

Variant NvlVar(const Variant& value, const Variant& defaultValue) {
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return defaultValue;
        case VarType::String:
            // Only spaces count as blank here, as the host's Trim removes only spaces.
            return value.RawString().find_first_not_of(' ') == std::string::npos ? defaultValue
                                                                                 : value;
        case VarType::Object:
        case VarType::Array:
            return Variant();  // no text form
        default:
            return value;  // numbers, Booleans and dates: their text is never blank
    }
}

}  // namespace zq
