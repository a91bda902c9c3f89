// Owners of the raw COM resources the binding handles: interface pointers, BSTRs and
// VARIANTs, each released exactly once by its owner; and the text conversions between
// the plug-in's UTF-8 texts and COM's UTF-16 strings.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <oaidl.h>
#include <ole2.h>
#include <windows.h>

// The plug-in's late-bound helpers share names with these Windows macros.
#undef GetProp
#undef SetProp
#undef GetObject

#include <string>
#include <string_view>
#include <utility>

namespace zq::com {

// A counted interface pointer: releases what it holds when it goes or is reset.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to `p` (AddRef).
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Adopts a reference the caller already owns (no AddRef).
    static ComPtr Attach(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // The address for an out-parameter; the old value is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(p_, nullptr); }
    // A new reference for an out-parameter; null leaves null.
    T* CopyOut() const {
        if (p_) p_->AddRef();
        return p_;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> u;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(u.Put()));
        return u;
    }

  private:
    T* p_ = nullptr;
};

// An owned BSTR.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    ~Bstr() { SysFreeString(b_); }
    static Bstr Attach(BSTR b) {
        Bstr s;
        s.b_ = b;
        return s;
    }
    BSTR Get() const { return b_; }
    BSTR* Put() {
        SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }
    BSTR Detach() { return std::exchange(b_, nullptr); }

  private:
    BSTR b_ = nullptr;
};

// An owned VARIANT: cleared when it goes.
class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&v_); }
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT* Get() { return &v_; }
    const VARIANT& Ref() const { return v_; }
    // Moves the value out to a caller-owned VARIANT (left Empty here).
    void MoveTo(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

  private:
    VARIANT v_;
};

// UTF-8 <-> UTF-16. Invalid input is replaced, never refused.
std::wstring Widen(std::string_view utf8);
std::string Narrow(const wchar_t* text, std::size_t length);
std::string Narrow(BSTR b);  // a null BSTR is the empty text
// A new BSTR holding `utf8`; raises error 7 (out of memory) when it cannot be made.
BSTR MakeBstr(std::string_view utf8);

// A GUID in its braced text form, and back (false when `text` is not one).
std::string GuidText(const GUID& g);
bool ParseGuid(std::string_view text, GUID& out);

}  // namespace zq::com
