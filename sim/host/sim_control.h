// A control of the host's document forms, reached late-bound by member name.
//
// Members: Name, DBField (absent on controls that are not bound: reading it raises 438),
// Text, Enabled, Visible, IsChanged, IsValid, IDLookup, IsGestione and Refresh; the line
// state control (bound to DO30_GUID) also carries BoStati. Text is kept as the host's
// text box keeps it: a value written to it is stored in its text form (Null as "").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/host/call_log.h"
#include "sim/host/dispatch.h"
#include "sim/host/host_database.h"
#include "sim/host/sim_riga_corpo.h"

namespace zq::sim {

struct ControlDef {
    std::string name;
    std::string dbField;  // empty: the control has no DBField member at all
    std::string text;
    bool enabled = true;
    bool visible = true;
};

// A control bound to `dbField` (none when empty), enabled, visible, with an empty text.
ControlDef Bound(std::string name, std::string dbField = {});

// The line's state object of the line-state control: the plug-in fills it and confirms,
// which makes the state the line's own: the flow-state store takes it, as
// SPCO_SETFLUSSOSTATO does, and objRigaCorpo reports it when it stands on that line.
class SimBoStati : public DispatchObject {
  public:
    SimBoStati(HostDatabasePtr db, CallLogPtr log, std::weak_ptr<SimRigaCorpo> riga);
    std::string TypeName() const override { return "BoStati"; }

  private:
    HostDatabasePtr db_;
    CallLogPtr log_;
    std::weak_ptr<SimRigaCorpo> riga_;
    Variant guid_, idFlussoDocumento_, idFlusso_, idStato_;
};

class SimControl : public DispatchObject {
  public:
    explicit SimControl(ControlDef def);
    std::string TypeName() const override { return "Control"; }
    std::string SiteName() const override { return def_.name; }

    const std::string& Name() const { return def_.name; }
    void Rename(std::string name) { def_.name = std::move(name); }
    const std::string& DBField() const { return def_.dbField; }
    const std::string& Text() const { return def_.text; }
    bool Enabled() const { return def_.enabled; }
    bool Visible() const { return def_.visible; }
    bool IsChanged() const { return isChanged_; }
    bool IsValid() const { return isValid_; }
    bool IsGestione() const { return isGestione_; }
    const Variant& IDLookup() const { return idLookup_; }
    int RefreshCount() const { return refreshes_; }
    std::shared_ptr<SimBoStati> BoStati() const { return boStati_; }

    // Host side: data binding shows a value without marking the control changed.
    void Show(const Variant& value);
    // Host side: the user types into the control.
    void Type(std::string text);
    void SetEnabled(bool on) { def_.enabled = on; }
    void SetVisible(bool on) { def_.visible = on; }
    void ClearChanged() { isChanged_ = false; }
    void AttachBoStati(std::shared_ptr<SimBoStati> bo);

  private:
    ControlDef def_;
    bool isChanged_ = false;
    bool isValid_ = true;
    bool isGestione_ = false;
    Variant idLookup_;
    int refreshes_ = 0;
    std::shared_ptr<SimBoStati> boStati_;
};
using SimControlPtr = std::shared_ptr<SimControl>;

}  // namespace zq::sim
