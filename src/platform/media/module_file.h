// The audio module's file, checked before dlopen maps it. dlopen maps each segment as
// the file's headers say, and a page of a segment past the end of a file cut short (an
// interrupted copy, an install on a full disk) kills the program with SIGBUS when it is
// touched; a FIFO under the module's name would keep dlopen waiting for ever.
#pragma once

#include <string>

#include "platform/error_or.h"

// Whether the file at path is a regular file holding a shared object for the
// running program's class, byte order and machine, whose program headers and segments
// all lie within the file; else why not.
ErrorOr<void, std::string> IsLoadableModule(const std::string& path);
