// The random user: an order's shape drawn from a seed, and the next user action drawn
// from what the session offers at that moment (random_session.h).
#pragma once

#include <cstdint>
#include <random>

#include "tools/json_out.h"
#include "tools/session.h"

namespace zq::tool {

class RandomUser {
  public:
    explicit RandomUser(std::uint64_t seed) : rng_(seed) {}

    // A scenario object without steps: the demo order grown and reshaped by statements,
    // lots or not, one value of each host detail, the GUID seed.
    Json Shape();
    // The steps that open the document as a user finds it: initialize, header, body.
    static Json Opening();
    // The next user action, as a scenario step, among those the session allows now.
    Json Next(Session& s);

  private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    Json Try(Session& s, int kind);
    Json TypeInto(Session& s, std::int16_t form, const char* control, const std::string& text);
    std::string QuantityText(Session& s);
    std::string Number(double v);

    std::mt19937_64 rng_;
    bool bodyOpen_ = true;
    // The form the user works on: the one opened last, as the plug-in takes it. The user
    // switches forms to reach the other one's controls.
    std::int16_t current_ = 2;
};

}  // namespace zq::tool
