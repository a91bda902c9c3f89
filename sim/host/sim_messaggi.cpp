#include "sim/host/sim_messaggi.h"

#include "sim/fault/fault_plan.h"

namespace zq::sim {

inline constexpr std::int32_t kAnswerOk = 1;

void SimMessaggi::MostraMessaggio(std::string_view testo, std::int32_t stile,
                                  std::string_view titolo, const ObjectPtr&,
                                  std::int32_t& risposta) {
    FaultPoint point(FaultKind::Message, "Messaggi.MostraMessaggio");
    shown_.push_back({std::string(testo), stile, std::string(titolo)});
    if (answers_.empty()) {
        risposta = kAnswerOk;
    } else {
        risposta = answers_.front();
        answers_.pop_front();
    }
}

void SimMessaggi::Script(std::vector<std::int32_t> answers) {
    answers_.assign(answers.begin(), answers.end());
}

std::vector<ShownMessage> SimMessaggi::TakeShown() {
    std::vector<ShownMessage> out(shown_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                  shown_.end());
    taken_ = shown_.size();
    return out;
}

}  // namespace zq::sim
