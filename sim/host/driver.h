// The simulated host's driver: performs what a user does and raises the plug-in's events
// in the order the host raises them, recording each event with its by-reference results.
//
//   SimHost host(db, settings);
//   HostDriver driver(host);            // CreateStatiPlugin by default
//   driver.Initialize();                // create + Initialize(param, cnn, doc, prog, ditta, idx)
//   driver.OpenForm(1);                 // header: OpenForm(header, 1)
//   driver.OpenForm(2);                 // body:   FunzGenInit(body, 2, menu), OpenForm(body, 2)
//   driver.MoveToLine(3);               // position, filter DO31/DO77, objRigaCorpo, GRIDRowChange
//   driver.Save();                      // ControllaDati, then write-back unless refused
//   driver.CloseForm(2);                // CloseForm(body, 2, cancel) -> cancel
//   driver.Terminate(); driver.Release();
//
// The forms' SalvaDocumento runs the same save as Save(). The driver talks to the plug-in
// only through ICLSMG_REGDOCVERT and ICLSMG_REGDOCVERT2.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/hresult.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/plugin_ref.h"
#include "sim/host/sim_host.h"

namespace zq::sim {

// One event, noted in the order the host raised it (an event the plug-in causes while
// handling another comes after it).
struct RaisedEvent {
    std::string name;              // the interface method, e.g. "CloseForm"
    std::vector<Variant> args;     // the values the host passed (states, flows), when any
    std::vector<Variant> results;  // its by-reference results after the call, in order
    HResult result;                // what the method returned
};

class HostDriver {
  public:
    explicit HostDriver(SimHost& host, PluginFactory factory = CreateStatiPlugin);
    ~HostDriver();
    HostDriver(const HostDriver&) = delete;
    HostDriver& operator=(const HostDriver&) = delete;

    // --- life cycle ---
    void CreatePlugin();  // Initialize creates it when this was not called
    // Initialize(param, cnn, document, program, company, index); returns its Result.
    bool Initialize(Variant param = Variant("PARAM"), std::int16_t indPlugIn = 1);
    void Terminate();
    // Drops the host's reference: the plug-in object is destroyed when it held the last one.
    void Release();

    // --- forms ---
    // 1 header form, 2 body form (FunzGenInit with the body menu first). Shows the
    // document's current values in the form before raising the event. With
    // HostBehaviour::headerStateOnOpen the header form then reports the stored header state.
    void OpenForm(std::int16_t tipoForm);
    void FunzGenInit(std::int16_t tipoForm);
    // Returns the cancel flag the plug-in answered (the form stays open when True).
    bool CloseForm(std::int16_t tipoForm);

    // --- body grid ---
    // The user clicks a line: the host positions rstDocCorpo, filters rstDocCorpoOrd/Vert
    // on the line, points objRigaCorpo at it, shows it in the body form, then raises
    // GRIDRowChange and, when the line-state control now shows another state,
    // StatiCORPOChange before or after it (HostBehaviour::landingState). Moves the plug-in
    // makes itself are announced the same way, with GRIDRowChange only when
    // HostBehaviour::rowChangeOnEveryMove says so.
    // A line the user edited is stored first (LeaveLine); when the plug-in refuses, the
    // grid stays on it.
    void MoveToLine(std::int32_t progRiga);
    // The user leaves the current line: when the user edited it since it was last stored,
    // the host stores it (StoreLine) as it does before the grid moves off it, before the
    // document is saved and before the header form is entered. Answers whether the user
    // may go on (no store was needed, or the store went through).
    bool LeaveLine();

    // --- saving ---
    // ControllaDati, then the host's write-back (with the progressive posting) unless the
    // plug-in refused or failed. Returns whether the document was written.
    bool Save();
    // The user saves: the edited current line is stored first (LeaveLine), then Save.
    bool SaveByUser();

    // --- states ---
    // The user sets the header state: the host writes it to the state control
    // TXT_DO11_STATO (and DO11_STATO), gives that control the focus or leaves the focus
    // where it is, then raises StatiTESTATAChange with the state and the header's flow
    // (DO11_IDFLUSSO_CO4B).
    void SetHeaderState(std::int32_t idStato, bool focusOnStateControl = true);
    // The user sets the current line's state: objRigaCorpo takes it, the line-state control
    // writes it to the flow-state store for the current line, then the host raises
    // StatiCORPOChange with the state and the line flow.
    void SetLineState(std::int32_t idStato);

    // --- controls ---
    // The user types `text` into a control and leaves it: the control takes the text (and
    // the focus), its bound field takes it in the current row of its section, the host
    // raises ControlEventStartDecode (flag False, the text, Empty, Empty), then
    // ControlEventLostFocus, and the focus leaves the control. Error 438 when the form has
    // no such control.
    void TypeAndLeave(std::int16_t tipoForm, std::string_view controlName, std::string text);
    // The same without leaving: the control keeps the focus (a later MoveFocus leaves it).
    void Type(std::int16_t tipoForm, std::string_view controlName, std::string text);
    // The user opens a control's look-up: the host raises ControlEventStartLookup and, when
    // the plug-in handled it, runs the statement it received on the connection.
    struct Lookup {
        bool handled = false;
        std::string sql, titolo, paramInit;
        Variant colonne;
        ado::RecordsetPtr rows;  // null when not handled or without a statement
    };
    Lookup OpenLookup(std::int16_t tipoForm, std::string_view controlName);
    // The user picks item `voce` of a control's key-button menu; the host passes the item
    // and the item's value `valore` (Empty for a menu whose items carry none).
    void PressKeyButtonMenu(std::int16_t tipoForm, std::string_view controlName, Variant voce,
                            Variant valore = Variant());

