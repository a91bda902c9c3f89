// The plug-in as the test host holds it: the registered library's COM object, created by
// ProgID, and driven through the vtables of ICLSMG_REGDOCVERT and ICLSMG_REGDOCVERT2.
//
// ComPlugin implements the plug-in's two C++ interfaces on the host side: each method
// turns its arguments into their COM shapes (the simulated host's objects exposed by
// name), calls the vtable, brings the by-reference arguments back, and turns a failed
// HRESULT and its error object into the HResult the driver records. With it,
// sim::CreateStatiPlugin gives the driver the COM object instead of an in-process one.
#pragma once

#include <memory>
#include <tuple>

#include "com/com_types.h"
#include "com/object_bridge.h"
#include "com/variant_convert.h"
#include "host/interfaces.h"
#include "sim/host/plugin_ref.h"
#include "zqbo_docplugin_stati.h"

namespace zq::comtest {

// What a failed call reports: its HRESULT and the error object's number (a control-
// facility HRESULT gives its low word), source and description.
HResult ResultOf(HRESULT hr);

template <class C, class P>
struct Pass;

template <>
struct Pass<VARIANT, Variant> {
    com::UniqueVariant v;
    explicit Pass(const Variant& x) { com::ToVARIANT(x, v.Get()); }
    VARIANT Com() { return v.Ref(); }  // by value: the callee must not free it
    void Back() {}
};
template <>
struct Pass<VARIANT*, Variant> {
    Variant& r;
    com::UniqueVariant v;
    explicit Pass(Variant& x) : r(x) { com::ToVARIANT(x, v.Get()); }
    VARIANT* Com() { return v.Get(); }
    void Back() { r = com::FromVARIANT(v.Ref()); }
};
template <>
struct Pass<short, std::int16_t> {
    short v;
    explicit Pass(std::int16_t x) : v(x) {}
    short Com() const { return v; }
    void Back() {}
};
template <>
struct Pass<LONG, std::int32_t> {
    LONG v;
    explicit Pass(std::int32_t x) : v(x) {}
    LONG Com() const { return v; }
    void Back() {}
};
template <>
struct Pass<short*, std::int16_t> {
    std::int16_t& r;
    short v;
    explicit Pass(std::int16_t& x) : r(x), v(x) {}
    short* Com() { return &v; }
    void Back() { r = v; }
};
template <>
struct Pass<BSTR*, std::string> {
    std::string& r;
    BSTR b;
    explicit Pass(std::string& x) : r(x), b(com::MakeBstr(x)) {}
    ~Pass() { SysFreeString(b); }
    Pass(const Pass&) = delete;
    BSTR* Com() { return &b; }
    void Back() { r = com::Narrow(b); }
};
template <class T>
struct Pass<IDispatch**, std::shared_ptr<T>> {
    std::shared_ptr<T>& r;
    IDispatch* d;
    explicit Pass(std::shared_ptr<T>& x) : r(x), d(com::ExposeObject(x).Detach()) {}
    ~Pass() {
        if (d) d->Release();
    }
    Pass(const Pass&) = delete;
    IDispatch** Com() { return &d; }
    void Back() { r = As<T>(com::WrapDispatch(d)); }
};

class ComPlugin : public Object, public host::ICLSMG_REGDOCVERT, public host::ICLSMG_REGDOCVERT2 {
  public:
    // The object of the registered library, by ProgID; raises HostError (429) when it
    // cannot be created or lacks one of the host's interfaces.
    static std::shared_ptr<ComPlugin> Create();
    std::string TypeName() const override { return "ComPlugin"; }

    ::ICLSMG_REGDOCVERT* Vert() const { return vert_.Get(); }
    ::ICLSMG_REGDOCVERT2* Vert2() const { return vert2_.Get(); }
    _CLSRF_REGDOC_STATI* Default() const { return default_.Get(); }

