#include "com/object_dispatch.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <new>
#include <vector>

#include "com/variant_convert.h"
#include "host/error.h"
#include "host/policy.h"

namespace zq::com {

// {5C1F2E0A-8B7D-4C39-9E61-3A2D7F4B9C10}: private to this binding, never registered.
const IID ObjectDispatch::kIid = {
    0x5c1f2e0a, 0x8b7d, 0x4c39, {0x9e, 0x61, 0x3a, 0x2d, 0x7f, 0x4b, 0x9c, 0x10}};

namespace {
const char kModuleMark = 0;

// The dispatch objects alive, by the Object they expose.
struct Live {
    std::mutex mutex;
    std::map<const Object*, ObjectDispatch*> byTarget;
};
Live& TheLive() {
    static Live live;
    return live;
}
}  // namespace

ComPtr<IDispatch> ObjectDispatch::Find(const Object* target) {
    Live& live = TheLive();
    std::lock_guard lock(live.mutex);
    auto it = live.byTarget.find(target);
    if (it == live.byTarget.end()) return nullptr;
    // A count of zero: it is on its way out and must not come back.
    ObjectDispatch* d = it->second;
    ULONG n = d->refs_.load();
    while (n != 0 && !d->refs_.compare_exchange_weak(n, n + 1)) {
    }
    return n == 0 ? nullptr : ComPtr<IDispatch>::Attach(d);
}

bool ObjectDispatch::MadeHere() const {
    return module_ == &kModuleMark;
}

ObjectDispatch::ObjectDispatch(ObjectPtr target, std::vector<IID> alsoAnswers, ObjectPtr byName)
    : module_(&kModuleMark),
      target_(std::move(target)),
      byName_(byName ? std::move(byName) : target_),
      alsoAnswers_(std::move(alsoAnswers)) {}

ComPtr<IDispatch> ObjectDispatch::Create(ObjectPtr target, std::vector<IID> alsoAnswers,
                                         ObjectPtr byName) {
    const Object* key = target.get();
    auto* d = new (std::nothrow)
        ObjectDispatch(std::move(target), std::move(alsoAnswers), std::move(byName));
    if (!d) Raise(7, "ObjectDispatch", "Out of memory");
    if (key) {
        Live& live = TheLive();
        std::lock_guard lock(live.mutex);
        live.byTarget[key] = d;
    }
    return ComPtr<IDispatch>::Attach(d);
}

HRESULT ObjectDispatch::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const bool extra = std::any_of(alsoAnswers_.begin(), alsoAnswers_.end(),
                                   [&](const IID& i) { return IsEqualIID(i, iid); });
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIid) ||
        extra) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG ObjectDispatch::AddRef() {
    return ++refs_;
}

ULONG ObjectDispatch::Release() {
    const ULONG n = --refs_;
    if (n == 0) {
        if (target_) {
            Live& live = TheLive();
            std::lock_guard lock(live.mutex);
            auto it = live.byTarget.find(target_.get());
            if (it != live.byTarget.end() && it->second == this) live.byTarget.erase(it);
        }
        delete this;
    }
    return n;
}

HRESULT ObjectDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT ObjectDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT ObjectDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    try {
        const std::string name = Narrow(names[0], wcslen(names[0]));
        auto it = std::find_if(names_.begin(), names_.end(),
                               [&](const std::string& n) { return SameName(n, name); });
        if (it == names_.end()) it = names_.insert(names_.end(), name);
        ids[0] = static_cast<DISPID>(it - names_.begin()) + 1;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // Named arguments are not supported: the plug-in's objects take them by position.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT ObjectDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* excep, UINT*) {
    if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return Call(names_[static_cast<std::size_t>(id) - 1], flags, params ? *params : none, result,
                excep);
}

HRESULT ObjectDispatch::Call(const std::string& member, WORD flags, DISPPARAMS& params,
                             VARIANT* result, EXCEPINFO* excep) {
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const CallKind kind = put                              ? CallKind::Set
                          : (flags & DISPATCH_METHOD) != 0 ? CallKind::Method
                                                           : CallKind::Get;
    // Keep the target alive for the call even if the callee drops the last other reference.
    const ObjectPtr target = byName_;
    if (!target) return E_UNEXPECTED;
    try {
        // rgvarg holds the arguments last first.
        std::vector<Variant> args;
        args.reserve(params.cArgs);
        for (UINT i = params.cArgs; i > 0; --i) args.push_back(FromVARIANT(params.rgvarg[i - 1]));
        Variant answer;
        try {
            answer = target->Invoke(member, kind, args);
        } catch (const HostError& e) {
            if (e.Number() == err::MemberNotFound &&
                e.Source() == target->TypeName() + "." + member)
                return DISP_E_MEMBERNOTFOUND;
            throw;
        }
        // What the callee wrote into by-reference arguments goes back to the caller.
        for (UINT i = 0; i < params.cArgs; ++i) {
            const VARIANT& a = params.rgvarg[params.cArgs - 1 - i];
            if (a.vt & VT_BYREF) StoreThrough(a, args[i]);
        }
        if (result) {
            VariantInit(result);
            ToVARIANT(answer, result);
        }
        return S_OK;
    } catch (...) {
        return ExceptionToExcepInfo(excep);
    }
}

HRESULT ExceptionToExcepInfo(EXCEPINFO* excep) noexcept {
    const ComResult r = FailureFromCurrentException();
    const HRESULT hr = r.HResult();
    if (!excep) return hr;
    *excep = EXCEPINFO{};
    excep->scode = hr;
    try {
        excep->bstrSource = MakeBstr(r.source);
        excep->bstrDescription = MakeBstr(r.description);
    } catch (...) {
    }
    return DISP_E_EXCEPTION;
}

}  // namespace zq::com
