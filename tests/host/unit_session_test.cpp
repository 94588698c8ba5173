// Whole sessions against the running host over loopback.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "host_fixture.hpp"
#include "support/eventually.hpp"
#include "support/temp_dir.hpp"
#include "transfer/clock_trailer.hpp"
#include "transfer/file_header.hpp"
#include "transfer/wire_commands.hpp"

namespace host_test {
namespace {

namespace fs = std::filesystem;
using testing_support::readBytes;

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) out.insert(e.path().filename().string());
  return out;
}

std::string controlName(const std::string& unit) { return "XferFromHH~" + unit + "~T1.bin"; }

// Logs in, sends the control file and the datasets; false at the first failure.
bool sendSide(TestUnit& u, const std::string& unit, const std::vector<std::pair<std::string, Bytes>>& datasets,
              std::uint16_t announced, bool askUpdate = false,
              const std::vector<std::pair<std::string, std::uint32_t>>& has = {}) {
  if (!u.login(unit) || !u.sendFile(controlName(unit), unitControl(unit, announced, askUpdate, has))) return false;
  for (const auto& [name, data] : datasets) {
    if (!u.sendFile(name, data)) return false;
  }
  return true;
}

// The one session folder of a unit's inbox ("" when not exactly one).
std::string onlySession(const RunningHost& h, const std::string& unit) {
  auto names = namesIn(h.path({"inbox", unit}));
  return names.size() == 1 ? *names.begin() : "";
}

TEST(HostSession, GoodSessionKeepsTheDatasetsAndOffersWhatWaitsInOrder) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "UNIT01", "apps", "Cruise.tfa"}, "package bytes");
  putFile(h, {"outbox", "all", "messages", "hello.mes"}, "a message");
  putFile(h, {"outbox", "all", "datasets", "[Cruise] plot.dat"}, "shared data");
  putFile(h, {"outbox", "all", "datasets", "Survey", "lines.dat"}, "in a folder");
  putFile(h, {"outbox", "all", "updates", "Tallyfin PC.exe"}, "not asked for");
  putFile(h, {"outbox", "UNIT01", "apps", "Beta.tfa"}, "second package");

  Bytes first(40000), second = bytesOf("a small dataset");
  for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<std::uint8_t>(i * 7);
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT01", {{"[Cruise] one.dat", first}, {"[Cruise] two.dat", second}}, 2));
  Received r;
  ASSERT_TRUE(receiveAll(u, r));
  EXPECT_EQ(r.control.header.datasetCount(), 2);
  EXPECT_EQ(r.control.header.appCount(), 2);
  EXPECT_EQ(r.control.header.messageCount(), 1);
  EXPECT_FALSE(r.control.clock.has_value());

  std::vector<std::pair<char, std::string>> listed;
  for (const auto& e : r.control.entries) listed.emplace_back(static_cast<char>(e.type()), e.name());
  const std::vector<std::pair<char, std::string>> want = {
      {'A', "Beta.tfa"}, {'A', "Cruise.tfa"}, {'D', "[Cruise] plot.dat"}, {'D', "lines.dat"}, {'M', "hello.mes"}};
  EXPECT_EQ(listed, want);
  EXPECT_EQ(r.control.entries[2].folder(), "Cruise");
  EXPECT_EQ(r.control.entries[3].folder(), "Survey");
  std::uint32_t total = 0;
  for (const auto& e : r.control.entries) total += e.fileSize();
  EXPECT_EQ(r.control.header.totalBytes(), total);

  ASSERT_EQ(r.files.size(), 5u);
  EXPECT_EQ(r.files[1].first, "Cruise.tfa");
  EXPECT_EQ(r.files[1].second, bytesOf("package bytes"));
  EXPECT_EQ(r.files[4].second, bytesOf("a message"));
  EXPECT_EQ(r.completionName.rfind("xfer_complete", 0), 0u);
  ASSERT_TRUE(u.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_EQ(h.server().sessionsKept(), 1);

  const std::string session = onlySession(h, "UNIT01");
  ASSERT_FALSE(session.empty());
  EXPECT_NE(session[0], '.');
  const std::string folder = h.path({"inbox", "UNIT01", session});
  EXPECT_EQ(namesIn(folder), (std::set<std::string>{controlName("UNIT01"), "[Cruise] one.dat", "[Cruise] two.dat"}));
  EXPECT_EQ(bytesOf(readBytes(folder + "/[Cruise] one.dat")), first);
  EXPECT_EQ(bytesOf(readBytes(folder + "/[Cruise] two.dat")), second);
  // The unit's own files are moved aside once delivered; shared ones stay.
  EXPECT_TRUE(namesIn(h.path({"outbox", "UNIT01", "apps"})).empty());
  EXPECT_EQ(namesIn(h.path({"outbox", "UNIT01", "sent", session})),
            (std::set<std::string>{"Beta.tfa", "Cruise.tfa"}));
  EXPECT_EQ(namesIn(h.path({"outbox", "all", "messages"})), (std::set<std::string>{"hello.mes"}));
  EXPECT_TRUE(h.logHas("unit=UNIT01"));
  EXPECT_TRUE(h.logHas("in=3/"));
  EXPECT_TRUE(h.logHas("out=7/"));
}

