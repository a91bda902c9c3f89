#include "host/screen.h"

#include "host/create_object.h"

namespace zq::host {

ScreenPtr Screen() {
    return As<IScreen>(CreateObject(kProgIdScreen));
}

}  // namespace zq::host
