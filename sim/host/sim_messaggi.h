// The host's message service: records every message box and answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "host/regdoc.h"

namespace zq::sim {

struct ShownMessage {
    std::string testo;
    std::int32_t stile = 0;
    std::string titolo;
    bool operator==(const ShownMessage&) const = default;
};

class SimMessaggi : public host::IMessaggi {
  public:
    void MostraMessaggio(std::string_view testo, std::int32_t stile, std::string_view titolo,
                         const ObjectPtr& owner, std::int32_t& risposta) override;

    // Answers for the next message boxes, in order; once used up, every box answers OK (1).
    void Script(std::vector<std::int32_t> answers);
    const std::vector<ShownMessage>& Shown() const { return shown_; }
    // The messages shown since the last call, then forgets them.
    std::vector<ShownMessage> TakeShown();

  private:
    std::deque<std::int32_t> answers_;
    std::vector<ShownMessage> shown_;
    std::size_t taken_ = 0;
};

}  // namespace zq::sim
