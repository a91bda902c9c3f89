// The one error type of the plug-in and its substitutes: a host run-time error with a
// number, a source and a description, as the host language raises them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zq {

// Error numbers the plug-in and the substitutes raise or test.
namespace err {
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t ObjectNotSet = 91;  // call through a null reference
inline constexpr std::int32_t InvalidUseOfNull = 94;
inline constexpr std::int32_t CannotCreateObject = 429;  // ActiveX component can't create object
inline constexpr std::int32_t MemberNotFound = 438;      // object doesn't support this member
inline constexpr std::int32_t InvalidArgument = 5;       // invalid procedure call or argument
// ADO
inline constexpr std::int32_t AdoArgumentsWrong = 3001;  // wrong type, out of range or in conflict
inline constexpr std::int32_t AdoItemNotFound = 3265;    // item not found in the collection
inline constexpr std::int32_t AdoBofEof = 3021;          // BOF or EOF is True, or row deleted
inline constexpr std::int32_t AdoNotAllowed = 3219;      // operation not allowed in this context
inline constexpr std::int32_t AdoClosed = 3704;          // object is closed
inline constexpr std::int32_t AdoProviderError = -2147217900;  // provider (database) error
}  // namespace err

class HostError : public std::runtime_error {
  public:
    HostError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number),
          source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

  private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

[[noreturn]] void Raise(std::int32_t number, std::string source, std::string description);

}  // namespace zq
