#include "host/host_access.h"

#include "host/create_object.h"
#include "host/policy.h"

namespace zq::host {

std::int32_t ShowHostMessage(const ProgrammaPtr& objProgramma, std::string_view testo,
                             std::int32_t stile, std::string_view titolo) {
    std::int32_t risposta = 0;
    // A road that has already failed shows nothing more before its own report.
    if (detail::RoadSkips()) return risposta;
    // One statement under "resume next": whichever link of the chain fails, the answer
    // stays 0 and nothing reaches the caller. A message that cannot be shown changes
    // nothing of the order, so it is no failure of the road.
    Probe([&] {
        MessaggiPtr messaggi = Ref(Ref(objProgramma, "Ambiente").Ambiente(), "Messaggi").Messaggi();
        Ref(messaggi, "MostraMessaggio").MostraMessaggio(testo, stile, titolo, nullptr, risposta);
    });
    return risposta;
}

std::string GetGuidRiga(RigaCorpoPtr& objRigaCorpo) {
    return Ref(objRigaCorpo, "GuidRiga").GuidRiga();
}

IFunzioniGlobali& objFunzioniGlobali() {
    thread_local std::shared_ptr<IFunzioniGlobali> funzioni;
    if (!funzioni) funzioni = As<IFunzioniGlobali>(CreateObject(kProgIdFunzioniGlobali));
    return *funzioni;
}

}  // namespace zq::host
