// The screen of the host's user-interface thread, as the host language's Screen object
// offers it: the plug-in only sets its mouse pointer around long commands and messages.
//
// Whoever wires the plug-in registers the screen under kProgIdScreen (the simulated host
// its own, a Windows binding one that changes the cursor); Screen() reaches it at each use,
// so that every host session sees the pointer its own plug-in set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/object.h"

namespace zq::host {

// Mouse pointers the plug-in uses.
inline constexpr std::int16_t vbDefault = 0;
inline constexpr std::int16_t vbHourglass = 11;

class IScreen : public Object {
  public:
    virtual std::int16_t MousePointer() const = 0;
    virtual void SetMousePointer(std::int16_t pointer) = 0;
    std::string TypeName() const override { return "Screen"; }
};
using ScreenPtr = std::shared_ptr<IScreen>;

inline constexpr std::string_view kProgIdScreen = "HostRuntime.Screen";

// The registered screen; error 429 when none is.
ScreenPtr Screen();

}  // namespace zq::host
