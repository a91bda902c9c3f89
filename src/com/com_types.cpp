#include "com/com_types.h"

#include <cstdio>

#include "host/error.h"

namespace zq::com {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (!text || length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), s.data(), n, nullptr, nullptr);
    return s;
}

std::string Narrow(BSTR b) {
    return Narrow(b, b ? SysStringLen(b) : 0);
}

BSTR MakeBstr(std::string_view utf8) {
    const std::wstring w = Widen(utf8);
    BSTR b = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    if (!b) Raise(7, "BSTR", "Out of memory");
    return b;
}

Bstr::Bstr(std::string_view utf8) : b_(MakeBstr(utf8)) {}

std::string GuidText(const GUID& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

bool ParseGuid(std::string_view text, GUID& out) {
    std::wstring w = Widen(text);
    return SUCCEEDED(CLSIDFromString(w.data(), &out));
}

}  // namespace zq::com
