// The library's lock count: each live COM object of the library and each
// LockServer(TRUE) holds one for its lifetime; DllCanUnloadNow answers from it.
#pragma once

#include <windows.h>

#include <string>

namespace zq::com {

class ModuleLock {
  public:
    ModuleLock();
    ~ModuleLock();
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

void LockModule();
void UnlockModule();
long ModuleLockCount();

// The library's own handle (set when the library is loaded) and its file path.
void SetModuleHandle(HMODULE module);
HMODULE ModuleHandle();
std::wstring ModulePath();

}  // namespace zq::com
