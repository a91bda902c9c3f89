// The vtables of the host's two interfaces on the plug-in's COM object: each method
// forwards its COM arguments to the plug-in's method of the same name (call_args.h);
// their dispatch half is served from the type library. Included by plugin_object.cpp only.
#pragma once

#include "com/call_args.h"
#include "com/plugin_object.h"

namespace zq::com {

namespace plugin_vtables {

// The dispatch id of Cls_SrvLog, as the type library gives it.
inline constexpr DISPID kDispIdClsSrvLog = 0x68030000;

// The dual half of the host's interfaces: driven by the type library.
inline HRESULT TypeLibIDsOfNames(REFIID iface, LPOLESTR* names, UINT count, DISPID* ids) {
    ComPtr<ITypeInfo> info = TypeInfoOf(iface);
    if (!info) return TYPE_E_CANTLOADLIBRARY;
    return DispGetIDsOfNames(info.Get(), names, count, ids);
}

inline HRESULT TypeLibInvoke(void* self, REFIID iface, DISPID id, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    ComPtr<ITypeInfo> info = TypeInfoOf(iface);
    if (!info) return TYPE_E_CANTLOADLIBRARY;
    return DispInvoke(self, info.Get(), id, flags, params, result, excep, argErr);
}

inline HRESULT TypeInfoFor(REFIID iface, UINT index, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ComPtr<ITypeInfo> info = TypeInfoOf(iface);
    if (!info) return TYPE_E_CANTLOADLIBRARY;
    *out = info.Detach();
    return S_OK;
}

}  // namespace plugin_vtables

// ---- the interfaces: each forwards IUnknown to the object ----

#define ZQ_IUNKNOWN_OF_OWNER                                                    \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { \
        return owner->QueryInterface(iid, out);                                 \
    }                                                                           \
    ULONG STDMETHODCALLTYPE AddRef() override {                                 \
        return owner->AddRef();                                                 \
    }                                                                           \
    ULONG STDMETHODCALLTYPE Release() override {                                \
        return owner->Release();                                                \
    }

