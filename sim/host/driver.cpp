#include "sim/host/driver.h"

namespace zq::sim {

namespace {

Variant Flag(VBool v) {
    return Variant::Int16(v);
}

}  // namespace

HostDriver::HostDriver(SimHost& host, PluginFactory factory)
    : host_(host), factory_(std::move(factory)) {
    host_.save = [this] { Save(); };
    host_.doc->onPluginMove = [this](Landing l) {
        AnnounceLanding(l, host_.behaviour.rowChangeOnEveryMove && l.lineMoved);
    };
}

HostDriver::~HostDriver() {
    host_.save = nullptr;
    host_.doc->onPluginMove = nullptr;
    Release();
}

// The body controls already show the landed line: its state change, when the state control
// shows another state, and the row change, in the order the host's behaviour gives.
void HostDriver::AnnounceLanding(Landing l, bool rowChange) {
    if (!plugin_) return;
    using LS = HostBehaviour::LandingState;
    const LS when = host_.behaviour.landingState;
    const bool state = l.stateChanged && when != LS::None;
    const auto riga = host_.doc->RigaCorpo();
    if (state && when == LS::BeforeRowChange)
        RaiseLineStateChange(riga->StatoRiga(), riga->IdFlusso());
    if (rowChange)
        RaiseEvent("GRIDRowChange",
                   [&](std::vector<Variant>&) { return FormEvents().GRIDRowChange(); });
    if (state && when == LS::AfterRowChange)
        RaiseLineStateChange(riga->StatoRiga(), riga->IdFlusso());
}

void HostDriver::CreatePlugin() {
    plugin_ = factory_();
    if (!plugin_ || !plugin_.docEvents || !plugin_.formEvents)
        Raise(err::CannotCreateObject, "HostDriver", "The plug-in could not be created");
}

host::ICLSMG_REGDOCVERT& HostDriver::DocEvents() {
    if (!plugin_) RaiseObjectNotSet("ICLSMG_REGDOCVERT");
    return *plugin_.docEvents;
}

host::ICLSMG_REGDOCVERT2& HostDriver::FormEvents() {
    if (!plugin_) RaiseObjectNotSet("ICLSMG_REGDOCVERT2");
    return *plugin_.formEvents;
}

bool HostDriver::Initialize(Variant param, std::int16_t indPlugIn) {
    if (!plugin_) CreatePlugin();
    ado::ConnectionPtr cnn = host_.db->Connection();
    host::RegDocPtr doc = host_.doc;
    host::ProgrammaPtr programma = host_.programma;
    host::DittaPtr ditta = host_.ditta;
    VBool ready = VFalse;
    RaiseEvent("Initialize", [&](std::vector<Variant>& results) {
        auto r =
            DocEvents().Initialize(std::move(param), cnn, doc, programma, ditta, indPlugIn, ready);
        results = {Flag(ready)};
        return r;
    });
    return IsTrue(ready);
}

void HostDriver::Terminate() {
    RaiseEvent("Terminate", [&](std::vector<Variant>&) { return DocEvents().Terminate(); });
}

void HostDriver::Release() {
    plugin_ = PluginRef{};
}

SimFormPtr HostDriver::FormOf(std::int16_t tipoForm) const {
    return tipoForm == 1 ? host_.header : host_.body;
}

void HostDriver::FunzGenInit(std::int16_t tipoForm) {
    ObjectPtr form = FormOf(tipoForm);
    ObjectPtr menu = host_.menu;
    RaiseEvent("FunzGenInit", [&](std::vector<Variant>&) {
        return FormEvents().FunzGenInit(form, tipoForm, menu);
    });
}

void HostDriver::OpenForm(std::int16_t tipoForm) {
    // Entering the header form leaves the body line; a refused store keeps its edits
    // pending, as the host keeps them when the user goes on.
    if (tipoForm == 1) (void)LeaveLine();
    host_.ShowDocument();
    if (tipoForm == 2) FunzGenInit(tipoForm);
    ObjectPtr form = FormOf(tipoForm);
    RaiseEvent("OpenForm",
               [&](std::vector<Variant>&) { return FormEvents().OpenForm(form, tipoForm); });
    if (tipoForm == 1 && host_.behaviour.headerStateOnOpen) {
        // The header's state control takes the stored state as the form shows the document.
        host_.header->SetActiveControl("");
        const auto [idStato, idFlusso] = HeaderState();
        RaiseHeaderStateChange(idStato, idFlusso);
    }
}

std::pair<std::int32_t, std::int32_t> HostDriver::HeaderState() const {
    auto testata = host_.doc->rstDocTestata();
    const auto read = [&](std::string_view field) {
        if (!testata->HasField(field) || testata->BOF() || testata->EOF_()) return 0;
        const Variant v = testata->Get(field);
        return v.IsNull() || v.IsEmpty() ? 0 : v.ToLong();
    };
    return {read("DO11_STATO"), read("DO11_IDFLUSSO_CO4B")};
}

bool HostDriver::CloseForm(std::int16_t tipoForm) {
    ObjectPtr form = FormOf(tipoForm);
    VBool cancel = VFalse;
    RaiseEvent("CloseForm", [&](std::vector<Variant>& results) {
        auto r = FormEvents().CloseForm(form, tipoForm, cancel);
        results = {Flag(cancel)};
        return r;
    });
    return IsTrue(cancel);
}

void HostDriver::MoveToLine(std::int32_t progRiga) {
    if (!LeaveLine()) return;
    AnnounceLanding(host_.doc->MoveToLine(progRiga), true);
}

bool HostDriver::Save() {
    VBool cancel = VFalse;
    bool failed = false;
    RaiseEvent("ControllaDati", [&](std::vector<Variant>& results) {
        auto r = DocEvents().ControllaDati(cancel);
        results = {Flag(cancel)};
        failed = r.Failed();
        return r;
    });
    // A validation that fails is a refusal: the host does not write what it could not check.
    if (IsTrue(cancel) || failed) return false;
    host_.doc->Save();
    ++saves_;
    lineEdited_ = false;
    return true;
}

bool HostDriver::SaveByUser() {
    return LeaveLine() && Save();
}

void HostDriver::SetHeaderState(std::int32_t idStato, bool focusOnStateControl) {
    auto testata = host_.doc->rstDocTestata();
    if (testata->HasField("DO11_STATO")) {
        testata->Set("DO11_STATO", Variant::Int32(idStato));
        testata->Update();
    }
    if (auto ctl = host_.header->Control("TXT_DO11_STATO")) ctl->Type(std::to_string(idStato));
    if (focusOnStateControl) host_.header->SetActiveControl("TXT_DO11_STATO");
    RaiseHeaderStateChange(idStato, HeaderState().second);
}

void HostDriver::RaiseHeaderStateChange(std::int32_t idStato, std::int32_t idFlusso) {
    Variant origine;
    RaiseEvent("StatiTESTATAChange",
               [&](std::vector<Variant>&) {
                   return FormEvents().StatiTESTATAChange(origine, idStato, idFlusso);
               },
               {Variant::Int32(idStato), Variant::Int32(idFlusso)});
}

void HostDriver::SetLineState(std::int32_t idStato) {
    auto riga = host_.doc->RigaCorpo();
    riga->Follow(riga->GuidRiga(), idStato);
    const std::int32_t idFlusso = riga->IdFlusso();
    // The line-state control confirms the user's choice into the flow-state store at once,
    // as its state object does when the plug-in confirms a state; the plug-in then only
    // writes the states it decides itself (a master back to the initial state, a new
    // cancellation line to the cancelled one).
    if (!riga->GuidRiga().empty()) host_.db->SetFlowState(riga->GuidRiga(), idStato, idFlusso);
    RaiseLineStateChange(idStato, idFlusso);
}

void HostDriver::RaiseLineStateChange(std::int32_t idStato, std::int32_t idFlusso) {
    Variant origine;
    RaiseEvent("StatiCORPOChange",
               [&](std::vector<Variant>&) {
                   return FormEvents().StatiCORPOChange(origine, idStato, idFlusso);
               },
               {Variant::Int32(idStato), Variant::Int32(idFlusso)});
}

SimControlPtr HostDriver::ControlOf(std::int16_t tipoForm, std::string_view name) const {
    auto form = FormOf(tipoForm);
    auto c = form->Control(name);
    if (!c) RaiseMemberNotFound(*form, name);
    return c;
}

void HostDriver::TypeAndLeave(std::int16_t tipoForm, std::string_view controlName,
                              std::string text) {
    Type(tipoForm, controlName, std::move(text));
    SimFormPtr form = FormOf(tipoForm);
    SimControlPtr ctl = ControlOf(tipoForm, controlName);
    ObjectPtr f = form, c = ctl;
    RaiseEvent("ControlEventLostFocus",
               [&](std::vector<Variant>&) { return FormEvents().ControlEventLostFocus(f, c); },
               {Variant(ctl->Name())});
    form->SetActiveControl("");
}

void HostDriver::Type(std::int16_t tipoForm, std::string_view controlName, std::string text) {
    SimFormPtr form = FormOf(tipoForm);
    SimControlPtr ctl = ControlOf(tipoForm, controlName);
    form->SetActiveControl(ctl->Name());
    ctl->Type(text);
    if (tipoForm == 2) lineEdited_ = true;
    if (auto rs = SectionOf(*host_.doc, ctl->DBField());
        rs && rs->HasField(ctl->DBField()) && !rs->BOF() && !rs->EOF_()) {
        try {
            rs->Set(ctl->DBField(), Variant(text));
        } catch (const HostError&) {
            // Text that is no value of the field's type stays in the control only, as the
            // host's text box holds whatever the user types; an emptied box bound to a
            // number gives its field Null.
            if (text.empty()) rs->Set(ctl->DBField(), Variant::Null());
        }
    }
    ObjectPtr f = form, c = ctl;
    VBool handled = VFalse;
    Variant valore(text), descrizione, extra;
    RaiseEvent("ControlEventStartDecode",
               [&](std::vector<Variant>& results) {
                   auto r = FormEvents().ControlEventStartDecode(f, c, handled, valore, descrizione,
                                                                 extra);
                   results = {Flag(handled)};
                   return r;
               },
               {Variant(ctl->Name()), Variant(text)});
}

HostDriver::Lookup HostDriver::OpenLookup(std::int16_t tipoForm, std::string_view controlName) {
    ObjectPtr f = FormOf(tipoForm);
    ObjectPtr c = ControlOf(tipoForm, controlName);
    Lookup out;
    VBool handled = VFalse;
    RaiseEvent("ControlEventStartLookup",
               [&](std::vector<Variant>& results) {
                   auto r = FormEvents().ControlEventStartLookup(
                       f, c, handled, out.sql, out.colonne, out.titolo, out.paramInit);
                   results = {Flag(handled), Variant(out.sql), out.colonne, Variant(out.titolo),
                              Variant(out.paramInit)};
                   return r;
               },
               {Variant(controlName)});
    out.handled = IsTrue(handled);
    if (out.handled && !out.sql.empty())
        out.rows = host_.db->Connection()->Execute(out.sql, nullptr, ado::adCmdText);
    return out;
}

void HostDriver::PressKeyButtonMenu(std::int16_t tipoForm, std::string_view controlName,
                                    Variant voce, Variant valore) {
    ObjectPtr f = FormOf(tipoForm);
    ObjectPtr c = ControlOf(tipoForm, controlName);
    RaiseEvent("ControlEventKeyButtonMenuPress",
               [&](std::vector<Variant>&) {
                   return FormEvents().ControlEventKeyButtonMenuPress(f, c, voce, valore);
               },
               {Variant(controlName), voce});
}

std::vector<std::string> HostDriver::EventNames() const {
    std::vector<std::string> out;
    for (const auto& e : events_) out.push_back(e.name);
    return out;
}

const RaisedEvent* HostDriver::Last(std::string_view name) const {
    for (auto it = events_.rbegin(); it != events_.rend(); ++it)
        if (it->name == name) return &*it;
    return nullptr;
}

}  // namespace zq::sim
