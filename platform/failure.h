#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace kw {

// The one failure type: an error number as classic Windows programs reported it, and a German
// description. Backends convert their native errors into this at their edge.
struct Failure {
    std::int32_t number = 0;
    std::string description;

    friend bool operator==(const Failure&, const Failure&) = default;
};

// Absent means success.
using MaybeFailure = std::optional<Failure>;

// A value or the failure that prevented it.
template <class T>
class Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    T& value() { return std::get<T>(state_); }
    const Failure& failure() const { return std::get<Failure>(state_); }

  private:
    std::variant<T, Failure> state_;
};

}  // namespace kw
