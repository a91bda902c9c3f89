// Cancellation reasons on the host's forms: the look-up list of the header and line reason
// fields, the decode of a typed code into its description, and the key-button menu of the
// line reason field that opens the program maintaining the reasons.
//
// A code is never rejected: one that is not in the reasons table keeps its text and only
// loses its description. Descriptions are stored trimmed.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "data/query.h"
#include "data/sql_text.h"
#include "host/control_text.h"
#include "host/create_object.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

using host::LeggiTesto;
using host::Ref;
using host::ScriviTesto;

namespace {

constexpr std::string_view kProgIdCausali = "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO";

// Blanks (spaces only) removed at both ends.
std::string Trim(const std::string& s) {
    const auto primo = s.find_first_not_of(' ');
    if (primo == std::string::npos) return {};
    return s.substr(primo, s.find_last_not_of(' ') - primo + 1);
}

// The trimmed description of the reason code as typed, or nullopt when the code is not in
// the table. Errors reach the caller.
std::optional<std::string> DescrizioneCausale(ado::Connection& cnn, const Variant& codice) {
    const ado::RecordsetPtr rst = OpenQuery(
        cnn, std::string(" SELECT ZQ63_DESCAU_ANNULLO") + " FROM ZQ63_CAU_ANNULLO WITH (NOLOCK)" +
                 " WHERE ZQ63_CODCAU_ANNULLO = " + SqlText(SqlBare(codice)));
    if (!HasRow(rst)) return std::nullopt;
    return Trim(ReadText(rst, "ZQ63_DESCAU_ANNULLO"));
}

// The look-up definition both reason fields share: code, description and "Si" on the
// default reason, in the server's order. A failing statement leaves its argument as the
// host passed it and the others are still filled.
void DefinizioneLookup(std::string& Sql, Variant& Colonne, std::string& Titolo,
                       std::string& ParamInit, const std::string& strParamInit,
                       const ObjectPtr& ctlCodice, std::string_view idLookup) {
    Sql = std::string("SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO,  ") +
          " CASE WHEN ZQ63_FLG_DEFAULT=0 THEN '' ELSE 'Si' END AS ZQ63_FLG_DEFAULT " +
          " FROM ZQ63_CAU_ANNULLO WITH (NOLOCK) ";
    auto colonne = std::make_shared<VarArray>(0, 1, 0, 2);
    const char* const didascalie[] = {"Codice", "Descrizione", "Predefinita"};
    for (int c = 0; c <= 2; ++c) {
        colonne->At(0, c) = Variant(didascalie[c]);
        colonne->At(1, c) = Variant(std::string());
    }
    Colonne = Variant(colonne);
    Titolo = "Causali Annullo";
    ParamInit = strParamInit;
    IgnoreErrors([&] { SetProp(ctlCodice, "IDLookup", Variant(idLookup)); });
}

// Whether the form has an active control other than the one named.
bool AltroControlloAttivo(const ObjectPtr& form, std::string_view nome) {
    const ObjectPtr attivo = GetObject(form, "ActiveControl");
    return attivo && GetProp(attivo, "Name").ToString() != nome;
}

}  // namespace

HResult CLSRF_REGDOC_STATI::ControlEventStartLookup(ObjectPtr&, ObjectPtr& Control, VBool& Handled,
                                                    std::string& Sql, Variant& Colonne,
                                                    std::string& Titolo, std::string& ParamInit) {
    return ComBoundary([&] {
        const std::string campo = GetDBField(Control);
        if (campo.empty()) return;
        if (intTipoForm == 1 && campo == "DO76_CODCAU_ZQ63") {
            Handled = VTrue;
            LookupCausaleTestata(Handled, Sql, Colonne, Titolo, ParamInit);
        } else if (intTipoForm == 2 && campo == "DO77_CODCAU_ZQ63") {
            Handled = VTrue;
            LookupCausaleCorpo(Handled, Sql, Colonne, Titolo, ParamInit);
        }
    });
}

// With the handling off the request stays handled but nothing is filled.
void CLSRF_REGDOC_STATI::LookupCausaleTestata(VBool&, std::string& Sql, Variant& Colonne,
                                              std::string& Titolo, std::string& ParamInit) {
    if (IsTrue(IsAnnulliOffTestata())) return;
    DefinizioneLookup(Sql, Colonne, Titolo, ParamInit, strParamInit, ctlCodCausaleTesta,
                      "Lkp_DO76CausaliAnnulloZQ63");
}

void CLSRF_REGDOC_STATI::LookupCausaleCorpo(VBool&, std::string& Sql, Variant& Colonne,
                                            std::string& Titolo, std::string& ParamInit) {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    DefinizioneLookup(Sql, Colonne, Titolo, ParamInit, strParamInit, ctlCodCausaleRiga,
                      "Lkp_DO77CausaliAnnulloZQ63");
}

HResult CLSRF_REGDOC_STATI::ControlEventStartDecode(ObjectPtr&, ObjectPtr& Control, VBool& Handled,
                                                    Variant& Valore, Variant& Descrizione,
                                                    Variant& Extra) {
    return ComBoundary([&] {
        const std::string campo = GetDBField(Control);
        if (campo.empty()) return;
        if (intTipoForm == 1 && campo == "DO76_CODCAU_ZQ63")
            DecodeCausaleTestata(Handled, Valore, Descrizione, Extra);
        else if (intTipoForm == 2 && campo == "DO77_CODCAU_ZQ63")
            DecodeCausaleCorpo(Handled, Valore, Descrizione, Extra);
    });
}

