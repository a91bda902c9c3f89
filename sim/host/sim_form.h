// The host's document forms, reached late-bound by member name.
//
// A document window has a header form and a body form. Both answer the window's shared
// parts: the sub-forms FME_DocTestata, FME_DocCorpo, FME_DocCorpoOrd, FME_DocCorpoVert,
// the document window object FrmDocumenti, the body grid GRD_CORPO and SalvaDocumento.
// Each form answers `Controls` (its own controls, walked with Count and Item(i), i from 0
// to Count-1 in the form's order), `ActiveControl` (a control or Nothing) and each of its
// controls by name, as the host's forms expose their controls as members.
//
// Host members the plug-in names only by role are named here:
//   sub-forms:   MsgOnUpdate (message display on update, read/write), Redraw (display
//                of the sub-form, read/write; False suspends it), Recordset (its section),
//                Controls;
//   FME_DocCorpo and FME_DocTestata: EditMode (16-bit, 2 = unsaved edits pending);
//   FME_DocCorpo: MoveBookmark(bookmark, a, b) makes that row the current line (no
//                row-change event: the plug-in raises its own where it needs one),
//                Lock/Unlock (grid repaint lock, nested) with LockCount (its depth, the
//                value read around row deletions), RefreshRow(a, b) (redraws the current
//                row) and DeleteRow(a, b, c): deletes the current DO30 row and stands on
//                the next line (the last one when it was the last), without raising the
//                deletion events and leaving the line's DO31/DO77 rows to the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/ado.h"
#include "sim/host/call_log.h"
#include "sim/host/dispatch.h"
#include "sim/host/sim_control.h"

namespace zq::sim {

// A control collection: Count and Item(i), 0-based in the form's order.
class SimControls : public DispatchObject {
  public:
    using List = std::shared_ptr<std::vector<SimControlPtr>>;
    explicit SimControls(List controls);
    std::string TypeName() const override { return "Controls"; }

  private:
    List controls_;
};

class SimSubForm : public DispatchObject {
  public:
    enum class Kind { Testata, Corpo, CorpoOrd, CorpoVert };
    SimSubForm(std::string name, Kind kind, CallLogPtr log,
               std::function<ado::RecordsetPtr()> recordset);
    std::string TypeName() const override { return name_; }

    const std::string& Name() const { return name_; }
    bool MsgOnUpdate() const { return msgOnUpdate_; }
    bool Redraw() const { return redraw_; }
    std::int16_t EditMode() const { return editMode_; }
    void SetEditMode(std::int16_t mode) { editMode_ = mode; }  // 2: the user has unsaved edits
    int LockCount() const { return lockCount_; }

    // Host operations behind MoveBookmark and DeleteRow (wired by the session).
    std::function<void(const Variant& bookmark)> onMoveBookmark;
    std::function<void()> onDeleteRow;

  private:
    std::string name_;
    CallLogPtr log_;
    std::function<ado::RecordsetPtr()> recordset_;
    std::shared_ptr<SimControls> controlsObj_;
    bool msgOnUpdate_ = true;
    bool redraw_ = true;
    std::int16_t editMode_ = 0;
    int lockCount_ = 0;
};

// The body grid.
class SimGrid : public DispatchObject {
  public:
    explicit SimGrid(CallLogPtr log);
    std::string TypeName() const override { return "GRD_CORPO"; }
    int SuspendDepth() const { return suspend_; }

  private:
    CallLogPtr log_;
    int suspend_ = 0;
};

// The document window object: grid mode and the standard/personalised document flag.
class SimFrmDocumenti : public DispatchObject {
  public:
    SimFrmDocumenti();
    std::string TypeName() const override { return "FrmDocumenti"; }
    std::int16_t gridMode = 0;                       // Gint_ModalitaGriglia
    Variant documentoStandPers = Variant::Int32(0);  // Gvar_DocumentoStandPers
};

// The general-functions menu of the body form.
class SimMenu : public DispatchObject {
  public:
    explicit SimMenu(CallLogPtr log);
    std::string TypeName() const override { return "objMenuFunzGen"; }
    // The arguments of every AddMenuItem call, in order.
    const std::vector<std::vector<Variant>>& Items() const { return items_; }

  private:
    CallLogPtr log_;
    std::vector<std::vector<Variant>> items_;
};

// What the header and body forms of one document window share.
struct DocumentWindow {
    std::shared_ptr<SimSubForm> docTestata, docCorpo, docCorpoOrd, docCorpoVert;
    std::shared_ptr<SimFrmDocumenti> frmDocumenti;  // null: the form answers Nothing
    std::shared_ptr<SimGrid> grid;
    std::function<void()> salvaDocumento;
};

class SimForm : public DispatchObject {
  public:
    SimForm(std::string name, std::vector<ControlDef> controls,
            std::shared_ptr<DocumentWindow> window, CallLogPtr log);
    std::string TypeName() const override { return name_; }

    const std::string& Name() const { return name_; }
    const std::vector<SimControlPtr>& Controls() const { return *controls_; }
    // The control with that name, or null.
    SimControlPtr Control(std::string_view name) const;
    // The last control bound to that field, or null.
    SimControlPtr BoundTo(std::string_view dbField) const;
    SimControlPtr AddControl(ControlDef def);
    void RemoveControl(std::string_view name);
    void RenameControl(std::string_view name, std::string newName);
    // Gives the focus to a control (empty name: no control has it).
    void SetActiveControl(std::string_view name);
    SimControlPtr ActiveControl() const { return active_; }
    DocumentWindow& Window() { return *window_; }

  protected:
    std::optional<Variant> GetDynamic(std::string_view member) override;

  private:
    std::string name_;
    std::shared_ptr<DocumentWindow> window_;
    CallLogPtr log_;
    SimControls::List controls_;
    std::shared_ptr<SimControls> controlsObj_;
    SimControlPtr active_;
};
using SimFormPtr = std::shared_ptr<SimForm>;

}  // namespace zq::sim