#define ZQ_DISPATCH_FROM_TYPELIB(Iid)                                                              \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {                             \
        if (!count) return E_POINTER;                                                              \
        *count = 1;                                                                                \
        return S_OK;                                                                               \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {           \
        return plugin_vtables::TypeInfoFor(Iid, index, info);                                      \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,             \
                                            DISPID* ids) override {                                \
        return plugin_vtables::TypeLibIDsOfNames(Iid, names, count, ids);                          \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,      \
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {   \
        return plugin_vtables::TypeLibInvoke(this, Iid, id, flags, params, result, excep, argErr); \
    }

struct PluginObject::RegDocVert : public ICLSMG_REGDOCVERT {
    PluginObject* owner = nullptr;
    ZQ_IUNKNOWN_OF_OWNER
    ZQ_DISPATCH_FROM_TYPELIB(IID_ICLSMG_REGDOCVERT)

    template <class M, class... C>
    HRESULT Call(M method, C... c) {
        host::ICLSMG_REGDOCVERT& target = owner->Plugin();
        return Forward(IID_ICLSMG_REGDOCVERT, target, method, c...);
    }

    HRESULT STDMETHODCALLTYPE Initialize(VARIANT Param, IDispatch** Cnn, IDispatch** RegDoc,
                                         IDispatch** Programma, IDispatch** Ditta, short IndPlugIn,
                                         VARIANT_BOOL* Result) override {
        if (Result) *Result = VARIANT_FALSE;  // an out-only argument
        return Call(&host::ICLSMG_REGDOCVERT::Initialize, Param, Cnn, RegDoc, Programma, Ditta,
                    IndPlugIn, Result);
    }
    HRESULT STDMETHODCALLTYPE Terminate() override {
        return Call(&host::ICLSMG_REGDOCVERT::Terminate);
    }
    HRESULT STDMETHODCALLTYPE BeginAddNewDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginAddNewDocTestata);
    }
    HRESULT STDMETHODCALLTYPE EndAddNewDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndAddNewDocTestata);
    }
    HRESULT STDMETHODCALLTYPE BeginDeleteDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginDeleteDocTestata);
    }
    HRESULT STDMETHODCALLTYPE EndDeleteDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndDeleteDocTestata);
    }
    HRESULT STDMETHODCALLTYPE BeginModifyDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginModifyDocTestata);
    }
    HRESULT STDMETHODCALLTYPE EndModifyDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndModifyDocTestata);
    }
    HRESULT STDMETHODCALLTYPE BeginUpdateDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginUpdateDocTestata);
    }
    HRESULT STDMETHODCALLTYPE EndUpdateDocTestata() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndUpdateDocTestata);
    }
    HRESULT STDMETHODCALLTYPE BeginAddNewDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginAddNewDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE EndAddNewDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndAddNewDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE BeginModifyDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginModifyDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE EndModifyDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndModifyDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE BeginDeleteDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginDeleteDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE EndDeleteDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndDeleteDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE BeginUpdateDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginUpdateDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE EndUpdateDocCorpo() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndUpdateDocCorpo);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeUpdateDocument(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeUpdateDocument, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterUpdateDocument() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterUpdateDocument);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeDeleteDocument(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeDeleteDocument, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterDeleteDocument() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterDeleteDocument);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeNewDocument(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeNewDocument, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterNewDocument() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterNewDocument);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeUpdateDocBody(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeUpdateDocBody, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterUpdateDocBody() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterUpdateDocBody);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeDeleteDocBody(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeDeleteDocBody, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterDeleteDocBody() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterDeleteDocBody);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeAddNewDocBody(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeAddNewDocBody, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterAddNewDocBody() override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterAddNewDocBody);
    }
    HRESULT STDMETHODCALLTYPE BeforePrintDocument(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforePrintDocument, Cancel);
    }
    HRESULT STDMETHODCALLTYPE AfterPrintDocument() override {
        return Call(&host::ICLSMG_REGDOCVERT::AfterPrintDocument);
    }
    HRESULT STDMETHODCALLTYPE BeforeApplyKit(VARIANT Kit, VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforeApplyKit, Kit, Cancel);
    }
    HRESULT STDMETHODCALLTYPE BeforeEsplodiKit(VARIANT* Kit, VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforeEsplodiKit, Kit, Cancel);
    }
    HRESULT STDMETHODCALLTYPE AfterEsplodiKit() override {
        return Call(&host::ICLSMG_REGDOCVERT::AfterEsplodiKit);
    }
    HRESULT STDMETHODCALLTYPE UIBeforeSchedaArticoli(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIBeforeSchedaArticoli, Cancel);
    }
    HRESULT STDMETHODCALLTYPE UIAfterSchedaArticoli(VARIANT* Articolo, VARIANT* Opzione,
                                                    VARIANT* Selezione) override {
        return Call(&host::ICLSMG_REGDOCVERT::UIAfterSchedaArticoli, Articolo, Opzione, Selezione);
    }
    HRESULT STDMETHODCALLTYPE BeforeRicalcolaPrezzo(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforeRicalcolaPrezzo, Cancel);
    }
    HRESULT STDMETHODCALLTYPE AfterRicalcolaPrezzo() override {
        return Call(&host::ICLSMG_REGDOCVERT::AfterRicalcolaPrezzo);
    }
    HRESULT STDMETHODCALLTYPE BeforeApplyAgentiTestata(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforeApplyAgentiTestata, Cancel);
    }
    HRESULT STDMETHODCALLTYPE BeforeCalcolaPrezzoNetto(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::BeforeCalcolaPrezzoNetto, Cancel);
    }
    HRESULT STDMETHODCALLTYPE AfterCalcolaPrezzoNetto(VARIANT Prezzo,
                                                      VARIANT PrezzoNetto) override {
        return Call(&host::ICLSMG_REGDOCVERT::AfterCalcolaPrezzoNetto, Prezzo, PrezzoNetto);
    }
    HRESULT STDMETHODCALLTYPE BeginAddNewDocTestaVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginAddNewDocTestaVert);
    }
    HRESULT STDMETHODCALLTYPE EndAddNewDocTestaVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndAddNewDocTestaVert);
    }
    HRESULT STDMETHODCALLTYPE BeginAddNewDocCorpoVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginAddNewDocCorpoVert);
    }
    HRESULT STDMETHODCALLTYPE EndAddNewDocCorpoVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndAddNewDocCorpoVert);
    }
    HRESULT STDMETHODCALLTYPE BeginAddNewDocTotaliVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginAddNewDocTotaliVert);
    }
    HRESULT STDMETHODCALLTYPE EndAddNewDocTotaliVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndAddNewDocTotaliVert);
    }
    HRESULT STDMETHODCALLTYPE BeginUpdateDocTestaVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginUpdateDocTestaVert);
    }
    HRESULT STDMETHODCALLTYPE EndUpdateDocTestaVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndUpdateDocTestaVert);
    }
    HRESULT STDMETHODCALLTYPE BeginUpdateDocCorpoVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginUpdateDocCorpoVert);
    }
    HRESULT STDMETHODCALLTYPE EndUpdateDocCorpoVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndUpdateDocCorpoVert);
    }
    HRESULT STDMETHODCALLTYPE BeginUpdateDocTotaliVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::BeginUpdateDocTotaliVert);
    }
    HRESULT STDMETHODCALLTYPE EndUpdateDocTotaliVert() override {
        return Call(&host::ICLSMG_REGDOCVERT::EndUpdateDocTotaliVert);
    }
    HRESULT STDMETHODCALLTYPE ControllaDati(VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT::ControllaDati, Cancel);
    }
    HRESULT STDMETHODCALLTYPE IndPlugInStd(short* Result) override {
        return Call(&host::ICLSMG_REGDOCVERT::IndPlugInStd, Result);
    }
    HRESULT STDMETHODCALLTYPE GetGestDocTestaVert(VARIANT* Documento, BSTR* Sezione,
                                                  VARIANT_BOOL* Result) override {
        return Call(&host::ICLSMG_REGDOCVERT::GetGestDocTestaVert, Documento, Sezione, Result);
    }
    HRESULT STDMETHODCALLTYPE GetGestDocCorpoVert(VARIANT* Documento, BSTR* Sezione,
                                                  VARIANT_BOOL* Result) override {
        return Call(&host::ICLSMG_REGDOCVERT::GetGestDocCorpoVert, Documento, Sezione, Result);
    }
    HRESULT STDMETHODCALLTYPE GetGestDocTotaliVert(VARIANT* Documento, BSTR* Sezione,
                                                   VARIANT_BOOL* Result) override {
        return Call(&host::ICLSMG_REGDOCVERT::GetGestDocTotaliVert, Documento, Sezione, Result);
    }
};

