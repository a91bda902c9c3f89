// The focus moving between controls and the body form's two navigators.
//
// What the simulated host does for them:
// - a focus move raises, for the control entered, ControlEventBeforeItem (unless the host
//   behaviour leaves it out), then ControlEventLostFocus of the control that had the focus
//   (none when no control had it), then the form's active control changes and
//   ControlEventGotFocus is raised for the control entered;
// - a navigator button raises GridnavButtonClick or InternavButtonClick with the body form
//   and form kind 2, then the host does what the key does ("annulla" drops the current
//   line's pending edits), then GridnavAfterButtonClick or InternavAfterButtonClick.

#include "sim/host/driver.h"

namespace zq::sim {

void HostDriver::MoveFocus(std::int16_t tipoForm, std::string_view controlName) {
    SimFormPtr form = FormOf(tipoForm);
    SimControlPtr entered = controlName.empty() ? nullptr : ControlOf(tipoForm, controlName);
    SimControlPtr left = form->ActiveControl();
    if (entered == left) return;
    ObjectPtr f = form;
    if (entered && host_.behaviour.beforeItemOnFocus) {
        ObjectPtr c = entered;
        RaiseEvent("ControlEventBeforeItem",
                   [&](std::vector<Variant>&) { return FormEvents().ControlEventBeforeItem(f, c); },
                   {Variant(entered->Name())});
    }
    if (left) {
        ObjectPtr c = left;
        RaiseEvent("ControlEventLostFocus",
                   [&](std::vector<Variant>&) { return FormEvents().ControlEventLostFocus(f, c); },
                   {Variant(left->Name())});
    }
    form->SetActiveControl(entered ? entered->Name() : std::string());
    if (entered) {
        ObjectPtr c = entered;
        RaiseEvent("ControlEventGotFocus",
                   [&](std::vector<Variant>&) { return FormEvents().ControlEventGotFocus(f, c); },
                   {Variant(entered->Name())});
    }
}

void HostDriver::PressNavigatorButton(Navigator navigator, const std::string& key) {
    ObjectPtr form = host_.body;
    const bool grid = navigator == Navigator::Grid;
    const std::string prefix = grid ? "Gridnav" : "Internav";
    std::int16_t tipo = 2;
    std::string chiave = key;
    RaiseEvent(prefix + "ButtonClick",
               [&](std::vector<Variant>&) {
                   return grid ? FormEvents().GridnavButtonClick(form, tipo, chiave)
                               : FormEvents().InternavButtonClick(form, tipo, chiave);
               },
               {Variant(key)});
    if (key == "annulla") UndoLine();
    chiave = key;
    RaiseEvent(prefix + "AfterButtonClick",
               [&](std::vector<Variant>&) {
                   return grid ? FormEvents().GridnavAfterButtonClick(form, tipo, chiave)
                               : FormEvents().InternavAfterButtonClick(form, tipo, chiave);
               },
               {Variant(key)});
}

void HostDriver::PickMenuItem(const std::string& key) {
    ObjectPtr form = host_.body;
    ObjectPtr menu = host_.menu;
    std::int16_t tipo = 2;
    RaiseEvent("FunzGenMenuItemClick",
               [&](std::vector<Variant>&) {
                   Variant voce(key), valore;
                   return FormEvents().FunzGenMenuItemClick(form, tipo, menu, Variant(key), voce,
                                                            valore);
               },
               {Variant(key)});
}

void HostDriver::UndoLine() {
    const Landing l = host_.doc->UndoCurrentLine();
    lineEdited_ = false;
    AnnounceLanding(l, host_.behaviour.rowChangeOnEveryMove && l.lineMoved);
}

}  // namespace zq::sim
