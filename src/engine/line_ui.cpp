#include "engine/line_ui.h"

#include <algorithm>
#include <cmath>

#include "host/nvl.h"

namespace zq::plugin::ui {

ado::RecordsetPtr Richiesto(ado::RecordsetPtr rs, std::string_view member) {
    if (!rs) RaiseObjectNotSet(member);
    return rs;
}

void Mostra(const ObjectPtr& ctl, const Variant& value) {
    SetProp(ctl, "Text", value);
    SetProp(ctl, "IsChanged", Variant::Bool(true));
}

Variant Testo(const ObjectPtr& ctl) {
    return GetProp(ctl, "Text");
}

std::optional<double> QuantitaDigitata(const ObjectPtr& ctl) {
    const Variant testo = NvlVar(Testo(ctl), Variant::Int32(0));
    if (testo.IsString() && !testo.IsNumeric()) return std::nullopt;
    double q = 0;
    try {
        q = testo.ToDouble();
    } catch (const HostError&) {
        return std::nullopt;  // a number too large for the host (Overflow)
    }
    if (!std::isfinite(q) || q < 0) return std::nullopt;
    return q;
}

std::string TestoDi(const ObjectPtr& ctl) {
    return NvlVar(Testo(ctl), Variant("")).ToString();
}

double QtaDi(const ObjectPtr& ctl) {
    return NvlVar(Testo(ctl), Variant::Int32(0)).ToDouble();
}

std::string SenzaGraffe(std::string_view guid) {
    std::string out;
    out.reserve(guid.size());
    for (char c : guid)
        if (c != '{' && c != '}') out += c;
    return out;
}

std::string ConGraffe(std::string_view guid) {
    return "{" + SenzaGraffe(guid) + "}";
}

void VaiABookmark(const ObjectPtr& frmDocCorpo, const Variant& bookmark) {
    CallMethod(frmDocCorpo, kMoveBookmark, {bookmark, Variant::Bool(true), Variant::Bool(true)});
}

}  // namespace zq::plugin::ui

namespace zq::plugin {

bool QtaUguale(double a, double b) {
    constexpr double kTolleranza = 1e-9;
    return std::fabs(a - b) <= kTolleranza * std::max({1.0, std::fabs(a), std::fabs(b)});
}

}  // namespace zq::plugin
