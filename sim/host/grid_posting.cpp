#include <utility>

#include "grid/grid_members.h"
#include "sim/host/sim_regdoc.h"
#include "sim/host/size_grid.h"

namespace zq::sim {

namespace g = plugin::grid;

namespace {

// The error the posting raises when a setting makes it fail.
constexpr std::int32_t kErroreRegistrazione = -2147220991;  // the first user-defined error

double QuantitaDi(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? 0 : v.ToDouble();
}

// DO30_QTA1 of a body line; nullopt when the document has no such line.
std::optional<double> QuantitaRiga(ado::Recordset& corpo, std::int32_t line) {
    auto rows = corpo.Clone();
    if (rows->BOF() && rows->EOF_()) return std::nullopt;
    for (rows->MoveFirst(); !rows->EOF_(); rows->MoveNext())
        if (rows->Get("DO30_PROGRIGA").ToLong() == line) return QuantitaDi(rows->Get("DO30_QTA1"));
    return std::nullopt;
}

}  // namespace

SizeGridDesk::SizeGridDesk(SizeGridSettings s, CallLogPtr log, HostDatabasePtr db)
    : settings(std::move(s)), log_(std::move(log)), db_(std::move(db)) {}

void SizeGridDesk::PlanEdits(std::vector<GridEdit> edits) {
    for (auto& e : edits) edits_.push_back(std::move(e));
}

std::vector<GridEdit> SizeGridDesk::TakeEdits() {
    return std::exchange(edits_, {});
}

Variant SizeGridDesk::ReasonText(const std::string& code) const {
    std::string quoted;
    for (char c : code) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    auto rs = db_->OpenTable("ZQ63_CAU_ANNULLO", "ZQ63_CODCAU_ANNULLO = '" + quoted + "'");
    if (!rs || (rs->BOF() && rs->EOF_())) return Variant::Null();
    return rs->Get("ZQ63_DESCAU_ANNULLO");
}

ObjectPtr SizeGridDesk::NewGrid() {
    auto grid = std::make_shared<SimSizeGrid>(weak_from_this(), log_);
    grids_.push_back(grid);
    return grid;
}

ObjectPtr SizeGridDesk::NewPosting() {
    auto posting = std::make_shared<SimGridPosting>(settings.posting, log_);
    postings_.push_back(posting);
    return posting;
}

SimGridPosting::SimGridPosting(GridPosting mode, CallLogPtr log)
    : mode_(mode), log_(std::move(log)) {
    auto reference = [this](std::string_view member, ObjectPtr SimGridPosting::*field) {
        const std::string name(member);
        DefineProperty(
            name, [this, field] { return Variant(this->*field); },
            [this, name, field](const Variant& v) {
                log_->Record("objRegistraGriglia." + name, {ForLog(v)});
                this->*field = v.ToObject();
            });
    };
    reference(g::kRegistraGriglia, &SimGridPosting::griglia_);
    reference(g::kRegistraConnessione, &SimGridPosting::connessione_);
    reference(g::kRegistraProgramma, &SimGridPosting::programma_);
    DefineMethod(g::kRegistraEsegui, [this](std::span<Variant> args) {
        Registra(args);
        return Variant();
    });
}

// (a, b, text, result): the result answers whether the grid's changes reached the document.
void SimGridPosting::Registra(std::span<Variant> args) {
    RequireArgs(args, 4, g::kRegistraEsegui);
    log_->Record("objRegistraGriglia." + std::string(g::kRegistraEsegui),
                 {args[0], args[1], args[2]});
    ++runs_;
    if (mode_ == GridPosting::Fail)
        Raise(kErroreRegistrazione, "objRegistraGriglia.Registra",
              "Registrazione della griglia non riuscita");
    if (!programma_) RaiseObjectNotSet(g::kRegistraProgramma);
    if (!connessione_) RaiseObjectNotSet(g::kRegistraConnessione);
    auto grid = As<SimSizeGrid>(griglia_);
    if (!grid) RaiseObjectNotSet(g::kRegistraGriglia);
    bool changed = false;
    if (mode_ == GridPosting::Apply) {
        PostQuantities(*grid);
        changed = grid->Changed();
    }
    answer_ = changed;
    args[3] = Variant::Bool(changed);
}

// Each line whose cell holds another quantity than the line, other than 0, takes it
// through the quantity operation; the body is left on the last line so set.
void SimGridPosting::PostQuantities(SimSizeGrid& grid) {
    host::RegDocPtr doc = grid.Documento();
    ado::RecordsetPtr dati = grid.Dati();
    if (!doc || !dati || !dati->HasField("DO30_PROGRIGA") || !dati->HasField("DO30_QTA1")) return;
    ado::RecordsetPtr corpo = doc->rstDocCorpo();
    if (!corpo) RaiseObjectNotSet("rstDocCorpo");
    const GridRows rows = ReadRows(*dati);
    std::size_t progCol = 0, qtaCol = 0;
    for (std::size_t i = 0; i < rows.columns.size(); ++i) {
        if (SameName(rows.columns[i], "DO30_PROGRIGA")) progCol = i;
        if (SameName(rows.columns[i], "DO30_QTA1")) qtaCol = i;
    }
    for (const auto& row : rows.rows) {
        const Variant& prog = row[progCol];
        const double qta = QuantitaDi(row[qtaCol]);
        if (prog.IsNull() || prog.IsEmpty() || prog.ToLong() <= 0 || qta == 0) continue;
        const std::int32_t line = prog.ToLong();
        const auto attuale = QuantitaRiga(*corpo, line);
        if (!attuale || *attuale == qta) continue;
        if (auto sim = std::dynamic_pointer_cast<SimRegDoc>(doc)) {
            sim->MoveToLine(line);
        } else {
            corpo->MoveFirst();
            corpo->Find(" DO30_PROGRIGA = " + std::to_string(line));
        }
        doc->ImpostaQuantita(qta, VTrue, VTrue, 0);
    }
}

}  // namespace zq::sim
