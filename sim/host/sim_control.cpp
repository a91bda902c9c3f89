#include "sim/host/sim_control.h"

namespace zq::sim {

namespace {

std::string TextOf(const Variant& v) {
    return v.IsNull() ? std::string() : v.ToString();
}

}  // namespace

ControlDef Bound(std::string name, std::string dbField) {
    ControlDef c;
    c.name = std::move(name);
    c.dbField = std::move(dbField);
    return c;
}

SimBoStati::SimBoStati(HostDatabasePtr db, CallLogPtr log, std::weak_ptr<SimRigaCorpo> riga)
    : db_(std::move(db)), log_(std::move(log)), riga_(std::move(riga)) {
    auto field = [this](std::string_view name, Variant& slot) {
        DefineProperty(
            name, [&slot] { return slot; }, [&slot](const Variant& v) { slot = v; });
    };
    field("Guid", guid_);
    field("IdFlussoDocumento", idFlussoDocumento_);
    field("IdFlusso", idFlusso_);
    field("IdStato", idStato_);
    DefineMethod("ConfermaModifiche", [this](std::span<Variant>) {
        log_->Record("BoStati.ConfermaModifiche", {guid_, idStato_, idFlusso_});
        db_->SetFlowState(guid_.ToString(), idStato_.ToLong(), idFlusso_.ToLong());
        if (auto riga = riga_.lock()) riga->Confirmed(guid_.ToString(), idStato_.ToLong());
        return Variant();
    });
}

SimControl::SimControl(ControlDef def) : def_(std::move(def)) {
    DefineProperty("Name", [this] { return Variant(def_.name); });
    if (!def_.dbField.empty()) DefineProperty("DBField", [this] { return Variant(def_.dbField); });
    DefineProperty(
        "Text", [this] { return Variant(def_.text); },
        [this](const Variant& v) { def_.text = TextOf(v); });
    DefineProperty(
        "Enabled", [this] { return Variant::Bool(def_.enabled); },
        [this](const Variant& v) { def_.enabled = v.ToBool(); });
    DefineProperty(
        "Visible", [this] { return Variant::Bool(def_.visible); },
        [this](const Variant& v) { def_.visible = v.ToBool(); });
    DefineProperty(
        "IsChanged", [this] { return Variant::Bool(isChanged_); },
        [this](const Variant& v) { isChanged_ = v.ToBool(); });
    DefineProperty(
        "IsValid", [this] { return Variant::Bool(isValid_); },
        [this](const Variant& v) { isValid_ = v.ToBool(); });
    DefineProperty(
        "IDLookup", [this] { return idLookup_; }, [this](const Variant& v) { idLookup_ = v; });
    DefineProperty(
        "IsGestione", [this] { return Variant::Bool(isGestione_); },
        [this](const Variant& v) { isGestione_ = v.ToBool(); });
    DefineMethod("Refresh", [this](std::span<Variant>) {
        ++refreshes_;
        return Variant();
    });
}

void SimControl::Show(const Variant& value) {
    def_.text = TextOf(value);
}

void SimControl::Type(std::string text) {
    def_.text = std::move(text);
    isChanged_ = true;
}

void SimControl::AttachBoStati(std::shared_ptr<SimBoStati> bo) {
    boStati_ = std::move(bo);
    DefineProperty("BoStati", [this] { return Variant(ObjectPtr(boStati_)); });
}

}  // namespace zq::sim
