// Registration of the class, its ProgID, threading model and type library.
//
// Keys go under HKEY_LOCAL_MACHINE\Software\Classes; when that is refused (a user who is
// not an administrator) they go under HKEY_CURRENT_USER\Software\Classes, which the
// system merges into the class registry for that user only. Unregistration removes the
// keys from both places.
//
// The host's two interfaces are the host's: their Interface keys are written only where
// none exist (a machine without the host, such as a test machine) and removed only when
// they point at this library's type library, so that registering and unregistering the
// plug-in never breaks the host's own registration of them.
#pragma once

#include <windows.h>

namespace zq::com {

HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;

}  // namespace zq::com