    // --- the current body line (driver_line_actions.cpp) ---
    // The user types into the body control bound to `field` without leaving it: data
    // binding writes the text (Null when empty) into that field of the current line's row,
    // as a pending edit. No event is raised.
    void EditLineField(std::string_view field, const std::string& text);
    // The host stores the current line: UIBeforeUpdateDocBody, then, unless the plug-in
    // refused or failed, the pending edits of the line's rows are committed and
    // UIAfterUpdateDocBody is raised. Returns whether the line was stored.
    bool StoreLine();
    // The user deletes the current line: UIBeforeDeleteDocBody; unless refused,
    // BeginDeleteDocCorpo, the DO30 row goes (the grid moves to the next line, or the last
    // one), EndDeleteDocCorpo, UIAfterDeleteDocBody. Returns whether the line was deleted.
    bool DeleteLine();
    // Marks the header (1) or body (2) form as having unsaved edits (edit state 2), or not.
    void SetUnsavedEdits(std::int16_t tipoForm, bool pending);

    // --- focus and navigators (driver_focus.cpp) ---
    // The user moves the focus to a control of a form (an empty name: to no control). The
    // host raises ControlEventBeforeItem for the control entered (HostBehaviour::
    // beforeItemOnFocus), ControlEventLostFocus of the control left, then
    // ControlEventGotFocus of the control entered; moving to the control that already has
    // the focus raises nothing. Error 438 when the form has no such control.
    void MoveFocus(std::int16_t tipoForm, std::string_view controlName);
    // The user presses a button of one of the body form's navigators: the host raises the
    // navigator's ButtonClick, does what the key does in the host ("annulla": the undo of
    // the current line's pending edits, UndoLine), then raises its AfterButtonClick.
    enum class Navigator { Grid, Inner };
    void PressNavigatorButton(Navigator navigator, const std::string& key);
    // The host's undo of the current line's pending edits: the line's rows lose them (a
    // line appended and not saved goes), and the landing is announced as any move no click
    // made. No event of its own.
    void UndoLine();

    // --- menus (driver_focus.cpp) ---
    // The user picks the item `key` of the body form's general-functions menu:
    // FunzGenMenuItemClick(body form, 2, menu, key, item, value). Whatever the item does
    // (the size-grid command) happens inside the event.
    void PickMenuItem(const std::string& key);

    // --- what happened ---
    const std::vector<RaisedEvent>& Events() const { return events_; }
    std::vector<std::string> EventNames() const;
    // The last event of that name; null when none was raised.
    const RaisedEvent* Last(std::string_view name) const;
    void ClearEvents() { events_.clear(); }
    int SaveCount() const { return saves_; }
    const PluginRef& Plugin() const { return plugin_; }
    SimHost& Host() { return host_; }

  private:
    SimFormPtr FormOf(std::int16_t tipoForm) const;
    SimControlPtr ControlOf(std::int16_t tipoForm, std::string_view name) const;
    host::ICLSMG_REGDOCVERT& DocEvents();
    host::ICLSMG_REGDOCVERT2& FormEvents();
    // Notes the event before it is raised, so that events the plug-in causes inside it
    // (a save asked by SalvaDocumento) follow it; `after` fills in what it answered.
    template <class Call>
    void RaiseEvent(std::string name, Call&& call, std::vector<Variant> args = {});
    void RaiseLineStateChange(std::int32_t idStato, std::int32_t idFlusso);
    void RaiseHeaderStateChange(std::int32_t idStato, std::int32_t idFlusso);
    void AnnounceLanding(Landing l, bool rowChange);
    // DO11_STATO and DO11_IDFLUSSO_CO4B of the header (0 when missing or Null).
    std::pair<std::int32_t, std::int32_t> HeaderState() const;

    SimHost& host_;
    PluginFactory factory_;
    PluginRef plugin_;
    std::vector<RaisedEvent> events_;
    int saves_ = 0;
    // The user typed into the body form since the current line was last stored or written.
    bool lineEdited_ = false;
};

template <class Call>
void HostDriver::RaiseEvent(std::string name, Call&& call, std::vector<Variant> args) {
    const std::size_t at = events_.size();
    events_.push_back({std::move(name), std::move(args), {}, HResult()});
    std::vector<Variant> results;
    HResult r;
    {
        // The plug-in's calls inside the event are the ones a fault plan counts.
        PluginCallFrame frame;
        r = call(results);
    }
    events_[at].results = std::move(results);
    events_[at].result = std::move(r);
}

}  // namespace zq::sim
