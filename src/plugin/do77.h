// The record type DO77 of the plug-in's type library: one link between a master line and
// one of its partial-cancellation lines, and the ordered, key-less collection of them.
#pragma once

#include <string>
#include <vector>

#include "host/variant.h"

namespace zq::plugin {

struct DO77 {
    std::string Key;  // the cancellation line's GUID, as DO77_ZQGUID_DETAIL_DO30
    std::string DO77_ZQGUID_MASTER_DO30;
    std::string DO77_ZQGUID_DETAIL_DO30;
    Variant DO30_PROGPADRE;  // group number of the cancellation line; may be Null or Empty
};

// Ordered as added; look-ups return the first match in this order.
using LinkAnnulli = std::vector<DO77>;

}  // namespace zq::plugin
