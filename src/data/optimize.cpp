#include "data/optimize.h"

#include "host/policy.h"

namespace zq {

// A cursor that refuses the property answers that the field keeps no index: the road goes
// on scanning, and the refusal is not a failure that would undo it. In a road that has
// already failed nothing more is asked of the host.
void OttimizzaFiltri(const ado::RecordsetPtr& rst, std::initializer_list<std::string_view> campi) {
    if (!rst || detail::RoadSkips()) return;
    for (std::string_view campo : campi) {
        Probe([&] {
            const ado::PropertyPtr optimize = rst->FieldByName(campo)->Properties("Optimize");
            if (optimize && !optimize->Value().ToBool()) optimize->SetValue(Variant::Bool(true));
        });
    }
}

}  // namespace zq
