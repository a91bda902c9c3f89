#include "sim/host/reasons_program.h"

namespace zq::sim {

ReasonsProgram::ReasonsProgram(const std::shared_ptr<SimAmbiente>& ambiente)
    : created_(std::make_shared<std::vector<std::shared_ptr<SimProgramma>>>()),
      factory_(
          std::string(kProgIdCausaliAnnullo),
          [created = created_, weak = std::weak_ptr<host::IAmbiente>(ambiente)]() -> ObjectPtr {
              auto p = std::make_shared<SimProgramma>(std::string(kProgIdCausaliAnnullo), weak);
              created->push_back(p);
              return p;
          }) {}

}  // namespace zq::sim