    // ---- ICLSMG_REGDOCVERT ----
    HResult Initialize(Variant Param, ado::ConnectionPtr& Cnn, host::RegDocPtr& RegDoc,
                       host::ProgrammaPtr& Programma, host::DittaPtr& Ditta, std::int16_t IndPlugIn,
                       VBool& Result) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::Initialize, Param, Cnn, RegDoc, Programma, Ditta,
                    IndPlugIn, Result);
    }
    HResult Terminate() override { return Call(vert_, &::ICLSMG_REGDOCVERT::Terminate); }
    HResult BeginAddNewDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginAddNewDocTestata);
    }
    HResult EndAddNewDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndAddNewDocTestata);
    }
    HResult BeginDeleteDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginDeleteDocTestata);
    }
    HResult EndDeleteDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndDeleteDocTestata);
    }
    HResult BeginModifyDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginModifyDocTestata);
    }
    HResult EndModifyDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndModifyDocTestata);
    }
    HResult BeginUpdateDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginUpdateDocTestata);
    }
    HResult EndUpdateDocTestata() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndUpdateDocTestata);
    }
    HResult BeginAddNewDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginAddNewDocCorpo);
    }
    HResult EndAddNewDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndAddNewDocCorpo);
    }
    HResult BeginModifyDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginModifyDocCorpo);
    }
    HResult EndModifyDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndModifyDocCorpo);
    }
    HResult BeginDeleteDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginDeleteDocCorpo);
    }
    HResult EndDeleteDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndDeleteDocCorpo);
    }
    HResult BeginUpdateDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginUpdateDocCorpo);
    }
    HResult EndUpdateDocCorpo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndUpdateDocCorpo);
    }
    HResult UIBeforeUpdateDocument(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeUpdateDocument, Cancel);
    }
    HResult UIAfterUpdateDocument() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterUpdateDocument);
    }
    HResult UIBeforeDeleteDocument(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeDeleteDocument, Cancel);
    }
    HResult UIAfterDeleteDocument() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterDeleteDocument);
    }
    HResult UIBeforeNewDocument(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeNewDocument, Cancel);
    }
    HResult UIAfterNewDocument() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterNewDocument);
    }
    HResult UIBeforeUpdateDocBody(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeUpdateDocBody, Cancel);
    }
    HResult UIAfterUpdateDocBody() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterUpdateDocBody);
    }
    HResult UIBeforeDeleteDocBody(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeDeleteDocBody, Cancel);
    }
    HResult UIAfterDeleteDocBody() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterDeleteDocBody);
    }
    HResult UIBeforeAddNewDocBody(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeAddNewDocBody, Cancel);
    }
    HResult UIAfterAddNewDocBody() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterAddNewDocBody);
    }
    HResult BeforePrintDocument(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforePrintDocument, Cancel);
    }
    HResult AfterPrintDocument() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::AfterPrintDocument);
    }
    HResult BeforeApplyKit(Variant Kit, VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforeApplyKit, Kit, Cancel);
    }
    HResult BeforeEsplodiKit(Variant& Kit, VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforeEsplodiKit, Kit, Cancel);
    }
    HResult AfterEsplodiKit() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::AfterEsplodiKit);
    }
    HResult UIBeforeSchedaArticoli(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIBeforeSchedaArticoli, Cancel);
    }
    HResult UIAfterSchedaArticoli(Variant& Articolo, Variant& Opzione,
                                  Variant& Selezione) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::UIAfterSchedaArticoli, Articolo, Opzione,
                    Selezione);
    }
    HResult BeforeRicalcolaPrezzo(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforeRicalcolaPrezzo, Cancel);
    }
    HResult AfterRicalcolaPrezzo() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::AfterRicalcolaPrezzo);
    }
    HResult BeforeApplyAgentiTestata(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforeApplyAgentiTestata, Cancel);
    }
    HResult BeforeCalcolaPrezzoNetto(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeforeCalcolaPrezzoNetto, Cancel);
    }
    HResult AfterCalcolaPrezzoNetto(Variant Prezzo, Variant PrezzoNetto) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::AfterCalcolaPrezzoNetto, Prezzo, PrezzoNetto);
    }
    HResult BeginAddNewDocTestaVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginAddNewDocTestaVert);
    }
    HResult EndAddNewDocTestaVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndAddNewDocTestaVert);
    }
    HResult BeginAddNewDocCorpoVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginAddNewDocCorpoVert);
    }
    HResult EndAddNewDocCorpoVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndAddNewDocCorpoVert);
    }
    HResult BeginAddNewDocTotaliVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginAddNewDocTotaliVert);
    }
    HResult EndAddNewDocTotaliVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndAddNewDocTotaliVert);
    }
    HResult BeginUpdateDocTestaVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginUpdateDocTestaVert);
    }
    HResult EndUpdateDocTestaVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndUpdateDocTestaVert);
    }
    HResult BeginUpdateDocCorpoVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginUpdateDocCorpoVert);
    }
    HResult EndUpdateDocCorpoVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndUpdateDocCorpoVert);
    }
    HResult BeginUpdateDocTotaliVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::BeginUpdateDocTotaliVert);
    }
    HResult EndUpdateDocTotaliVert() override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::EndUpdateDocTotaliVert);
    }
    HResult ControllaDati(VBool& Cancel) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::ControllaDati, Cancel);
    }
    HResult IndPlugInStd(std::int16_t& Result) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::IndPlugInStd, Result);
    }
    HResult GetGestDocTestaVert(Variant& Documento, std::string& Sezione, VBool& Result) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::GetGestDocTestaVert, Documento, Sezione, Result);
    }
    HResult GetGestDocCorpoVert(Variant& Documento, std::string& Sezione, VBool& Result) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::GetGestDocCorpoVert, Documento, Sezione, Result);
    }
    HResult GetGestDocTotaliVert(Variant& Documento, std::string& Sezione, VBool& Result) override {
        return Call(vert_, &::ICLSMG_REGDOCVERT::GetGestDocTotaliVert, Documento, Sezione, Result);
    }

    // ---- ICLSMG_REGDOCVERT2 ----
    HResult CloseForm(ObjectPtr& Form, std::int16_t TipoForm, VBool& Cancel) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::CloseForm, Form, TipoForm, Cancel);
    }
    HResult ControlEventBeforeItem(ObjectPtr& Form, ObjectPtr& Control) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventBeforeItem, Form, Control);
    }
    HResult ControlEventCloseLookup(ObjectPtr& Form, ObjectPtr& Control, Variant& Valore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventCloseLookup, Form, Control, Valore);
    }
    HResult ControlEventGotFocus(ObjectPtr& Form, ObjectPtr& Control) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventGotFocus, Form, Control);
    }
    HResult ControlEventKeyButtonMenuPress(ObjectPtr& Form, ObjectPtr& Control, Variant& Voce,
                                           Variant& Valore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventKeyButtonMenuPress, Form, Control,
                    Voce, Valore);
    }
    HResult ControlEventLostFocus(ObjectPtr& Form, ObjectPtr& Control) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventLostFocus, Form, Control);
    }
    HResult ControlEventStartDecode(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                    Variant& Valore, Variant& Descrizione,
                                    Variant& Extra) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventStartDecode, Form, Control, Handled,
                    Valore, Descrizione, Extra);
    }
    HResult ControlEventStartLookup(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                    std::string& Sql, Variant& Colonne, std::string& Titolo,
                                    std::string& ParamInit) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::ControlEventStartLookup, Form, Control, Handled,
                    Sql, Colonne, Titolo, ParamInit);
    }
    HResult FunzArtBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                       ObjectPtr& Menu) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzArtBeforeShowMenuPopup, Form, TipoForm,
                    Menu);
    }
    HResult FunzArtInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzArtInit, Form, TipoForm, Menu);
    }
    HResult FunzArtMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                 Variant Chiave, Variant& Voce, Variant& Valore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzArtMenuItemClick, Form, TipoForm, Menu,
                    Chiave, Voce, Valore);
    }
    HResult FunzGenBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                       ObjectPtr& Menu) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzGenBeforeShowMenuPopup, Form, TipoForm,
                    Menu);
    }
    HResult FunzGenInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzGenInit, Form, TipoForm, Menu);
    }
    HResult FunzGenMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                 Variant Chiave, Variant& Voce, Variant& Valore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::FunzGenMenuItemClick, Form, TipoForm, Menu,
                    Chiave, Voce, Valore);
    }
    HResult GRIDDataFormat(Variant& Riga, Variant& Colonna, std::string& Campo,
                           ObjectPtr& Formato) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::GRIDDataFormat, Riga, Colonna, Campo, Formato);
    }
    HResult GridnavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                    std::string& Chiave) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::GridnavAfterButtonClick, Form, TipoForm, Chiave);
    }
    HResult GridnavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                               std::string& Chiave) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::GridnavButtonClick, Form, TipoForm, Chiave);
    }
    HResult GridnavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::GridnavInit, Form, TipoForm, Navigatore);
    }
    HResult GRIDRowChange() override { return Call(vert2_, &::ICLSMG_REGDOCVERT2::GRIDRowChange); }
    HResult InternavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                     std::string& Chiave) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::InternavAfterButtonClick, Form, TipoForm,
                    Chiave);
    }
    HResult InternavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                std::string& Chiave) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::InternavButtonClick, Form, TipoForm, Chiave);
    }
    HResult InternavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::InternavInit, Form, TipoForm, Navigatore);
    }
    HResult OpenForm(ObjectPtr& Form, std::int16_t TipoForm) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::OpenForm, Form, TipoForm);
    }
    HResult StatiTESTATAChange(Variant& Origine, std::int32_t IdStato,
                               std::int32_t IdFlusso) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::StatiTESTATAChange, Origine, IdStato, IdFlusso);
    }
    HResult StatiCORPOChange(Variant& Origine, std::int32_t IdStato,
                             std::int32_t IdFlusso) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::StatiCORPOChange, Origine, IdStato, IdFlusso);
    }
    HResult UIGenericEvent(Variant& Form, Variant& TipoForm, std::string& Evento,
                           Variant& Parametri) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::UIGenericEvent, Form, TipoForm, Evento,
                    Parametri);
    }
    HResult BOGenericEvent(Variant& Documento, std::string& Evento, Variant& Parametri) override {
        return Call(vert2_, &::ICLSMG_REGDOCVERT2::BOGenericEvent, Documento, Evento, Parametri);
    }

  private:
    template <class I, class... C, class... P>
    static HResult Call(const com::ComPtr<I>& itf, HRESULT (STDMETHODCALLTYPE I::*method)(C...),
                        P&... p) {
        std::tuple<Pass<C, std::remove_const_t<P>>...> args(p...);
        const HRESULT hr =
            std::apply([&](auto&... a) { return (itf.Get()->*method)(a.Com()...); }, args);
        std::apply([](auto&... a) { (a.Back(), ...); }, args);
        return ResultOf(hr);
    }

    com::ComPtr<_CLSRF_REGDOC_STATI> default_;
    com::ComPtr<::ICLSMG_REGDOCVERT> vert_;
    com::ComPtr<::ICLSMG_REGDOCVERT2> vert2_;
};

}  // namespace zq::comtest
