// The host program, its environment (with the program launcher) and the company.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/call_log.h"
#include "sim/host/sim_messaggi.h"

namespace zq::sim {

class SimDitta : public host::IDitta {
  public:
    explicit SimDitta(Variant codice) : codice_(std::move(codice)) {}
    Variant CodiceDitta() const override { return Read(codice_, "Ditta.CodiceDitta"); }

  private:
    Variant codice_;
};

class SimProgramma : public host::IProgramma {
  public:
    SimProgramma(std::string nome, host::AmbientePtr ambiente)
        : nome_(std::move(nome)), ambiente_(std::move(ambiente)) {}
    // A program the environment launched refers back to it weakly: the environment keeps
    // the record of its launches, and the two must not keep each other alive.
    SimProgramma(std::string nome, std::weak_ptr<host::IAmbiente> ambiente)
        : nome_(std::move(nome)), weakAmbiente_(std::move(ambiente)) {}

    host::AmbientePtr Ambiente() const override {
        FaultPoint point(FaultKind::Get, "Programma.Ambiente");
        return ambiente_ ? ambiente_ : weakAmbiente_.lock();
    }
    VBool Abilitato() const override { return abilitato_; }
    void SetAbilitato(VBool v) override;
    void SetModale(VBool v) override { modale_ = v; }

    const std::string& Nome() const { return nome_; }
    VBool Modale() const { return modale_; }
    // Every value written to Abilitato, in order.
    const std::vector<VBool>& AbilitatoHistory() const { return history_; }

  private:
    std::string nome_;
    host::AmbientePtr ambiente_;
    std::weak_ptr<host::IAmbiente> weakAmbiente_;
    VBool abilitato_ = VTrue;
    VBool modale_ = VFalse;
    std::vector<VBool> history_;
};

// One run of EseguiProgramma as the launcher saw it.
struct LaunchedProgram {
    Variant progId;
    std::vector<Variant> args;  // the nine arguments between progId and the program out
    std::shared_ptr<SimProgramma> programma;
};

class SimAmbiente : public host::IAmbiente {
  public:
    SimAmbiente(CallLogPtr log, std::shared_ptr<SimDitta> ditta,
                std::shared_ptr<SimMessaggi> messaggi)
        : log_(std::move(log)), ditta_(std::move(ditta)), messaggi_(std::move(messaggi)) {}

    host::DittaPtr DittaAmbiente() const override {
        return Read<host::DittaPtr>(ditta_, "Ambiente.DittaAmbiente");
    }
    host::MessaggiPtr Messaggi() const override {
        return Read<host::MessaggiPtr>(messaggi_, "Ambiente.Messaggi");
    }
    void RegistraProgramma(host::ProgrammaPtr& programma) override;
    void EseguiProgramma(std::int32_t& handle, const Variant& progId, VBool a, std::int32_t b,
                         std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f, VBool g,
                         VBool h, host::ProgrammaPtr& programma) override;

    // A host without a message service (Messaggi answers null).
    void RemoveMessaggi() { messaggi_.reset(); }
    // What the launched program does while it runs (the user working in it).
    std::function<void(const LaunchedProgram&)> onRun;
    // The next launch raises this error number instead of running (0: none).
    std::int32_t failNextLaunch = 0;
    const std::vector<LaunchedProgram>& Launched() const { return launched_; }

  private:
    CallLogPtr log_;
    std::shared_ptr<SimDitta> ditta_;
    std::shared_ptr<SimMessaggi> messaggi_;
    std::vector<LaunchedProgram> launched_;
    std::int32_t nextHandle_ = 1;
};

}  // namespace zq::sim
