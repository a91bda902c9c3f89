#include "com/registration.h"

#include <olectl.h>

#include <string>
#include <vector>

#include "com/com_types.h"
#include "com/module.h"
#include "plugin/identity.h"

namespace zq::com {

namespace {

// The universal marshaller: dual interfaces are marshalled from the type library.
constexpr wchar_t kTypeLibMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";

std::wstring W(std::string_view s) {
    return Widen(s);
}

// One registry value to write: key (below the Classes root), value name ("" the
// default), text.
struct Entry {
    std::wstring key, name, value;
};

std::wstring VersionText() {
    return std::to_wstring(plugin::kTypeLibVersionMajor) + L"." +
           std::to_wstring(plugin::kTypeLibVersionMinor);
}

std::vector<Entry> ClassEntries(const std::wstring& path) {
    const std::wstring clsid = L"CLSID\\" + W(plugin::kClsid);
    const std::wstring progId = W(plugin::kProgId);
    const std::wstring libid = W(plugin::kTypeLibId);
    wchar_t locale[16];
    swprintf(locale, 16, L"%x", static_cast<unsigned>(plugin::kTypeLibLocale));
    const std::wstring lib = L"TypeLib\\" + libid + L"\\" + VersionText();
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
    const std::wstring iface = L"Interface\\" + W(plugin::kIidDefault);
    return {
        {clsid, L"", progId},
        {clsid + L"\\InprocServer32", L"", path},
        {clsid + L"\\InprocServer32", L"ThreadingModel", W(plugin::kThreadingModel)},
        {clsid + L"\\ProgID", L"", progId},
        {clsid + L"\\TypeLib", L"", libid},
        {clsid + L"\\VERSION", L"", VersionText()},
        {clsid + L"\\Programmable", L"", L""},
        {progId, L"", progId},
        {progId + L"\\CLSID", L"", W(plugin::kClsid)},
        {lib, L"", W(plugin::kProjectDescription)},
        {lib + L"\\" + locale + (sizeof(void*) == 8 ? L"\\win64" : L"\\win32"), L"", path},
        {lib + L"\\FLAGS", L"", L"0"},
        {lib + L"\\HELPDIR", L"", folder},
        {iface, L"", W(std::string("_") + std::string(plugin::kClassName))},
        {iface + L"\\ProxyStubClsid32", L"", kTypeLibMarshaller},
        {iface + L"\\ProxyStubClsid", L"", kTypeLibMarshaller},
        {iface + L"\\TypeLib", L"", libid},
        {iface + L"\\TypeLib", L"Version", VersionText()},
    };
}

std::vector<Entry> HostInterfaceEntries(const std::wstring& iid, const wchar_t* name) {
    const std::wstring key = L"Interface\\" + iid;
    return {{key, L"", name},
            {key + L"\\ProxyStubClsid32", L"", kTypeLibMarshaller},
            {key + L"\\ProxyStubClsid", L"", kTypeLibMarshaller},
            {key + L"\\TypeLib", L"", W(plugin::kTypeLibId)},
            {key + L"\\TypeLib", L"Version", VersionText()}};
}

struct HostInterface {
    std::string_view iid;
    const wchar_t* name;
};
constexpr HostInterface kHostInterfaces[] = {{plugin::kIidRegDocVert, L"ICLSMG_REGDOCVERT"},
                                             {plugin::kIidRegDocVert2, L"ICLSMG_REGDOCVERT2"}};

LSTATUS WriteEntry(HKEY root, const Entry& e) {
    HKEY key = nullptr;
    LSTATUS s =
        RegCreateKeyExW(root, e.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (s != ERROR_SUCCESS) return s;
    const auto bytes = static_cast<DWORD>((e.value.size() + 1) * sizeof(wchar_t));
    s = RegSetValueExW(key, e.name.empty() ? nullptr : e.name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(e.value.c_str()), bytes);
    RegCloseKey(key);
    return s;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

std::wstring ReadText(HKEY root, const std::wstring& key) {
    wchar_t buf[128] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return {};
    return buf;
}

// The Classes root of one hive; closed when it goes.
struct ClassesRoot {
    HKEY key = nullptr;
    explicit ClassesRoot(HKEY hive, REGSAM access) {
        if (RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, 0, access, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~ClassesRoot() {
        if (key) RegCloseKey(key);
    }
    ClassesRoot(const ClassesRoot&) = delete;
    ClassesRoot& operator=(const ClassesRoot&) = delete;
};

LSTATUS RegisterUnder(HKEY hive, const std::wstring& path) {
    ClassesRoot root(hive, KEY_ALL_ACCESS);
    if (!root.key) return ERROR_ACCESS_DENIED;
    for (const Entry& e : ClassEntries(path)) {
        if (LSTATUS s = WriteEntry(root.key, e); s != ERROR_SUCCESS) return s;
    }
    for (const HostInterface& h : kHostInterfaces) {
        // The merged view: the host's registration may live in either hive.
        if (KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + W(h.iid))) continue;
        for (const Entry& e : HostInterfaceEntries(W(h.iid), h.name)) {
            if (LSTATUS s = WriteEntry(root.key, e); s != ERROR_SUCCESS) return s;
        }
    }
    return ERROR_SUCCESS;
}

void UnregisterUnder(HKEY hive) {
    ClassesRoot root(hive, KEY_ALL_ACCESS);
    if (!root.key) return;
    const std::wstring libid = W(plugin::kTypeLibId);
    for (const std::wstring& key : {L"CLSID\\" + W(plugin::kClsid), W(plugin::kProgId),
                                    L"TypeLib\\" + libid, L"Interface\\" + W(plugin::kIidDefault)})
        RegDeleteTreeW(root.key, key.c_str());
    for (const HostInterface& h : kHostInterfaces) {
        const std::wstring key = L"Interface\\" + W(h.iid);
        if (_wcsicmp(ReadText(root.key, key + L"\\TypeLib").c_str(), libid.c_str()) == 0)
            RegDeleteTreeW(root.key, key.c_str());
    }
}

}  // namespace

HRESULT RegisterServer() noexcept {
    try {
        const std::wstring path = ModulePath();
        if (path.empty()) return SELFREG_E_CLASS;
        LSTATUS s = RegisterUnder(HKEY_LOCAL_MACHINE, path);
        if (s == ERROR_ACCESS_DENIED) s = RegisterUnder(HKEY_CURRENT_USER, path);
        if (s != ERROR_SUCCESS) {
            UnregisterServer();
            return SELFREG_E_CLASS;
        }
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

HRESULT UnregisterServer() noexcept {
    try {
        UnregisterUnder(HKEY_LOCAL_MACHINE);
        UnregisterUnder(HKEY_CURRENT_USER);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace zq::com
