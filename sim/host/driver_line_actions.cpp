// User actions on the current body line: editing and storing it, deleting it, and leaving
// edits unsaved in a form.
//
// What the simulated host does for them:
// - typing into a bound body control writes the text into the field of the current line's
//   row as well (the host's data binding), as a pending edit; the control holds whatever
//   was typed, and the field takes it only when it converts to the field's type (Italian
//   locale: "1,5" and "1.5" alike), as a bound text box does: "abc" or "1e309" typed into
//   a quantity leave the field as it was;
// - storing a line raises UIBeforeUpdateDocBody and commits the pending edits of the line's
//   rows only when the plug-in did not refuse, then raises UIAfterUpdateDocBody;
// - deleting a line raises UIBeforeDeleteDocBody and, unless refused, BeginDeleteDocCorpo,
//   removes the DO30 row only (the line's DO31 and DO77 rows are the plug-in's to remove),
//   moves the grid to the next line (or the last one) as the body form's DeleteRow does,
//   shows it and announces the landing as any move no click made (HostBehaviour), and
//   raises EndDeleteDocCorpo and UIAfterDeleteDocBody;
// - unsaved edits are the edit state 2 of the body or header sub-form (EditMode).

#include "sim/host/driver.h"

namespace zq::sim {

namespace {

Variant Flag(VBool v) {
    return Variant::Int16(v);
}

ado::RecordsetPtr SectionOfField(const SimRegDoc& doc, std::string_view field) {
    const std::string_view p = field.substr(0, 4);
    if (p == "DO30") return doc.rstDocCorpo();
    if (p == "DO31") return doc.rstDocCorpoOrd();
    if (p == "DO77") return doc.rstDocCorpoVert();
    return nullptr;
}

void CommitPending(const ado::RecordsetPtr& rs) {
    if (rs && rs->State() == ado::adStateOpen && rs->EditMode() != ado::adEditNone) rs->Update();
}

}  // namespace

void HostDriver::EditLineField(std::string_view field, const std::string& text) {
    auto ctl = host_.body->BoundTo(field);
    if (!ctl)
        Raise(err::MemberNotFound, "HostDriver", "No body control bound to " + std::string(field));
    ctl->Type(text);
    lineEdited_ = true;
    auto rs = SectionOfField(*host_.doc, field);
    if (!rs || rs->BOF() || rs->EOF_())
        Raise(err::AdoBofEof, "HostDriver",
              "The current line has no row for " + std::string(field));
    try {
        rs->Set(field, text.empty() ? Variant::Null() : Variant(text));
    } catch (const HostError&) {
        // Text that is no value of the field's type stays in the control only.
    }
}

bool HostDriver::LeaveLine() {
    return !lineEdited_ || StoreLine();
}

bool HostDriver::StoreLine() {
    VBool cancel = VFalse;
    bool failed = false;
    RaiseEvent("UIBeforeUpdateDocBody", [&](std::vector<Variant>& results) {
        auto r = DocEvents().UIBeforeUpdateDocBody(cancel);
        results = {Flag(cancel)};
        failed = r.Failed();
        return r;
    });
    if (IsTrue(cancel) || failed) return false;
    auto& doc = *host_.doc;
    CommitPending(doc.rstDocCorpo());
    CommitPending(doc.rstDocCorpoOrd());
    CommitPending(doc.rstDocCorpoVert());
    lineEdited_ = false;
    RaiseEvent("UIAfterUpdateDocBody",
               [&](std::vector<Variant>&) { return DocEvents().UIAfterUpdateDocBody(); });
    return true;
}

bool HostDriver::DeleteLine() {
    VBool cancel = VFalse;
    bool failed = false;
    RaiseEvent("UIBeforeDeleteDocBody", [&](std::vector<Variant>& results) {
        auto r = DocEvents().UIBeforeDeleteDocBody(cancel);
        results = {Flag(cancel)};
        failed = r.Failed();
        return r;
    });
    if (IsTrue(cancel) || failed) return false;
    RaiseEvent("BeginDeleteDocCorpo",
               [&](std::vector<Variant>&) { return DocEvents().BeginDeleteDocCorpo(); });
    const Landing l = host_.doc->DeleteCurrentRow();
    lineEdited_ = false;
    AnnounceLanding(l, host_.behaviour.rowChangeOnEveryMove && l.lineMoved);
    RaiseEvent("EndDeleteDocCorpo",
               [&](std::vector<Variant>&) { return DocEvents().EndDeleteDocCorpo(); });
    RaiseEvent("UIAfterDeleteDocBody",
               [&](std::vector<Variant>&) { return DocEvents().UIAfterDeleteDocBody(); });
    return true;
}

void HostDriver::SetUnsavedEdits(std::int16_t tipoForm, bool pending) {
    auto& form = tipoForm == 1 ? host_.window->docTestata : host_.window->docCorpo;
    form->SetEditMode(pending ? 2 : 0);
}

}  // namespace zq::sim
