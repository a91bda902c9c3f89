// A plug-in that only notes which of its events the host raised, for the tests of the
// driver's own mechanics; the real plug-in's life cycle is tested with CreateStatiPlugin.
// Its answers to Initialize, ControllaDati and CloseForm are set per test, and `onEvent`
// lets a test act inside an event as the real plug-in does (for example call the form's
// SalvaDocumento).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/interfaces.h"
#include "host/object.h"

namespace zq::sim::testing {

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
    std::string lookupSql;  // when set, look-ups are handled with this statement
    ObjectPtr lastForm;
    std::int16_t lastTipoForm = 0;
    ado::ConnectionPtr cnn;
    host::RegDocPtr regDoc;

    HResult Initialize(Variant, ado::ConnectionPtr& Cnn, host::RegDocPtr& RegDoc,
                       host::ProgrammaPtr&, host::DittaPtr&, std::int16_t, VBool& Result) override {
        cnn = Cnn;
        regDoc = RegDoc;
        Result = ready;
        return Note("Initialize");
    }
    HResult ControllaDati(VBool& Cancel) override {
        if (IsTrue(refuseSave)) Cancel = refuseSave;
        (void)Note("ControllaDati");
        return failSave ? HResult::Failure(5, "ControllaDati", "refused by error") : HResult();
    }
    HResult CloseForm(ObjectPtr& Form, std::int16_t TipoForm, VBool& Cancel) override {
        lastForm = Form;
        lastTipoForm = TipoForm;
        if (IsTrue(refuseClose)) Cancel = refuseClose;
        return Note("CloseForm");
    }

