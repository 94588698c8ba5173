// Bytes into lines, and the store that keeps the lines until they are read.
#include "serial/line_assembler.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "serial/message_store.hpp"

namespace {

std::vector<std::string> feed(serial::LineAssembler& a, const std::string& bytes) {
  std::vector<std::string> lines;
  for (unsigned char c : bytes)
    if (auto line = a.push(c)) lines.push_back(*line);
  return lines;
}

TEST(LineAssembler, ControlTerminatorEndsTheLineAndOtherControlBytesAreDropped) {
  serial::LineAssembler a(13);
  EXPECT_EQ(feed(a, "12.5\r\n\x01" "7\t.3\r"), (std::vector<std::string>{"12.5", "7.3"}));
  // A terminator alone, or after only dropped bytes, gives no line.
  EXPECT_TRUE(feed(a, "\r\n\r\x02\r").empty());
}

TEST(LineAssembler, PrintableTerminatorStaysTheLastCharacter) {
  serial::LineAssembler a('*');
  EXPECT_EQ(feed(a, "A1*B2\r\n*"), (std::vector<std::string>{"A1*", "B2*"}));
}

TEST(LineAssembler, LinePastTheLimitIsThrownAwayWholeAndTheNextIsRead) {
  serial::LineAssembler a(13);
  const std::string atLimit(serial::kLineLimit, 'k');
  EXPECT_EQ(feed(a, atLimit + "\r"), std::vector<std::string>{atLimit});
  EXPECT_EQ(feed(a, std::string(serial::kLineLimit + 1, 'x') + "\r"), std::vector<std::string>{});
  // The tail of a long line must not come out as a line of its own.
  EXPECT_EQ(feed(a, std::string(10000, 'y') + "\rnext\r"), std::vector<std::string>{"next"});
  // A printable terminator counts as a character of its line.
  serial::LineAssembler star('*');
  EXPECT_TRUE(feed(star, atLimit + "*").empty());
  EXPECT_EQ(feed(star, "ok*"), std::vector<std::string>{"ok*"});
}

TEST(LineAssembler, ResetForgetsThePartLine) {
  serial::LineAssembler a(13);
  EXPECT_TRUE(feed(a, "stale").empty());
  EXPECT_EQ(a.pending(), 5u);
  a.reset();
  EXPECT_EQ(feed(a, "fresh\r"), std::vector<std::string>{"fresh"});
  // A reset also ends skipping an over-long line.
  (void)feed(a, std::string(serial::kLineLimit + 5, 'z'));
  a.reset();
  EXPECT_EQ(feed(a, "after\r"), std::vector<std::string>{"after"});
}

TEST(LineAssembler, GarbageNeverGivesAnUnsafeLine) {
  std::mt19937 random(7);
  for (int terminator : {13, 10, 36, 200}) {
    serial::LineAssembler a(static_cast<std::uint8_t>(terminator));
    int lines = 0;
    for (int i = 0; i < 200000; ++i) {
      auto line = a.push(static_cast<std::uint8_t>(random() & 0xFF));
      ASSERT_LE(a.pending(), serial::kLineLimit);
      if (!line) continue;
      ++lines;
      ASSERT_FALSE(line->empty());
      ASSERT_LE(line->size(), serial::kLineLimit);
      for (unsigned char c : *line) ASSERT_GE(c, 32u);
    }
    EXPECT_GT(lines, 0) << terminator;
  }
}

TEST(MessageStore, SixthLineEmptiesTheFiveStoredOnes) {
  serial::MessageStore store;
  for (int i = 1; i <= 6; ++i) store.store("line " + std::to_string(i));
  EXPECT_EQ(store.count(), 1u);
  std::string out;
  ASSERT_TRUE(store.take(out, 200));
  EXPECT_EQ(out, "line 6");
  EXPECT_FALSE(store.take(out, 200));
  EXPECT_EQ(out, "");
}

TEST(MessageStore, KeepsTheFirst196CharactersAndCutsToTheCallersLength) {
  serial::MessageStore store;
  const std::string line = std::string(serial::kMessageText, 'a') + "tail";
  store.store(line);
  store.store("0123456789");
  std::string out;
  ASSERT_TRUE(store.take(out, 1000));
  EXPECT_EQ(out, line.substr(0, serial::kMessageText));
  // Length 0 takes nothing: the line waits for a caller that has room.
  EXPECT_FALSE(store.take(out, 0));
  ASSERT_TRUE(store.take(out, 4));
  EXPECT_EQ(out, "0123");
  EXPECT_EQ(store.count(), 0u);
}

TEST(MessageStore, ReadsInArrivalOrderWhenLinesComeBetweenReads) {
  serial::MessageStore store;
  store.store("a");
  store.store("b");
  store.store("c");
  std::string out;
  ASSERT_TRUE(store.take(out, 10));
  EXPECT_EQ(out, "a");
  store.store("d");  // lands in the slot "a" left
  std::string order;
  while (store.take(out, 10)) order += out;
  EXPECT_EQ(order, "bcd");
  store.store("");  // nothing to keep
  EXPECT_EQ(store.count(), 0u);
}

}  // namespace
