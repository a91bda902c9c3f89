// The links between master lines and their partial-cancellation lines, kept in memory so
// that event handlers can tell cheaply which line is tied to which, and the look-ups that
// find a body line by GUID or line number without moving the host's cursor.

#include "data/optimize.h"
#include "data/recordset_guard.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

// The collection exists from its first use on.
LinkAnnulli& Links(std::unique_ptr<LinkAnnulli>& col) {
    if (!col) col = std::make_unique<LinkAnnulli>();
    return *col;
}

bool IsEmptyRecordset(const ado::Recordset& rst) {
    return rst.BOF() && rst.EOF_();
}

// The row of `rst` whose `keyField` equals `key` (the host's `=`: texts case-sensitive),
// scanned from the first row; `take` reads the result from it. Every failing step is
// skipped, and the cursor goes back where it was. With `blocca` the body form is locked
// while the cursor moves, so that the grid does not follow it.
template <class Take>
Variant LookupRow(ado::RecordsetPtr& rst, std::string_view keyField, const Variant& key,
                  VBool blocca, const ObjectPtr& frmDocCorpo, Take take) {
    Variant result = Variant::Int16(0);
    if (!rst) return result;
    bool empty = true;
    IgnoreErrors([&] { empty = IsEmptyRecordset(*rst); });
    if (empty) return result;
    bool bloccato = false;  // a lock that was never taken is not given back
    {
        RecordsetGuard keep(rst, RecordsetGuard::kBookmark);
        if (IsTrue(blocca)) bloccato = IgnoreErrors([&] { CallMethod(frmDocCorpo, "Lock"); });
        IgnoreErrors([&] { rst->MoveFirst(); });
        for (;;) {
            bool atEnd = true;
            IgnoreErrors([&] { atEnd = rst->EOF_(); });
            if (atEnd) break;
            bool found = false;
            IgnoreErrors([&] { found = VarEq(rst->Get(keyField), key); });
            if (found) {
                IgnoreErrors([&] { result = take(*rst); });
                break;
            }
            // A cursor that cannot move would hold the scan for ever.
            if (!IgnoreErrors([&] { rst->MoveNext(); })) break;
        }
    }
    // A lock the plug-in took is given back: when giving it back fails, the road has failed
    // and it is tried once more, so that the grid keeps drawing.
    if (bloccato && !CleanUp([&] { CallMethod(frmDocCorpo, "Unlock"); })) {
        NoteTrappedFailure();
        CleanUp([&] { CallMethod(frmDocCorpo, "Unlock"); });
    }
    return result;
}

}  // namespace

void CLSRF_REGDOC_STATI::AddLinkAnnullo(const Variant& varGuidDetail, const Variant& varGuidMaster,
                                        const Variant& varProgPadre) {
    DO77 link;
    link.Key = varGuidDetail.ToString();
    link.DO77_ZQGUID_MASTER_DO30 = varGuidMaster.ToString();
    link.DO77_ZQGUID_DETAIL_DO30 = varGuidDetail.ToString();
    link.DO30_PROGPADRE = varProgPadre;
    Links(colLinkAnnulli).push_back(std::move(link));
}

// Rebuilds the links from the document's line extensions: every DO77 row that names a
// master and a detail that differ is a cancellation line, tied to its master under the
// group number of its body line. The DO77 columns hold the GUIDs without braces, while
// every look-up is asked with a line's DO30_GUID: the links take the braced form, so that
// an order opened again is guarded exactly like one split in this session.
void CLSRF_REGDOC_STATI::CaricaLinkAnnulli(const ado::RecordsetPtr& rsVert,
                                           const ado::RecordsetPtr& rsCorpo) {
    colLinkAnnulli = std::make_unique<LinkAnnulli>();
    if (rsVert && !IsEmptyRecordset(*rsVert)) {
        ado::RecordsetPtr vert = rsVert->Clone();
        if (!rsCorpo) RaiseObjectNotSet("rstDocCorpo");
        ado::RecordsetPtr corpo = rsCorpo->Clone();
        OttimizzaFiltri(corpo, {"DO30_PROGRIGA"});  // filtered once per cancellation line
        if (!IsEmptyRecordset(*vert)) vert->MoveFirst();
        while (!vert->EOF_()) {
            const std::string master =
                NvlVar(vert->Get("DO77_ZQGUID_MASTER_DO30"), Variant("")).ToString();
            const std::string detail =
                NvlVar(vert->Get("DO77_ZQGUID_DETAIL_DO30"), Variant("")).ToString();
            if (!master.empty() && !detail.empty() && master != detail) {
                corpo->SetFilter(
                    Variant(" DO30_PROGRIGA = " + SqlBare(vert->Get("DO77_PROGRIGA"))));
                AddLinkAnnullo(Variant(ui::ConGraffe(detail)), Variant(ui::ConGraffe(master)),
                               corpo->Get("DO30_PROGPADRE"));
            }
            vert->MoveNext();
        }
    }
    lngProgPadreAnnulli = 0;
}

