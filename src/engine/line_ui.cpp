#include "engine/line_ui.h"

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
