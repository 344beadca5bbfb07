// A call to the system that failed, with errno's reason: what the reader's message
// ends with when a file cannot be read or written.
#pragma once

#include <string>

struct SystemError {
  const char* call = "";  // the failed call: "open", "write", "rename" ...
  int code = 0;           // its errno

  // The error of the call that just failed, from errno.
  static SystemError FromErrno(const char* call);
  // "rename: No space left on device", in the reader's language where the system has it.
  std::string Describe() const;
};
