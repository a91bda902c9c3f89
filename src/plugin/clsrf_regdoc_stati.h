// CLSRF_REGDOC_STATI: the plug-in object the host creates for one document-registration
// run and drives through ICLSMG_REGDOCVERT and ICLSMG_REGDOCVERT2.
//
// The class holds the run's fields; its procedures are private member functions sharing
// them. Their definitions live by subject: plugin/ (life cycle and the interface methods
// that do nothing), config/, engine/, reversal/, form/ and grid/. Every interface method
// runs inside one error boundary (plugin/boundary.h), so no exception reaches the host.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "data/ado.h"
#include "host/hresult.h"
#include "host/interfaces.h"
#include "host/object.h"
#include "host/regdoc.h"
#include "host/types.h"
#include "host/variant.h"
#include "plugin/do77.h"
#include "plugin/keyed_collection.h"
#include "plugin/percorso.h"

namespace zq::plugin {

class PercorsoUtente;
struct ClsrfTestAccess;  // tests only: sets busy flags no host road can reach yet

// First and second size-grid dimension, as read from the variant dimension configuration.
struct LayoutGriglia {
    VBool blnDim1Trovata = VFalse;  // the two dimension-1 flags are always set together
    VBool blnDim1Griglia = VFalse;
    VBool blnDim2Trovata = VFalse;
    std::int16_t intDim2IndGriglia = 0;
    std::int16_t intDim1IndGenGridDoc = 0;
    std::string strDim1Codice;
    std::int16_t intDim1Start = 0;
    std::int16_t intDim1Size = 0;
    std::string strDim2Codice;
    std::int16_t intDim2Start = 0;
    std::int16_t intDim2Size = 0;
};

class CLSRF_REGDOC_STATI : public Object,
                           public host::ICLSMG_REGDOCVERT,
                           public host::ICLSMG_REGDOCVERT2 {
  public:
    CLSRF_REGDOC_STATI();
    ~CLSRF_REGDOC_STATI() override;
    CLSRF_REGDOC_STATI(const CLSRF_REGDOC_STATI&) = delete;
    CLSRF_REGDOC_STATI& operator=(const CLSRF_REGDOC_STATI&) = delete;

    std::string TypeName() const override { return "CLSRF_REGDOC_STATI"; }

    // Property of the default interface: the host's logging service. Kept, never called.
    ObjectPtr Cls_SrvLog() const { return clsSrvLog_; }
    void SetCls_SrvLog(const ObjectPtr& value) { clsSrvLog_ = value; }

    // ---- ICLSMG_REGDOCVERT ----
    HResult Initialize(Variant Param, ado::ConnectionPtr& Cnn, host::RegDocPtr& RegDoc,
                       host::ProgrammaPtr& Programma, host::DittaPtr& Ditta, std::int16_t IndPlugIn,
                       VBool& Result) override;
    HResult Terminate() override;
    HResult BeginAddNewDocTestata() override;
    HResult EndAddNewDocTestata() override;
    HResult BeginDeleteDocTestata() override;
    HResult EndDeleteDocTestata() override;
    HResult BeginModifyDocTestata() override;
    HResult EndModifyDocTestata() override;
    HResult BeginUpdateDocTestata() override;
    HResult EndUpdateDocTestata() override;
    HResult BeginAddNewDocCorpo() override;
    HResult EndAddNewDocCorpo() override;
    HResult BeginModifyDocCorpo() override;
    HResult EndModifyDocCorpo() override;
    HResult BeginDeleteDocCorpo() override;
    HResult EndDeleteDocCorpo() override;
    HResult BeginUpdateDocCorpo() override;
    HResult EndUpdateDocCorpo() override;
    HResult UIBeforeUpdateDocument(VBool& Cancel) override;
    HResult UIAfterUpdateDocument() override;
    HResult UIBeforeDeleteDocument(VBool& Cancel) override;
    HResult UIAfterDeleteDocument() override;
    HResult UIBeforeNewDocument(VBool& Cancel) override;
    HResult UIAfterNewDocument() override;
    HResult UIBeforeUpdateDocBody(VBool& Cancel) override;
    HResult UIAfterUpdateDocBody() override;
    HResult UIBeforeDeleteDocBody(VBool& Cancel) override;
    HResult UIAfterDeleteDocBody() override;
    HResult UIBeforeAddNewDocBody(VBool& Cancel) override;
    HResult UIAfterAddNewDocBody() override;
    HResult BeforePrintDocument(VBool& Cancel) override;
    HResult AfterPrintDocument() override;
    HResult BeforeApplyKit(Variant Kit, VBool& Cancel) override;
    HResult BeforeEsplodiKit(Variant& Kit, VBool& Cancel) override;
    HResult AfterEsplodiKit() override;
    HResult UIBeforeSchedaArticoli(VBool& Cancel) override;
    HResult UIAfterSchedaArticoli(Variant& Articolo, Variant& Opzione, Variant& Selezione) override;
    HResult BeforeRicalcolaPrezzo(VBool& Cancel) override;
    HResult AfterRicalcolaPrezzo() override;
    HResult BeforeApplyAgentiTestata(VBool& Cancel) override;
    HResult BeforeCalcolaPrezzoNetto(VBool& Cancel) override;
    HResult AfterCalcolaPrezzoNetto(Variant Prezzo, Variant PrezzoNetto) override;
    HResult BeginAddNewDocTestaVert() override;
    HResult EndAddNewDocTestaVert() override;
    HResult BeginAddNewDocCorpoVert() override;
    HResult EndAddNewDocCorpoVert() override;
    HResult BeginAddNewDocTotaliVert() override;
    HResult EndAddNewDocTotaliVert() override;
    HResult BeginUpdateDocTestaVert() override;
    HResult EndUpdateDocTestaVert() override;
    HResult BeginUpdateDocCorpoVert() override;
    HResult EndUpdateDocCorpoVert() override;
    HResult BeginUpdateDocTotaliVert() override;
    HResult EndUpdateDocTotaliVert() override;
    HResult ControllaDati(VBool& Cancel) override;
    HResult IndPlugInStd(std::int16_t& Result) override;
    HResult GetGestDocTestaVert(Variant& Documento, std::string& Sezione, VBool& Result) override;
    HResult GetGestDocCorpoVert(Variant& Documento, std::string& Sezione, VBool& Result) override;
    HResult GetGestDocTotaliVert(Variant& Documento, std::string& Sezione, VBool& Result) override;

    // ---- ICLSMG_REGDOCVERT2 ----
    HResult CloseForm(ObjectPtr& Form, std::int16_t TipoForm, VBool& Cancel) override;
    HResult ControlEventBeforeItem(ObjectPtr& Form, ObjectPtr& Control) override;
    HResult ControlEventCloseLookup(ObjectPtr& Form, ObjectPtr& Control, Variant& Valore) override;
    HResult ControlEventGotFocus(ObjectPtr& Form, ObjectPtr& Control) override;
    HResult ControlEventKeyButtonMenuPress(ObjectPtr& Form, ObjectPtr& Control, Variant& Voce,
                                           Variant& Valore) override;
    HResult ControlEventLostFocus(ObjectPtr& Form, ObjectPtr& Control) override;
    HResult ControlEventStartDecode(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                    Variant& Valore, Variant& Descrizione, Variant& Extra) override;
    HResult ControlEventStartLookup(ObjectPtr& Form, ObjectPtr& Control, VBool& Handled,
                                    std::string& Sql, Variant& Colonne, std::string& Titolo,
                                    std::string& ParamInit) override;
    HResult FunzArtBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                       ObjectPtr& Menu) override;
    HResult FunzArtInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) override;
    HResult FunzArtMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                 Variant Chiave, Variant& Voce, Variant& Valore) override;
    HResult FunzGenBeforeShowMenuPopup(ObjectPtr& Form, std::int16_t TipoForm,
                                       ObjectPtr& Menu) override;
    HResult FunzGenInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu) override;
    HResult FunzGenMenuItemClick(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Menu,
                                 Variant Chiave, Variant& Voce, Variant& Valore) override;
    HResult GRIDDataFormat(Variant& Riga, Variant& Colonna, std::string& Campo,
                           ObjectPtr& Formato) override;
    HResult GridnavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                    std::string& Chiave) override;
    HResult GridnavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                               std::string& Chiave) override;
    HResult GridnavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) override;
    HResult GRIDRowChange() override;
    HResult InternavAfterButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                     std::string& Chiave) override;
    HResult InternavButtonClick(ObjectPtr& Form, std::int16_t TipoForm,
                                std::string& Chiave) override;
    HResult InternavInit(ObjectPtr& Form, std::int16_t TipoForm, ObjectPtr& Navigatore) override;
    HResult OpenForm(ObjectPtr& Form, std::int16_t TipoForm) override;
    HResult StatiTESTATAChange(Variant& Origine, std::int32_t IdStato,
                               std::int32_t IdFlusso) override;
    HResult StatiCORPOChange(Variant& Origine, std::int32_t IdStato,
                             std::int32_t IdFlusso) override;
    HResult UIGenericEvent(Variant& Form, Variant& TipoForm, std::string& Evento,
                           Variant& Parametri) override;
    HResult BOGenericEvent(Variant& Documento, std::string& Evento, Variant& Parametri) override;

  private:
    friend struct ClsrfTestAccess;
    friend class PercorsoUtente;

    // ---- host objects of the run (set by Initialize, released by Terminate) ----
    std::string strParamInit;
    ado::ConnectionPtr cnnDB;
    host::RegDocPtr gclsRegDoc;
    host::ProgrammaPtr objProgramma;
    host::DittaPtr objDitta;
    std::int16_t intIndPlugIn = 0;
    std::int16_t intAttesaSalvata = 0;  // busy indicator at Initialize; scratch around messages
    ObjectPtr clsSrvLog_;

    // ---- the document form ----
    ObjectPtr frmCorrente;
    std::int16_t intTipoForm = 0;  // 1 header form, 2 body form
    ObjectPtr frmDocCorpo;         // FME_DocCorpo
    ObjectPtr frmDocCorpoOrd;      // FME_DocCorpoOrd
    ObjectPtr frmDocCorpoVert;     // FME_DocCorpoVert
    ObjectPtr frmDocTestata;       // FME_DocTestata
    ObjectPtr objMenuFunzGen;      // general-functions menu of the body form

    // ---- cancellation controls, found when a form opens; a missing one stays null ----
    ObjectPtr ctlCodCausaleTesta;  // DO76_CODCAU_ZQ63
    ObjectPtr ctlDesCausaleTesta;  // DO76_DESCAU_ZQ63
    ObjectPtr ctlCodCausaleRiga;   // DO77_CODCAU_ZQ63
    ObjectPtr ctlDesCausaleRiga;   // DO77_DESCAU_ZQ63
    ObjectPtr ctlQtaAnnullo;       // DO77_ZQ_QTA_ANNULLO
    ObjectPtr ctlQtaOrig;          // DO77_ZQ_QTA_ORIG
    ObjectPtr ctlStatoRiga;        // DO30_GUID: carries the line-state object BoStati
    ObjectPtr ctlQta1;             // DO30_QTA1
    ObjectPtr ctlTipoRiga;         // TXT_DO30_INDTIPORIGA
    ObjectPtr ctlQta2;             // DO30_QTA2
    ObjectPtr ctlGuidMaster;       // DO77_ZQGUID_MASTER_DO30
    ObjectPtr ctlGuidDetail;       // DO77_ZQGUID_DETAIL_DO30
    ObjectPtr ctlQtaAnnProgPadre;  // TXT_DO77_ZQ_QTA_ANNPROGPADRE (by name)
    // Visible as found at discovery, given back when a line allows the control again.
    VBool blnVisCodCausaleRiga = VFalse;
    VBool blnVisDesCausaleRiga = VFalse;
    VBool blnVisQtaAnnullo = VFalse;
    VBool blnVisQtaOrig = VFalse;
    VBool blnVisGuidMaster = VFalse;
    VBool blnVisGuidDetail = VFalse;
    // Each form kind is searched once for the life of the object.
    VBool blnControlliTestataTrovati = VFalse;
    VBool blnControlliCorpoTrovati = VFalse;

    // ---- cancellation parameters and default reason (read once at Initialize) ----
    std::int32_t lngStatoAnnulloTesta = 0;
    std::int32_t lngStatoAnnulloRighe = 0;
    VBool blnMancaStatoTesta = VFalse;
    VBool blnMancaStatoRighe = VFalse;
    std::string strCausaleDefault;
    std::string strDesCausaleDefault;

    // ---- states and flows ----
    std::int32_t lngStatoInizialeRighe = 0;  // cache: once non-zero it answers every flow
    std::int32_t lngFlussoDoc = 0;
    std::int32_t lngStatoTesta = 0;
    std::int32_t lngFlussoTesta = 0;
    std::int32_t lngUltimoStatoTesta = 0;
    std::int32_t lngStatoRigaCorrente = 0;
    // The current line's state before the change being settled (StatiCORPOChange keeps it).
    std::int32_t lngStatoRigaPrecedente = 0;
    // The state each line had when the order was last written, for the lines whose state
    // the user changed since: the flow-state store takes a pick at once, the line's fields
    // wait for the save, so the host's undo of the line takes back only the fields and
    // "annulla" gives the line its written state back as well.
    std::map<std::string, std::int32_t> statiRigaScritti;
    std::string strDesCausaleTestaPrec;
    // The working sets of the latest capture are there and not yet reversed.
    VBool blnStornoPronto = VFalse;

    // ---- the body line the grid is on ----
    std::string strGuidRigaCorrente;
    std::int32_t lngProgRigaCorrente = 0;
    std::int32_t lngProgPadreCorrente = 0;

    // ---- busy flags: hold off re-entrant host events ----
    VBool blnDecodeCausaleTesta = VFalse;
    VBool blnPropagaInCorso = VFalse;
    VBool blnApplicaInCorso = VFalse;
    VBool blnCambioStatoTesta = VFalse;
    VBool blnConfermaInCorso = VFalse;
    VBool blnCreaAnnulloInCorso = VFalse;
    VBool blnRipristinoInCorso = VFalse;
    VBool blnGrigliaInCorso = VFalse;
    VBool blnRigaDaConfermare = VFalse;

    // ---- what SetFlgNonPiuEvRiga asks of the form, once per pass of ApplicaStatoRighe ----
    struct FlagRigaInPassata {
        std::optional<bool> annulliOff;  // IsAnnulliOffCorpo
        std::optional<ObjectPtr> ctl;    // the flag control; null in grid mode 2 or missing
    };
    std::optional<FlagRigaInPassata> flagInPassata;  // engaged while ApplicaStatoRighe runs

    // ---- partial-cancellation links and numbering ----
    std::unique_ptr<LinkAnnulli> colLinkAnnulli;  // created on first use
    std::int32_t lngProgPadreAnnulli = 0;         // cached group number of cancellation lines
    std::string strGuidUltimoAnnullo;
    std::int32_t lngProgRigaUltimoAnnullo = 0;
    std::int32_t lngProgPadreUltimoAnnullo = 0;
    std::int32_t lngStatoUltimoAnnullo = 0;

    // ---- line being deleted ----
    Variant strGuidRigaCancellata = Variant(std::string());  // "" when none is pending
    std::int32_t lngProgRigaCancellata = 0;

    // ---- size-grid command ----
    ObjectPtr objGriglia;          // the size-grid component of the current command
    ObjectPtr objRegistraGriglia;  // the posting component
    LayoutGriglia layoutGriglia;
    // The family's group while the host's size grid opened by the "griglia" key is open.
    std::optional<std::int32_t> lngProgPadreGriglia;

    // ---- user roads: they complete, or leave the order as it was (plugin/percorso.cpp) ----
    Percorso* percorsoCorrente = nullptr;      // the road being carried out
    std::unique_ptr<Percorso> percorsoAperto;  // a road kept open across host events
    VBool blnAnnullaPercorso = VFalse;         // a road is being undone: events stand aside
    CampiPercorso FotografaCampi() const;
    void RipristinaCampi(const CampiPercorso& c);
    void FotografaDocumento(Percorso& p);
    // The current road (if any) begins changing the order: its picture is taken now, unless
    // it was. False when the road has already failed and must change nothing more.
    bool FotografaPercorso();
    // The state the current line had before the user picked another one.
    void RicordaStatoRiga(const std::string& guid, std::int32_t stato, std::int32_t flusso);
    // The header state the order was saved with, for the header state control and field.
    void RicordaStatoTestata();
    void RiportaStatoTestata(const StatoTestataSalvato& st);
    std::optional<StatoTestataSalvato> LeggiStatoTestataSalvato();
    // Undone when it failed or was refused; returns whether it completed.
    bool ConcludiPercorso(Percorso& p);
    void ChiudiPercorsoAperto();
    void AnnullaPercorso(Percorso& p);
    void AvvisaPercorsoAnnullato();
    // The header state change's steps, inside the road StatiTESTATAChange opens.
    void CambiaStatoTestata(std::int32_t IdStato, std::int32_t IdFlusso);
    // The current road was refused with a message: it leaves the order as it was.
    void RifiutaPercorso();
    // The current road has posted to the warehouse progressives.
    void RegistraProgressivi();
    // The form saves the whole document (and the host posts the progressives).
    void SalvaDocumento();

    // ---- access to host objects; a missing one raises error 91 ----
    ado::Connection& Cnn() const;
    host::IRegDoc& RegDoc() const;
    host::IDocUI& DocUI() const;

    // ---- cancellation parameters and flow states ----
    void LeggiParametriAnnullo();
    std::string GetCausaleDefault(std::string& descrizione);
    std::int32_t GetStatoIniziale(std::int32_t idFlusso);
    void SetFlussoStato(const std::string& guid, std::int32_t codStato, std::int32_t codFlusso);

    // ---- cancellation reasons: look-up and decode ----
    void LookupCausaleTestata(VBool& Handled, std::string& Sql, Variant& Colonne,
                              std::string& Titolo, std::string& ParamInit);
    void LookupCausaleCorpo(VBool& Handled, std::string& Sql, Variant& Colonne, std::string& Titolo,
                            std::string& ParamInit);
    void DecodeCausaleTestata(VBool& Handled, Variant& Valore, Variant& Descrizione,
                              Variant& Extra);
    void DecodeCausaleCorpo(VBool& Handled, Variant& Valore, Variant& Descrizione, Variant& Extra);
    void LeggiDescCausaleTestata();
    void ApriCausaliAnnullo(const Variant& ignorato, const Variant& voce);
    void ApriGestioneCausali();

    // ---- header cancellation ----
    void PropagaStatoTestata();
    void AggiornaGrigliaCorpo();
    // True when the order is cancelled as a whole: a cancelled header state is configured
    // and the header is in it. Without one configured nothing counts as cancelled.
    bool TestaAnnullata() const;
    // The header state the document holds as the host loaded it (DO11_STATO and the
    // header's flow), taken as the state in force when a form opens.
    void LeggiStatoTestata();

    // ---- applying a state to lines ----
    void ApplicaStatoRighe(std::int32_t IdStato, std::int32_t IdFlusso,
                           const std::string& CodCausale, const std::string& DesCausale,
                           VBool Sovrascrivi, std::int32_t ProgRiga);
    void SetFlgNonPiuEvRiga(const Variant& Valore);
    bool AnnulliOffCorpoInPassata();
    ObjectPtr ControlloFlagRiga();
    struct RigaDaApplicare;  // one line of ApplicaStatoRighe with the call's arguments
    void ApplicaRigaDocumento(const RigaDaApplicare& r);  // all-lines mode
    void ApplicaRigaSingola(const RigaDaApplicare& r);    // single-line mode

    // ---- line cancellation ----
    // `IdStato` is read only when `Conferma` is True.
    VBool ConfermaAnnulloRiga(VBool Conferma, std::optional<std::int32_t> IdStato = std::nullopt);
    // The three ways the settlement goes (engine/conferma_annullo.cpp).
    void RipiegaRigaAnnullo(const Variant& dettaglio, bool tuttaLaRiga, double qtaIniziale);
    bool RitiraAnnulloRiga(const std::string& guidRiga, bool conferma, double qtaIniziale,
                           double qtaAnnullo);
    VBool AnnullaRigaCorrente(const std::string& guidRiga, bool conferma, std::int32_t indicatore,
                              double residuo);
    // The line the grid stands on, as the plug-in remembers it: GUID, number, group and
    // state, read from the host after every move the plug-in made itself.
    void SeguiRigaCorrente();
    void BloccaSecondoLegame();
    // A cancellation that is refused, or that comes to nothing, leaves the line as it was
    // before the user's change: reason and cancelled quantity as they were, and the line
    // back in the state it had. A refusal also shows `qtaMostrata` in the cancelled-quantity
    // field and marks it invalid.
    struct RigaPrima;
    RigaPrima FotografaRiga(const std::string& guid, bool cambioStato);
    void RipristinaRiga(const RigaPrima& prima, std::optional<double> qtaMostrata);
    void RimettiStatoRiga(const std::string& guid, std::int32_t stato);
    void RimettiQtaRigaScritta();
    bool DaAnnullareORiallineare(VBool Conferma, std::optional<std::int32_t> IdStato);

    // ---- partial-cancellation lines ----
    // What a request to cancel part of a line came to: nothing done, refused with a
    // message, the whole line cancelled in the recordsets, or the line split and the split
    // written to the database (a change carried out, which the caller finishes with the
    // reversal sequence).
    enum class EsitoAnnullo { Nulla, Rifiutato, Totale, Diviso };
    std::int16_t CreaAnnulloParziale(double dblQtaOrdine, double dblQtaAnnullo,
                                     const Variant& varGuidMaster, VBool& blnOk,
                                     double& dblQtaRipristino, EsitoAnnullo* esito = nullptr);
    std::int16_t DuplicaRigaCorpoGrid(double dblQtaOrdine, double dblQtaAnnullo,
                                      const Variant& varGuidMaster, VBool& blnOk,
                                      double& dblQtaRipristino, VBool blnAggiornaGriglia);
    // Steps both ways of making a cancellation line share (engine/nuova_riga_annullo.cpp).
    // The quantity refusal and the reason refusal: True when the split is refused.
    bool RifiutaAnnullo(double dblQtaOrdine, double residuo, bool senzaCausale, VBool& blnOk,
                        double& dblQtaRipristino);
    // True while the user has unsaved edits on the body or the header form.
    bool ModificheInSospeso();
    // A line has at most one cancellation line, and a cancellation line is never split.
    bool HaGiaAnnullo(const std::string& guid);
    // The whole line is cancelled: its flag set and the three line sections updated.
    void AnnullaRigaInteraGriglia(host::IRegDoc& doc, const std::string& guid, double qtaAnnullo);
    void ChiudiAnnulloTotale(host::IRegDoc& doc);
    // Ends an interrupted split: the busy flag cleared, the refresh bracket closed when
    // asked, the busy indicator back to its saved value; each step's own error ignored.
    void InterrompiCreaAnnullo(bool chiudiGriglia);
    // The record of the last cancellation line, from the body's current row.
    void RegistraUltimoAnnullo(const std::string& guid, ado::Recordset& corpo);
    // -1 for a quantity means: leave that quantity as it is.
    void ScriviRigaAnnullo(std::int32_t lngProgRiga, const Variant& varGuidMaster,
                           const Variant& varGuidDetail, double dblQtaAnnullo, double dblQtaOrig);
    std::int32_t GetMaxDO30_PROGRIGA(const ado::RecordsetPtr& rst);
    std::int32_t GetMaxDO30_PROGPADRE(const ado::RecordsetPtr& rst);
    std::optional<std::int32_t> GruppoAnnulliDaLink(const ado::RecordsetPtr& rst);

    // ---- deletion guards and clean-up ----
    void MemorizzaRigaCancellata();
    void RipristinaMasterAnnullo(const Variant& varGuidCancellata,
                                 std::int32_t& lngProgRigaCancellata);
    bool TrattieniQtaRigaAnnullo(const Variant& varGuidMaster, double& dblQtaAnnullata);
    void ImpostaQtaAnnulloMaster(const Variant& varGuidMaster, double dblQtaRipristinata,
                                 double dblQtaAnnullata, VBool blnParziale);
    void ScollegaRigaAnnullo(const Variant& varGuidAnnullo, const Variant& varGuidMaster,
                             const Variant& unused1, const Variant& unused2, const Variant& unused3,
                             const Variant& unused4);

    // ---- link collection and line look-up ----
    void AddLinkAnnullo(const Variant& varGuidDetail, const Variant& varGuidMaster,
                        const Variant& varProgPadre);
    void CaricaLinkAnnulli(const ado::RecordsetPtr& rsVert, const ado::RecordsetPtr& rsCorpo);
    void RemoveLinkAnnullo(const Variant& varGuidDetail);
    VBool FindDetailGuid(const Variant& varGuidMaster, Variant& varGuidDetail);
    VBool FindMasterGuid(const Variant& varGuidDetail, Variant& varGuidMaster);
    // Bookmark / DO30_PROGRIGA / a named field of the row, or the 16-bit integer 0.
    Variant GetBookmarkByGuid(ado::RecordsetPtr& rst, const std::string& strGuid, VBool blnBlocca);
    Variant GetProgRigaByGuid(ado::RecordsetPtr& rst, const std::string& strGuid, VBool blnBlocca);
    double QtaRigaByGuid(const Variant& guid);
    Variant GetCampoByProgRiga(ado::RecordsetPtr& rst, std::int32_t lngProgRiga,
                               const std::string& strCampo, VBool blnBlocca);

    // ---- referenced documents and warehouse progressive reversal ----
    void GetDocumentiRiferiti();
    void AggiornaBatchCorpo();
    void ScartaQtaAnnulloInSospeso();
    void RifiutaCancellazioneTestaAnnullata();
    bool QtaAnnulloOltreRiga(const Variant& guid);
    bool QtaOltreInizio(double qta);
    std::string_view RifiutoMemorizzazione(Variant& G);
    void PulisciRigaNonAnnullata(const Variant& G, PercorsoUtente& percorso);
    void CompletaRigaAnnullata(PercorsoUtente& percorso);
    bool RigaAnnullataIntera();
    bool RigaAnnullataSenzaQta(const Variant& qta);
    bool QtaBloccataNonDigitata(const ObjectPtr& Control, const std::string& campo);
    double QtaApertaRigaCorrente();
    void CompletaQtaRigaAnnullata();
    void CreaTempStorno(const std::string& elenco, VBool gestLotti, VBool terzoFlag,
                        const std::string& tabMag, const std::string& tabLotti,
                        const std::string& tabTerza);
    void EseguiProgMagDoc();
    // Step 3 of the reversal sequence, once a change was carried out: the body written
    // back and the captured working set reversed, then the form's save. Without a working
    // set of its own capture nothing is written here: the host's save posts the change.
    void ConcludiStorno();

    // ---- form set-up, control discovery and row change ----
    VBool IsAnnulliOffTestata();
    VBool IsAnnulliOffCorpo();
    void CercaControlliForm(const ObjectPtr& Form, std::int16_t TipoForm);
    std::string GetDBField(const ObjectPtr& ctl);
    std::string GetNomeControllo(const ObjectPtr& ctl);
    void AggiornaQtaAnnProgPadre();
    void AbilitaControlliCorpo(VBool Valore);
    void DisabilitaControlliCorpo();
    void SbloccaControlliRiga();
    void BloccaControlliRiga();
    void BloccaCausaleRiga();
    void AggiornaControlliCorpo();
    void AggiornaVisibilitaCorpo();

    // ---- control events and field drivers ----
    void AggiornaCausaleTestata();
    void CausaleCorpoChange();
    void QtaCorpoChange();
    void QtaAnnulloChange();
    void LimitaQtaAnnullo();
    bool RigaDaRegolare();
    void RimettiQtaCoppia();
    void RiallineaCoppiaDopoAnnulla();
    double QtaAnnulloMostrata();
    void AllineaQtaOrigCoppia(const Variant& guidMaster, const Variant& guidDettaglio);

    // ---- navigator buttons and menus ----
    // Capture, `cambio` (answers whether it carried a change out), then write-back and
    // progressive procedure, and the save when `salva`. Answers what `cambio` answered.
    bool SequenzaStorno(const std::function<bool()>& cambio, bool salva);
    void AnnullaModificheRiga();  // the undo reaction of the navigators' "annulla"
    void RimettiStatoScritto();   // the undone line's state back to the written one
    bool ScrittaConStato(std::int32_t scelto, std::int32_t prima);
    void DopoTastoNavigatore(const std::string& Chiave);
    void RicalcolaQtaAnnulloGriglia(VBool DopoGriglia);
    void RiportaNelGruppo(ado::Recordset& corpo, std::int32_t gruppo);
    void RiallineaCoppia(ado::Recordset& vert, ado::Recordset& corpo, std::int32_t progRiga);

    // ---- size-grid command ----
    VBool GestioneAnnulliGriglia();  // always False
    VBool RegistraGriglia(std::int32_t& a, std::int32_t& b, std::string& testo);
    VBool GetDimeConf(std::int32_t ditta);
    std::string Get_MG5T_CODICE(std::int16_t idStagione);
    VBool ControllaCampiGriglia(ado::RecordsetPtr& rst);
    ado::RecordsetPtr ClonaStrutturaRecordset(ado::RecordsetPtr& rst);
    // The current body line the command was started on.
    struct RigaGriglia {
        Variant guid, progRiga, opzione, articolo;
        std::int32_t progPadre = 0;
    };
    bool EseguiComandoGriglia();
    bool PreparaGriglia(const RigaGriglia& riga);
    bool ConcludiComandoGriglia(const RigaGriglia& riga, bool corpoInSospeso);
    bool CorpoInSospeso();
    void TornaAllaRigaGriglia(const Variant& guid);
    void RiempiDatiGriglia(ado::Recordset& dati, std::int32_t progPadre);
    std::string StatoRigaGriglia(const ado::Recordset& riga, const ado::RecordsetPtr& vert);
    void RicordaStatoGriglia(const std::string& guid, const std::string& stato);
    void CausaleGriglia(ado::Recordset& dati, const ado::Recordset& vert, ado::Recordset& coppie);
    // The write-back's work collections, each keyed "K" and the line number.
    struct ColonneGriglia {
        KeyedCollection daLiberare, daDividere, qtaAnnullate, qtaOriginali;
        KeyedCollection daAnnullare;  // the lines of daLiberare whose cell is "3"
    };
    void ElaboraGrigliaAnnulli();
    void ScriviRigaDaGriglia(ado::Recordset& dati, ado::Recordset& vertClone);
    void StatoRigaDaGriglia(ado::Recordset& dati, ColonneGriglia& c);
    void AcquisisciStatiGriglia(ado::Recordset& dati);
    void CreaRigaAnnullo(KeyedCollection& righeDaDividere, KeyedCollection& qtaAnnullate,
                         KeyedCollection& qtaOriginali);
    void AggiornaCoppiaDaGriglia(ado::RecordsetPtr& clone, const Variant& B, const Variant& D,
                                 double qtaAnnullo, double qtaOrig);
    void EliminaRigaAnnullo(KeyedCollection& righeDaLiberare,
                            const KeyedCollection& righeAnnullate);
    void RimuoviAnnulloDaGriglia(ado::RecordsetPtr& clone, const std::string& G, const Variant& D,
                                 bool annullata);
    // The reason code of the current body line's extension row ("" when it has none).
    std::string CausaleRigaCorrente();
    void EliminaSottorigheCorpo(std::int32_t progRiga);
};

using PluginPtr = std::shared_ptr<CLSRF_REGDOC_STATI>;

}  // namespace zq::plugin
