#include "host/error.h"

namespace zq {

void Raise(std::int32_t number, std::string source, std::string description) {
    throw HostError(number, std::move(source), std::move(description));
}

}  // namespace zq
