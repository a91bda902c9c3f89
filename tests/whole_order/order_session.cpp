#include "order_session.h"

#include "host/error.h"

namespace zq::testing {

OrderSession::OrderSession(SessionOptions opts) : options(std::move(opts)) {
    sim::CreateDemoDatabase(*conn);
    for (const auto& sql : options.setup) conn->RunSqlite(sql);
    db = std::make_shared<RecordingHostDatabase>(conn);

    sim::HostSettings s;
    s.document = {Variant::Int32(sim::demo::kDitta), std::to_string(options.numreg)};
    s.type.idFlussoRighe = sim::demo::kFlussoRighe;
    s.type.statoInizialeRighe = sim::demo::kStatoRigheIniziale;
    s.type.gestLotti = options.gestLotti;
    s.commandFactory = SpyCommandFactory(commands, conn);
    host = std::make_unique<sim::SimHost>(db, std::move(s));
    for (const auto& name : options.headerWithout) host->header->RemoveControl(name);
    for (const auto& name : options.bodyWithout) host->body->RemoveControl(name);
    if (options.reasonsProgramInstalled) reasons.emplace(host->ambiente);
    driver = std::make_unique<sim::HostDriver>(*host);
}

OrderSession::~OrderSession() {
    // The plug-in goes before the host objects it refers to.
    driver.reset();
}

void OrderSession::OpenOrder() {
    if (!driver->Initialize()) Raise(err::InvalidArgument, "OrderSession", "Initialize failed");
    driver->OpenForm(2);
    driver->OpenForm(1);
    host->messaggi->TakeShown();
    driver->ClearEvents();
    db->recording->statements.clear();
}

sim::SimControl& OrderSession::HeaderControl(std::string_view name) {
    auto c = host->header->Control(name);
    if (!c) Raise(err::MemberNotFound, "header", std::string(name));
    return *c;
}

sim::SimControl& OrderSession::BodyControl(std::string_view name) {
    auto c = host->body->Control(name);
    if (!c) Raise(err::MemberNotFound, "body", std::string(name));
    return *c;
}

bool OrderSession::TypeAndLeave(std::int16_t tipoForm, std::string_view control,
                                const std::string& text) {
    driver->TypeAndLeave(tipoForm, control, text);
    return driver->Last("ControlEventStartDecode")->results.at(0).ToBool();
}

Variant OrderSession::Scalar(std::string_view sql, const std::vector<Variant>& binds) {
    auto r = conn->QueryRows(sql, binds);
    if (r.rows.empty()) Raise(err::AdoBofEof, "OrderSession", std::string(sql));
    return r.rows[0][0];
}

std::vector<std::pair<std::int32_t, std::int32_t>> OrderSession::LineFlags() {
    auto r = conn->QueryRows(
        "SELECT DO31_PROGRIGA, DO31_FLGNONPIUEV FROM DO31_DOCCORPOORD WHERE DO31_NUMREG_CO99 = ? "
        "ORDER BY DO31_PROGRIGA",
        {Variant::Int32(options.numreg)});
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const auto& row : r.rows) out.emplace_back(row[0].ToLong(), row[1].ToLong());
    return out;
}

}  // namespace zq::testing
