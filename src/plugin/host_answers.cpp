// The interface methods the plug-in object answers itself: its index, the vertical
// sections it does not manage, the form-close guard and the general-functions menu.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

HResult CLSRF_REGDOC_STATI::IndPlugInStd(std::int16_t& Result) {
    return ComBoundary([&] { Result = intIndPlugIn; });
}

// The plug-in manages none of the vertical sections itself.
HResult CLSRF_REGDOC_STATI::GetGestDocTestaVert(Variant&, std::string&, VBool& Result) {
    return ComBoundary([&] { Result = VFalse; });
}

HResult CLSRF_REGDOC_STATI::GetGestDocCorpoVert(Variant&, std::string&, VBool& Result) {
    return ComBoundary([&] { Result = VFalse; });
}

HResult CLSRF_REGDOC_STATI::GetGestDocTotaliVert(Variant&, std::string&, VBool& Result) {
    return ComBoundary([&] { Result = VFalse; });
}

// The form must stay open while a long procedure is showing a message or refreshing it:
// a header state change, the size-grid write-back, a line cancellation.
HResult CLSRF_REGDOC_STATI::CloseForm(ObjectPtr&, std::int16_t, VBool& Cancel) {
    return ComBoundary([&] {
        if (IsTrue(blnCambioStatoTesta)) Cancel = VTrue;
        if (IsTrue(blnGrigliaInCorso)) Cancel = VTrue;
        if (IsTrue(blnConfermaInCorso)) Cancel = VTrue;
    });
}

// Only the body form's menu carries the cancellation command.
HResult CLSRF_REGDOC_STATI::FunzGenInit(ObjectPtr&, std::int16_t TipoForm, ObjectPtr& Menu) {
    return ComBoundary([&] {
        if (TipoForm != 2) return;
        objMenuFunzGen.reset();
        objMenuFunzGen = Menu;
    });
}

}  // namespace zq::plugin
