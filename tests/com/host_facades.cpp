#include "host_facades.h"

#include <mutex>

#include "com/object_bridge.h"
#include "com/object_dispatch.h"
#include "data/ado.h"
#include "host/regdoc.h"
#include "sim/host/dispatch.h"

namespace zq::comtest {

namespace {

using com::ComPtr;
using sim::DispatchObject;
using sim::RequireArgs;
using Args = std::span<Variant>;

VBool VB(const Variant& v) {
    return ToVBool(v.ToBool());
}
Variant Obj(ObjectPtr o) {
    return Variant(std::move(o));
}
// An optional argument the caller left out arrives Empty.
std::int32_t LongOr(Args a, std::size_t i, std::int32_t otherwise) {
    return a.size() > i && !a[i].IsEmpty() ? a[i].ToLong() : otherwise;
}

template <class T>
std::shared_ptr<T> Unwrapped(const Variant& v) {
    return As<T>(v.ToObject());
}

// ---- ADO ----

class PropertyFacade : public DispatchObject {
  public:
    explicit PropertyFacade(ado::PropertyPtr p) {
        DefineProperty("Name", [p] { return Variant(p->Name()); });
        DefineProperty(
            "Value", [p] { return p->Value(); }, [p](const Variant& v) { p->SetValue(v); });
    }
    std::string TypeName() const override { return "Property"; }
};

// A field's dynamic properties, by name as ADO's Properties collection gives them: the
// provider answers 3265 for a name its cursor does not offer.
class PropertiesFacade : public DispatchObject {
  public:
    explicit PropertiesFacade(ado::FieldPtr f) {
        DefineMethod("Item", [f](Args a) {
            RequireArgs(a, 1, "Item");
            return Obj(f->Properties(a[0].ToString()));
        });
    }
    std::string TypeName() const override { return "Properties"; }
};

class FieldFacade : public DispatchObject {
  public:
    explicit FieldFacade(ado::FieldPtr f) {
        auto properties = std::make_shared<PropertiesFacade>(f);
        DefineProperty("Properties", [properties] { return Obj(properties); });
        DefineProperty("Name", [f] { return Variant(f->Name()); });
        DefineProperty("Type", [f] { return Variant::Int32(f->Type()); });
        DefineProperty("DefinedSize", [f] { return Variant::Int32(f->DefinedSize()); });
        DefineProperty("Attributes", [f] { return Variant::Int32(f->Attributes()); });
        DefineProperty(
            "Precision", [f] { return Variant::Int16(f->Precision()); },
            [f](const Variant& v) { f->SetPrecision(static_cast<std::uint8_t>(v.ToLong())); });
        DefineProperty(
            "NumericScale", [f] { return Variant::Int16(f->NumericScale()); },
            [f](const Variant& v) { f->SetNumericScale(static_cast<std::uint8_t>(v.ToLong())); });
        DefineProperty(
            "Value", [f] { return f->Value(); }, [f](const Variant& v) { f->SetValue(v); });
        DefineProperty("OriginalValue", [f] { return f->OriginalValue(); });
    }
    std::string TypeName() const override { return "Field"; }
};

class FieldsFacade : public DispatchObject {
  public:
    explicit FieldsFacade(ado::RecordsetPtr rs) {
        DefineProperty("Count", [rs] { return Variant::Int32(rs->FieldCount()); });
        DefineMethod("Item", [rs](Args a) {
            RequireArgs(a, 1, "Item");
            return Obj(a[0].IsString() ? rs->FieldByName(a[0].RawString())
                                       : rs->FieldAt(a[0].ToLong()));
        });
        DefineMethod("Append", [rs](Args a) {
            RequireArgs(a, 3, "Append");
            rs->AppendField(a[0].ToString(), a[1].ToLong(), a[2].ToLong(), LongOr(a, 3, -1));
            return Variant();
        });
    }
    std::string TypeName() const override { return "Fields"; }
};

class RecordsetFacade : public DispatchObject {
  public:
    explicit RecordsetFacade(ado::RecordsetPtr rs) {
        auto fields = std::make_shared<FieldsFacade>(rs);
        DefineProperty("Fields", [fields] { return Obj(fields); });
        DefineProperty("State", [rs] { return Variant::Int32(rs->State()); });
        DefineProperty("EditMode", [rs] { return Variant::Int32(rs->EditMode()); });
        DefineProperty("Status", [rs] { return Variant::Int32(rs->Status()); });
        DefineProperty("BOF", [rs] { return Variant::Bool(rs->BOF()); });
        DefineProperty("EOF", [rs] { return Variant::Bool(rs->EOF_()); });
        DefineProperty("RecordCount", [rs] { return Variant::Int32(rs->RecordCount()); });
        DefineProperty(
            "Bookmark", [rs] { return rs->Bookmark(); },
            [rs](const Variant& v) { rs->SetBookmark(v); });
        DefineProperty(
            "Filter", [rs] { return rs->Filter(); }, [rs](const Variant& v) { rs->SetFilter(v); });
        Do("Open", [rs](Args) { rs->Open(); });
        Do("Close", [rs](Args) { rs->Close(); });
        Do("MoveFirst", [rs](Args) { rs->MoveFirst(); });
        Do("MoveLast", [rs](Args) { rs->MoveLast(); });
        Do("MoveNext", [rs](Args) { rs->MoveNext(); });
        Do("MovePrevious", [rs](Args) { rs->MovePrevious(); });
        Do("AddNew", [rs](Args) { rs->AddNew(); });
        Do("Update", [rs](Args) { rs->Update(); });
        Do("CancelUpdate", [rs](Args) { rs->CancelUpdate(); });
        Do("Delete", [rs](Args a) { rs->Delete(LongOr(a, 0, ado::adAffectCurrent)); });
        Do("UpdateBatch", [rs](Args a) { rs->UpdateBatch(LongOr(a, 0, ado::adAffectAll)); });
        Do("CancelBatch", [rs](Args a) { rs->CancelBatch(LongOr(a, 0, ado::adAffectAll)); });
        Do("Find", [rs](Args a) {
            RequireArgs(a, 1, "Find");
            rs->Find(a[0].ToString(), LongOr(a, 1, 0), LongOr(a, 2, ado::adSearchForward),
                     a.size() > 3 ? a[3] : Variant());
        });
        DefineMethod("Clone",
                     [rs](Args a) { return Obj(rs->Clone(LongOr(a, 0, ado::adLockUnspecified))); });
    }
    std::string TypeName() const override { return "Recordset"; }

