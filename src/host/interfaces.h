// The two interfaces through which the host's document-registration component drives a
// document plug-in: ICLSMG_REGDOCVERT (life-cycle events of the document being registered)
// and ICLSMG_REGDOCVERT2 (events of the document form).
//
// Methods are declared in the order of the host's interface type library, so that a COM
// binding can lay out its vtables from this list. Every method returns an HResult and
// answers the host only through its by-reference arguments. Argument shapes are those COM
// carries: VBool for 16-bit Booleans, std::int16_t / std::int32_t for 16/32-bit integers,
// std::string for texts, Variant for values, ObjectPtr (or a typed host pointer) for
// object references. An argument the host passes by reference is a non-const reference;
// a value the host passes by value is taken by value.
//
// Where the host's type library gives an argument no narrower type, it is a Variant&.
#pragma once

#include <cstdint>
#include <string>

#include "data/ado.h"
#include "host/hresult.h"
#include "host/object.h"
#include "host/regdoc.h"
#include "host/types.h"
#include "host/variant.h"

namespace zq::host {

// Document life-cycle events. Interface id in plugin/identity.h.
class ICLSMG_REGDOCVERT {
  public:
    virtual ~ICLSMG_REGDOCVERT() = default;

    // 1-2
    // `Result` receives True when the plug-in is ready.
    virtual HResult Initialize(Variant Param, ado::ConnectionPtr& Cnn, RegDocPtr& RegDoc,
                               ProgrammaPtr& Programma, DittaPtr& Ditta, std::int16_t IndPlugIn,
                               VBool& Result) = 0;
    virtual HResult Terminate() = 0;

    // 3-10
    virtual HResult BeginAddNewDocTestata() = 0;
    virtual HResult EndAddNewDocTestata() = 0;
    virtual HResult BeginDeleteDocTestata() = 0;
    virtual HResult EndDeleteDocTestata() = 0;
    virtual HResult BeginModifyDocTestata() = 0;
    virtual HResult EndModifyDocTestata() = 0;
    virtual HResult BeginUpdateDocTestata() = 0;
    virtual HResult EndUpdateDocTestata() = 0;

    // 11-18
    virtual HResult BeginAddNewDocCorpo() = 0;
    virtual HResult EndAddNewDocCorpo() = 0;
    virtual HResult BeginModifyDocCorpo() = 0;
    virtual HResult EndModifyDocCorpo() = 0;
    virtual HResult BeginDeleteDocCorpo() = 0;
    virtual HResult EndDeleteDocCorpo() = 0;
    virtual HResult BeginUpdateDocCorpo() = 0;
    virtual HResult EndUpdateDocCorpo() = 0;

    // 19-30
    virtual HResult UIBeforeUpdateDocument(VBool& Cancel) = 0;
    virtual HResult UIAfterUpdateDocument() = 0;
    virtual HResult UIBeforeDeleteDocument(VBool& Cancel) = 0;
    virtual HResult UIAfterDeleteDocument() = 0;
    virtual HResult UIBeforeNewDocument(VBool& Cancel) = 0;
    virtual HResult UIAfterNewDocument() = 0;
    virtual HResult UIBeforeUpdateDocBody(VBool& Cancel) = 0;
    virtual HResult UIAfterUpdateDocBody() = 0;
    virtual HResult UIBeforeDeleteDocBody(VBool& Cancel) = 0;
    virtual HResult UIAfterDeleteDocBody() = 0;
    virtual HResult UIBeforeAddNewDocBody(VBool& Cancel) = 0;
    virtual HResult UIAfterAddNewDocBody() = 0;

    // 31-42
    virtual HResult BeforePrintDocument(VBool& Cancel) = 0;
    virtual HResult AfterPrintDocument() = 0;
    virtual HResult BeforeApplyKit(Variant Kit, VBool& Cancel) = 0;
    virtual HResult BeforeEsplodiKit(Variant& Kit, VBool& Cancel) = 0;
    virtual HResult AfterEsplodiKit() = 0;
    virtual HResult UIBeforeSchedaArticoli(VBool& Cancel) = 0;
    virtual HResult UIAfterSchedaArticoli(Variant& Articolo, Variant& Opzione,
                                          Variant& Selezione) = 0;
    virtual HResult BeforeRicalcolaPrezzo(VBool& Cancel) = 0;
    virtual HResult AfterRicalcolaPrezzo() = 0;
    virtual HResult BeforeApplyAgentiTestata(VBool& Cancel) = 0;
    virtual HResult BeforeCalcolaPrezzoNetto(VBool& Cancel) = 0;
    virtual HResult AfterCalcolaPrezzoNetto(Variant Prezzo, Variant PrezzoNetto) = 0;

