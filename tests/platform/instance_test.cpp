#include <gtest/gtest.h>

#include "platform/system.hpp"
#include "support/temp_dir.hpp"

namespace {

TEST(SingleInstance, ASecondClaimFailsUntilTheFirstEnds) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the claim is the main window itself (GUI smoke test)";
#else
  testing_support::TempDir dir;
  auto first = platform::claimSingleInstance(dir.path());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(platform::claimSingleInstance(dir.path()), nullptr);
  first.reset();
  EXPECT_NE(platform::claimSingleInstance(dir.path()), nullptr);
#endif
}

}  // namespace
