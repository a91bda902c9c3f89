// Numbering of new body lines and of the group that the document's cancellation lines
// share.

#include <cstdint>
#include <limits>

#include "host/error.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

// One above the highest value of `campo` over every row of `rst` (at least 2: the walk
// starts from 1). A Null never wins a comparison.
std::int32_t MassimoPiuUno(const ado::RecordsetPtr& rst, std::string_view campo) {
    auto clone = rst->Clone(ado::adLockUnspecified);
    std::int32_t massimo = 1;
    if (!(clone->BOF() && clone->EOF_())) {
        clone->MoveFirst();
        while (!clone->EOF_()) {
            const Variant v = clone->Get(campo);
            if (Compare(v, Variant::Int32(massimo)) == CompareResult::Greater) massimo = v.ToLong();
            clone->MoveNext();
        }
    }
    if (massimo == std::numeric_limits<std::int32_t>::max())
        Raise(err::Overflow, std::string(campo), "Overflow");
    return massimo + 1;
}

}  // namespace

std::int32_t CLSRF_REGDOC_STATI::GetMaxDO30_PROGRIGA(const ado::RecordsetPtr& rst) {
    if (!rst || rst->EOF_()) return 1;
    return MassimoPiuUno(rst, "DO30_PROGRIGA");
}

// The group number is fixed by the first cancellation line of the document (or by the
// links loaded with it) and reused by every later one.
std::int32_t CLSRF_REGDOC_STATI::GetMaxDO30_PROGPADRE(const ado::RecordsetPtr& rst) {
    try {
        if (lngProgPadreAnnulli != 0) return lngProgPadreAnnulli;
        if (colLinkAnnulli && !colLinkAnnulli->empty()) {
            lngProgPadreAnnulli = colLinkAnnulli->front().DO30_PROGPADRE.ToLong();
            return lngProgPadreAnnulli;
        }
        if (!rst || rst->EOF_()) return 1;
        lngProgPadreAnnulli = MassimoPiuUno(rst, "DO30_PROGPADRE");
        return lngProgPadreAnnulli;
    } catch (const HostError& e) {
        // The caller sees which numbering failed.
        throw HostError(e.Number(), "errore GetMaxDO30_PROGPADRE", e.Description());
    }
}

}  // namespace zq::plugin
