#include "tools/json_out.h"

namespace zq::tool {

Json VariantJson(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return nullptr;
    if (v.IsBool()) return v.ToBool();
    if (v.IsString()) return v.RawString();
    if (v.Type() == VarType::Date || v.IsObject() || v.IsArray()) return v.ToString();
    if (v.IsNumeric()) return v.ToDouble();
    return v.ToString();
}

Json ProgressivesJson(const std::vector<ProgressiveSnapshot>& p) {
    Json out = Json::array();
    for (const auto& r : p)
        out.push_back({{"article", r.articolo},
                       {"option", r.opzione},
                       {"warehouse", r.deposito},
                       {"MG70_QTA1ORD", r.qta1},
                       {"MG70_QTA2ORD", r.qta2},
                       {"MG70_VALORD", r.valore}});
    return out;
}

Json SnapshotJson(const DocumentSnapshot& s) {
    Json lines = Json::array();
    for (const auto& l : s.lines) {
        lines.push_back({{"DO30_PROGRIGA", l.progRiga},
                         {"DO30_CODART_MG66", l.articolo},
                         {"DO30_OPZIONE_MG5E", l.opzione},
                         {"DO30_QTA1", VariantJson(l.qta1)},
                         {"DO30_PROGPADRE", VariantJson(l.progPadre)},
                         {"DO30_GUID", l.guid},
                         {"state", l.stato ? Json(*l.stato) : Json(nullptr)},
                         {"DO31_FLGNONPIUEV", VariantJson(l.flgNonPiuEv)},
                         {"DO77_CODCAU_ZQ63", VariantJson(l.codCausale)},
                         {"DO77_ZQ_QTA_ORIG", VariantJson(l.qtaOrig)},
                         {"DO77_ZQ_QTA_ANNULLO", VariantJson(l.qtaAnnullo)},
                         {"DO77_ZQGUID_MASTER_DO30", VariantJson(l.guidMaster)},
                         {"DO77_ZQGUID_DETAIL_DO30", VariantJson(l.guidDetail)}});
    }
    return {{"header",
             {{"DO11_STATO", VariantJson(s.header.stato)},
              {"DO76_CODCAU_ZQ63", VariantJson(s.header.codCausale)},
              {"DO76_DESCAU_ZQ63", VariantJson(s.header.desCausale)},
              {"DO18_FLGNONPIUEV", VariantJson(s.header.flgNonPiuEv)}}},
            {"lines", std::move(lines)},
            {"progressives", ProgressivesJson(s.progressives)}};
}

Json EventJson(const sim::RaisedEvent& e) {
    Json j{{"event", e.name}};
    if (!e.args.empty()) {
        Json args = Json::array();
        for (const auto& a : e.args) args.push_back(VariantJson(a));
        j["args"] = std::move(args);
    }
    if (!e.results.empty()) {
        Json results = Json::array();
        for (const auto& r : e.results) results.push_back(VariantJson(r));
        j["results"] = std::move(results);
    }
    if (e.result.Failed())
        j["failed"] = {{"number", e.result.number},
                       {"source", e.result.source},
                       {"description", e.result.description}};
    return j;
}

Json MessageJson(const sim::ShownMessage& m) {
    return {{"text", m.testo}, {"style", m.stile}, {"title", m.titolo}};
}

Json FindingsJson(const std::vector<Finding>& findings, std::size_t documents) {
    Json list = Json::array();
    for (const auto& f : findings) {
        Json j{{"rule", f.rule}, {"detail", f.detail}};
        j["document"] = f.numreg != 0 ? Json(f.numreg) : Json(nullptr);
        j["line"] = f.progRiga != 0 ? Json(f.progRiga) : Json(nullptr);
        list.push_back(std::move(j));
    }
    return {{"documents", documents}, {"findings", std::move(list)}};
}

}  // namespace zq::tool
