#include "sim/host/sim_riga_corpo.h"

namespace zq::sim {

void SimRigaCorpo::SetGuidRiga(std::string_view guid) {
    FaultPoint point(FaultKind::Set, "objRigaCorpo.GuidRiga");
    guid_ = std::string(guid);
    log_->Record("objRigaCorpo.GuidRiga", {Variant(guid_)});
}

void SimRigaCorpo::SetStatoRiga(std::int32_t idStato) {
    FaultPoint point(FaultKind::Set, "objRigaCorpo.StatoRiga");
    stato_ = idStato;
    log_->Record("objRigaCorpo.StatoRiga", {Variant::Int32(idStato)});
}

void SimRigaCorpo::AcquisisciStato() {
    FaultPoint point(FaultKind::Method, "objRigaCorpo.AcquisisciStato");
    acquired_[guid_] = stato_;
    log_->Record("objRigaCorpo.AcquisisciStato", {Variant(guid_), Variant::Int32(stato_)});
}

void SimRigaCorpo::Follow(std::string guid, std::int32_t stato) {
    guid_ = std::move(guid);
    stato_ = stato;
}

std::optional<std::int32_t> SimRigaCorpo::AcquiredState(const std::string& guid) const {
    auto it = acquired_.find(guid);
    if (it == acquired_.end()) return std::nullopt;
    return it->second;
}

}  // namespace zq::sim
