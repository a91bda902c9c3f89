// Object creation by ProgID or class id, as the host language's CreateObject/New.
//
// The plug-in creates a few objects this way (ADO commands and recordsets, the reasons
// program, the size-grid components). Whoever wires the plug-in (the simulated host, the
// COM binding) registers a factory per name; an unknown name raises error 429.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/object.h"

namespace zq {

using ObjectFactory = std::function<ObjectPtr()>;

// Names compare without regard to case; braces are part of a class id.
void RegisterObjectFactory(std::string_view progIdOrClsid, ObjectFactory factory);
void UnregisterObjectFactory(std::string_view progIdOrClsid);
ObjectPtr CreateObject(std::string_view progIdOrClsid);

// Registers a factory for the life of a scope (tests, one simulated-host session).
class ScopedObjectFactory {
  public:
    ScopedObjectFactory(std::string name, ObjectFactory factory);
    ~ScopedObjectFactory();
    ScopedObjectFactory(const ScopedObjectFactory&) = delete;
    ScopedObjectFactory& operator=(const ScopedObjectFactory&) = delete;

  private:
    std::string name_;
    ObjectFactory previous_;
};

}  // namespace zq
