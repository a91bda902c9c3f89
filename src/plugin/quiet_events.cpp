// The host events the plug-in has no work for. Each accepts its arguments, changes no
// argument, field, recordset or form, and reports success; the boundary is there all the
// same so that every interface method has the same shape.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

#define ZQ_ACCEPTS(...)                       \
    HResult CLSRF_REGDOC_STATI::__VA_ARGS__ { \
        return ComBoundary([] {});            \
    }

// ICLSMG_REGDOCVERT
ZQ_ACCEPTS(BeginAddNewDocTestata())
ZQ_ACCEPTS(EndAddNewDocTestata())
ZQ_ACCEPTS(BeginDeleteDocTestata())
ZQ_ACCEPTS(EndDeleteDocTestata())
ZQ_ACCEPTS(BeginModifyDocTestata())
ZQ_ACCEPTS(EndModifyDocTestata())
ZQ_ACCEPTS(BeginUpdateDocTestata())
ZQ_ACCEPTS(EndUpdateDocTestata())
ZQ_ACCEPTS(BeginAddNewDocCorpo())
ZQ_ACCEPTS(EndAddNewDocCorpo())
ZQ_ACCEPTS(BeginModifyDocCorpo())
ZQ_ACCEPTS(EndModifyDocCorpo())
ZQ_ACCEPTS(EndDeleteDocCorpo())
ZQ_ACCEPTS(BeginUpdateDocCorpo())
ZQ_ACCEPTS(EndUpdateDocCorpo())
ZQ_ACCEPTS(UIBeforeUpdateDocument(VBool&))
ZQ_ACCEPTS(UIAfterUpdateDocument())
ZQ_ACCEPTS(UIBeforeDeleteDocument(VBool&))
ZQ_ACCEPTS(UIAfterDeleteDocument())
ZQ_ACCEPTS(UIBeforeNewDocument(VBool&))
ZQ_ACCEPTS(UIAfterNewDocument())
ZQ_ACCEPTS(UIAfterUpdateDocBody())
ZQ_ACCEPTS(UIBeforeAddNewDocBody(VBool&))
ZQ_ACCEPTS(UIAfterAddNewDocBody())
ZQ_ACCEPTS(BeforePrintDocument(VBool&))
ZQ_ACCEPTS(AfterPrintDocument())
ZQ_ACCEPTS(BeforeApplyKit(Variant, VBool&))
ZQ_ACCEPTS(BeforeEsplodiKit(Variant&, VBool&))
ZQ_ACCEPTS(AfterEsplodiKit())
ZQ_ACCEPTS(UIBeforeSchedaArticoli(VBool&))
ZQ_ACCEPTS(UIAfterSchedaArticoli(Variant&, Variant&, Variant&))
ZQ_ACCEPTS(BeforeRicalcolaPrezzo(VBool&))
ZQ_ACCEPTS(AfterRicalcolaPrezzo())
ZQ_ACCEPTS(BeforeApplyAgentiTestata(VBool&))
ZQ_ACCEPTS(BeforeCalcolaPrezzoNetto(VBool&))
ZQ_ACCEPTS(AfterCalcolaPrezzoNetto(Variant, Variant))
ZQ_ACCEPTS(BeginAddNewDocTestaVert())
ZQ_ACCEPTS(EndAddNewDocTestaVert())
ZQ_ACCEPTS(BeginAddNewDocCorpoVert())
ZQ_ACCEPTS(EndAddNewDocCorpoVert())
ZQ_ACCEPTS(BeginAddNewDocTotaliVert())
ZQ_ACCEPTS(EndAddNewDocTotaliVert())
ZQ_ACCEPTS(BeginUpdateDocTestaVert())
ZQ_ACCEPTS(EndUpdateDocTestaVert())
ZQ_ACCEPTS(BeginUpdateDocCorpoVert())
ZQ_ACCEPTS(EndUpdateDocCorpoVert())
ZQ_ACCEPTS(BeginUpdateDocTotaliVert())
ZQ_ACCEPTS(EndUpdateDocTotaliVert())

// ICLSMG_REGDOCVERT2
ZQ_ACCEPTS(ControlEventCloseLookup(ObjectPtr&, ObjectPtr&, Variant&))
ZQ_ACCEPTS(FunzArtBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&))
ZQ_ACCEPTS(FunzArtInit(ObjectPtr&, std::int16_t, ObjectPtr&))
ZQ_ACCEPTS(FunzArtMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant, Variant&, Variant&))
ZQ_ACCEPTS(FunzGenBeforeShowMenuPopup(ObjectPtr&, std::int16_t, ObjectPtr&))
ZQ_ACCEPTS(GRIDDataFormat(Variant&, Variant&, std::string&, ObjectPtr&))
ZQ_ACCEPTS(GridnavInit(ObjectPtr&, std::int16_t, ObjectPtr&))
ZQ_ACCEPTS(InternavInit(ObjectPtr&, std::int16_t, ObjectPtr&))
ZQ_ACCEPTS(UIGenericEvent(Variant&, Variant&, std::string&, Variant&))
ZQ_ACCEPTS(BOGenericEvent(Variant&, std::string&, Variant&))

#undef ZQ_ACCEPTS

}  // namespace zq::plugin
