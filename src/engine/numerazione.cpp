// Numbering of new body lines and of the group that the document's cancellation lines
// share.

#include <cstdint>
#include <limits>
#include <optional>

#include "host/error.h"
#include "host/nvl.h"
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
            if (const std::optional<std::int32_t> gruppo = GruppoAnnulliDaLink(rst)) {
                lngProgPadreAnnulli = *gruppo;
                return lngProgPadreAnnulli;
            }
        }
        if (!rst || rst->EOF_()) return 1;
        lngProgPadreAnnulli = MassimoPiuUno(rst, "DO30_PROGPADRE");
        return lngProgPadreAnnulli;
    } catch (const HostError& e) {
        // The caller sees which numbering failed.
        throw HostError(e.Number(), "errore GetMaxDO30_PROGPADRE", e.Description());
    }
}

// The group the document's own cancellation lines share, from the loaded links in their
// order. The size grid puts its cancellation lines in their master's family group, which
// is not the document's: taken from such a link, the next cancellation line of another
// article would join that family, and the grid would show it among the family's sizes.
// Such links, and those of a line in no group, are passed over; nothing when none is left.
std::optional<std::int32_t> CLSRF_REGDOC_STATI::GruppoAnnulliDaLink(const ado::RecordsetPtr& rst) {
    if (!rst) return colLinkAnnulli->front().DO30_PROGPADRE.ToLong();
    ado::RecordsetPtr corpo = rst->Clone(ado::adLockUnspecified);
    const Variant nessuno = Variant::Int32(0);
    for (const DO77& link : *colLinkAnnulli) {
        const Variant gruppo = NvlVar(link.DO30_PROGPADRE, nessuno);
        if (Compare(gruppo, nessuno) != CompareResult::Greater) continue;
        const Variant prog = GetProgRigaByGuid(corpo, link.DO77_ZQGUID_MASTER_DO30, VFalse);
        const Variant gruppoMaster = NvlVar(
            GetCampoByProgRiga(corpo, NvlVar(prog, nessuno).ToLong(), "DO30_PROGPADRE", VFalse),
            nessuno);
        if (!VarEq(gruppo, gruppoMaster)) return gruppo.ToLong();
    }
    return std::nullopt;
}

}  // namespace zq::plugin
