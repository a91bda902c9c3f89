#include "data/optimize.h"

#include "host/policy.h"

namespace zq {

void OttimizzaFiltri(const ado::RecordsetPtr& rst, std::initializer_list<std::string_view> campi) {
    if (!rst) return;
    for (std::string_view campo : campi) {
        IgnoreErrors([&] {
            const ado::PropertyPtr optimize = rst->FieldByName(campo)->Properties("Optimize");
            if (optimize && !optimize->Value().ToBool()) optimize->SetValue(Variant::Bool(true));
        });
    }
}

}  // namespace zq
