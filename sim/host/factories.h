// The objects the plug-in creates by ProgID, registered for the life of a host session:
// "ADODB.Command" (bound to the host connection by the plug-in), "ADODB.Recordset" (a
// closed, disconnected recordset) and the global conversion functions, and whatever the
// session adds (its screen, its grid components).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/create_object.h"

namespace zq::sim {

class HostFactories {
  public:
    explicit HostFactories(ObjectFactory commandFactory);
    ~HostFactories();
    HostFactories(const HostFactories&) = delete;
    HostFactories& operator=(const HostFactories&) = delete;

    // Registers one more factory for the life of the session.
    void Add(std::string name, ObjectFactory factory);

  private:
    std::unique_ptr<ScopedObjectFactory> command_, recordset_, funzioni_;
    std::vector<std::unique_ptr<ScopedObjectFactory>> more_;
};

}  // namespace zq::sim
