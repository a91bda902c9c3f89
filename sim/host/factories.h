// The objects the plug-in creates by ProgID, registered for the life of a host session:
// "ADODB.Command" (bound to the host connection by the plug-in), "ADODB.Recordset" (a
// closed, disconnected recordset) and the global conversion functions.
#pragma once

#include <memory>

#include "host/create_object.h"

namespace zq::sim {

class HostFactories {
  public:
    explicit HostFactories(ObjectFactory commandFactory);
    ~HostFactories();
    HostFactories(const HostFactories&) = delete;
    HostFactories& operator=(const HostFactories&) = delete;

  private:
    std::unique_ptr<ScopedObjectFactory> command_, recordset_, funzioni_;
};

}  // namespace zq::sim