TEST(HostSession, ProgramUpdatesComeFirstOnlyWhenAsked) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "all", "updates", "a_helper.dll"}, "helper");
  putFile(h, {"outbox", "all", "updates", "Tallyfin PC.exe"}, "program");
  putFile(h, {"outbox", "all", "apps", "App.tfa"}, "package");
  for (bool ask : {false, true}) {
    const std::string unit = ask ? "ASKS01" : "QUIET1";
    TestUnit u(h.port());
    ASSERT_TRUE(sendSide(u, unit, {}, 0, ask));
    Received r;
    ASSERT_TRUE(receiveAll(u, r));
    std::vector<std::string> names;
    for (const auto& e : r.control.entries) names.push_back(std::string(1, static_cast<char>(e.type())) + e.name());
    if (ask) {
      EXPECT_EQ(names, (std::vector<std::string>{"ETallyfin PC.exe", "Ea_helper.dll", "AApp.tfa"}));
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"AApp.tfa"}));
    }
    ASSERT_TRUE(u.sendByte(transfer::kCommandEndSession));
  }
  ASSERT_TRUE(h.servedAtLeast(2));
  EXPECT_EQ(h.server().sessionsKept(), 2);
  // Shared updates stay for the next unit that asks.
  EXPECT_EQ(namesIn(h.path({"outbox", "all", "updates"})).size(), 2u);
}

TEST(HostSession, ASharedFileTheUnitListsWithTheSameSizeIsNotOffered) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "all", "apps", "Same.tfa"}, "12345");
  putFile(h, {"outbox", "all", "apps", "Newer.tfa"}, "123456789");
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT02", {}, 0, false, {{"SAME.TFA", 5}, {"Newer.tfa", 4}}));
  Received r;
  ASSERT_TRUE(receiveAll(u, r));
  ASSERT_EQ(r.control.entries.size(), 1u);
  EXPECT_EQ(r.control.entries[0].name(), "Newer.tfa");
  EXPECT_EQ(r.control.entries[0].fileSize(), 9u);
}

TEST(HostSession, TheClockTrailerIsSentOnlyWhenSwitchedOn) {
  host::HostOptions o;
  o.sendClock = true;
  RunningHost h(o);
  ASSERT_TRUE(h.started());
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT03", {}, 0));
  Received r;
  ASSERT_TRUE(receiveAll(u, r));
  ASSERT_TRUE(r.control.clock.has_value());
  EXPECT_GE(r.control.clock->dayOfWeek, 1);
  EXPECT_LE(r.control.clock->dayOfWeek, 7);
  EXPECT_GE(r.control.clock->month, 1);
  EXPECT_LE(r.control.clock->second, 59);
}

