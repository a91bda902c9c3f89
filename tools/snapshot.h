// What the database holds of one document's cancellation data: its header, its lines with
// their extension, order data and flow state, and the warehouse progressives of its
// articles. The demo shows one after every step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/variant.h"
#include "sim/db/sqlite_connection.h"

namespace zq::tool {

struct HeaderSnapshot {
    Variant stato;                   // DO11_STATO
    Variant codCausale, desCausale;  // DO76_CODCAU_ZQ63, DO76_DESCAU_ZQ63 (Empty: no row)
    Variant flgNonPiuEv;             // DO18_FLGNONPIUEV (Empty: no row)
};

struct LineSnapshot {
    std::int32_t progRiga = 0;
    std::string articolo, opzione;
    Variant qta1, progPadre;
    std::string guid;                   // DO30_GUID as stored (braced)
    std::optional<std::int32_t> stato;  // flow state of the line in the lines' flow
    Variant flgNonPiuEv;                // DO31_FLGNONPIUEV (Empty: no DO31 row)
    Variant codCausale, qtaOrig, qtaAnnullo, guidMaster, guidDetail;  // DO77 (Empty: no row)
};

struct ProgressiveSnapshot {
    std::string articolo, opzione, deposito;
    double qta1 = 0, qta2 = 0, valore = 0;  // MG70_QTA1ORD, MG70_QTA2ORD, MG70_VALORD
    bool operator==(const ProgressiveSnapshot&) const = default;
};

struct DocumentSnapshot {
    HeaderSnapshot header;
    std::vector<LineSnapshot> lines;
    std::vector<ProgressiveSnapshot> progressives;  // of the document's articles
};

DocumentSnapshot TakeSnapshot(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg,
                              std::int32_t flussoRighe);

// The last eight characters of a GUID, braces dropped: enough to tell lines apart.
std::string ShortGuid(const Variant& guid);

}  // namespace zq::tool
