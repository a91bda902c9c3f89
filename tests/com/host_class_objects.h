// The objects the plug-in creates by ProgID, served by the test host: while a
// HostClassObjects lives, CoCreateInstance of "ADODB.Command", "ADODB.Recordset", the
// host's conversion functions and the reasons program inside this process gives the
// object the simulated host's factories make (host/create_object.h), exposed by name.
//
// A ProgID the class registry already knows (ADO's, in Wine's registry) is served under
// its own class id, so that this process's ADO is the substitute; an unknown one is
// registered under a class id of the test host for the lifetime of the object, and
// removed afterwards.
#pragma once

#include <string>
#include <vector>

#include "com/com_types.h"

namespace zq::comtest {

class HostClassObjects {
  public:
    HostClassObjects();
    ~HostClassObjects();
    HostClassObjects(const HostClassObjects&) = delete;
    HostClassObjects& operator=(const HostClassObjects&) = delete;

  private:
    struct Served {
        std::string progId;
        DWORD cookie = 0;
        HKEY hive = nullptr;  // where the test host registered the ProgID, if it did
    };
    std::vector<Served> served_;
};

}  // namespace zq::comtest
