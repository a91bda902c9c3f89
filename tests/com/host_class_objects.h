// The objects the plug-in creates, served by the test host: while a HostClassObjects
// lives, CoCreateInstance inside this process of "ADODB.Command", "ADODB.Recordset", the
// host's conversion functions, the reasons program, the screen, and of the size-grid and
// grid-posting components' class ids gives the object the simulated host's factories make
// (host/create_object.h), exposed by name.
//
// A ProgID the class registry already knows (ADO's, in Wine's registry) is served under
// its own class id, so that this process's ADO is the substitute; an unknown one is
// registered under a class id of the test host for the lifetime of the object, and
// removed afterwards. A class id is served as itself, with no registry key.
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
        std::string name;  // a ProgID, or a class id in braces
        DWORD cookie = 0;
        HKEY hive = nullptr;  // where the test host registered the ProgID, if it did
    };
    std::vector<Served> served_;
};

}  // namespace zq::comtest
