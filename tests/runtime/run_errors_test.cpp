#include "runtime/run_errors.hpp"

#include <gtest/gtest.h>

namespace {

TEST(RunErrors, TextsAsTheSystemShowsThem) {
  EXPECT_EQ(runtime::runErrorText(0), "No Error");
  EXPECT_EQ(runtime::runErrorText(6), "Divide by 0 error");
  EXPECT_EQ(runtime::runErrorText(23), "Bad Column Name ");  // the trailing blanks stay
  EXPECT_EQ(runtime::runErrorText(24), "Bad Field Type  ");
  EXPECT_EQ(runtime::runErrorText(29), "Port Aleady Open");
  EXPECT_EQ(runtime::runErrorText(36), "Printer Port Not Open");
  EXPECT_EQ(runtime::runErrorText(37), "Unknown Error 3");
  EXPECT_EQ(runtime::runErrorText(100), "Unknown Error 3");
  EXPECT_EQ(runtime::runErrorText(-1), "Unknown Error 3");
  EXPECT_EQ(runtime::runErrorText(5000), "Unknown Error 3");
}

}  // namespace
