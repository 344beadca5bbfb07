// Files from outside the project that tests and benchmarks read, kept in tests/data/
// with their origin and licence.
#pragma once

#include <stdexcept>
#include <string>
#include <sys/stat.h>

// The path of a file or folder under tests/data/. A missing one stops the test with a
// message that names it, rather than with whatever reading nothing would cause later.
inline std::string TestDataPath(const std::string& relative) {
  const std::string path = std::string(YOMU_TESTDATA_DIR) + "/" + relative;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) throw std::runtime_error("missing test data file " + path);
  return path;
}
