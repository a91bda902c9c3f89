// A plug-in that only notes which of its events the host raised, for the tests of the
// driver's own mechanics; the real plug-in's life cycle is tested with CreateStatiPlugin.
// Its answers to Initialize, ControllaDati and CloseForm are set per test, and `onEvent`
// lets a test act inside an event as the real plug-in does (for example call the form's
// SalvaDocumento). Each noted event is noted under its own name; the events the driver
// never raises answer nothing.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/interfaces.h"
#include "host/object.h"

namespace zq::test {

class NotingPlugin : public Object,
                     public host::ICLSMG_REGDOCVERT,
                     public host::ICLSMG_REGDOCVERT2 {
  public:
    explicit NotingPlugin(bool* destroyed = nullptr) : destroyed_(destroyed) {}
    ~NotingPlugin() override {
        if (destroyed_) *destroyed_ = true;
    }

    std::vector<std::string> noted;
    std::function<void(std::string_view)> onEvent;
    VBool ready = VTrue;
    VBool refuseSave = VFalse;
    bool failSave = false;
    VBool refuseClose = VFalse;
    ObjectPtr lastForm;
    std::int16_t lastTipoForm = 0;
    ado::ConnectionPtr cnn;
    host::RegDocPtr regDoc;

    HResult Initialize(Variant, ado::ConnectionPtr& Cnn, host::RegDocPtr& RegDoc,
                       host::ProgrammaPtr&, host::DittaPtr&, std::int16_t, VBool& Result) override {
        cnn = Cnn;
        regDoc = RegDoc;
        Result = ready;
        return Note(__func__);
    }
    HResult ControllaDati(VBool& Cancel) override {
        if (IsTrue(refuseSave)) Cancel = refuseSave;
        (void)Note(__func__);
        return failSave ? HResult::Failure(5, "ControllaDati", "refused by error") : HResult();
    }
    HResult CloseForm(ObjectPtr& Form, std::int16_t TipoForm, VBool& Cancel) override {
        lastForm = Form;
        lastTipoForm = TipoForm;
        if (IsTrue(refuseClose)) Cancel = refuseClose;
        return Note(__func__);
    }

    HResult Terminate() override { return Note(__func__); }
    HResult BeginDeleteDocCorpo() override { return Note(__func__); }
    HResult EndDeleteDocCorpo() override { return Note(__func__); }
    HResult UIBeforeUpdateDocBody(VBool&) override { return Note(__func__); }
    HResult UIAfterUpdateDocBody() override { return Note(__func__); }
    HResult UIBeforeDeleteDocBody(VBool&) override { return Note(__func__); }
    HResult UIAfterDeleteDocBody() override { return Note(__func__); }
    HResult ControlEventKeyButtonMenuPress(ObjectPtr&, ObjectPtr&, Variant&, Variant&) override {
        return Note(__func__);
    }
    HResult ControlEventLostFocus(ObjectPtr&, ObjectPtr&) override { return Note(__func__); }
    HResult ControlEventStartDecode(ObjectPtr&, ObjectPtr&, VBool&, Variant&, Variant&,
                                    Variant&) override {
        return Note(__func__);
    }
    HResult ControlEventStartLookup(ObjectPtr&, ObjectPtr&, VBool&, std::string&, Variant&,
                                    std::string&, std::string&) override {
        return Note(__func__);
    }
    HResult FunzGenInit(ObjectPtr&, std::int16_t, ObjectPtr&) override { return Note(__func__); }
    HResult GRIDRowChange() override { return Note(__func__); }
    HResult OpenForm(ObjectPtr&, std::int16_t) override { return Note(__func__); }
    HResult StatiTESTATAChange(Variant&, std::int32_t, std::int32_t) override {
        return Note(__func__);
    }
    HResult StatiCORPOChange(Variant&, std::int32_t, std::int32_t) override {
        return Note(__func__);
    }

    // Never raised by the driver.
    HResult BeginAddNewDocTestata() override { return {}; }
    HResult EndAddNewDocTestata() override { return {}; }
    HResult BeginDeleteDocTestata() override { return {}; }
    HResult EndDeleteDocTestata() override { return {}; }
    HResult BeginModifyDocTestata() override { return {}; }
    HResult EndModifyDocTestata() override { return {}; }
    HResult BeginUpdateDocTestata() override { return {}; }
    HResult EndUpdateDocTestata() override { return {}; }
    HResult BeginAddNewDocCorpo() override { return {}; }
    HResult EndAddNewDocCorpo() override { return {}; }
    HResult BeginModifyDocCorpo() override { return {}; }
    HResult EndModifyDocCorpo() override { return {}; }
    HResult BeginUpdateDocCorpo() override { return {}; }
    HResult EndUpdateDocCorpo() override { return {}; }
    HResult UIBeforeUpdateDocument(VBool&) override { return {}; }
    HResult UIAfterUpdateDocument() override { return {}; }
    HResult UIBeforeDeleteDocument(VBool&) override { return {}; }
    HResult UIAfterDeleteDocument() override { return {}; }
    HResult UIBeforeNewDocument(VBool&) override { return {}; }
    HResult UIAfterNewDocument() override { return {}; }
    HResult UIBeforeAddNewDocBody(VBool&) override { return {}; }
    HResult UIAfterAddNewDocBody() override { return {}; }
    HResult BeforePrintDocument(VBool&) override { return {}; }
    HResult AfterPrintDocument() override { return {}; }
    HResult BeforeApplyKit(Variant, VBool&) override { return {}; }
    HResult BeforeEsplodiKit(Variant&, VBool&) override { return {}; }
    HResult AfterEsplodiKit() override { return {}; }
    HResult UIBeforeSchedaArticoli(VBool&) override { return {}; }
    HResult UIAfterSchedaArticoli(Variant&, Variant&, Variant&) override { return {}; }
    HResult BeforeRicalcolaPrezzo(VBool&) override { return {}; }
    HResult AfterRicalcolaPrezzo() override { return {}; }
    HResult BeforeApplyAgentiTestata(VBool&) override { return {}; }
    HResult BeforeCalcolaPrezzoNetto(VBool&) override { return {}; }
    HResult AfterCalcolaPrezzoNetto(Variant, Variant) override { return {}; }
    HResult BeginAddNewDocTestaVert() override { return {}; }
    HResult EndAddNewDocTestaVert() override { return {}; }
    HResult BeginAddNewDocCorpoVert() override { return {}; }
    HResult EndAddNewDocCorpoVert() override { return {}; }
    HResult BeginAddNewDocTotaliVert() override { return {}; }
    HResult EndAddNewDocTotaliVert() override { return {}; }
    HResult BeginUpdateDocTestaVert() override { return {}; }
    HResult EndUpdateDocTestaVert() override { return {}; }
    HResult BeginUpdateDocCorpoVert() override { return {}; }
    HResult EndUpdateDocCorpoVert() override { return {}; }
    HResult BeginUpdateDocTotaliVert() override { return {}; }
    HResult EndUpdateDocTotaliVert() override { return {}; }
    HResult IndPlugInStd(std::int16_t&) override { return {}; }
    HResult GetGestDocTestaVert(Variant&, std::string&, VBool&) override { return {}; }
    HResult GetGestDocCorpoVert(Variant&, std::string&, VBool&) override { return {}; }
    HResult GetGestDocTotaliVert(Variant&, std::string&, VBool&) override { return {}; }
    HResult ControlEventBeforeItem(ObjectPtr&, ObjectPtr&) override { return {}; }
    HResult ControlEventCloseLookup(ObjectPtr&, ObjectPtr&, Variant&) override { return {}; }
    HResult ControlEventGotFocus(ObjectPtr&, ObjectPtr&) override { return {}; }
    HResult FunzArtBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&) override { return {}; }
    HResult FunzArtInit(ObjectPtr&, std::int16_t, ObjectPtr&) override { return {}; }
    HResult FunzArtMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant, Variant&,
                                 Variant&) override {
        return {};
    }
    HResult FunzGenBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&) override { return {}; }
    HResult FunzGenMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant, Variant&,
                                 Variant&) override {
        return {};
    }
    HResult GRIDDataFormat(Variant&, Variant&, std::string&, ObjectPtr&) override { return {}; }
    HResult GridnavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) override { return {}; }
    HResult GridnavButtonClick(ObjectPtr&, std::int16_t, std::string&) override { return {}; }
    HResult GridnavInit(ObjectPtr&, std::int16_t, ObjectPtr&) override { return {}; }
    HResult InternavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) override { return {}; }
    HResult InternavButtonClick(ObjectPtr&, std::int16_t, std::string&) override { return {}; }
    HResult InternavInit(ObjectPtr&, std::int16_t, ObjectPtr&) override { return {}; }
    HResult UIGenericEvent(Variant&, Variant&, std::string&, Variant&) override { return {}; }
    HResult BOGenericEvent(Variant&, std::string&, Variant&) override { return {}; }

  private:
    HResult Note(std::string_view name) {
        noted.emplace_back(name);
        if (onEvent) onEvent(name);
        return HResult();
    }
    bool* destroyed_;
};

}  // namespace zq::test
