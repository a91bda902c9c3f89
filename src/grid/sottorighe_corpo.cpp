// Clearing the rows a removed body line leaves in the document's further body sections,
// so that the host does not save orphan rows.

#include <string>
#include <string_view>

#include "data/sql_text.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

using Sezione = ado::RecordsetPtr (host::IRegDoc::*)() const;

struct SottoRecordset {
    Sezione rst;
    std::string_view filtro;     // followed by the line number
    bool primaDelBatch = false;  // back to the first row before the batch is written
};

// In the order they are cleared. The grouping rows carry the body's own line column.
constexpr SottoRecordset kSottoRecordset[] = {
    {&host::IRegDoc::rstDocCorpoProge, "DO41_PROGRIGA = ", true},
    {&host::IRegDoc::rstDocCorpoPers, "DO35_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorOrdDet, "DO46_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoConf, "DO39_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoEst, "DO36_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoGrid, "DO56_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoLot, "DO52_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoProv, "DO32_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoRaggr, "DO30_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoRif, "DO33_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoScMag, "DO69_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoUbic, "DO38_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoCoin, "DO53_PROGRIGA = "},
    {&host::IRegDoc::rstDocCorpoRatei, "DO42_PROGRIGA = "},
};

// Deletes the first row `filtro` yields and writes the deletion to the batch, then leaves
// the recordset unfiltered on the row it stood on. Each statement's error is ignored, but
// a row is deleted only once the cursor is known to stand on it: a filter that fails (a
// section without the line column) or a bookmark that cannot be reached deletes nothing.
void EliminaPrimaRiga(ado::Recordset& rs, const std::string& filtro, bool primaDelBatch) {
    Variant posizione;
    bool suRiga = false;
    IgnoreErrors([&] {
        if (rs.BOF() || rs.EOF_()) return;
        posizione = rs.Bookmark();
        suRiga = true;
    });
    IgnoreErrors([&] { rs.SetFilter(Variant::Int32(ado::adFilterNone)); });
    bool vuoto = true;
    IgnoreErrors([&] { vuoto = rs.EOF_(); });
    if (vuoto) return;
    // Without a row of its own the recordset goes back where the filter's removal put it.
    if (!suRiga) suRiga = IgnoreErrors([&] { posizione = rs.Bookmark(); });

    Variant daEliminare;
    bool trovata = false;
    if (IgnoreErrors([&] { rs.SetFilter(Variant(filtro)); })) {
        IgnoreErrors([&] {
            if (rs.EOF_()) return;
            daEliminare = rs.Bookmark();
            trovata = true;
        });
    }
    IgnoreErrors([&] { rs.SetFilter(Variant::Int32(ado::adFilterNone)); });
    if (trovata && IgnoreErrors([&] { rs.SetBookmark(daEliminare); })) {
        IgnoreErrors([&] { rs.Delete(ado::adAffectCurrent); });
        IgnoreErrors([&] { rs.Update(); });
        if (primaDelBatch) IgnoreErrors([&] { rs.MoveFirst(); });
        IgnoreErrors([&] { rs.UpdateBatch(ado::adAffectAll); });
    }
    if (suRiga) IgnoreErrors([&] { rs.SetBookmark(posizione); });
}

}  // namespace

// Only the first row of each section is deleted: a line with several lots keeps the
// others. Line numbers not above 0 touch nothing.
void CLSRF_REGDOC_STATI::EliminaSottorigheCorpo(std::int32_t progRiga) {
    if (progRiga <= 0) return;
    for (const SottoRecordset& s : kSottoRecordset) {
        ado::RecordsetPtr rs;
        IgnoreErrors([&] { rs = (RegDoc().*s.rst)(); });
        if (!rs) continue;
        EliminaPrimaRiga(*rs, std::string(s.filtro) + SqlLong(progRiga), s.primaDelBatch);
    }
}

}  // namespace zq::plugin
