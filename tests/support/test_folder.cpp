#include "support/test_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace ludomark::testing {

namespace {
std::filesystem::path ProcessFolder() {
  return std::filesystem::temp_directory_path() / ("ludomark-tests-" + std::to_string(::getpid()));
}

// Removes the process's folders once every test has run.
class TFolderCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(ProcessFolder(), error);
  }
};

const bool registered = [] {
  ::testing::AddGlobalTestEnvironment(new TFolderCleanup);
  return true;
}();
}  // namespace

std::filesystem::path TestFolder() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test != nullptr ? std::string(test->test_suite_name()) + "." + test->name()
                                     : std::string("outside-tests");
  for (char& c : name) {
    if (c == '/') c = '_';  // parameterised names hold slashes
  }
  std::filesystem::path folder = ProcessFolder() / name;
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace ludomark::testing
