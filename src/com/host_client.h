// The host's early-bound objects of host/regdoc.h over the host's IDispatch: the document
// object, its UI options, the current body line, the program, its environment, the
// company, the message service and the global conversion functions.
//
// The host's interfaces are dual; the binding reaches each member by name. The names are
// the host's where the host names the member (rstDocCorpo, clsDocUI, IndicatoreAttesa,
// MostraMessaggio, ValoreTesto, ...); the operations the host describes only by what
// they do carry the names of host/regdoc.h (ImpostaQuantita, AggiungiRigaCorpo, ...):
// docs/com.md lists them, and a host that names one differently needs only the string
// here changed.
#pragma once

#include <map>
#include <string>

#include "com/ado_client.h"
#include "com/dispatch_client.h"
#include "host/regdoc.h"

namespace zq::com {

// The typed adapters of the objects a host object hands out, kept for as long as the host
// hands out the same object. The plug-in may hold on to such an object past the call that
// read it (a reference to the document's options object or to a section's recordset), as
// it may with the host's own objects, which the host keeps for the document's life.
class AdapterCache {
  public:
    template <class I, class A>
    std::shared_ptr<I> Get(std::string_view member, const Variant& v) {
        const ObjectPtr o = v.ToObject();
        const auto* holder = dynamic_cast<const DispatchHolder*>(o.get());
        if (!holder) return Typed<I, A>(v);
        Entry& e = entries_[std::string(member)];
        if (!e.adapter || e.key != holder->Dispatch()) {
            e.adapter = Typed<I, A>(v);
            e.key = holder->Dispatch();  // kept alive by the adapter
        }
        return std::dynamic_pointer_cast<I>(e.adapter);
    }

  private:
    struct Entry {
        IDispatch* key = nullptr;
        ObjectPtr adapter;
    };
    std::map<std::string, Entry> entries_;
};

#define ZQ_BY_NAME_INVOKE                                                           \
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override { \
        return InvokeByName(m, k, a);                                               \
    }

class DispDocUI : public host::IDocUI, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    std::int16_t IndicatoreAttesa() const override;
    void SetIndicatoreAttesa(std::int16_t v) override;
    void SetGestCorpoVert(VBool v) override;
    void SetGestCorpoOrd(VBool v) override;
    VBool GestLotti() const override;
    std::int16_t DecimaliPrezzo() const override;
};

class DispRigaCorpo : public host::IRigaCorpo, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    std::string GuidRiga() const override;
    void SetGuidRiga(std::string_view guid) override;
    std::int32_t StatoRiga() const override;
    void SetStatoRiga(std::int32_t idStato) override;
    std::int32_t IdFlusso() const override;
    void AcquisisciStato() override;
};