  private:
    void Do(std::string_view name, std::function<void(Args)> f) {
        DefineMethod(name, [f](Args a) {
            f(a);
            return Variant();
        });
    }
};

class ConnectionFacade : public DispatchObject {
  public:
    explicit ConnectionFacade(ado::ConnectionPtr c) {
        DefineMethod("Execute", [c](Args a) {
            RequireArgs(a, 1, "Execute");
            Variant affected;
            ado::RecordsetPtr rs = c->Execute(a[0].ToString(), &affected, LongOr(a, 2, -1));
            if (a.size() > 1) a[1] = affected;
            return Obj(rs);
        });
    }
    std::string TypeName() const override { return "Connection"; }
};

class ParameterFacade : public DispatchObject {
  public:
    explicit ParameterFacade(ado::ParameterPtr p) {
        DefineProperty("Name", [p] { return Variant(p->Name()); });
        DefineProperty("Type", [p] { return Variant::Int32(p->Type()); });
        DefineProperty("Direction", [p] { return Variant::Int32(p->Direction()); });
        DefineProperty("Size", [p] { return Variant::Int32(p->Size()); });
        DefineProperty(
            "Precision", [p] { return Variant::Int16(p->Precision()); },
            [p](const Variant& v) { p->SetPrecision(static_cast<std::uint8_t>(v.ToLong())); });
        DefineProperty(
            "NumericScale", [p] { return Variant::Int16(p->NumericScale()); },
            [p](const Variant& v) { p->SetNumericScale(static_cast<std::uint8_t>(v.ToLong())); });
        DefineProperty(
            "Value", [p] { return p->Value(); }, [p](const Variant& v) { p->SetValue(v); });
    }
    std::string TypeName() const override { return "Parameter"; }
};

class ParametersFacade : public DispatchObject {
  public:
    explicit ParametersFacade(ado::CommandPtr c) {
        DefineProperty("Count", [c] { return Variant::Int32(c->ParameterCount()); });
        DefineMethod("Item", [c](Args a) {
            RequireArgs(a, 1, "Item");
            return Obj(a[0].IsString() ? c->ParameterByName(a[0].RawString())
                                       : c->ParameterAt(a[0].ToLong()));
        });
        DefineMethod("Append", [c](Args a) {
            RequireArgs(a, 1, "Append");
            c->AppendParameter(Unwrapped<ado::Parameter>(a[0]));
            return Variant();
        });
    }
    std::string TypeName() const override { return "Parameters"; }
};

class CommandFacade : public DispatchObject {
  public:
    explicit CommandFacade(ado::CommandPtr c) {
        auto params = std::make_shared<ParametersFacade>(c);
        DefineProperty("Parameters", [params] { return Obj(params); });
        DefineProperty(
            "ActiveConnection", [c] { return Obj(c->ActiveConnection()); },
            [c](const Variant& v) { c->SetActiveConnection(Unwrapped<ado::Connection>(v)); });
        DefineProperty(
            "CommandText", [c] { return Variant(c->CommandText()); },
            [c](const Variant& v) { c->SetCommandText(v.ToString()); });
        DefineProperty(
            "CommandType", [c] { return Variant::Int32(c->CommandType()); },
            [c](const Variant& v) { c->SetCommandType(v.ToLong()); });
        DefineProperty(
            "CommandTimeout", [] { return Variant::Int32(0); },
            [c](const Variant& v) { c->SetCommandTimeout(v.ToLong()); });
        DefineProperty(
            "NamedParameters", [] { return Variant::Bool(true); },
            [c](const Variant& v) { c->SetNamedParameters(v.ToBool()); });
        DefineMethod("CreateParameter", [c](Args a) {
            RequireArgs(a, 4, "CreateParameter");
            return Obj(c->CreateParameter(a[0].ToString(), a[1].ToLong(), a[2].ToLong(),
                                          a[3].ToLong(), a.size() > 4 ? a[4] : Variant()));
        });
        DefineMethod("Execute", [c](Args a) {
            Variant affected;
            ado::RecordsetPtr rs = c->Execute(&affected, LongOr(a, 2, -1));
            if (!a.empty()) a[0] = affected;
            return Obj(rs);
        });
    }
    std::string TypeName() const override { return "Command"; }
};

// ---- the host's early-bound objects ----

class DocUIFacade : public DispatchObject {
  public:
    explicit DocUIFacade(host::DocUIPtr u) {
        DefineProperty(
            "IndicatoreAttesa", [u] { return Variant::Int16(u->IndicatoreAttesa()); },
            [u](const Variant& v) { u->SetIndicatoreAttesa(v.ToInt()); });
        DefineProperty(
            "GestCorpoVert", [] { return Variant(); },
            [u](const Variant& v) { u->SetGestCorpoVert(VB(v)); });
        DefineProperty(
            "GestCorpoOrd", [] { return Variant(); },
            [u](const Variant& v) { u->SetGestCorpoOrd(VB(v)); });
        DefineProperty("GestLotti", [u] { return Variant::Bool(IsTrue(u->GestLotti())); });
        DefineProperty("DecimaliPrezzo", [u] { return Variant::Int16(u->DecimaliPrezzo()); });
    }
    std::string TypeName() const override { return "clsDocUI"; }
};

class RigaCorpoFacade : public DispatchObject {
  public:
    explicit RigaCorpoFacade(host::RigaCorpoPtr r) {
        DefineProperty(
            "GuidRiga", [r] { return Variant(r->GuidRiga()); },
            [r](const Variant& v) { r->SetGuidRiga(v.ToString()); });
        DefineProperty(
            "StatoRiga", [r] { return Variant::Int32(r->StatoRiga()); },
            [r](const Variant& v) { r->SetStatoRiga(v.ToLong()); });
        DefineProperty("IdFlusso", [r] { return Variant::Int32(r->IdFlusso()); });
        DefineMethod("AcquisisciStato", [r](Args) {
            r->AcquisisciStato();
            return Variant();
        });
    }
    std::string TypeName() const override { return "objRigaCorpo"; }
};

class RegDocFacade : public DispatchObject {
  public:
    explicit RegDocFacade(host::RegDocPtr d) {
        using Rst = ado::RecordsetPtr (host::IRegDoc::*)() const;
        const std::pair<const char*, Rst> sections[] = {
            {"rstDocTestata", &host::IRegDoc::rstDocTestata},
            {"rstDocTestaOrd", &host::IRegDoc::rstDocTestaOrd},
            {"rstDocTestaVert", &host::IRegDoc::rstDocTestaVert},
            {"rstDocCorpo", &host::IRegDoc::rstDocCorpo},
            {"rstDocCorpoOrd", &host::IRegDoc::rstDocCorpoOrd},
            {"rstDocCorpoVert", &host::IRegDoc::rstDocCorpoVert},
            {"rstDocCorpoProv", &host::IRegDoc::rstDocCorpoProv},
            {"rstDocCorpoRif", &host::IRegDoc::rstDocCorpoRif},
            {"rstDocCorpoPers", &host::IRegDoc::rstDocCorpoPers},
            {"rstDocCorpoEst", &host::IRegDoc::rstDocCorpoEst},
            {"rstDocCorpoUbic", &host::IRegDoc::rstDocCorpoUbic},
            {"rstDocCorpoConf", &host::IRegDoc::rstDocCorpoConf},
            {"rstDocCorpoProge", &host::IRegDoc::rstDocCorpoProge},
            {"rstDocCorOrdDet", &host::IRegDoc::rstDocCorOrdDet},
            {"rstDocCorpoLot", &host::IRegDoc::rstDocCorpoLot},
            {"rstDocCorpoGrid", &host::IRegDoc::rstDocCorpoGrid},
            {"rstDocCorpoRaggr", &host::IRegDoc::rstDocCorpoRaggr},
            {"rstDocCorpoScMag", &host::IRegDoc::rstDocCorpoScMag},
            {"rstDocCorpoCoin", &host::IRegDoc::rstDocCorpoCoin},
            {"rstDocCorpoRatei", &host::IRegDoc::rstDocCorpoRatei}};
        for (const auto& [name, get] : sections)
            DefineProperty(name, [d, get = get] { return Obj(((*d).*get)()); });
        DefineProperty("clsDocUI", [d] { return Obj(d->clsDocUI()); });
        DefineProperty("objRigaCorpo", [d] { return Obj(d->objRigaCorpo()); });
        DefineProperty("DecimaliPrezzo", [d] { return Variant::Int16(d->DecimaliPrezzo()); });
        DefineProperty(
            "ElencoDocRiferiti", [] { return Variant(); },
            [d](const Variant& v) { d->SetElencoDocRiferiti(v.ToString()); });
        DefineProperty(
            "InElaborazione", [d] { return Variant::Bool(IsTrue(d->InElaborazione())); },
            [d](const Variant& v) { d->SetInElaborazione(VB(v)); });
        Do("ApriRstDocCorpoVert", 1, [d](Args a) { d->ApriRstDocCorpoVert(a[0].ToString()); });
        Do("ApriRstDocCorpoOrd", 1, [d](Args a) { d->ApriRstDocCorpoOrd(a[0].ToString()); });
        Do("ImpostaQuantita", 4,
           [d](Args a) { d->ImpostaQuantita(a[0].ToDouble(), VB(a[1]), VB(a[2]), a[3].ToInt()); });
        Do("AggiungiRigaCorpo", 4, [d](Args a) {
            d->AggiungiRigaCorpo(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), VB(a[3]));
        });
        Do("AggiungiRigaCorpoOrd", 1, [d](Args a) { d->AggiungiRigaCorpoOrd(a[0].ToInt()); });
        Do("AggiungiRigaCorpoVert", 1, [d](Args a) { d->AggiungiRigaCorpoVert(a[0].ToInt()); });
        Do("AggiungiRigaTestaVert", 1, [d](Args a) { d->AggiungiRigaTestaVert(a[0].ToInt()); });
        Do("ImpostaArticoloOpzione", 5,
           [d](Args a) { d->ImpostaArticoloOpzione(a[0], a[1], VB(a[2]), VB(a[3]), VB(a[4])); });
        Do("ImpostaDepositoCollegato", 1, [d](Args a) { d->ImpostaDepositoCollegato(a[0]); });
        Do("AcquisisciTestaVert", 0, [d](Args) { d->AcquisisciTestaVert(); });
        Do("AcquisisciCorpoVert", 0, [d](Args) { d->AcquisisciCorpoVert(); });
        Do("AggiornaTestata", 0, [d](Args) { d->AggiornaTestata(); });
        Do("InizioAggiornaGriglia", 5, [d](Args a) {
            d->InizioAggiornaGriglia(VB(a[0]), a[1].ToLong(), a[2].ToLong(), VB(a[3]), VB(a[4]));
        });
        Do("FineAggiornaGriglia", 5, [d](Args a) {
            d->FineAggiornaGriglia(VB(a[0]), a[1].ToLong(), a[2].ToLong(), VB(a[3]), VB(a[4]));
        });
        Do("DopoRigaCorpo", 1, [d](Args a) { d->DopoRigaCorpo(a[0].ToLong()); });
        Do("RicalcolaTotali", 7, [d](Args a) {
            d->RicalcolaTotali(VB(a[0]), VB(a[1]), VB(a[2]), VB(a[3]), VB(a[4]), VB(a[5]),
                               VB(a[6]));
        });
        Do("RicalcolaIva", 0, [d](Args) { d->RicalcolaIva(); });
        Do("RicalcolaScadenze", 0, [d](Args) { d->RicalcolaScadenze(); });
    }
    std::string TypeName() const override { return "gclsRegDoc"; }

