#include "sim/host/sqlite_host_database.h"

#include "sim/db/command.h"
#include "sim/db/progressives.h"
#include "sim/db/table_recordset.h"

namespace zq::sim {

ado::RecordsetPtr SqliteHostDatabase::OpenTable(std::string_view table, std::string_view where) {
    return sim::OpenTable(conn_, table, where);
}

void SqliteHostDatabase::WriteDocument(const Variant& ditta, std::string_view numreg,
                                       const std::function<void()>& write) {
    const std::int32_t d = ditta.ToLong();
    const std::vector<std::string> numregs{std::string(numreg)};
    PostOpenQuantities(*conn_, d, numregs, -1);
    try {
        write();
    } catch (...) {
        PostOpenQuantities(*conn_, d, numregs, +1);
        throw;
    }
    PostOpenQuantities(*conn_, d, numregs, +1);
}

std::optional<std::int32_t> SqliteHostDatabase::FlowState(std::string_view guid,
                                                          std::int32_t idFlusso) {
    return ReadFlowState(*conn_, guid, idFlusso);
}

void SqliteHostDatabase::SetFlowState(std::string_view guid, std::int32_t idStato,
                                      std::int32_t idFlusso) {
    WriteFlowState(*conn_, guid, idStato, idFlusso);
}

ObjectFactory SqliteCommandFactory() {
    return [] { return ObjectPtr(MakeCommand()); };
}

}  // namespace zq::sim