    HResult Terminate() override { return Note("Terminate"); }
    HResult BeginAddNewDocTestata() override { return Note("BeginAddNewDocTestata"); }
    HResult EndAddNewDocTestata() override { return Note("EndAddNewDocTestata"); }
    HResult BeginDeleteDocTestata() override { return Note("BeginDeleteDocTestata"); }
    HResult EndDeleteDocTestata() override { return Note("EndDeleteDocTestata"); }
    HResult BeginModifyDocTestata() override { return Note("BeginModifyDocTestata"); }
    HResult EndModifyDocTestata() override { return Note("EndModifyDocTestata"); }
    HResult BeginUpdateDocTestata() override { return Note("BeginUpdateDocTestata"); }
    HResult EndUpdateDocTestata() override { return Note("EndUpdateDocTestata"); }
    HResult BeginAddNewDocCorpo() override { return Note("BeginAddNewDocCorpo"); }
    HResult EndAddNewDocCorpo() override { return Note("EndAddNewDocCorpo"); }
    HResult BeginModifyDocCorpo() override { return Note("BeginModifyDocCorpo"); }
    HResult EndModifyDocCorpo() override { return Note("EndModifyDocCorpo"); }
    HResult BeginDeleteDocCorpo() override { return Note("BeginDeleteDocCorpo"); }
    HResult EndDeleteDocCorpo() override { return Note("EndDeleteDocCorpo"); }
    HResult BeginUpdateDocCorpo() override { return Note("BeginUpdateDocCorpo"); }
    HResult EndUpdateDocCorpo() override { return Note("EndUpdateDocCorpo"); }
    HResult UIBeforeUpdateDocument(VBool&) override { return Note("UIBeforeUpdateDocument"); }
    HResult UIAfterUpdateDocument() override { return Note("UIAfterUpdateDocument"); }
    HResult UIBeforeDeleteDocument(VBool&) override { return Note("UIBeforeDeleteDocument"); }
    HResult UIAfterDeleteDocument() override { return Note("UIAfterDeleteDocument"); }
    HResult UIBeforeNewDocument(VBool&) override { return Note("UIBeforeNewDocument"); }
    HResult UIAfterNewDocument() override { return Note("UIAfterNewDocument"); }
    HResult UIBeforeUpdateDocBody(VBool&) override { return Note("UIBeforeUpdateDocBody"); }
    HResult UIAfterUpdateDocBody() override { return Note("UIAfterUpdateDocBody"); }
    HResult UIBeforeDeleteDocBody(VBool&) override { return Note("UIBeforeDeleteDocBody"); }
    HResult UIAfterDeleteDocBody() override { return Note("UIAfterDeleteDocBody"); }
    HResult UIBeforeAddNewDocBody(VBool&) override { return Note("UIBeforeAddNewDocBody"); }
    HResult UIAfterAddNewDocBody() override { return Note("UIAfterAddNewDocBody"); }
    HResult BeforePrintDocument(VBool&) override { return Note("BeforePrintDocument"); }
    HResult AfterPrintDocument() override { return Note("AfterPrintDocument"); }
    HResult BeforeApplyKit(Variant, VBool&) override { return Note("BeforeApplyKit"); }
    HResult BeforeEsplodiKit(Variant&, VBool&) override { return Note("BeforeEsplodiKit"); }
    HResult AfterEsplodiKit() override { return Note("AfterEsplodiKit"); }
    HResult UIBeforeSchedaArticoli(VBool&) override { return Note("UIBeforeSchedaArticoli"); }
    HResult UIAfterSchedaArticoli(Variant&, Variant&, Variant&) override {
        return Note("UIAfterSchedaArticoli");
    }
    HResult BeforeRicalcolaPrezzo(VBool&) override { return Note("BeforeRicalcolaPrezzo"); }
    HResult AfterRicalcolaPrezzo() override { return Note("AfterRicalcolaPrezzo"); }
    HResult BeforeApplyAgentiTestata(VBool&) override { return Note("BeforeApplyAgentiTestata"); }
    HResult BeforeCalcolaPrezzoNetto(VBool&) override { return Note("BeforeCalcolaPrezzoNetto"); }
    HResult AfterCalcolaPrezzoNetto(Variant, Variant) override {
        return Note("AfterCalcolaPrezzoNetto");
    }
    HResult BeginAddNewDocTestaVert() override { return Note("BeginAddNewDocTestaVert"); }
    HResult EndAddNewDocTestaVert() override { return Note("EndAddNewDocTestaVert"); }
    HResult BeginAddNewDocCorpoVert() override { return Note("BeginAddNewDocCorpoVert"); }
    HResult EndAddNewDocCorpoVert() override { return Note("EndAddNewDocCorpoVert"); }
    HResult BeginAddNewDocTotaliVert() override { return Note("BeginAddNewDocTotaliVert"); }
    HResult EndAddNewDocTotaliVert() override { return Note("EndAddNewDocTotaliVert"); }
    HResult BeginUpdateDocTestaVert() override { return Note("BeginUpdateDocTestaVert"); }
    HResult EndUpdateDocTestaVert() override { return Note("EndUpdateDocTestaVert"); }
    HResult BeginUpdateDocCorpoVert() override { return Note("BeginUpdateDocCorpoVert"); }
    HResult EndUpdateDocCorpoVert() override { return Note("EndUpdateDocCorpoVert"); }
    HResult BeginUpdateDocTotaliVert() override { return Note("BeginUpdateDocTotaliVert"); }
    HResult EndUpdateDocTotaliVert() override { return Note("EndUpdateDocTotaliVert"); }
    HResult IndPlugInStd(std::int16_t&) override { return Note("IndPlugInStd"); }
    HResult GetGestDocTestaVert(Variant&, std::string&, VBool&) override {
        return Note("GetGestDocTestaVert");
    }
    HResult GetGestDocCorpoVert(Variant&, std::string&, VBool&) override {
        return Note("GetGestDocCorpoVert");
    }
    HResult GetGestDocTotaliVert(Variant&, std::string&, VBool&) override {
        return Note("GetGestDocTotaliVert");
    }
    HResult ControlEventBeforeItem(ObjectPtr&, ObjectPtr&) override {
        return Note("ControlEventBeforeItem");
    }
    HResult ControlEventCloseLookup(ObjectPtr&, ObjectPtr&, Variant&) override {
        return Note("ControlEventCloseLookup");
    }
    HResult ControlEventGotFocus(ObjectPtr&, ObjectPtr&) override {
        return Note("ControlEventGotFocus");
    }
    HResult ControlEventKeyButtonMenuPress(ObjectPtr&, ObjectPtr&, Variant&, Variant&) override {
        return Note("ControlEventKeyButtonMenuPress");
    }
    HResult ControlEventLostFocus(ObjectPtr&, ObjectPtr&) override {
        return Note("ControlEventLostFocus");
    }
    HResult ControlEventStartDecode(ObjectPtr&, ObjectPtr&, VBool&, Variant&, Variant&,
                                    Variant&) override {
        return Note("ControlEventStartDecode");
    }
    HResult ControlEventStartLookup(ObjectPtr&, ObjectPtr&, VBool& Handled, std::string& Sql,
                                    Variant&, std::string& Titolo, std::string&) override {
        if (!lookupSql.empty()) {
            Handled = VTrue;
            Sql = lookupSql;
            Titolo = "Causali Annullo";
        }
        return Note("ControlEventStartLookup");
    }
    HResult FunzArtBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("FunzArtBeforeShowMenuPopup");
    }
    HResult FunzArtInit(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("FunzArtInit");
    }
    HResult FunzArtMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant, Variant&,
                                 Variant&) override {
        return Note("FunzArtMenuItemClick");
    }
    HResult FunzGenBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("FunzGenBeforeShowMenuPopup");
    }
    HResult FunzGenInit(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("FunzGenInit");
    }
    HResult FunzGenMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant, Variant&,
                                 Variant&) override {
        return Note("FunzGenMenuItemClick");
    }
    HResult GRIDDataFormat(Variant&, Variant&, std::string&, ObjectPtr&) override {
        return Note("GRIDDataFormat");
    }
    HResult GridnavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) override {
        return Note("GridnavAfterButtonClick");
    }
    HResult GridnavButtonClick(ObjectPtr&, std::int16_t, std::string&) override {
        return Note("GridnavButtonClick");
    }
    HResult GridnavInit(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("GridnavInit");
    }
    HResult GRIDRowChange() override { return Note("GRIDRowChange"); }
    HResult InternavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) override {
        return Note("InternavAfterButtonClick");
    }
    HResult InternavButtonClick(ObjectPtr&, std::int16_t, std::string&) override {
        return Note("InternavButtonClick");
    }
    HResult InternavInit(ObjectPtr&, std::int16_t, ObjectPtr&) override {
        return Note("InternavInit");
    }
    HResult OpenForm(ObjectPtr&, std::int16_t) override { return Note("OpenForm"); }
    HResult StatiTESTATAChange(Variant&, std::int32_t, std::int32_t) override {
        return Note("StatiTESTATAChange");
    }
    HResult StatiCORPOChange(Variant&, std::int32_t, std::int32_t) override {
        return Note("StatiCORPOChange");
    }
    HResult UIGenericEvent(Variant&, Variant&, std::string&, Variant&) override {
        return Note("UIGenericEvent");
    }
    HResult BOGenericEvent(Variant&, std::string&, Variant&) override {
        return Note("BOGenericEvent");
    }

  private:
    HResult Note(std::string_view name) {
        noted.emplace_back(name);
        if (onEvent) onEvent(name);
        return HResult();
    }
    bool* destroyed_;
};

}  // namespace zq::sim::testing