TEST(HostSession, AUnitThatClosesBeforeTheEndLeavesNothing) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "UNIT04", "messages", "for_you.mes"}, "kept for later");
  {
    TestUnit u(h.port());
    ASSERT_TRUE(sendSide(u, "UNIT04", {{"[A] one.dat", bytesOf("data")}}, 2));
    Received r;
    ASSERT_TRUE(receiveAll(u, r));
  }  // closed without 'Z'
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT04"})).empty());
  EXPECT_EQ(namesIn(h.path({"outbox", "UNIT04", "messages"})), (std::set<std::string>{"for_you.mes"}));
  EXPECT_TRUE(h.logHas("FAILED"));
}

TEST(HostSession, FewerDatasetsThanAnnouncedAreNotKeptEvenAfterTheEnd) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "UNIT05", "apps", "App.tfa"}, "package");
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT05", {{"[A] one.dat", bytesOf("data")}}, 2));
  Received r;
  ASSERT_TRUE(receiveAll(u, r));
  EXPECT_EQ(r.control.header.datasetCount(), 1);  // what arrived, for the unit to compare
  ASSERT_TRUE(u.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_EQ(h.server().sessionsKept(), 0);
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT05"})).empty());
  // Not delivered as far as the host knows: it waits for the next session.
  EXPECT_EQ(namesIn(h.path({"outbox", "UNIT05", "apps"})), (std::set<std::string>{"App.tfa"}));
  EXPECT_TRUE(h.logHas("1 of 2 dataset files"));
}

TEST(HostSession, AnEndBeforeTheHostsFilesWereAllTakenIsNotKept) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT06", {{"[A] one.dat", bytesOf("data")}}, 1));
  std::string name;
  Bytes data;
  ASSERT_TRUE(u.nextFile(name, data));  // the host control file only
  ASSERT_TRUE(u.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_EQ(h.server().sessionsKept(), 0);
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT06"})).empty());
}

class CraftedName : public ::testing::TestWithParam<const char*> {};

TEST_P(CraftedName, IsRefusedAndNothingIsWrittenOutsideTheRoot) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  for (bool asControl : {true, false}) {
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT07"));
    if (!asControl) {
      ASSERT_TRUE(u.sendFile(controlName("UNIT07"), unitControl("UNIT07", 1, false)));
    }
    (void)u.sendFile(GetParam(), bytesOf("planted"));
    EXPECT_TRUE(u.hostCloses());
  }
  ASSERT_TRUE(h.servedAtLeast(2));
  EXPECT_EQ(namesIn(h.temp().path()), (std::set<std::string>{"root"}));
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT07"})).empty());
  EXPECT_FALSE(fs::exists(h.path({"inbox", "x"})));
  EXPECT_FALSE(fs::exists(h.path({"inbox", "UNIT07", "a"})));
  EXPECT_TRUE(h.logHas("file name refused"));
}

INSTANTIATE_TEST_SUITE_P(Names, CraftedName,
                         ::testing::Values("../x", "a/b", "CON", "x.", "..\\x", "C:x", "com1.txt", " "));

TEST(HostSession, UnitIdentifiersThatCannotNameAFolderAreRefused) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  int n = 0;
  for (const char* unit : {"..", "a/b", "ALL", "NUL", ".partial-x"}) {
    TestUnit u(h.port());
    ASSERT_TRUE(u.login(unit));
    EXPECT_TRUE(u.hostCloses()) << unit;
    ++n;
  }
  ASSERT_TRUE(h.servedAtLeast(n));
  EXPECT_TRUE(namesIn(h.path({"inbox"})).empty());
  EXPECT_FALSE(fs::exists(h.path({"outbox", "NUL"})));
}

