// A value, or the reason why there is none: what reads, writes and decoders give
// back, so that the reason travels up to the reader's message instead of being
// guessed. TRY hands a failure up to the caller and gives the value on.
#pragma once

#include <utility>
#include <variant>

template <typename T, typename Error>
class [[nodiscard]] ErrorOr {
 public:
  ErrorOr(T value) : value_or_error_(std::in_place_index<0>, std::move(value)) {}
  ErrorOr(Error error) : value_or_error_(std::in_place_index<1>, std::move(error)) {}

  bool has_value() const { return value_or_error_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & { return std::get<0>(value_or_error_); }
  const T& value() const& { return std::get<0>(value_or_error_); }
  T&& value() && { return std::move(std::get<0>(value_or_error_)); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<1>(value_or_error_); }

  T release_value() { return std::move(value()); }
  Error release_error() { return std::move(std::get<1>(value_or_error_)); }

 private:
  std::variant<T, Error> value_or_error_;
};

// Success, or the reason for the failure.
template <typename Error>
class [[nodiscard]] ErrorOr<void, Error> {
 public:
  ErrorOr() = default;
  ErrorOr(Error error) : error_(std::in_place_index<1>, std::move(error)) {}

  bool has_value() const { return error_.index() == 0; }
  explicit operator bool() const { return has_value(); }
  const Error& error() const { return std::get<1>(error_); }

  void release_value() {}
  Error release_error() { return std::move(std::get<1>(error_)); }

 private:
  std::variant<std::monostate, Error> error_;
};

// The value of an ErrorOr, or a return of its error from the enclosing function.
// __extension__ lets the statement expression pass the pedantic builds.
#define TRY(expression)                                          \
  __extension__({                                                \
    auto try_result_ = (expression);                             \
    if (!try_result_) return try_result_.release_error();        \
    try_result_.release_value();                                 \
  })