void CLSRF_REGDOC_STATI::RemoveLinkAnnullo(const Variant& varGuidDetail) {
    if (!colLinkAnnulli || colLinkAnnulli->empty()) return;
    auto& links = *colLinkAnnulli;
    for (auto it = links.begin(); it != links.end(); ++it) {
        if (VarEq(Variant(it->DO77_ZQGUID_DETAIL_DO30), varGuidDetail)) {
            links.erase(it);
            return;
        }
    }
}

VBool CLSRF_REGDOC_STATI::FindDetailGuid(const Variant& varGuidMaster, Variant& varGuidDetail) {
    for (const DO77& link : Links(colLinkAnnulli)) {
        if (VarEq(Variant(link.DO77_ZQGUID_MASTER_DO30), varGuidMaster)) {
            varGuidDetail = Variant(link.DO77_ZQGUID_DETAIL_DO30);
            return VTrue;
        }
    }
    return VFalse;
}

VBool CLSRF_REGDOC_STATI::FindMasterGuid(const Variant& varGuidDetail, Variant& varGuidMaster) {
    varGuidMaster = Variant::Int16(0);
    for (const DO77& link : Links(colLinkAnnulli)) {
        if (VarEq(Variant(link.DO77_ZQGUID_DETAIL_DO30), varGuidDetail)) {
            varGuidMaster = Variant(link.DO77_ZQGUID_MASTER_DO30);
            return VTrue;
        }
    }
    return VFalse;
}

Variant CLSRF_REGDOC_STATI::GetBookmarkByGuid(ado::RecordsetPtr& rst, const std::string& strGuid,
                                              VBool blnBlocca) {
    return LookupRow(rst, "DO30_GUID", Variant(strGuid), blnBlocca, frmDocCorpo,
                     [](ado::Recordset& r) { return r.Bookmark(); });
}

Variant CLSRF_REGDOC_STATI::GetProgRigaByGuid(ado::RecordsetPtr& rst, const std::string& strGuid,
                                              VBool blnBlocca) {
    return LookupRow(rst, "DO30_GUID", Variant(strGuid), blnBlocca, frmDocCorpo,
                     [](ado::Recordset& r) { return r.Get("DO30_PROGRIGA"); });
}

// The quantity of the line with that GUID, read through a clone of the body: 0 when the body
// holds no such line or the line no quantity.
double CLSRF_REGDOC_STATI::QtaRigaByGuid(const Variant& guid) {
    ado::RecordsetPtr corpo = ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Clone();
    const Variant prog = GetProgRigaByGuid(corpo, guid.ToString(), VFalse);
    return NvlVar(GetCampoByProgRiga(corpo, prog.ToLong(), "DO30_QTA1", VFalse), Variant::Int32(0))
        .ToDouble();
}

Variant CLSRF_REGDOC_STATI::GetCampoByProgRiga(ado::RecordsetPtr& rst, std::int32_t lngProgRiga,
                                               const std::string& strCampo, VBool blnBlocca) {
    return LookupRow(rst, "DO30_PROGRIGA", Variant::Int32(lngProgRiga), blnBlocca, frmDocCorpo,
                     [&](ado::Recordset& r) { return r.Get(strCampo); });
}

}  // namespace zq::plugin