  private:
    void Do(std::string_view name, std::size_t n, std::function<void(Args)> f) {
        DefineMethod(name, [f, n, member = std::string(name)](Args a) {
            RequireArgs(a, n, member);
            f(a);
            return Variant();
        });
    }
};

class DittaFacade : public DispatchObject {
  public:
    explicit DittaFacade(host::DittaPtr d) {
        DefineProperty("CodiceDitta", [d] { return d->CodiceDitta(); });
    }
    std::string TypeName() const override { return "Ditta"; }
};

class MessaggiFacade : public DispatchObject {
  public:
    explicit MessaggiFacade(host::MessaggiPtr m) {
        DefineMethod("MostraMessaggio", [m](Args a) {
            RequireArgs(a, 5, "MostraMessaggio");
            std::int32_t risposta = a[4].IsEmpty() ? 0 : a[4].ToLong();
            m->MostraMessaggio(a[0].ToString(), a[1].ToLong(), a[2].ToString(), a[3].ToObject(),
                               risposta);
            a[4] = Variant::Int32(risposta);
            return Variant();
        });
    }
    std::string TypeName() const override { return "Messaggi"; }
};

class ProgrammaFacade : public DispatchObject {
  public:
    explicit ProgrammaFacade(host::ProgrammaPtr p) {
        DefineProperty("Ambiente", [p] { return Obj(p->Ambiente()); });
        DefineProperty(
            "Abilitato", [p] { return Variant::Bool(IsTrue(p->Abilitato())); },
            [p](const Variant& v) { p->SetAbilitato(VB(v)); });
        DefineProperty(
            "Modale", [] { return Variant(); }, [p](const Variant& v) { p->SetModale(VB(v)); });
    }
    std::string TypeName() const override { return "Programma"; }
};

class AmbienteFacade : public DispatchObject {
  public:
    explicit AmbienteFacade(host::AmbientePtr e) {
        DefineProperty("DittaAmbiente", [e] { return Obj(e->DittaAmbiente()); });
        DefineProperty("Messaggi", [e] { return Obj(e->Messaggi()); });
        DefineMethod("RegistraProgramma", [e](Args a) {
            RequireArgs(a, 1, "RegistraProgramma");
            host::ProgrammaPtr p = Unwrapped<host::IProgramma>(a[0]);
            e->RegistraProgramma(p);
            a[0] = Obj(p);
            return Variant();
        });
        DefineMethod("EseguiProgramma", [e](Args a) {
            RequireArgs(a, 11, "EseguiProgramma");
            std::int32_t handle = a[0].IsEmpty() ? 0 : a[0].ToLong();
            host::ProgrammaPtr p = Unwrapped<host::IProgramma>(a[10]);
            e->EseguiProgramma(handle, a[1], VB(a[2]), a[3].ToLong(), a[4].ToLong(), a[5].ToLong(),
                               a[6].ToLong(), a[7].ToLong(), VB(a[8]), VB(a[9]), p);
            a[0] = Variant::Int32(handle);
            a[10] = Obj(p);
            return Variant();
        });
    }
    std::string TypeName() const override { return "Ambiente"; }
};

class FunzioniFacade : public DispatchObject {
  public:
    explicit FunzioniFacade(std::shared_ptr<host::IFunzioniGlobali> f) {
        DefineMethod("ValoreTesto", [f](Args a) {
            RequireArgs(a, 1, "ValoreTesto");
            return Variant(f->ValoreTesto(a[0]));
        });
        DefineMethod("ValoreNumero", [f](Args a) {
            RequireArgs(a, 1, "ValoreNumero");
            return Variant(f->ValoreNumero(a[0]));
        });
    }
    std::string TypeName() const override { return "FunzioniGlobali"; }
};

template <class T, class Facade>
ComPtr<IDispatch> Try(const ObjectPtr& o, std::vector<IID> ids = {}) {
    auto t = std::dynamic_pointer_cast<T>(o);
    if (!t) return nullptr;
    return com::ObjectDispatch::Create(o, std::move(ids), std::make_shared<Facade>(t));
}

ComPtr<IDispatch> ExposeHostObject(const ObjectPtr& o) {
    ComPtr<IDispatch> d;
    (d = Try<ado::Recordset, RecordsetFacade>(o, {com::kIidAdoRecordset15})) ||
        (d = Try<ado::Field, FieldFacade>(o)) || (d = Try<ado::Property, PropertyFacade>(o)) ||
        (d = Try<ado::Connection, ConnectionFacade>(o)) ||
        (d = Try<ado::Command, CommandFacade>(o)) ||
        (d = Try<ado::Parameter, ParameterFacade>(o)) ||
        (d = Try<host::IRegDoc, RegDocFacade>(o)) || (d = Try<host::IDocUI, DocUIFacade>(o)) ||
        (d = Try<host::IRigaCorpo, RigaCorpoFacade>(o)) ||
        (d = Try<host::IProgramma, ProgrammaFacade>(o)) ||
        (d = Try<host::IAmbiente, AmbienteFacade>(o)) || (d = Try<host::IDitta, DittaFacade>(o)) ||
        (d = Try<host::IMessaggi, MessaggiFacade>(o)) ||
        (d = Try<host::IFunzioniGlobali, FunzioniFacade>(o));
    return d;
}

}  // namespace

void InstallHostExposers() {
    static std::once_flag once;
    std::call_once(once, [] { com::RegisterExposer(ExposeHostObject); });
}

}  // namespace zq::comtest
