#include "com/object_bridge.h"

#include <mutex>
#include <vector>

#include "com/ado_client.h"
#include "com/dispatch_client.h"
#include "com/object_dispatch.h"

namespace zq::com {

// {0000050E-0000-0010-8000-00AA006D2EA4}
const IID kIidAdoRecordset15 = {
    0x0000050e, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x6d, 0x2e, 0xa4}};

namespace {

struct Exposers {
    std::mutex mutex;
    std::vector<Exposer> list;
};

Exposers& TheExposers() {
    static Exposers e;
    return e;
}

}  // namespace

void RegisterExposer(Exposer e) {
    Exposers& x = TheExposers();
    std::lock_guard lock(x.mutex);
    x.list.push_back(std::move(e));
}

ObjectPtr ExposedObjectOf(IUnknown* p) {
    if (!p) return nullptr;
    // The private id is answered only by ObjectDispatch; one made by another module
    // answers it too, and its Object belongs to that module's run time.
    ComPtr<IDispatch> d;
    if (FAILED(p->QueryInterface(ObjectDispatch::kIid, reinterpret_cast<void**>(d.Put()))) || !d)
        return nullptr;
    const auto* own = static_cast<ObjectDispatch*>(d.Get());
    if (!own->MadeHere()) return nullptr;
    return static_cast<ObjectDispatch*>(d.Get())->Target();
}

ObjectPtr WrapDispatch(IDispatch* d) {
    if (!d) return nullptr;
    if (ObjectPtr own = ExposedObjectOf(d)) return own;
    ComPtr<IDispatch> held(d);
    ComPtr<IUnknown> rs;
    if (SUCCEEDED(d->QueryInterface(kIidAdoRecordset15, reinterpret_cast<void**>(rs.Put()))) && rs)
        return std::make_shared<DispRecordset>(held);
    return std::make_shared<DispObject>(held);
}

const void* DispatchHolder::Identity() const {
    IDispatch* d = Dispatch();
    if (!d) return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(d->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))) || !unknown)
        return d;
    // The adapter holds the object: its IUnknown stays valid while the adapter lives.
    unknown->Release();
    return unknown;
}

ComPtr<IDispatch> ExposeObject(const ObjectPtr& o) {
    if (!o) return nullptr;
    if (auto* holder = dynamic_cast<DispatchHolder*>(o.get()))
        return ComPtr<IDispatch>(holder->Dispatch());
    if (ComPtr<IDispatch> live = ObjectDispatch::Find(o.get())) return live;
    {
        Exposers& x = TheExposers();
        std::vector<Exposer> list;
        {
            std::lock_guard lock(x.mutex);
            list = x.list;
        }
        for (const Exposer& e : list) {
            if (ComPtr<IDispatch> d = e(o)) return d;
        }
    }
    return ObjectDispatch::Create(o);
}

}  // namespace zq::com
