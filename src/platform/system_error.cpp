// The words of a failed call.
#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

SystemError SystemError::FromErrno(const char* call) { return {call, errno}; }

std::string SystemError::Describe() const {
  return std::string(call) + ": " + std::strerror(code);
}
