#include "large_order.h"

#include "host/error.h"

namespace zq::testing {

LargeOrder::LargeOrder(std::int32_t lines, sim::CursorOptions cursor) {
    conn_->RunSqlite("PRAGMA synchronous = OFF");
    sim::CreateDemoDatabase(*conn_, lines);
    conn_->SetCursor(cursor);
    sim::HostSettings s;
    s.document = {Variant::Int32(sim::demo::kDitta), std::to_string(sim::demo::kOrdine)};
    s.type.idFlussoRighe = sim::demo::kFlussoRighe;
    s.type.statoInizialeRighe = sim::demo::kStatoRigheIniziale;
    s.commandFactory = sim::SqliteCommandFactory();
    host_ = std::make_unique<sim::SimHost>(std::make_shared<sim::SqliteHostDatabase>(conn_),
                                           std::move(s));
    reasons_.emplace(host_->ambiente);
    driver_ = std::make_unique<sim::HostDriver>(*host_);
    if (!driver_->Initialize()) Raise(err::InvalidArgument, "LargeOrder", "Initialize failed");
    driver_->OpenForm(2);
    driver_->OpenForm(1);
}

LargeOrder::~LargeOrder() {
    // The plug-in goes before the host objects it refers to.
    driver_.reset();
    reasons_.reset();
    host_.reset();
}

std::vector<std::string> LargeOrder::Lines() {
    auto r = conn_->QueryRows(
        "SELECT DO30_PROGRIGA, DO31_FLGNONPIUEV, DO77_ZQ_QTA_ANNULLO, DO77_CODCAU_ZQ63 "
        "FROM DO30_DOCCORPO LEFT JOIN DO31_DOCCORPOORD ON DO31_NUMREG_CO99 = DO30_NUMREG_CO99 "
        "AND DO31_PROGRIGA = DO30_PROGRIGA LEFT JOIN DO77_DOCCORPOVERT ON "
        "DO77_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO77_PROGRIGA = DO30_PROGRIGA "
        "WHERE DO30_NUMREG_CO99 = ? ORDER BY DO30_PROGRIGA",
        {Variant::Int32(sim::demo::kOrdine)});
    std::vector<std::string> out;
    for (const auto& row : r.rows) {
        std::string line;
        for (const auto& v : row) line += v.Describe() + " ";
        out.push_back(line);
    }
    return out;
}

}  // namespace zq::testing
