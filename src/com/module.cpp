#include "com/module.h"

#include <atomic>

namespace zq::com {

namespace {
std::atomic<long> g_locks{0};
HMODULE g_module = nullptr;
}  // namespace

ModuleLock::ModuleLock() {
    LockModule();
}
ModuleLock::~ModuleLock() {
    UnlockModule();
}

void LockModule() {
    ++g_locks;
}
void UnlockModule() {
    --g_locks;
}
long ModuleLockCount() {
    return g_locks.load();
}

void SetModuleHandle(HMODULE module) {
    g_module = module;
}
HMODULE ModuleHandle() {
    return g_module;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace zq::com
