// Every test process keeps the reader's per-user files, its cache, its settings and its
// state in a temporary folder of its own, never in the home of whoever runs the tests;
// and the programs it starts speak English, whatever the language of that user's desktop.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

class PrivateUserData : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/yomu-data-home-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    path_ = pattern;
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
    setenv("XDG_CACHE_HOME", (path_ + "/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (path_ + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (path_ + "/state").c_str(), 1);
    setenv("LANGUAGE", "en", 1);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::string path_;
};

::testing::Environment* const PRIVATE_USER_DATA =
    ::testing::AddGlobalTestEnvironment(new PrivateUserData);

}  // namespace
