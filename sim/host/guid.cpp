#include "sim/host/guid.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace zq::sim {

namespace {

std::mt19937_64& Generator() {
    static thread_local std::mt19937_64 gen{std::random_device{}()};
    return gen;
}

}  // namespace

void SeedGuids(std::uint64_t seed) {
    Generator().seed(seed);
}

std::string NewBracedGuid() {
    std::mt19937_64& gen = Generator();
    std::uint64_t hi = gen();
    std::uint64_t lo = gen();
    hi = (hi & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;  // version 4
    lo = (lo & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;  // RFC 4122 variant
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(hi >> 32),
                  static_cast<unsigned>((hi >> 16) & 0xFFFF), static_cast<unsigned>(hi & 0xFFFF),
                  static_cast<unsigned>(lo >> 48),
                  static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return buf;
}

}  // namespace zq::sim
