// A crew keys lines while the program is killed at random moments. Every
// line whose store had completed must be in the table afterwards, whole,
// and the table must open in our table storage and in dbfread. The child
// process runs the real edit session; it learns that a line's store has
// completed from the level's new-line event, which runs only after the line
// before it was written and flushed. POSIX only (fork and SIGKILL);
// TALLYFIN_KILL_TRIALS sets the number of kills.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "engine_fixture.hpp"
#include "support/dbfread.hpp"
#include "base/paths.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32

using editor_test::EngineTest;
namespace k = ui::key;

constexpr const char* kLevels = R"([ { "code": "A____", "table": "TALLY",
    "events": { "newLine": "NEWLINE.RP" },
    "columns": [ { "field": "SEQ", "type": "N", "width": 7, "title": "Seq" },
                 { "field": "CHECK", "width": 12, "title": "Check" } ] } ])";

// What line n holds: its number and a text made from it (never as wide as
// its field, which would end the field by itself).
std::string checkText(long n) { return "C" + std::to_string((n * 7919) % 100000000); }

// Reports to a pipe, on each new line, how many lines are stored: every
// line before the new one has been written and flushed by then.
class ReportingHooks : public editor::EngineHooks {
 public:
  ReportingHooks(int fd, apps::LevelDefinition& level) : fd_(fd), level_(level) {}
  editor::ProgramResult runProgram(editor::Engine&, editor::ProgramUse, const std::string&) override {
    long stored = static_cast<long>(level_.header.lineCount()) - 1;
    if (stored > 0 && write(fd_, &stored, sizeof stored) != static_cast<ssize_t>(sizeof stored)) _exit(4);
    return {};  // as if no program ran: the line goes on
  }

 private:
  int fd_;
  apps::LevelDefinition& level_;
};

class EngineKill : public EngineTest {
 protected:
  // The child: opens the dataset and keys line after line until killed.
  [[noreturn]] void keyUntilKilled(bool existing, int fd) {
    openDataset(existing);
    ReportingHooks hooks(fd, *app.level(1));
    editor::EditSession s(host, ctx, session, hooks);
    std::string pending;
    bool started = false;
    host.onPump = [&] {
      if (!s.running() || s.keys().count() > 0) return;
      if (!started) {
        started = true;
        s.keys().push(k::kCtrlPageDown);  // on to the last line
        return;
      }
      if (pending.empty()) {
        // The line's number, Enter, its check text, Enter: a new line follows.
        long n = app.level(1)->header.curLine();
        pending = std::to_string(n) + "\r" + checkText(n) + "\r";
      }
      s.keys().push(static_cast<unsigned char>(pending.front()));
      pending.erase(0, 1);
    };
    (void)s.run("kill");
    _exit(5);  // the session never ends by itself
  }

  std::string tablePath() const {
    return base::joinPath(v.settings.path(config::SettingsRecord::Path::AppDataFolder),
                          "01 1A____[Test]ABC___~~TALLY.dbf", platform::kSep);
  }
};

TEST_F(EngineKill, EveryStoredLineSurvivesAKill) {
  // The event needs a program file; its content does not matter here.
  ASSERT_EQ(platform::writeWholeFile(dir.file("NEWLINE.RP"), "program", 7), 0);
  buildApp(kLevels, "[]", R"([ "NEWLINE.RP" ])");
  const char* env = std::getenv("TALLYFIN_KILL_TRIALS");
  const int trials = env ? std::max(1, std::atoi(env)) : 100;
  std::mt19937 random(20261208);
  long reported = 0;
  std::string path;
  for (int trial = 0; trial < trials; ++trial) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      keyUntilKilled(trial > 0, fds[1]);
    }
    close(fds[1]);
    usleep(static_cast<useconds_t>(20000 + random() % 150000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
    long n = 0;
    while (read(fds[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n)) reported = std::max(reported, n);
    close(fds[0]);

    // The table as the next start finds it.
    path = tablePath();
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(path);
    ASSERT_NE(t, nullptr) << "trial " << trial;
    ASSERT_GE(t->recordCount(), reported) << "trial " << trial;
    for (long line = 1; line <= reported; ++line) {
      ASSERT_EQ(t->goRecord(line), 0);
      ASSERT_EQ(t->fieldByName("SEQ")->integer(), line) << "trial " << trial;
      std::string check(t->fieldByName("CHECK")->text());
      ASSERT_EQ(check.substr(0, check.find(' ')), checkText(line)) << "trial " << trial << " line " << line;
    }
    ASSERT_EQ(store.closeTable(t), 0);
  }
  EXPECT_GT(reported, 0) << "no line was ever stored";
  // Another program reads the table too (by its exact name: dbfread's search
  // without case takes the brackets of ours for a pattern).
  const std::string python = testing_support::pythonWithDbfread();
  ASSERT_FALSE(python.empty()) << "python3 with dbfread is not installed (Debian package python3-dbfread)";
  const std::string cmd = python + " -c 'import sys, dbfread; t = dbfread.DBF(sys.argv[1], ignorecase=False); print(len(list(t)))' \"" +
                          path + "\" >/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << "dbfread could not read " << path;
}

#endif

}  // namespace
