#include "sim/host/sim_riga_corpo.h"

#include <cctype>

namespace zq::sim {

namespace {

std::string Normalized(std::string_view guid) {
    std::string out;
    for (char c : guid)
        if (c != '{' && c != '}')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool SameGuid(std::string_view a, std::string_view b) {
    return Normalized(a) == Normalized(b);
}

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
    log_->Record("objRigaCorpo.AcquisisciStato", {Variant(guid_), Variant::Int32(stato_)});
    acquired_[guid_] = stato_;
    if (db_ && !guid_.empty()) db_->SetFlowState(guid_, stato_, flusso_);
}

void SimRigaCorpo::Follow(std::string guid, std::int32_t stato) {
    guid_ = std::move(guid);
    stato_ = stato;
}

void SimRigaCorpo::Confirmed(std::string_view guid, std::int32_t stato) {
    if (!guid_.empty() && SameGuid(guid, guid_)) stato_ = stato;
}

std::optional<std::int32_t> SimRigaCorpo::AcquiredState(const std::string& guid) const {
    auto it = acquired_.find(guid);
    if (it == acquired_.end()) return std::nullopt;
    return it->second;
}

}  // namespace zq::sim
