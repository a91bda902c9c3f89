#include "sim/host/sim_programma.h"

namespace zq::sim {

void SimProgramma::SetAbilitato(VBool v) {
    FaultPoint point(FaultKind::Set, "Programma.Abilitato");
    abilitato_ = v;
    history_.push_back(v);
}

void SimAmbiente::RegistraProgramma(host::ProgrammaPtr& programma) {
    FaultPoint point(FaultKind::Method, "Ambiente.RegistraProgramma");
    log_->Record("Ambiente.RegistraProgramma", {Variant(ObjectPtr(programma))});
}

void SimAmbiente::EseguiProgramma(std::int32_t& handle, const Variant& progId, VBool a,
                                  std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                                  std::int32_t f, VBool g, VBool h, host::ProgrammaPtr& programma) {
    FaultPoint point(FaultKind::Method, "Ambiente.EseguiProgramma");
    LaunchedProgram run{
        progId,
        {Variant::Bool(IsTrue(a)), Variant::Int32(b), Variant::Int32(c), Variant::Int32(d),
         Variant::Int32(e), Variant::Int32(f), Variant::Bool(IsTrue(g)), Variant::Bool(IsTrue(h))},
        nullptr};
    std::vector<Variant> logged{progId};
    logged.insert(logged.end(), run.args.begin(), run.args.end());
    log_->Record("Ambiente.EseguiProgramma", std::move(logged));
    if (failNextLaunch != 0) {
        const std::int32_t number = failNextLaunch;
        failNextLaunch = 0;
        Raise(number, "Ambiente.EseguiProgramma", "Cannot run " + progId.Describe());
    }
    run.programma = std::make_shared<SimProgramma>(
        progId.Describe(), std::weak_ptr<host::IAmbiente>(
                               std::static_pointer_cast<host::IAmbiente>(shared_from_this())));
    launched_.push_back(run);
    if (onRun) onRun(launched_.back());
    handle = nextHandle_++;
    programma = run.programma;
}

}  // namespace zq::sim
