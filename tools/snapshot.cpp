#include "tools/snapshot.h"

#include "sim/db/progressives.h"

namespace zq::tool {

namespace {

std::string Text(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

}  // namespace

std::string ShortGuid(const Variant& guid) {
    std::string g = Text(guid);
    std::erase(g, '{');
    std::erase(g, '}');
    return g.size() > 8 ? g.substr(g.size() - 8) : g;
}

DocumentSnapshot TakeSnapshot(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg,
                              std::int32_t flussoRighe) {
    const std::vector<Variant> key{Variant::Int32(ditta), Variant::Int32(numreg)};
    DocumentSnapshot s;
    auto h = conn.QueryRows(
        "SELECT DO11_STATO, DO76_CODCAU_ZQ63, DO76_DESCAU_ZQ63, DO18_FLGNONPIUEV, "
        "DO76_NUMREG_CO99 AS HAS76, DO18_NUMREG_CO99 AS HAS18 FROM DO11_DOCTESTATA "
        "LEFT JOIN DO76_DOCTESTAVERT ON DO76_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO76_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "LEFT JOIN DO18_DOCTESORD ON DO18_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO18_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "WHERE DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ?",
        key);
    if (!h.rows.empty()) {
        s.header.stato = h.At(0, "DO11_STATO");
        if (!h.At(0, "HAS76").IsNull()) {
            s.header.codCausale = h.At(0, "DO76_CODCAU_ZQ63");
            s.header.desCausale = h.At(0, "DO76_DESCAU_ZQ63");
        }
        if (!h.At(0, "HAS18").IsNull()) s.header.flgNonPiuEv = h.At(0, "DO18_FLGNONPIUEV");
    }

    auto l = conn.QueryRows(
        "SELECT DO30_PROGRIGA, DO30_CODART_MG66, DO30_OPZIONE_MG5E, DO30_QTA1, DO30_PROGPADRE, "
        "DO30_GUID, DO31_PROGRIGA AS HAS31, DO31_FLGNONPIUEV, DO77_PROGRIGA AS HAS77, "
        "DO77_CODCAU_ZQ63, DO77_ZQ_QTA_ORIG, DO77_ZQ_QTA_ANNULLO, DO77_ZQGUID_MASTER_DO30, "
        "DO77_ZQGUID_DETAIL_DO30 FROM DO30_DOCCORPO "
        "LEFT JOIN DO31_DOCCORPOORD ON DO31_DITTA_CG18 = DO30_DITTA_CG18 AND "
        "DO31_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO31_PROGRIGA = DO30_PROGRIGA "
        "LEFT JOIN DO77_DOCCORPOVERT ON DO77_DITTA_CG18 = DO30_DITTA_CG18 AND "
        "DO77_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO77_PROGRIGA = DO30_PROGRIGA "
        "WHERE DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ? ORDER BY DO30_PROGRIGA",
        key);
    s.lines.reserve(l.rows.size());
    for (std::size_t r = 0; r < l.rows.size(); ++r) {
        LineSnapshot line;
        line.progRiga = l.At(r, "DO30_PROGRIGA").ToLong();
        line.articolo = Text(l.At(r, "DO30_CODART_MG66"));
        line.opzione = Text(l.At(r, "DO30_OPZIONE_MG5E"));
        line.qta1 = l.At(r, "DO30_QTA1");
        line.progPadre = l.At(r, "DO30_PROGPADRE");
        line.guid = Text(l.At(r, "DO30_GUID"));
        if (!line.guid.empty()) line.stato = sim::ReadFlowState(conn, line.guid, flussoRighe);
        if (!l.At(r, "HAS31").IsNull()) line.flgNonPiuEv = l.At(r, "DO31_FLGNONPIUEV");
        if (!l.At(r, "HAS77").IsNull()) {
            line.codCausale = l.At(r, "DO77_CODCAU_ZQ63");
            line.qtaOrig = l.At(r, "DO77_ZQ_QTA_ORIG");
            line.qtaAnnullo = l.At(r, "DO77_ZQ_QTA_ANNULLO");
            line.guidMaster = l.At(r, "DO77_ZQGUID_MASTER_DO30");
            line.guidDetail = l.At(r, "DO77_ZQGUID_DETAIL_DO30");
        }
        s.lines.push_back(std::move(line));
    }

    auto p = conn.QueryRows(
        "SELECT MG70_CODART_MG66, MG70_OPZIONE_MG5E, MG70_CODDEP_MG58, MG70_QTA1ORD, "
        "MG70_QTA2ORD, MG70_VALORD FROM MG70_PROGMAG WHERE MG70_DITTA_CG18 = ? AND "
        "MG70_CODART_MG66 IN (SELECT DO30_CODART_MG66 FROM DO30_DOCCORPO WHERE "
        "DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ?) "
        "ORDER BY MG70_CODART_MG66, MG70_OPZIONE_MG5E, MG70_CODDEP_MG58",
        {Variant::Int32(ditta), Variant::Int32(ditta), Variant::Int32(numreg)});
    for (std::size_t r = 0; r < p.rows.size(); ++r) {
        s.progressives.push_back(
            {Text(p.At(r, "MG70_CODART_MG66")), Text(p.At(r, "MG70_OPZIONE_MG5E")),
             Text(p.At(r, "MG70_CODDEP_MG58")), p.At(r, "MG70_QTA1ORD").ToDouble(),
             p.At(r, "MG70_QTA2ORD").ToDouble(), p.At(r, "MG70_VALORD").ToDouble()});
    }
    return s;
}

}  // namespace zq::tool
