// Early-bound host objects the plug-in uses: the document-registration object
// `gclsRegDoc`, its UI options `clsDocUI`, the current body line `objRigaCorpo`, the
// program, its environment, the company, the message service and the global conversion
// functions.
//
// The host names some operations only by what they do; the names chosen here for them are
// the host binding's own (see the comments). Every member may raise HostError; a member
// returning an object returns null when the host has none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/ado.h"
#include "host/object.h"
#include "host/types.h"
#include "host/variant.h"

namespace zq::host {

class IDocUI;
class IRigaCorpo;
class IProgramma;
class IAmbiente;
class IDitta;
class IMessaggi;
using DocUIPtr = std::shared_ptr<IDocUI>;
using RigaCorpoPtr = std::shared_ptr<IRigaCorpo>;
using ProgrammaPtr = std::shared_ptr<IProgramma>;
using AmbientePtr = std::shared_ptr<IAmbiente>;
using DittaPtr = std::shared_ptr<IDitta>;
using MessaggiPtr = std::shared_ptr<IMessaggi>;

// Options of the document's user interface.
class IDocUI : public Object {
  public:
    virtual std::int16_t IndicatoreAttesa() const = 0;  // busy indicator
    virtual void SetIndicatoreAttesa(std::int16_t v) = 0;
    virtual void SetGestCorpoVert(VBool v) = 0;
    virtual void SetGestCorpoOrd(VBool v) = 0;
    virtual VBool GestLotti() const = 0;
    virtual std::int16_t DecimaliPrezzo() const = 0;
    std::string TypeName() const override { return "clsDocUI"; }
};

// The host's object for the current body line.
class IRigaCorpo : public Object {
  public:
    virtual std::string GuidRiga() const = 0;
    virtual void SetGuidRiga(std::string_view guid) = 0;
    // Line state (a state id of the body flow), read and written.
    virtual std::int32_t StatoRiga() const = 0;
    virtual void SetStatoRiga(std::int32_t idStato) = 0;
    // The flow of the body lines.
    virtual std::int32_t IdFlusso() const = 0;
    // Take-over: the host copies the line state just set into the line it stands for.
    virtual void AcquisisciStato() = 0;
    std::string TypeName() const override { return "objRigaCorpo"; }
};

// The document being registered.
class IRegDoc : public Object {
  public:
    // Recordsets of the document (null when the host has not opened that section).
    virtual ado::RecordsetPtr rstDocTestata() const = 0;    // DO11
    virtual ado::RecordsetPtr rstDocTestaOrd() const = 0;   // DO18
    virtual ado::RecordsetPtr rstDocTestaVert() const = 0;  // DO76
    virtual ado::RecordsetPtr rstDocCorpo() const = 0;      // DO30
    virtual ado::RecordsetPtr rstDocCorpoOrd() const = 0;   // DO31
    virtual ado::RecordsetPtr rstDocCorpoVert() const = 0;  // DO77
    virtual ado::RecordsetPtr rstDocCorpoProv() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoRif() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoPers() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoEst() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoUbic() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoConf() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoProge() const = 0;
    virtual ado::RecordsetPtr rstDocCorOrdDet() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoLot() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoGrid() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoRaggr() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoScMag() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoCoin() const = 0;
    virtual ado::RecordsetPtr rstDocCorpoRatei() const = 0;

    virtual DocUIPtr clsDocUI() const = 0;
    virtual RigaCorpoPtr objRigaCorpo() const = 0;
    virtual std::int16_t DecimaliPrezzo() const = 0;
    virtual void SetElencoDocRiferiti(std::string_view elenco) = 0;
    // Busy property: True while a long command works on the document (the size-grid
    // cancellation command), so that the host holds off its own processing.
    virtual VBool InElaborazione() const = 0;
    virtual void SetInElaborazione(VBool v) = 0;

    // Open the vertical / order body sections with a where-condition ("1=0": empty).
    virtual void ApriRstDocCorpoVert(std::string_view condizione) = 0;
    virtual void ApriRstDocCorpoOrd(std::string_view condizione) = 0;