struct PluginObject::RegDocVert2 : public ICLSMG_REGDOCVERT2 {
    PluginObject* owner = nullptr;
    ZQ_IUNKNOWN_OF_OWNER
    ZQ_DISPATCH_FROM_TYPELIB(IID_ICLSMG_REGDOCVERT2)

    template <class M, class... C>
    HRESULT Call(M method, C... c) {
        host::ICLSMG_REGDOCVERT2& target = owner->Plugin();
        return Forward(IID_ICLSMG_REGDOCVERT2, target, method, c...);
    }

    HRESULT STDMETHODCALLTYPE CloseForm(IDispatch** Form, short TipoForm,
                                        VARIANT_BOOL* Cancel) override {
        return Call(&host::ICLSMG_REGDOCVERT2::CloseForm, Form, TipoForm, Cancel);
    }
    HRESULT STDMETHODCALLTYPE ControlEventBeforeItem(IDispatch** Form,
                                                     IDispatch** Control) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventBeforeItem, Form, Control);
    }
    HRESULT STDMETHODCALLTYPE ControlEventCloseLookup(IDispatch** Form, IDispatch** Control,
                                                      VARIANT* Valore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventCloseLookup, Form, Control, Valore);
    }
    HRESULT STDMETHODCALLTYPE ControlEventGotFocus(IDispatch** Form, IDispatch** Control) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventGotFocus, Form, Control);
    }
    HRESULT STDMETHODCALLTYPE ControlEventKeyButtonMenuPress(IDispatch** Form, IDispatch** Control,
                                                             VARIANT* Voce,
                                                             VARIANT* Valore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventKeyButtonMenuPress, Form, Control, Voce,
                    Valore);
    }
    HRESULT STDMETHODCALLTYPE ControlEventLostFocus(IDispatch** Form,
                                                    IDispatch** Control) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventLostFocus, Form, Control);
    }
    HRESULT STDMETHODCALLTYPE ControlEventStartDecode(IDispatch** Form, IDispatch** Control,
                                                      VARIANT_BOOL* Handled, VARIANT* Valore,
                                                      VARIANT* Descrizione,
                                                      VARIANT* Extra) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventStartDecode, Form, Control, Handled,
                    Valore, Descrizione, Extra);
    }
    HRESULT STDMETHODCALLTYPE ControlEventStartLookup(IDispatch** Form, IDispatch** Control,
                                                      VARIANT_BOOL* Handled, BSTR* Sql,
                                                      VARIANT* Colonne, BSTR* Titolo,
                                                      BSTR* ParamInit) override {
        return Call(&host::ICLSMG_REGDOCVERT2::ControlEventStartLookup, Form, Control, Handled, Sql,
                    Colonne, Titolo, ParamInit);
    }
    HRESULT STDMETHODCALLTYPE FunzArtBeforeShowMenuPopup(IDispatch** Form, short TipoForm,
                                                         IDispatch** Menu) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzArtBeforeShowMenuPopup, Form, TipoForm, Menu);
    }
    HRESULT STDMETHODCALLTYPE FunzArtInit(IDispatch** Form, short TipoForm,
                                          IDispatch** Menu) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzArtInit, Form, TipoForm, Menu);
    }
    HRESULT STDMETHODCALLTYPE FunzArtMenuItemClick(IDispatch** Form, short TipoForm,
                                                   IDispatch** Menu, VARIANT Chiave, VARIANT* Voce,
                                                   VARIANT* Valore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzArtMenuItemClick, Form, TipoForm, Menu, Chiave,
                    Voce, Valore);
    }
    HRESULT STDMETHODCALLTYPE FunzGenBeforeShowMenuPopup(IDispatch** Form, short TipoForm,
                                                         IDispatch** Menu) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzGenBeforeShowMenuPopup, Form, TipoForm, Menu);
    }
    HRESULT STDMETHODCALLTYPE FunzGenInit(IDispatch** Form, short TipoForm,
                                          IDispatch** Menu) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzGenInit, Form, TipoForm, Menu);
    }
    HRESULT STDMETHODCALLTYPE FunzGenMenuItemClick(IDispatch** Form, short TipoForm,
                                                   IDispatch** Menu, VARIANT Chiave, VARIANT* Voce,
                                                   VARIANT* Valore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::FunzGenMenuItemClick, Form, TipoForm, Menu, Chiave,
                    Voce, Valore);
    }
    HRESULT STDMETHODCALLTYPE GRIDDataFormat(VARIANT* Riga, VARIANT* Colonna, BSTR* Campo,
                                             IDispatch** Formato) override {
        return Call(&host::ICLSMG_REGDOCVERT2::GRIDDataFormat, Riga, Colonna, Campo, Formato);
    }
    HRESULT STDMETHODCALLTYPE GridnavAfterButtonClick(IDispatch** Form, short TipoForm,
                                                      BSTR* Chiave) override {
        return Call(&host::ICLSMG_REGDOCVERT2::GridnavAfterButtonClick, Form, TipoForm, Chiave);
    }
    HRESULT STDMETHODCALLTYPE GridnavButtonClick(IDispatch** Form, short TipoForm,
                                                 BSTR* Chiave) override {
        return Call(&host::ICLSMG_REGDOCVERT2::GridnavButtonClick, Form, TipoForm, Chiave);
    }
    HRESULT STDMETHODCALLTYPE GridnavInit(IDispatch** Form, short TipoForm,
                                          IDispatch** Navigatore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::GridnavInit, Form, TipoForm, Navigatore);
    }
    HRESULT STDMETHODCALLTYPE GRIDRowChange() override {
        return Call(&host::ICLSMG_REGDOCVERT2::GRIDRowChange);
    }
    HRESULT STDMETHODCALLTYPE InternavAfterButtonClick(IDispatch** Form, short TipoForm,
                                                       BSTR* Chiave) override {
        return Call(&host::ICLSMG_REGDOCVERT2::InternavAfterButtonClick, Form, TipoForm, Chiave);
    }
    HRESULT STDMETHODCALLTYPE InternavButtonClick(IDispatch** Form, short TipoForm,
                                                  BSTR* Chiave) override {
        return Call(&host::ICLSMG_REGDOCVERT2::InternavButtonClick, Form, TipoForm, Chiave);
    }
    HRESULT STDMETHODCALLTYPE InternavInit(IDispatch** Form, short TipoForm,
                                           IDispatch** Navigatore) override {
        return Call(&host::ICLSMG_REGDOCVERT2::InternavInit, Form, TipoForm, Navigatore);
    }
    HRESULT STDMETHODCALLTYPE OpenForm(IDispatch** Form, short TipoForm) override {
        return Call(&host::ICLSMG_REGDOCVERT2::OpenForm, Form, TipoForm);
    }
    HRESULT STDMETHODCALLTYPE StatiTESTATAChange(VARIANT* Origine, LONG IdStato,
                                                 LONG IdFlusso) override {
        return Call(&host::ICLSMG_REGDOCVERT2::StatiTESTATAChange, Origine, IdStato, IdFlusso);
    }
    HRESULT STDMETHODCALLTYPE StatiCORPOChange(VARIANT* Origine, LONG IdStato,
                                               LONG IdFlusso) override {
        return Call(&host::ICLSMG_REGDOCVERT2::StatiCORPOChange, Origine, IdStato, IdFlusso);
    }
    HRESULT STDMETHODCALLTYPE UIGenericEvent(VARIANT* Form, VARIANT* TipoForm, BSTR* Evento,
                                             VARIANT* Parametri) override {
        return Call(&host::ICLSMG_REGDOCVERT2::UIGenericEvent, Form, TipoForm, Evento, Parametri);
    }
    HRESULT STDMETHODCALLTYPE BOGenericEvent(VARIANT* Documento, BSTR* Evento,
                                             VARIANT* Parametri) override {
        return Call(&host::ICLSMG_REGDOCVERT2::BOGenericEvent, Documento, Evento, Parametri);
    }
};

struct PluginObject::ErrorSupport : public ISupportErrorInfo {
    PluginObject* owner = nullptr;
    ZQ_IUNKNOWN_OF_OWNER
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, IID__CLSRF_REGDOC_STATI) || IsEqualIID(iid, IID_ICLSMG_REGDOCVERT) ||
                       IsEqualIID(iid, IID_ICLSMG_REGDOCVERT2)
                   ? S_OK
                   : S_FALSE;
    }
};

#undef ZQ_DISPATCH_FROM_TYPELIB
#undef ZQ_IUNKNOWN_OF_OWNER

}  // namespace zq::com
