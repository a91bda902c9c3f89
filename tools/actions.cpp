// The user actions a scenario step can play, each a call of the simulated host's driver.
// A new user action of the driver is one entry here and one paragraph in
// docs/scenarios.md.
#include "host/error.h"
#include "sim/fault/fault_plan.h"
#include "tools/grid_steps.h"
#include "tools/scenario.h"

namespace zq::tool {

namespace {

using A = ArgType;

Variant ValueOf(const Json& v) {
    if (v.is_null()) return Variant::Null();
    if (v.is_boolean()) return Variant::Bool(v.get<bool>());
    // A whole number past 32 bits becomes a Double, as a host value would, never wrapped.
    if (v.is_number_integer() && v >= -2147483648LL && v <= 2147483647LL)
        return Variant::Int32(v.get<std::int32_t>());
    if (v.is_number()) return Variant(v.get<double>());
    return Variant(v.get<std::string>());
}

// Menu items and their values travel as the host's 16-bit integers.
Variant MenuValue(const Json& v) {
    if (v.is_number_integer() && v >= -32768 && v <= 32767)
        return Variant::Int16(static_cast<std::int16_t>(v.get<int>()));
    return ValueOf(v);
}

// "header" or 1, "body" or 2.
std::int16_t FormOf(const Json& v) {
    if (v == "header" || v == 1) return 1;
    if (v == "body" || v == 2) return 2;
    throw ScenarioError("a form is \"header\" or \"body\", not " + v.dump());
}

// A user reaches a control only when the form shows it and lets it be used: typing into,
// or setting a state through, a control that is disabled or hidden is no road a user can
// take. A step marked "by": "host" is the host acting by itself and passes untouched; a
// control the form does not have is left to the host's own error.
void UserOnForm(Session& s, const StepArgs& a, std::int16_t tipoForm) {
    if (a.Text("by", "user") == "host") return;
    if (!s.openForms.count(tipoForm))
        throw ScenarioError(std::string("the user cannot do this: the ") +
                            (tipoForm == 1 ? "header" : "body") + " form is not open");
    if (s.currentForm != tipoForm)
        throw ScenarioError(std::string("the user cannot do this: the ") +
                            (tipoForm == 1 ? "header" : "body") +
                            " form is not the one in use (open it again first)");
}

void UserCanUse(Session& s, const StepArgs& a, std::int16_t tipoForm, const sim::SimControlPtr& c) {
    if (a.Text("by", "user") == "host") return;
    UserOnForm(s, a, tipoForm);
    if (!c) return;
    const char* why = !c->Visible() ? "hidden" : !c->Enabled() ? "disabled" : nullptr;
    if (!why) return;
    throw ScenarioError("the user cannot do this: the control " + c->Name() + " of the " +
                        (tipoForm == 1 ? "header" : "body") + " form is " + why);
}

sim::SimControlPtr ControlOn(Session& s, std::int16_t tipoForm, const std::string& name) {
    return (tipoForm == 1 ? s.Host().header : s.Host().body)->Control(name);
}

// "by": "user" (the default) or "host".
void CheckBy(const StepArgs& a) {
    const std::string by = a.Text("by", "user");
    if (by != "user" && by != "host")
        throw ScenarioError("\"by\" is \"user\" or \"host\", not \"" + by + "\"");
}

// A step on the body form's grid, navigator or menu: the user takes it on the body form in
// use; "by": "host" is the host doing it by itself.
void OnBody(Session& s, const StepArgs& a) {
    CheckBy(a);
    UserOnForm(s, a, 2);
}

const std::vector<ArgDef> kBodyStep{{"by", A::Text}};

// A fault step: from here on the k-th call of a kind fails (once), or every call of a kind
// whose site (statement text, procedure name, "<object>.<member>") contains a text, or
// only the k-th of those; "off" disarms what earlier fault steps armed.
void ArmFault(Session& s, const StepArgs& a) {
    if (a.Flag("off")) {
        if (a.Has("kind") || a.Has("nth") || a.Has("match"))
            throw ScenarioError("a fault step with \"off\" takes no other key");
        s.faults.Disarm();
        return;
    }
    if (!a.Has("kind")) throw ScenarioError("a fault step needs \"kind\" (or \"off\": true)");
    const auto kind = sim::FaultKindNamed(a.Text("kind"));
    if (!kind)
        throw ScenarioError(
            "\"kind\" is one of statement, procedure, get, set, method, move, "
            "write, message, not \"" +
            a.Text("kind") + "\"");
    const std::int32_t nth = a.Int("nth", 0);
    if (nth < 0 || (nth == 0 && !a.Has("match")))
        throw ScenarioError("\"nth\" is a whole number from 1 (or \"match\" is given)");
    if (a.Has("match"))
        s.faults.FailMatching(*kind, a.Text("match"), nth);
    else
        s.faults.FailNth(*kind, nth);
}

}  // namespace

const std::vector<ActionDef>& Actions() {
    static const std::vector<ActionDef> actions{
        {"createPlugin", {}, [](Session& s, const StepArgs&) { s.Driver().CreatePlugin(); }},
        {"initialize",
         {{"param", A::Text}},
         [](Session& s, const StepArgs& a) {
             s.Driver().Initialize(Variant(a.Text("param", "PARAM")));
         }},
        {"terminate", {}, [](Session& s, const StepArgs&) { s.Driver().Terminate(); }},
        {"reopen",
         {{"forms", A::Array}},
         [](Session& s, const StepArgs& a) {
             std::vector<std::int16_t> forms{1, 2};
             if (a.Has("forms")) {
                 forms.clear();
                 for (const auto& f : a.Raw("forms")) forms.push_back(FormOf(f));
             }
             s.Reopen(forms);
         }},
        {"release", {}, [](Session& s, const StepArgs&) { s.Driver().Release(); }},
        {"openForm",
         {{"form", A::Form, true}},
         [](Session& s, const StepArgs& a) {
             s.Driver().OpenForm(a.Form("form"));
             s.openForms.insert(a.Form("form"));
             s.currentForm = a.Form("form");
         }},
        {"closeForm",
         {{"form", A::Form, true}},
         [](Session& s, const StepArgs& a) {
             // The form stays open when the plug-in answered the cancel flag.
             if (s.Driver().CloseForm(a.Form("form"))) return;
             s.openForms.erase(a.Form("form"));
             if (s.currentForm == a.Form("form")) s.currentForm = 0;
         }},
        {"selectLine",
         {{"line", A::Integer, true}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             CheckBy(a);
             UserOnForm(s, a, 2);
             s.Driver().MoveToLine(a.Int("line"));
         }},
        {"save", {}, [](Session& s, const StepArgs&) { s.Driver().SaveByUser(); }},
        {"editLineField",
         {{"field", A::Text, true}, {"text", A::Text, true}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             CheckBy(a);
             UserCanUse(s, a, 2, s.Host().body->BoundTo(a.Text("field")));
             s.Driver().EditLineField(a.Text("field"), a.Text("text"));
         }},
        {"storeLine", kBodyStep,
         [](Session& s, const StepArgs& a) {
             OnBody(s, a);
             s.Driver().StoreLine();
         }},
        {"deleteLine", kBodyStep,
         [](Session& s, const StepArgs& a) {
             OnBody(s, a);
             s.Driver().DeleteLine();
         }},
        {"markEdited",
         {{"form", A::Form, true}, {"pending", A::Flag}},
         [](Session& s, const StepArgs& a) {
             s.Driver().SetUnsavedEdits(a.Form("form"), a.Flag("pending", true));
         }},
        {"setHeaderState",
         {{"state", A::Integer, true}, {"focus", A::Flag}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             CheckBy(a);
             UserCanUse(s, a, 1, ControlOn(s, 1, "TXT_DO11_STATO"));
             s.Driver().SetHeaderState(a.Int("state"), a.Flag("focus", true));
         }},
        {"setLineState",
         {{"state", A::Integer, true}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             CheckBy(a);
             UserCanUse(s, a, 2, s.Host().body->BoundTo("DO30_GUID"));
             s.Driver().SetLineState(a.Int("state"));
         }},
        {"focus",
         {{"form", A::Form, true}, {"control", A::Text}, {"events", A::Flag}},
         [](Session& s, const StepArgs& a) {
             const std::int16_t tipo = a.Form("form");
             const std::string name = a.Text("control");
             if (a.Flag("events", true)) {
                 s.Driver().MoveFocus(tipo, name);
                 return;
             }
             auto form = tipo == 1 ? s.Host().header : s.Host().body;
             if (!name.empty() && !form->Control(name))
                 Raise(err::MemberNotFound, form->Name(), "the form has no control " + name);
             form->SetActiveControl(name);
         }},
        {"navigatorButton",
         {{"navigator", A::Text, true}, {"key", A::Text, true}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             OnBody(s, a);
             using N = sim::HostDriver::Navigator;
             const std::string nav = a.Text("navigator");
             if (nav != "grid" && nav != "inner")
                 throw ScenarioError("a navigator is \"grid\" or \"inner\", not \"" + nav + "\"");
             s.Driver().PressNavigatorButton(nav == "grid" ? N::Grid : N::Inner, a.Text("key"));
         }},
        {"undoLine", kBodyStep,
         [](Session& s, const StepArgs& a) {
             OnBody(s, a);
             s.Driver().UndoLine();
         }},
        {"menuItem",
         {{"key", A::Text, true}, {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             OnBody(s, a);
             s.Driver().PickMenuItem(a.Text("key"));
         }},
        {"typeAndLeave",
         {{"form", A::Form, true},
          {"control", A::Text, true},
          {"text", A::Text, true},
          {"by", A::Text}},
         [](Session& s, const StepArgs& a) {
             CheckBy(a);
             UserCanUse(s, a, a.Form("form"), ControlOn(s, a.Form("form"), a.Text("control")));
             s.Driver().TypeAndLeave(a.Form("form"), a.Text("control"), a.Text("text"));
         }},
        {"lookup",
         {{"form", A::Form, true}, {"control", A::Text, true}},
         [](Session& s, const StepArgs& a) {
             s.lastLookup = s.Driver().OpenLookup(a.Form("form"), a.Text("control"));
         }},
        {"keyButtonMenu",
         {{"form", A::Form, true},
          {"control", A::Text, true},
          {"item", A::Value, true},
          {"value", A::Value}},
         [](Session& s, const StepArgs& a) {
             s.Driver().PressKeyButtonMenu(a.Form("form"), a.Text("control"),
                                           MenuValue(a.Raw("item")),
                                           a.Has("value") ? MenuValue(a.Raw("value")) : Variant());
         }},
        {"gridEdit", kGridEditArgs, PlanGridEdit},
        {"fault",
         {{"kind", A::Text}, {"nth", A::Integer}, {"match", A::Text}, {"off", A::Flag}},
         ArmFault},
    };
    return actions;
}

}  // namespace zq::tool