class DispRegDoc : public host::IRegDoc, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    ado::RecordsetPtr rstDocTestata() const override { return Rst("rstDocTestata"); }
    ado::RecordsetPtr rstDocTestaOrd() const override { return Rst("rstDocTestaOrd"); }
    ado::RecordsetPtr rstDocTestaVert() const override { return Rst("rstDocTestaVert"); }
    ado::RecordsetPtr rstDocCorpo() const override { return Rst("rstDocCorpo"); }
    ado::RecordsetPtr rstDocCorpoOrd() const override { return Rst("rstDocCorpoOrd"); }
    ado::RecordsetPtr rstDocCorpoVert() const override { return Rst("rstDocCorpoVert"); }
    ado::RecordsetPtr rstDocCorpoProv() const override { return Rst("rstDocCorpoProv"); }
    ado::RecordsetPtr rstDocCorpoRif() const override { return Rst("rstDocCorpoRif"); }
    ado::RecordsetPtr rstDocCorpoPers() const override { return Rst("rstDocCorpoPers"); }
    ado::RecordsetPtr rstDocCorpoEst() const override { return Rst("rstDocCorpoEst"); }
    ado::RecordsetPtr rstDocCorpoUbic() const override { return Rst("rstDocCorpoUbic"); }
    ado::RecordsetPtr rstDocCorpoConf() const override { return Rst("rstDocCorpoConf"); }
    ado::RecordsetPtr rstDocCorpoProge() const override { return Rst("rstDocCorpoProge"); }
    ado::RecordsetPtr rstDocCorOrdDet() const override { return Rst("rstDocCorOrdDet"); }
    ado::RecordsetPtr rstDocCorpoLot() const override { return Rst("rstDocCorpoLot"); }
    ado::RecordsetPtr rstDocCorpoGrid() const override { return Rst("rstDocCorpoGrid"); }
    ado::RecordsetPtr rstDocCorpoRaggr() const override { return Rst("rstDocCorpoRaggr"); }
    ado::RecordsetPtr rstDocCorpoScMag() const override { return Rst("rstDocCorpoScMag"); }
    ado::RecordsetPtr rstDocCorpoCoin() const override { return Rst("rstDocCorpoCoin"); }
    ado::RecordsetPtr rstDocCorpoRatei() const override { return Rst("rstDocCorpoRatei"); }

    host::DocUIPtr clsDocUI() const override;
    host::RigaCorpoPtr objRigaCorpo() const override;
    std::int16_t DecimaliPrezzo() const override;
    void SetElencoDocRiferiti(std::string_view elenco) override;
    VBool InElaborazione() const override;
    void SetInElaborazione(VBool v) override;
    void ApriRstDocCorpoVert(std::string_view condizione) override;
    void ApriRstDocCorpoOrd(std::string_view condizione) override;
    void ImpostaQuantita(double qta, VBool ricalcola, VBool aggiornaControlli,
                         std::int16_t opzioni) override;
    void AggiungiRigaCorpo(std::int32_t tipo, std::int32_t progRiga, std::int32_t progPadre,
                           VBool copiaTestata) override;
    void AggiungiRigaCorpoOrd(std::int16_t opzioni) override;
    void AggiungiRigaCorpoVert(std::int16_t opzioni) override;
    void AggiungiRigaTestaVert(std::int16_t opzioni) override;
    void ImpostaArticoloOpzione(const Variant& articolo, const Variant& opzione, VBool a, VBool b,
                                VBool c) override;
    void ImpostaDepositoCollegato(const Variant& deposito) override;
    void AcquisisciTestaVert() override;
    void AcquisisciCorpoVert() override;
    void AggiornaTestata() override;
    void InizioAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) override;
    void FineAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) override;
    void DopoRigaCorpo(std::int32_t progRiga) override;
    void RicalcolaTotali(VBool a, VBool b, VBool c, VBool d, VBool e, VBool f, VBool g) override;
    void RicalcolaIva() override;
    void RicalcolaScadenze() override;

  private:
    ado::RecordsetPtr Rst(std::string_view member) const;
    mutable AdapterCache held_;
};

class DispDitta : public host::IDitta, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    Variant CodiceDitta() const override;
};

class DispMessaggi : public host::IMessaggi, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    void MostraMessaggio(std::string_view testo, std::int32_t stile, std::string_view titolo,
                         const ObjectPtr& owner, std::int32_t& risposta) override;
};

class DispProgramma : public host::IProgramma, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    host::AmbientePtr Ambiente() const override;
    VBool Abilitato() const override;
    void SetAbilitato(VBool v) override;
    void SetModale(VBool v) override;
};

class DispAmbiente : public host::IAmbiente, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    host::DittaPtr DittaAmbiente() const override;
    host::MessaggiPtr Messaggi() const override;
    void RegistraProgramma(host::ProgrammaPtr& programma) override;
    void EseguiProgramma(std::int32_t& handle, const Variant& progId, VBool a, std::int32_t b,
                         std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f, VBool g,
                         VBool h, host::ProgrammaPtr& programma) override;
};

class DispFunzioniGlobali : public host::IFunzioniGlobali, public ByName {
  public:
    using ByName::ByName;
    ZQ_BY_NAME_INVOKE
    std::string ValoreTesto(const Variant& v) const override;
    double ValoreNumero(const Variant& v) const override;
};

#undef ZQ_BY_NAME_INVOKE

}  // namespace zq::com