TEST(HostSession, LengthsAboveTheLimitAreRefusedBeforeAnyData) {
  host::HostOptions o;
  o.maxFileBytes = 1000;
  RunningHost h(o);
  ASSERT_TRUE(h.started());
  for (std::uint32_t length : {0xFFFFFFFFu, 1001u}) {
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT08"));
    ASSERT_TRUE(u.sendFile(controlName("UNIT08"), unitControl("UNIT08", 1, false)));
    transfer::FileHeader header;
    ASSERT_TRUE(transfer::buildFileHeader("[A] big.dat", length, header));
    ASSERT_TRUE(u.sendByte(transfer::kCommandSendFile));
    ASSERT_TRUE(u.sendRaw(header.bytes().data(), header.bytes().size()));
    EXPECT_TRUE(u.hostCloses());
  }
  ASSERT_TRUE(h.servedAtLeast(2));
  EXPECT_TRUE(h.logHas("file of 4294967295 bytes above the limit"));
  EXPECT_TRUE(h.logHas("file of 1001 bytes above the limit"));
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT08"})).empty());
  // At the limit a file is taken.
  TestUnit u(h.port());
  ASSERT_TRUE(sendSide(u, "UNIT08", {{"[A] fits.dat", Bytes(1000, 9)}}, 1));
  Received r;
  ASSERT_TRUE(receiveAll(u, r));
  EXPECT_EQ(r.control.header.datasetCount(), 1);
}

TEST(HostSession, AStalledUnitIsDroppedAfterTheIdleTime) {
  host::HostOptions o;
  o.idleSeconds = 1;
  RunningHost h(o);
  ASSERT_TRUE(h.started());
  TestUnit u(h.port());
  ASSERT_TRUE(u.login("UNIT09"));
  // Half a control file, then silence.
  ASSERT_TRUE(u.sendByte(transfer::kCommandSendFile));
  EXPECT_TRUE(u.hostCloses());
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_TRUE(h.logHas("idle time-out"));
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT09"})).empty());
}

TEST(HostSession, OutOfOrderAndUnknownCommandsCloseTheSession) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  {  // an unknown byte
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT10"));
    ASSERT_TRUE(u.sendByte('x'));
    EXPECT_TRUE(u.hostCloses());
  }
  {  // a file asked for before the control file
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT10"));
    ASSERT_TRUE(u.sendByte(transfer::kCommandNextFile));
    EXPECT_TRUE(u.hostCloses());
  }
  {  // a first file that is not the control file
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT10"));
    ASSERT_TRUE(u.sendFile("[A] one.dat", bytesOf("data")));
    EXPECT_TRUE(u.hostCloses());
  }
  {  // a file sent after the host's files began
    TestUnit u(h.port());
    ASSERT_TRUE(sendSide(u, "UNIT10", {}, 1));
    std::string name;
    Bytes data;
    ASSERT_TRUE(u.nextFile(name, data));
    (void)u.sendFile("[A] late.dat", bytesOf("late"));
    EXPECT_TRUE(u.hostCloses());
  }
  {  // a control file whose entry count runs past its end
    TestUnit u(h.port());
    ASSERT_TRUE(u.login("UNIT10"));
    Bytes control = unitControl("UNIT10", 0, false);
    control[transfer::ControlHeader::kEntryCount] = 3;
    ASSERT_TRUE(u.sendFile(controlName("UNIT10"), control));
    EXPECT_TRUE(u.hostCloses());
  }
  {  // the same file twice
    TestUnit u(h.port());
    ASSERT_TRUE(sendSide(u, "UNIT10", {{"[A] one.dat", bytesOf("1")}, {"[A] one.dat", bytesOf("2")}}, 2));
    EXPECT_TRUE(u.hostCloses());
  }
  ASSERT_TRUE(h.servedAtLeast(6));
  EXPECT_EQ(h.server().sessionsKept(), 0);
  EXPECT_TRUE(namesIn(h.path({"inbox", "UNIT10"})).empty());
  for (const char* why : {"unknown command byte 0x78", "before sending its control file",
                          "not the unit's control file", "after the host's files began", "bad control file",
                          "file sent twice"}) {
    EXPECT_TRUE(h.logHas(why)) << why;
  }
}

