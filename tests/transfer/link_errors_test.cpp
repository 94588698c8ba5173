// The error-text table the session's messages look codes up in.
#include "transfer/link_errors.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {

using transfer::linkErrorIndex;
using transfer::linkErrorText;

TEST(LinkErrorTable, OwnRowsKeepTheirTexts) {
  EXPECT_EQ(linkErrorIndex(0), 0);  // no text is shown for "no error"
  EXPECT_EQ(linkErrorText(0), "Error None");
  int row = linkErrorIndex(-100);
  ASSERT_GT(row, 0);
  EXPECT_EQ(linkErrorText(row), "File Recieve error");
}

TEST(LinkErrorTable, WindowsSocketsCodesHaveTheirDescriptions) {
  EXPECT_EQ(linkErrorText(linkErrorIndex(10060)),
            "A connection attempt failed because the connected party did not properly respond after a period "
            "of time, or established connection failed because connected host has failed to respond.");
  EXPECT_EQ(linkErrorText(linkErrorIndex(10061)),
            "No connection could be made because the target machine actively refused it.");
  EXPECT_EQ(linkErrorText(linkErrorIndex(10054)), "An existing connection was forcibly closed by the remote host.");
  // The ends of every range are there.
  for (int code : {10004, 10071, 10091, 10093, 10101, 10112, 11001, 11020}) {
    EXPECT_GT(linkErrorIndex(code), 0) << code;
  }
}

TEST(LinkErrorTable, CodesOutsideTheTableHaveNoRow) {
  for (int code : {1, 4, 5, 6, 8, -1, -2, 10000, 10005, 10072, 10090, 10094, 10100, 10113, 11000, 11021}) {
    EXPECT_EQ(linkErrorIndex(code), 0) << code;
  }
  EXPECT_EQ(linkErrorText(-1), "Error None");
  EXPECT_EQ(linkErrorText(transfer::linkErrorRows()), "Error None");
}

TEST(LinkErrorTable, EveryCodeHasOneRowAndEveryRowAText) {
  for (int row = 1; row < transfer::linkErrorRows(); ++row) {
    EXPECT_FALSE(linkErrorText(row).empty()) << row;
    EXPECT_NE(linkErrorText(row), "Error None") << row;
  }
  // A duplicated code would hide its later row: every row is some code's own.
  std::set<int> rows{linkErrorIndex(-100)};
  for (int code = 10000; code <= 11100; ++code) {
    int row = linkErrorIndex(code);
    if (row != 0) {
      EXPECT_TRUE(rows.insert(row).second) << code;
    }
  }
  EXPECT_EQ(static_cast<int>(rows.size()), transfer::linkErrorRows() - 1);
}

}  // namespace
