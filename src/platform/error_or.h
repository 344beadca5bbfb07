// A value, or the reason why there is none: what reads and decoders give back, so
// that the reason travels up to the reader's message instead of being guessed.
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

  T& value() { return std::get<0>(value_or_error_); }
  const T& value() const { return std::get<0>(value_or_error_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<1>(value_or_error_); }

 private:
  std::variant<T, Error> value_or_error_;
};