// Runs only for the reason field itself, or when no control has the focus (a state change
// decoding the reason). An error ends it quietly; the busy flag is cleared either way.
void CLSRF_REGDOC_STATI::DecodeCausaleTestata(VBool& Handled, Variant&, Variant&, Variant&) {
    const bool completato = EndQuietly([&] {
        if (!ctlDesCausaleTesta) return;
        if (AltroControlloAttivo(frmCorrente, "TXT_DO76_CODCAU_ZQ63")) return;

        blnDecodeCausaleTesta = VTrue;
        if (!LeggiTesto(ctlCodCausaleTesta).empty()) {
            LeggiDescCausaleTestata();
        } else {
            Handled = VTrue;
            ScriviTesto(ctlDesCausaleTesta, Variant(std::string()));
            Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert")
                .Set("DO76_DESCAU_ZQ63", Variant::Null());
        }
        blnDecodeCausaleTesta = VFalse;
    });
    if (!completato) blnDecodeCausaleTesta = VFalse;
}

// Refreshes the header reason's description from the reasons table. Errors reach the
// caller.
void CLSRF_REGDOC_STATI::LeggiDescCausaleTestata() {
    const std::optional<std::string> descrizione =
        DescrizioneCausale(Cnn(), GetProp(ctlCodCausaleTesta, "Text"));
    ScriviTesto(ctlDesCausaleTesta, Variant(descrizione.value_or(std::string())));
    Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert")
        .Set("DO76_DESCAU_ZQ63", descrizione ? Variant(*descrizione) : Variant::Null());
}

// Every statement ignores its own error; a failed query reads as a code not found.
void CLSRF_REGDOC_STATI::DecodeCausaleCorpo(VBool& Handled, Variant&, Variant&, Variant&) {
    if (IsTrue(IsAnnulliOffCorpo()) || !ctlDesCausaleRiga) return;
    bool altroAttivo = false;
    IgnoreErrors([&] { altroAttivo = AltroControlloAttivo(frmCorrente, "TXT_DO77_CODCAU_ZQ63"); });
    if (altroAttivo) return;

    std::string codice;
    IgnoreErrors([&] { codice = LeggiTesto(ctlCodCausaleRiga); });

    std::optional<std::string> descrizione;
    if (!codice.empty()) {
        IgnoreErrors(
            [&] { descrizione = DescrizioneCausale(Cnn(), GetProp(ctlCodCausaleRiga, "Text")); });
    } else {
        Handled = VTrue;
    }
    IgnoreErrors(
        [&] { ScriviTesto(ctlDesCausaleRiga, Variant(descrizione.value_or(std::string()))); });
    IgnoreErrors([&] {
        Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
            .Set("DO77_DESCAU_ZQ63", descrizione ? Variant(*descrizione) : Variant::Null());
    });
}

// The key-button menu of the line reason field on the body form: the pressed item and
// its value go on to the reason maintenance as the host passes them.
HResult CLSRF_REGDOC_STATI::ControlEventKeyButtonMenuPress(ObjectPtr&, ObjectPtr& Control,
                                                           Variant& Voce, Variant& Valore) {
    return ComBoundary([&] {
        if (intTipoForm == 2 && GetDBField(Control) == "DO77_CODCAU_ZQ63")
            ApriCausaliAnnullo(Voce, Valore);
    });
}

void CLSRF_REGDOC_STATI::ApriCausaliAnnullo(const Variant&, const Variant& voce) {
    if (IsTrue(IsAnnulliOffCorpo())) {
        host::ShowHostMessage(objProgramma, "Mancano Controlli Del Corpo", 0, "");
        return;
    }
    IgnoreErrors([&] {
        if (VarEq(voce, Variant::Int16(2))) ApriGestioneCausali();
    });
}

// Runs the reasons program modally, the plug-in's own program disabled meanwhile. Once
// disabled, the plug-in's program is enabled again on every way out: a launch that fails
// must not leave the document program unusable. A program that cannot be created
// disables nothing.
void CLSRF_REGDOC_STATI::ApriGestioneCausali() {
    EndQuietly([&] {
        host::ProgrammaPtr causali = As<host::IProgramma>(CreateObject(kProgIdCausali));
        host::IProgramma& nuovo = Ref(causali, "Abilitato");
        host::IProgramma& proprio = Ref(objProgramma, "Abilitato");

        proprio.SetAbilitato(VFalse);
        bool riabilitato = false;
        const ScopeExit riabilita([&] {
            if (!riabilitato) proprio.SetAbilitato(VTrue);
        });

        nuovo.SetAbilitato(VTrue);
        nuovo.SetModale(VTrue);
        const host::AmbientePtr ambiente = proprio.Ambiente();
        Ref(ambiente, "RegistraProgramma").RegistraProgramma(causali);
        std::int32_t handle = 0;
        Ref(ambiente, "EseguiProgramma")
            .EseguiProgramma(handle, Variant(kProgIdCausali), VTrue, 0, 0, 0, 0, 0, VTrue, VTrue,
                             causali);

        Ref(causali, "Abilitato").SetAbilitato(VFalse);
        proprio.SetAbilitato(VTrue);
        riabilitato = true;
    });
}

}  // namespace zq::plugin
