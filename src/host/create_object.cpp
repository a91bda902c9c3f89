#include "host/create_object.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace zq {

namespace {

std::string Key(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

// The registry is process-wide, as the system's class registry is.
struct Registry {
    std::mutex mutex;
    std::map<std::string, ObjectFactory> factories;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

ObjectFactory Lookup(std::string_view name) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.factories.find(Key(name));
    return it == r.factories.end() ? ObjectFactory() : it->second;
}

}  // namespace

void RegisterObjectFactory(std::string_view progIdOrClsid, ObjectFactory factory) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.factories[Key(progIdOrClsid)] = std::move(factory);
}

void UnregisterObjectFactory(std::string_view progIdOrClsid) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.factories.erase(Key(progIdOrClsid));
}

ObjectPtr CreateObject(std::string_view progIdOrClsid) {
    // The factory runs outside the lock: it may itself create objects.
    ObjectFactory factory = Lookup(progIdOrClsid);
    ObjectPtr object = factory ? factory() : nullptr;
    if (!object)
        Raise(err::CannotCreateObject, std::string(progIdOrClsid),
              "ActiveX component can't create object");
    return object;
}

ScopedObjectFactory::ScopedObjectFactory(std::string name, ObjectFactory factory)
    : name_(std::move(name)), previous_(Lookup(name_)) {
    RegisterObjectFactory(name_, std::move(factory));
}

ScopedObjectFactory::~ScopedObjectFactory() {
    if (previous_)
        RegisterObjectFactory(name_, std::move(previous_));
    else
        UnregisterObjectFactory(name_);
}

}  // namespace zq
