#include <gtest/gtest.h>

#include "platform/fileops.hpp"
#include "shell/messages.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/pick_list.hpp"

namespace {

using shell::messageLines;
using testing_support::ScriptedHost;

std::vector<std::string> body(std::vector<std::string> lines) {
  EXPECT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "*** End of Message ***");
  lines.resize(lines.size() - 3);
  return lines;
}

TEST(MessageLines, EmptyFileShowsOnlyTheClosingLines) {
  EXPECT_EQ(messageLines("", 40), (std::vector<std::string>{"", "*** End of Message ***", ""}));
}

TEST(MessageLines, ALongLineWithoutBlanksIsCutAtExactlyTheWidth) {
  auto lines = body(messageLines(std::string(2000, 'x'), 73));
  ASSERT_EQ(lines.size(), 28u);  // 27 full lines and 29 characters
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 73u);
  EXPECT_EQ(lines.back().size(), 2000u - 27 * 73);
}

TEST(MessageLines, LineBreaksOfAnyKindAndRunsOfThemBreakOnce) {
  EXPECT_EQ(body(messageLines("one\r\ntwo\r\n\r\nthree\nfour\rfive", 40)),
            (std::vector<std::string>{"one", "two", "three", "four", "five"}));
}

TEST(MessageLines, WordsMoveToTheNextLineAtTheLastBlank) {
  EXPECT_EQ(body(messageLines("the quick brown fox jumps", 10)),
            (std::vector<std::string>{"the quick", "brown fox", "jumps"}));
}

TEST(MessageLines, WidthAndLineCountAreBounded) {
  auto lines = messageLines(std::string(400, 'y'), 1000);
  EXPECT_EQ(lines[0].size(), 259u);
  std::string many;
  for (int i = 0; i < 3000; ++i) many += "l\n";
  EXPECT_EQ(messageLines(many, 10).size(), 1028u + 3u);
}

class MessageCommands : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  char sep = platform::kSep;
  std::string folder = shell::messagesFolder(dir.path(), sep);
  void put(const std::string& name, const std::string& text) {
    platform::makeFolder(folder);
    testing_support::writeBytes(folder + sep + name, text);
  }
};

TEST_F(MessageCommands, NoMessageFileSaysSo) {
  platform::makeFolder(folder);
  platform::makeFolder(folder + sep + "folder.mes");  // folders do not count
  host.expectOnce("No messages Present!");
  shell::viewMessagesCommand(host, dir.path(), sep);
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(MessageCommands, PickedMessageOpensInTheScrollWindow) {
  put("b.mes", "Second");
  put("a.mes", "Meet at the\r\nlanding at noon");
  host.onForm(ui::kPickListResource, [](ui::FormState& f) {
    auto items = f.items(ui::kPickListControl);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items.front(), "< Available Messages >");
    EXPECT_EQ(items.back(), "< Press OK to Select >");
    EXPECT_EQ(f.selection(ui::kPickListControl), 1);
    f.key('a');  // the title entry begins with '<', so 'a' goes to a.mes
    f.key(ui::key::kEnter);
  });
  shell::viewMessagesCommand(host, dir.path(), sep);
  ASSERT_TRUE(host.scrollWindow);
  EXPECT_EQ(host.scrollWindow->title(), "a.mes");
  EXPECT_EQ(host.scrollWindow->lines().at(1), "landing at noon");
}

TEST_F(MessageCommands, TitleAndClosingEntriesCannotBeTaken) {
  put("a.mes", "x");
  host.onForm(ui::kPickListResource, [](ui::FormState& f) {
    f.select(ui::kPickListControl, 0);
    f.key(ui::key::kEnter);
    EXPECT_FALSE(f.ended());
    f.select(ui::kPickListControl, 2);
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
  });
  int count = 0;
  EXPECT_FALSE(shell::pickMessageFile(host, dir.path(), sep, count));
  EXPECT_EQ(count, -1);  // cancelled
}

TEST_F(MessageCommands, DeleteAsksFirst) {
  put("a.mes", "x");
  auto pickFirst = [](ui::FormState& f) { f.key(ui::key::kEnter); };
  host.onForm(ui::kPickListResource, pickFirst).onForm(ui::kPickListResource, pickFirst);
  host.expectOnce("Permanently Delete This Message File?\n a.mes", ui::kIdNo, "Delete Message ?");
  shell::deleteMessagesCommand(host, dir.path(), sep);
  EXPECT_TRUE(platform::fileExists(folder + sep + "a.mes"));
  host.expectOnce("Permanently Delete This Message File?", ui::kIdYes, "Delete Message ?");
  shell::deleteMessagesCommand(host, dir.path(), sep);
  EXPECT_FALSE(platform::fileExists(folder + sep + "a.mes"));
}

TEST_F(MessageCommands, FailuresAreReported) {
  host.expectOnce("No Messages are Present", ui::kIdOk, "Can't View Messages!");
  EXPECT_FALSE(shell::viewMessage(host, dir.path(), sep, "a.mes"));
  EXPECT_TRUE(platform::folderExists(folder));  // made for next time
  host.expectOnce("Can't Find Message File!", ui::kIdOk, "Message Error");
  EXPECT_FALSE(shell::viewMessage(host, dir.path(), sep, "gone.mes"));
}

}  // namespace
