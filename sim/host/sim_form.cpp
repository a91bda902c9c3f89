#include "sim/host/sim_form.h"

#include <algorithm>

namespace zq::sim {

namespace {

Variant Obj(const std::shared_ptr<Object>& o) {
    return Variant(ObjectPtr(o));
}

}  // namespace

SimControls::SimControls(List controls) : controls_(std::move(controls)) {
    DefineProperty("Count",
                   [this] { return Variant::Int32(static_cast<std::int32_t>(controls_->size())); });
    DefineMethod("Item", [this](std::span<Variant> args) {
        RequireArgs(args, 1, "Controls.Item");
        const std::int32_t i = args[0].ToLong();
        if (i < 0 || i >= static_cast<std::int32_t>(controls_->size()))
            Raise(err::SubscriptOutOfRange, "Controls.Item", "Subscript out of range");
        return Obj((*controls_)[static_cast<std::size_t>(i)]);
    });
}

SimSubForm::SimSubForm(std::string name, Kind kind, CallLogPtr log,
                       std::function<ado::RecordsetPtr()> recordset)
    : name_(std::move(name)), log_(std::move(log)), recordset_(std::move(recordset)) {
    controlsObj_ = std::make_shared<SimControls>(std::make_shared<std::vector<SimControlPtr>>());
    DefineProperty("Controls", [this] { return Obj(controlsObj_); });
    DefineProperty("Recordset", [this] { return Obj(recordset_ ? recordset_() : nullptr); });
    DefineProperty(
        "MsgOnUpdate", [this] { return Variant::Bool(msgOnUpdate_); },
        [this](const Variant& v) {
            msgOnUpdate_ = v.ToBool();
            log_->Record(name_ + ".MsgOnUpdate", {v});
        });
    DefineProperty(
        "Redraw", [this] { return Variant::Bool(redraw_); },
        [this](const Variant& v) {
            redraw_ = v.ToBool();
            log_->Record(name_ + ".Redraw", {v});
        });
    if (kind == Kind::Testata || kind == Kind::Corpo) {
        DefineProperty(
            "EditMode", [this] { return Variant::Int16(editMode_); },
            [this](const Variant& v) { editMode_ = v.ToInt(); });
    }
    if (kind != Kind::Corpo) return;
    DefineMethod("MoveBookmark", [this](std::span<Variant> args) {
        RequireArgs(args, 1, name_ + ".MoveBookmark");
        log_->Record(name_ + ".MoveBookmark", {args.begin(), args.end()});
        if (onMoveBookmark) onMoveBookmark(args[0]);
        return Variant();
    });
    DefineMethod("Lock", [this](std::span<Variant>) {
        ++lockCount_;
        log_->Record(name_ + ".Lock");
        return Variant();
    });
    DefineMethod("Unlock", [this](std::span<Variant>) {
        if (lockCount_ > 0) --lockCount_;
        log_->Record(name_ + ".Unlock");
        return Variant();
    });
    DefineProperty("LockCount", [this] { return Variant::Int32(lockCount_); });
    DefineMethod("RefreshRow", [this](std::span<Variant> args) {
        log_->Record(name_ + ".RefreshRow", {args.begin(), args.end()});
        return Variant();
    });
    DefineMethod("DeleteRow", [this](std::span<Variant> args) {
        log_->Record(name_ + ".DeleteRow", {args.begin(), args.end()});
        if (onDeleteRow) onDeleteRow();
        return Variant();
    });
}

SimGrid::SimGrid(CallLogPtr log) : log_(std::move(log)) {
    DefineMethod("RefreshSummaryFooters", [this](std::span<Variant>) {
        log_->Record("GRD_CORPO.RefreshSummaryFooters");
        return Variant();
    });
    DefineMethod("BeginDataSourceSuspend", [this](std::span<Variant>) {
        ++suspend_;
        log_->Record("GRD_CORPO.BeginDataSourceSuspend");
        return Variant();
    });
    DefineMethod("EndDataSourceSuspend", [this](std::span<Variant>) {
        if (suspend_ > 0) --suspend_;
        log_->Record("GRD_CORPO.EndDataSourceSuspend");
        return Variant();
    });
}

SimFrmDocumenti::SimFrmDocumenti() {
    DefineProperty(
        "Gint_ModalitaGriglia", [this] { return Variant::Int16(gridMode); },
        [this](const Variant& v) { gridMode = v.ToInt(); });
    DefineProperty(
        "Gvar_DocumentoStandPers", [this] { return documentoStandPers; },
        [this](const Variant& v) { documentoStandPers = v; });
}

SimMenu::SimMenu(CallLogPtr log) : log_(std::move(log)) {
    DefineMethod("AddMenuItem", [this](std::span<Variant> args) {
        items_.emplace_back(args.begin(), args.end());
        log_->Record("objMenuFunzGen.AddMenuItem", items_.back());
        return Variant();
    });
}

SimForm::SimForm(std::string name, std::vector<ControlDef> controls,
                 std::shared_ptr<DocumentWindow> window, CallLogPtr log)
    : name_(std::move(name)),
      window_(std::move(window)),
      log_(std::move(log)),
      controls_(std::make_shared<std::vector<SimControlPtr>>()) {
    for (auto& def : controls) controls_->push_back(std::make_shared<SimControl>(std::move(def)));
    controlsObj_ = std::make_shared<SimControls>(controls_);
    DefineProperty("Name", [this] { return Variant(name_); });
    DefineProperty("Controls", [this] { return Obj(controlsObj_); });
    DefineProperty("ActiveControl", [this] { return Obj(active_); });
    DefineProperty("FME_DocTestata", [this] { return Obj(window_->docTestata); });
    DefineProperty("FME_DocCorpo", [this] { return Obj(window_->docCorpo); });
    DefineProperty("FME_DocCorpoOrd", [this] { return Obj(window_->docCorpoOrd); });
    DefineProperty("FME_DocCorpoVert", [this] { return Obj(window_->docCorpoVert); });
    DefineProperty("FrmDocumenti", [this] { return Obj(window_->frmDocumenti); });
    DefineProperty("GRD_CORPO", [this] { return Obj(window_->grid); });
    DefineMethod("SalvaDocumento", [this](std::span<Variant>) {
        log_->Record(name_ + ".SalvaDocumento");
        if (window_->salvaDocumento) window_->salvaDocumento();
        return Variant();
    });
}

SimControlPtr SimForm::Control(std::string_view name) const {
    for (const auto& c : *controls_)
        if (SameName(c->Name(), name)) return c;
    return nullptr;
}

SimControlPtr SimForm::BoundTo(std::string_view dbField) const {
    SimControlPtr found;
    for (const auto& c : *controls_)
        if (!c->DBField().empty() && SameName(c->DBField(), dbField)) found = c;
    return found;
}

SimControlPtr SimForm::AddControl(ControlDef def) {
    controls_->push_back(std::make_shared<SimControl>(std::move(def)));
    return controls_->back();
}

void SimForm::RemoveControl(std::string_view name) {
    auto& v = *controls_;
    v.erase(std::remove_if(v.begin(), v.end(),
                           [&](const SimControlPtr& c) { return SameName(c->Name(), name); }),
            v.end());
    if (active_ && SameName(active_->Name(), name)) active_.reset();
}

void SimForm::RenameControl(std::string_view name, std::string newName) {
    if (auto c = Control(name)) c->Rename(std::move(newName));
}

void SimForm::SetActiveControl(std::string_view name) {
    active_ = name.empty() ? nullptr : Control(name);
}

std::optional<Variant> SimForm::GetDynamic(std::string_view member) {
    if (auto c = Control(member)) return Obj(c);
    return std::nullopt;
}

}  // namespace zq::sim
