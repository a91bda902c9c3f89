#include "com/screen_client.h"

#include <windows.h>

#include <string>

namespace zq::com {

std::int16_t DispScreen::MousePointer() const {
    return Read("MousePointer").ToInt();
}
void DispScreen::SetMousePointer(std::int16_t pointer) {
    Write("MousePointer", Variant::Int16(pointer));
}

void OwnScreen::SetMousePointer(std::int16_t pointer) {
    pointer_ = pointer;
    // The hourglass while a command runs, the arrow otherwise; the cursor follows the
    // pointer only on the thread that owns the windows, which is the plug-in's own.
    SetCursor(LoadCursorA(nullptr, pointer == host::vbHourglass ? IDC_WAIT : IDC_ARROW));
}

ObjectPtr CreateScreen() {
    CLSID clsid;
    const std::wstring name = Widen(host::kProgIdScreen);
    ComPtr<IDispatch> d;
    if (SUCCEEDED(CLSIDFromProgID(name.c_str(), &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(d.Put()))))
        return std::make_shared<DispScreen>(d);
    static const auto own = std::make_shared<OwnScreen>();
    return own;
}

}  // namespace zq::com