    // 43-54
    virtual HResult BeginAddNewDocTestaVert() = 0;
    virtual HResult EndAddNewDocTestaVert() = 0;
    virtual HResult BeginAddNewDocCorpoVert() = 0;
    virtual HResult EndAddNewDocCorpoVert() = 0;
    virtual HResult BeginAddNewDocTotaliVert() = 0;
    virtual HResult EndAddNewDocTotaliVert() = 0;
    virtual HResult BeginUpdateDocTestaVert() = 0;
    virtual HResult EndUpdateDocTestaVert() = 0;
    virtual HResult BeginUpdateDocCorpoVert() = 0;
    virtual HResult EndUpdateDocCorpoVert() = 0;
    virtual HResult BeginUpdateDocTotaliVert() = 0;
    virtual HResult EndUpdateDocTotaliVert() = 0;

    // 55-59
    // Validation before save: `Cancel` True refuses it.
    virtual HResult ControllaDati(VBool& Cancel) = 0;
    virtual HResult IndPlugInStd(std::int16_t& Result) = 0;
    // `Result` True when the plug-in manages that vertical section itself.
    virtual HResult GetGestDocTestaVert(Variant& Documento, std::string& Sezione,
                                        VBool& Result) = 0;
    virtual HResult GetGestDocCorpoVert(Variant& Documento, std::string& Sezione,
                                        VBool& Result) = 0;
    virtual HResult GetGestDocTotaliVert(Variant& Documento, std::string& Sezione,
                                         VBool& Result) = 0;
};

// Document form events. `TipoForm` is the form kind: 1 header form, 2 body form.
class ICLSMG_REGDOCVERT2 {
  public:
    virtual ~ICLSMG_REGDOCVERT2() = default;

    // 1-8
    virtual HResult CloseForm(ObjectPtr& Form, std::int16_t TipoForm, VBool& Cancel) = 0;
    virtual HResult ControlEventBeforeItem(ObjectPtr& Form, ObjectPtr& Control) = 0;
    virtual HResult ControlEventCloseLookup(ObjectPtr& Form, ObjectPtr& Control,
                                            Variant& Valore) = 0;
    virtual HResult ControlEventGotFocus(ObjectPtr& Form, ObjectPtr& Control) = 0;
    virtual HResult ControlEventKeyButtonMenuPress(ObjectPtr& Form, ObjectPtr& Control,
                                                   Variant& Voce, Variant& Valore) = 0;
    virtual HResult ControlEventLostFocus(ObjectPtr& Form, ObjectPtr& Control) = 0;
    // `Handled` True: the plug-in decoded the value itself. The three values are the
    // host's decode context, passed through untouched.
    virtual HResult ControlEventStartDecode(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                            Variant& Valore, Variant& Descrizione,
                                            Variant& Extra) = 0;
    // `Handled` True: the plug-in filled the look-up definition (statement, column
    // captions, title, the host's parameter text).
    virtual HResult ControlEventStartLookup(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                            std::string& Sql, Variant& Colonne, std::string& Titolo,
                                            std::string& ParamInit) = 0;

    // 9-14
    virtual HResult FunzArtBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                               ObjectPtr& Menu) = 0;
    virtual HResult FunzArtInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) = 0;
    virtual HResult FunzArtMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                         Variant Chiave, Variant& Voce, Variant& Valore) = 0;
    virtual HResult FunzGenBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                               ObjectPtr& Menu) = 0;
    virtual HResult FunzGenInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) = 0;
    virtual HResult FunzGenMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                         Variant Chiave, Variant& Voce, Variant& Valore) = 0;

    // 15-22
    virtual HResult GRIDDataFormat(Variant& Riga, Variant& Colonna, std::string& Campo,
                                   ObjectPtr& Formato) = 0;
    virtual HResult GridnavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                            std::string& Chiave) = 0;
    virtual HResult GridnavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                       std::string& Chiave) = 0;
    virtual HResult GridnavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) = 0;
    virtual HResult GRIDRowChange() = 0;
    virtual HResult InternavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                             std::string& Chiave) = 0;
    virtual HResult InternavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                        std::string& Chiave) = 0;
    virtual HResult InternavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) = 0;

    // 23-27
    virtual HResult OpenForm(ObjectPtr& Form, std::int16_t TipoForm) = 0;
    // The header / a body line moved to state `IdStato` of flow `IdFlusso`.
    virtual HResult StatiTESTATAChange(Variant& Origine, std::int32_t IdStato,
                                       std::int32_t IdFlusso) = 0;
    virtual HResult StatiCORPOChange(Variant& Origine, std::int32_t IdStato,
                                     std::int32_t IdFlusso) = 0;
    virtual HResult UIGenericEvent(Variant& Form, Variant& TipoForm, std::string& Evento,
                                   Variant& Parametri) = 0;
    virtual HResult BOGenericEvent(Variant& Documento, std::string& Evento, Variant& Parametri) = 0;
};

}  // namespace zq::host