TEST(HostSession, ASecondConnectionOfAUnitInSessionIsRefused) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  TestUnit first(h.port());
  ASSERT_TRUE(sendSide(first, "UNIT11", {{"[A] one.dat", bytesOf("first")}}, 1));
  // The bytes are sent, not yet read: the first holds the unit once its
  // partial folder stands, and only then may the second come.
  ASSERT_TRUE(testing_support::eventually([&] { return !namesIn(h.path({"inbox", "UNIT11"})).empty(); }));
  TestUnit second(h.port());
  ASSERT_TRUE(second.login("unit11"));  // the same unit, in another case
  EXPECT_TRUE(second.hostCloses());
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_TRUE(h.logHas("unit already in a session"));
  Received r;
  ASSERT_TRUE(receiveAll(first, r));
  ASSERT_TRUE(first.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(2));
  EXPECT_EQ(h.server().sessionsKept(), 1);
  // Once the first has ended the unit may come again, into a folder of its own.
  TestUnit again(h.port());
  ASSERT_TRUE(sendSide(again, "UNIT11", {{"[A] one.dat", bytesOf("again")}}, 1));
  ASSERT_TRUE(receiveAll(again, r));
  ASSERT_TRUE(again.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(3));
  EXPECT_EQ(namesIn(h.path({"inbox", "UNIT11"})).size(), 2u);
}

TEST(HostSession, AConnectionBeyondTheMostAtOnceIsClosedAndTheOthersGoOn) {
  host::HostOptions o;
  o.maxConnections = 1;
  RunningHost h(o);
  ASSERT_TRUE(h.started());
  TestUnit first(h.port());
  ASSERT_TRUE(sendSide(first, "UNIT12", {}, 0));
  TestUnit second(h.port());
  EXPECT_TRUE(second.hostCloses());
  EXPECT_TRUE(testing_support::eventually([&] { return h.logHas("1 units in session"); }));
  Received r;
  ASSERT_TRUE(receiveAll(first, r));
  ASSERT_TRUE(first.sendByte(transfer::kCommandEndSession));
  ASSERT_TRUE(h.servedAtLeast(1));
  // Room again once the first has gone.
  ASSERT_TRUE(testing_support::eventually([&] {
    TestUnit third(h.port());
    return sendSide(third, "UNIT13", {}, 0) && receiveAll(third, r) &&
           third.sendByte(transfer::kCommandEndSession);
  }));
  ASSERT_TRUE(h.servedAtLeast(2));
  EXPECT_EQ(h.server().sessionsKept(), 2);
}

TEST(HostSession, TwentyUnitsAtOnceAllComplete) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  putFile(h, {"outbox", "all", "apps", "Shared.tfa"}, std::string(50000, 's'));
  constexpr int kUnits = 20;
  std::vector<std::thread> units;
  std::vector<int> good(kUnits, 0);
  for (int i = 0; i < kUnits; ++i) {
    units.emplace_back([&, i] {
      const std::string unit = "FIELD" + std::to_string(100 + i);
      TestUnit u(h.port());
      Bytes data(20000 + i, static_cast<std::uint8_t>(i));
      Received r;
      good[i] = sendSide(u, unit, {{"[A] d.dat", data}, {"[A] e.dat", bytesOf(unit)}}, 2) && receiveAll(u, r) &&
                r.control.header.datasetCount() == 2 && r.files.size() == 1 &&
                r.files[0].second.size() == 50000 && u.sendByte(transfer::kCommandEndSession);
    });
  }
  for (auto& t : units) t.join();
  for (int i = 0; i < kUnits; ++i) EXPECT_TRUE(good[i]) << i;
  ASSERT_TRUE(h.servedAtLeast(kUnits));
  EXPECT_EQ(h.server().sessionsKept(), kUnits);
  for (int i = 0; i < kUnits; ++i) {
    const std::string unit = "FIELD" + std::to_string(100 + i);
    const std::string session = onlySession(h, unit);
    ASSERT_FALSE(session.empty()) << unit;
    EXPECT_EQ(readBytes(h.path({"inbox", unit, session, "[A] e.dat"})), unit);
    EXPECT_EQ(readBytes(h.path({"inbox", unit, session, "[A] d.dat"})).size(), 20000u + i);
  }
}

}  // namespace
}  // namespace host_test
