#include "sim/host/size_grid.h"

#include <algorithm>

#include "grid/grid_members.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

namespace g = plugin::grid;

namespace {

// The properties the grid command writes and the grid keeps as they are given.
constexpr std::string_view kPassedProperties[] = {
    g::kGrigliaDitta,
    g::kGrigliaProgramma,
    g::kGrigliaConnessione,
    g::kGrigliaTipoDocumento,
    g::kGrigliaDocStandPers,
    g::kGrigliaModalitaAnnulli,
    g::kGrigliaSoloRigheEsistenti,
    g::kGrigliaBloccaArticolo,
    g::kGrigliaBloccaPrezzi,
    g::kGrigliaProgPadre,
    g::kGrigliaArticolo,
    g::kGrigliaOpzione,
    g::kGrigliaValuta,
    g::kGrigliaCambio,
    g::kGrigliaDataDocumento,
    g::kGrigliaDaDocumento,
    g::kGrigliaDim1GenGriglia2,
    g::kGrigliaDim1GenGriglia1,
    g::kGrigliaDim1Presente,
    g::kGrigliaDim2Presente,
    g::kGrigliaDim1Codice,
    g::kGrigliaDim2Codice,
    g::kGrigliaDim1Inizio,
    g::kGrigliaDim2Inizio,
    g::kGrigliaDim1Lunghezza,
    g::kGrigliaDim2Lunghezza,
    g::kGrigliaTipoCliFor,
    g::kGrigliaArticoloCliFor,
    g::kGrigliaCliFor,
    g::kGrigliaCliForDest,
    g::kGrigliaIndListinoAcqVen,
    g::kGrigliaIndListinoFisso,
    g::kGrigliaNumListinoFisso,
    g::kGrigliaListinoMagazzino,
    g::kGrigliaDefaultPiede,
    g::kGrigliaMostraStati,
    g::kGrigliaChiamante,
    g::kGrigliaRegDoc,
    g::kGrigliaDataRegistrazione,
    g::kGrigliaRigaCorrente,
};

// The season is shown by its code, not by its number.
constexpr std::string_view kStagione = "DO30_STAGIONE_MG5T";

// The order and cancellation columns the grid shows next to the body's.
std::vector<FieldDef> ColonneAnnullo() {
    auto def = [](const char* name, std::int32_t type, std::int32_t size) {
        FieldDef f;
        f.name = name;
        f.type = type;
        f.definedSize = size;
        if (type == ado::adDouble) f.precision = 15;
        return f;
    };
    return {
        def("DO31_QTA1CONS", ado::adDouble, 8),      def("DO31_FLGNONPIUEV", ado::adSmallInt, 2),
        def("DO77_ZQ_QTA_ORIG", ado::adDouble, 8),   def("DO77_ZQ_QTA_ANNULLO", ado::adDouble, 8),
        def("DO77_CODCAU_ZQ63", ado::adVarChar, 10), def("DO77_DESCAU_ZQ63", ado::adVarChar, 80)};
}

FieldDef DefOf(const ado::Field& f) {
    FieldDef d;
    d.name = f.Name();
    d.type = f.Type();
    d.definedSize = f.DefinedSize();
    d.attributes = f.Attributes();
    d.precision = f.Precision();
    d.numericScale = f.NumericScale();
    if (SameName(d.name, kStagione)) {
        d.type = ado::adVarChar;
        d.definedSize = 10;
        d.precision = 0;
    }
    return d;
}

}  // namespace

Variant ForLog(const Variant& v) {
    if (!v.IsObject() || !v.ToObject()) return v;
    return Variant("<" + v.ToObject()->TypeName() + ">");
}

GridRows ReadRows(ado::Recordset& rs) {
    GridRows out;
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) out.columns.push_back(rs.FieldAt(i)->Name());
    if (rs.State() != ado::adStateOpen) return out;
    auto clone = rs.Clone();
    if (clone->BOF() && clone->EOF_()) return out;
    for (clone->MoveFirst(); !clone->EOF_(); clone->MoveNext()) {
        std::vector<Variant> row;
        for (std::int32_t i = 0; i < clone->FieldCount(); ++i)
            row.push_back(clone->FieldAt(i)->Value());
        out.rows.push_back(std::move(row));
    }
    return out;
}

SimSizeGrid::SimSizeGrid(std::weak_ptr<SizeGridDesk> desk, CallLogPtr log)
    : desk_(std::move(desk)), log_(std::move(log)) {
    for (std::string_view member : kPassedProperties) DefinePassed(member);
    DefineMethod(g::kGrigliaInizializza, [this](std::span<Variant>) {
        Note(std::string(g::kGrigliaInizializza) + "()", g::kGrigliaInizializza, {});
        dati_.reset();
        handed_ = {};
        return Variant();
    });
    DefineMethod(g::kGrigliaCreaStruttura, [this](std::span<Variant>) {
        Note(std::string(g::kGrigliaCreaStruttura) + "()", g::kGrigliaCreaStruttura, {});
        CreaStruttura();
        return Variant();
    });
    DefineProperty(
        g::kGrigliaDati,
        [this] {
            Note(std::string(g::kGrigliaDati), g::kGrigliaDati, {});
            return Variant(ObjectPtr(dati_));
        },
        [this](const Variant& v) {
            Note(std::string(g::kGrigliaDati) + "=", g::kGrigliaDati, {v});
            dati_ = As<ado::Recordset>(v.ToObject());
            handed_ = dati_ ? ReadRows(*dati_) : GridRows{};
        });
    DefineProperty(
        g::kGrigliaMostra, [this] { return Passed(g::kGrigliaMostra); },
        [this](const Variant& v) {
            Note(std::string(g::kGrigliaMostra) + "=", g::kGrigliaMostra, {v});
            passed_.emplace_back(g::kGrigliaMostra, v);
            MostraGriglia();
        });
    DefineMethod(g::kGrigliaEsisteCampo, [this](std::span<Variant> args) {
        RequireArgs(args, 2, g::kGrigliaEsisteCampo);
        Note(std::string(g::kGrigliaEsisteCampo) + "()", g::kGrigliaEsisteCampo, {args[1]});
        auto rs = As<ado::Recordset>(args[0].ToObject());
        if (!rs) RaiseObjectNotSet(g::kGrigliaEsisteCampo);
        return Variant::Bool(rs->HasField(args[1].ToString()));
    });
    DefineMethod(g::kGrigliaUnload, [this](std::span<Variant>) {
        Note(std::string(g::kGrigliaUnload) + "()", g::kGrigliaUnload, {});
        unloaded_ = true;
        dati_.reset();
        return Variant();
    });
}

