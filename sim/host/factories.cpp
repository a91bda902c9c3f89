#include "sim/host/factories.h"

#include "data/ado.h"
#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/sim_funzioni.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

HostFactories::HostFactories(ObjectFactory commandFactory) {
    if (commandFactory)
        command_ = std::make_unique<ScopedObjectFactory>(
            std::string(ado::kProgIdCommand), [make = std::move(commandFactory)] {
                FaultPoint point(FaultKind::Method, "CreateObject(ADODB.Command)");
                return make();
            });
    recordset_ = std::make_unique<ScopedObjectFactory>(std::string(ado::kProgIdRecordset), [] {
        FaultPoint point(FaultKind::Method, "CreateObject(ADODB.Recordset)");
        return ObjectPtr(MakeClosedRecordset());
    });
    funzioni_ =
        std::make_unique<ScopedObjectFactory>(std::string(host::kProgIdFunzioniGlobali), [] {
            FaultPoint point(FaultKind::Method, "CreateObject(HostFunzioni.FunzioniGlobali)");
            return ObjectPtr(std::make_shared<SimFunzioniGlobali>());
        });
}

HostFactories::~HostFactories() {
    // The last registered goes first, so that each scope gives back what it replaced.
    while (!more_.empty()) more_.pop_back();
}

void HostFactories::Add(std::string name, ObjectFactory factory) {
    more_.push_back(std::make_unique<ScopedObjectFactory>(std::move(name), std::move(factory)));
}

}  // namespace zq::sim