    // The quantity operation: sets DO30_QTA1 of the current line and recalculates it.
    virtual void ImpostaQuantita(double qta, VBool ricalcola, VBool aggiornaControlli,
                                 std::int16_t opzioni) = 0;
    // Appends a body line; it becomes the current row of rstDocCorpo with a new braced GUID.
    virtual void AggiungiRigaCorpo(std::int32_t tipo, std::int32_t progRiga, std::int32_t progPadre,
                                   VBool copiaTestata) = 0;
    // Append the DO31 / DO77 row of the current line, the DO76 row of the header.
    virtual void AggiungiRigaCorpoOrd(std::int16_t opzioni) = 0;
    virtual void AggiungiRigaCorpoVert(std::int16_t opzioni) = 0;
    virtual void AggiungiRigaTestaVert(std::int16_t opzioni) = 0;
    // The article/option operation and the collection-warehouse operation of the current line.
    virtual void ImpostaArticoloOpzione(const Variant& articolo, const Variant& opzione, VBool a,
                                        VBool b, VBool c) = 0;
    virtual void ImpostaDepositoCollegato(const Variant& deposito) = 0;
    // Take-over of the header-extension fields and of the DO77 fields just written.
    virtual void AcquisisciTestaVert() = 0;
    virtual void AcquisisciCorpoVert() = 0;
    // Refresh of the header after DO18_FLGNONPIUEV changed.
    virtual void AggiornaTestata() = 0;
    // The body-grid refresh pair: the first suspends, the second resumes and redraws.
    virtual void InizioAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d,
                                       VBool e) = 0;
    virtual void FineAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) = 0;
    // Follow-up for one line (after it was appended or changed).
    virtual void DopoRigaCorpo(std::int32_t progRiga) = 0;
    // The three document follow-up operations: totals, then taxes, then due dates.
    virtual void RicalcolaTotali(VBool a, VBool b, VBool c, VBool d, VBool e, VBool f, VBool g) = 0;
    virtual void RicalcolaIva() = 0;
    virtual void RicalcolaScadenze() = 0;

    std::string TypeName() const override { return "gclsRegDoc"; }
};

// A section of the document, by its member.
using SezioneDoc = ado::RecordsetPtr (IRegDoc::*)() const;

// The sections that hold a line's own rows besides the body (DO30): the ones the batch
// write of the body stores, and that a road must therefore be able to put back.
inline constexpr SezioneDoc kSezioniRiga[] = {
    &IRegDoc::rstDocCorpoOrd,   &IRegDoc::rstDocCorpoVert,  &IRegDoc::rstDocCorpoProge,
    &IRegDoc::rstDocCorpoPers,  &IRegDoc::rstDocCorOrdDet,  &IRegDoc::rstDocCorpoConf,
    &IRegDoc::rstDocCorpoEst,   &IRegDoc::rstDocCorpoGrid,  &IRegDoc::rstDocCorpoLot,
    &IRegDoc::rstDocCorpoProv,  &IRegDoc::rstDocCorpoRaggr, &IRegDoc::rstDocCorpoRif,
    &IRegDoc::rstDocCorpoScMag, &IRegDoc::rstDocCorpoUbic};
using RegDocPtr = std::shared_ptr<IRegDoc>;

class IDitta : public Object {
  public:
    // The company code in the form written into SQL, unquoted.
    virtual Variant CodiceDitta() const = 0;
    std::string TypeName() const override { return "Ditta"; }
};

class IMessaggi : public Object {
  public:
    // Shows a modal message box and answers the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No).
    virtual void MostraMessaggio(std::string_view testo, std::int32_t stile,
                                 std::string_view titolo, const ObjectPtr& owner,
                                 std::int32_t& risposta) = 0;
    std::string TypeName() const override { return "Messaggi"; }
};

class IProgramma : public Object {
  public:
    virtual AmbientePtr Ambiente() const = 0;
    virtual VBool Abilitato() const = 0;
    virtual void SetAbilitato(VBool v) = 0;
    virtual void SetModale(VBool v) = 0;
    std::string TypeName() const override { return "Programma"; }
};

class IAmbiente : public Object {
  public:
    virtual DittaPtr DittaAmbiente() const = 0;
    virtual MessaggiPtr Messaggi() const = 0;
    virtual void RegistraProgramma(ProgrammaPtr& programma) = 0;
    // Runs a host program; returns when the user closes it.
    virtual void EseguiProgramma(std::int32_t& handle, const Variant& progId, VBool a,
                                 std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                                 std::int32_t f, VBool g, VBool h, ProgrammaPtr& programma) = 0;
    std::string TypeName() const override { return "Ambiente"; }
};

// The host's value-conversion functions, created once per thread by ProgID.
class IFunzioniGlobali : public Object {
  public:
    // The text form in which the host writes a value into SQL.
    virtual std::string ValoreTesto(const Variant& v) const = 0;
    // The numeric form of a value; Null is accepted.
    virtual double ValoreNumero(const Variant& v) const = 0;
    std::string TypeName() const override { return "FunzioniGlobali"; }
};
inline constexpr std::string_view kProgIdFunzioniGlobali = "HostFunzioni.FunzioniGlobali";

}  // namespace zq::host
