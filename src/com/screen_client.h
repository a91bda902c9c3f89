// The screen the plug-in sets its mouse pointer on, in the Windows library.
//
// In the host language every library has a Screen object of its own run time: the plug-in's
// pointer shows over the host's windows while a long command runs, and the host has no way
// to read it. The library gives the plug-in such a screen (OwnScreen: it keeps the value
// and shows the cursor through the system). A program that wants to watch the pointer (the
// COM tests, which play the same scenarios as the simulated host) registers a class under
// the screen's ProgID; the library then sets the pointer on that object instead.
#pragma once

#include "com/dispatch_client.h"
#include "host/screen.h"

namespace zq::com {

class DispScreen : public host::IScreen, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    std::int16_t MousePointer() const override;
    void SetMousePointer(std::int16_t pointer) override;
};

class OwnScreen : public host::IScreen {
  public:
    std::int16_t MousePointer() const override { return pointer_; }
    void SetMousePointer(std::int16_t pointer) override;

  private:
    std::int16_t pointer_ = host::vbDefault;
};

// The screen a registered class offers under the screen's ProgID, else the library's own
// (one per process, as the run time's Screen is).
ObjectPtr CreateScreen();

}  // namespace zq::com