// Noted before it takes effect: a call the session makes fail (its log's fault hook) does
// nothing.
void SimSizeGrid::Note(std::string call, std::string_view member, std::vector<Variant> args) {
    for (Variant& a : args) a = ForLog(a);
    log_->Record("objGriglia." + std::string(member), std::move(args));
    calls_.push_back(std::move(call));
}

void SimSizeGrid::DefinePassed(std::string_view member) {
    const std::string name(member);
    DefineProperty(
        name,
        [this, name] {
            Note(name, name, {});
            return Passed(name);
        },
        [this, name](const Variant& v) {
            Note(name + "=", name, {v});
            passed_.emplace_back(name, v);
        });
}

Variant SimSizeGrid::Passed(std::string_view member) const {
    for (auto it = passed_.rbegin(); it != passed_.rend(); ++it)
        if (SameName(it->first, member)) return it->second;
    return Variant();
}

host::RegDocPtr SimSizeGrid::Documento() const {
    return As<host::IRegDoc>(Passed(g::kGrigliaRegDoc).ToObject());
}

// The body's columns as the document has them, then the order and cancellation columns.
void SimSizeGrid::CreaStruttura() {
    host::RegDocPtr doc = Documento();
    if (!doc) RaiseObjectNotSet(g::kGrigliaRegDoc);
    ado::RecordsetPtr corpo = doc->rstDocCorpo();
    if (!corpo) RaiseObjectNotSet("rstDocCorpo");
    std::vector<FieldDef> defs;
    for (std::int32_t i = 0; i < corpo->FieldCount(); ++i)
        defs.push_back(DefOf(*corpo->FieldAt(i)));
    for (FieldDef& d : ColonneAnnullo()) defs.push_back(std::move(d));
    if (auto desk = desk_.lock()) {
        const auto& without = desk->settings.without;
        std::erase_if(defs, [&](const FieldDef& d) {
            return std::any_of(without.begin(), without.end(),
                               [&](const std::string& w) { return SameName(w, d.name); });
        });
    }
    dati_ = MakeRecordset(std::move(defs), {});
    handed_ = {};
}

// The user edits the cells while the grid is shown; the data recordset then stands on its
// first row.
void SimSizeGrid::MostraGriglia() {
    if (!dati_) RaiseObjectNotSet(g::kGrigliaDati);
    auto desk = desk_.lock();
    if (!desk) return;
    for (const GridEdit& e : desk->TakeEdits()) ApplyEdit(*dati_, e);
    if (!(dati_->BOF() && dati_->EOF_())) dati_->MoveFirst();
}

// A line outside the grid is out of the user's reach: its edit is dropped.
void SimSizeGrid::ApplyEdit(ado::Recordset& rows, const GridEdit& e) {
    if (!rows.HasField("DO30_PROGRIGA") || (rows.BOF() && rows.EOF_())) return;
    for (rows.MoveFirst(); !rows.EOF_(); rows.MoveNext()) {
        const Variant prog = rows.Get("DO30_PROGRIGA");
        if (prog.IsNull() || prog.IsEmpty() || prog.ToLong() != e.line) continue;
        auto set = [&](std::string_view field, const Variant& v) {
            if (rows.HasField(field)) rows.Set(field, v);
        };
        if (e.quantity) set("DO30_QTA1", Variant(*e.quantity));
        if (e.status) set("DO30_GUID", Variant(*e.status));
        if (e.cancelled) set("DO77_ZQ_QTA_ANNULLO", Variant(*e.cancelled));
        if (e.reason) {
            auto desk = desk_.lock();
            const bool clear = e.reason->empty();
            set("DO77_CODCAU_ZQ63", clear ? Variant::Null() : Variant(*e.reason));
            set("DO77_DESCAU_ZQ63", clear          ? Variant::Null()
                                    : e.reasonText ? Variant(*e.reasonText)
                                    : desk         ? desk->ReasonText(*e.reason)
                                                   : Variant::Null());
        } else if (e.reasonText) {
            set("DO77_DESCAU_ZQ63", Variant(*e.reasonText));
        }
        rows.Update();
        return;
    }
}

bool SimSizeGrid::Changed() const {
    if (!dati_) return false;
    const GridRows now = ReadRows(*dati_);
    if (now.columns != handed_.columns || now.rows.size() != handed_.rows.size()) return true;
    for (std::size_t r = 0; r < now.rows.size(); ++r)
        for (std::size_t c = 0; c < now.columns.size(); ++c)
            if (!now.rows[r][c].SameAs(handed_.rows[r][c])) return true;
    return false;
}

}  // namespace zq::sim
