// The size grid's data recordset: the check that it has the fields the cancellation
// write-back fills, and the empty copy of its structure the grid command fills with the
// family's lines.

#include <string>
#include <string_view>

#include "grid/grid_members.h"
#include "host/create_object.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "host/screen.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

struct CampoRichiesto {
    std::string_view campo;
    std::string_view messaggio;  // follows "Errore configurazione documento " and the type
};

// In the order they are checked: the message names the first one missing.
constexpr CampoRichiesto kCampiRichiesti[] = {
    {"DO30_QTA1", " : campo DO30_QTA1 mancante!"},
    {"DO30_GUID", " : campo DO30_GUID mancante!"},
    {"DO77_ZQ_QTA_ANNULLO", " : campo DO77_ZQ_QTA_ANNULLO mancante!"},
    {"DO77_CODCAU_ZQ63", " : campo DO77_CODCAU_ZQ63 mancante!"},
    {"DO77_DESCAU_ZQ63", " : campo DO77_DESCAU_ZQ63 mancante!"},
};

// A value joined to a text as the host language's & does: Null and Empty add nothing.
std::string Testo(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

bool IsDecimale(std::int32_t tipo) {
    return tipo == ado::adDecimal || tipo == ado::adNumeric;
}

}  // namespace

// The size-grid component answers for the recordset (it knows how its grid names fields).
// Errors reach the caller: the grid command ends on them.
VBool CLSRF_REGDOC_STATI::ControllaCampiGriglia(ado::RecordsetPtr& rst) {
    for (const CampoRichiesto& r : kCampiRichiesti) {
        Variant args[] = {Variant(ObjectPtr(rst)), Variant(r.campo)};
        const bool presente = CallMethodRef(objGriglia, grid::kGrigliaEsisteCampo, args).ToBool();
        rst = As<ado::Recordset>(args[0].ToObject());  // the recordset goes by reference
        if (presente) continue;
        host::Screen()->SetMousePointer(host::vbDefault);
        const std::string tipoDocumento = Testo(GetProp(objGriglia, grid::kGrigliaTipoDocumento));
        host::ShowHostMessage(
            objProgramma,
            "Errore configurazione documento " + tipoDocumento + std::string(r.messaggio), 48,
            "Stato documento");
        return VFalse;
    }
    return VTrue;
}

// A new, closed recordset with the fields of `rst`: DO30_GUID becomes the one-character
// line status of the grid, every other field keeps its name, type, size and attributes, and
// decimals their precision and scale. A field that cannot be appended is left out.
ado::RecordsetPtr CLSRF_REGDOC_STATI::ClonaStrutturaRecordset(ado::RecordsetPtr& rst) {
    ado::RecordsetPtr copia;
    IgnoreErrors([&] { copia = As<ado::Recordset>(CreateObject(ado::kProgIdRecordset)); });
    std::int32_t campi = 0;
    IgnoreErrors([&] { campi = host::Ref(rst, "Fields").FieldCount(); });
    for (std::int32_t i = 0; i < campi; ++i) {
        ado::FieldPtr f;
        if (!IgnoreErrors([&] { f = rst->FieldAt(i); })) continue;
        std::string nome;
        if (!IgnoreErrors([&] { nome = f->Name(); })) continue;
        if (SameName(nome, "DO30_GUID")) {
            IgnoreErrors([&] {
                host::Ref(copia, "Fields")
                    .AppendField("DO30_GUID", ado::adVarChar, 1, ado::adFldUnspecified);
            });
            continue;
        }
        std::int32_t tipo = ado::adEmpty;
        const bool aggiunto = IgnoreErrors([&] {
            tipo = f->Type();
            host::Ref(copia, "Fields").AppendField(nome, tipo, f->DefinedSize(), f->Attributes());
        });
        if (!aggiunto || !IsDecimale(tipo)) continue;
        IgnoreErrors(
            [&] { copia->FieldAt(copia->FieldCount() - 1)->SetPrecision(f->Precision()); });
        IgnoreErrors(
            [&] { copia->FieldAt(copia->FieldCount() - 1)->SetNumericScale(f->NumericScale()); });
    }
    return copia;
}

}  // namespace zq::plugin
