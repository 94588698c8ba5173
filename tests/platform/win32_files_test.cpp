// The Windows file-system boundary: the error numbers the program keys on,
// wildcard search under the program's rules (not the system's), UTF-8 names,
// and the Windows-only services beside it.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "platform/system.hpp"
#include "support/temp_dir.hpp"

namespace {

using platform::Access;
using platform::Disposition;
using testing_support::TempDir;

std::set<std::string> names(const std::vector<platform::FindEntry>& entries) {
  std::set<std::string> out;
  for (const auto& e : entries) out.insert(e.name);
  return out;
}

class Win32Files : public ::testing::Test {
 protected:
  // Makes a file through the boundary itself, so UTF-8 names work.
  void make(const std::string& name, const std::string& bytes = "x") {
    std::unique_ptr<platform::FileHandle> h;
    ASSERT_EQ(fs.open(dir.file(name), Access::Write, Disposition::CreateAlways, h), 0) << name;
    std::size_t done = 0;
    ASSERT_EQ(h->write(bytes.data(), bytes.size(), done), 0);
    ASSERT_EQ(h->close(), 0);
  }

  TempDir dir;
  platform::FileSystem& fs = platform::nativeFileSystem();
};

TEST_F(Win32Files, FailuresCarryTheSystemsNumbers) {
  std::unique_ptr<platform::FileHandle> h;
  EXPECT_EQ(fs.open(dir.file("missing.dbf"), Access::Read, Disposition::OpenExisting, h), 2);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(fs.makeFolder(dir.path()), 183);
  EXPECT_EQ(fs.remove(dir.file("missing.dbf")), 2);
  make("a.txt");
  make("b.txt");
  EXPECT_EQ(fs.copy(dir.file("a.txt"), dir.file("b.txt"), true), 80);
  EXPECT_EQ(fs.move(dir.file("a.txt"), dir.file("b.txt")), 183);
  ASSERT_EQ(fs.makeFolder(dir.file("full")), 0);
  make("full\\inside");
  EXPECT_EQ(fs.removeFolder(dir.file("full")), 145);
  std::vector<platform::FindEntry> found;
  EXPECT_EQ(fs.find(dir.file("nowhere\\*.*"), found), 3);
}

TEST_F(Win32Files, FindAppliesTheProgramsWildcardRules) {
  make("[North]data.dbf");
  make("README");
  make("Note.mes");
  make("note.mesx");
  ASSERT_EQ(fs.makeFolder(dir.file("Sub")), 0);
  std::vector<platform::FindEntry> found;

  // "*.*" is every name, with or without a dot; "." and ".." never appear.
  ASSERT_EQ(fs.find(dir.file("*.*"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{"[North]data.dbf", "README", "Note.mes",
                                                 "note.mesx", "Sub"}));
  auto sub = std::find_if(found.begin(), found.end(), [](auto& e) { return e.name == "Sub"; });
  ASSERT_NE(sub, found.end());
  EXPECT_TRUE(sub->isFolder);

  // '[' is an ordinary character, in patterns with and without wildcards.
  ASSERT_EQ(fs.find(dir.file("[north]*"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{"[North]data.dbf"}));
  ASSERT_EQ(fs.find(dir.file("[NORTH]DATA.DBF"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{"[North]data.dbf"}));
  EXPECT_EQ(fs.find(dir.file("[N]*"), found), 2);

  // The system also matches "note.mesx" through its short name (NOTE~1.MES);
  // the program's rules do not.
  ASSERT_EQ(fs.find(dir.file("*.MES"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{"Note.mes"}));
  ASSERT_EQ(fs.find(dir.file("README.*"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{"README"}));
  EXPECT_EQ(fs.find(dir.file("*.zzz"), found), 2);
  EXPECT_TRUE(found.empty());
}

TEST_F(Win32Files, FindReportsSizeAndTime) {
  make("five.bin", "12345");
  const platform::FileTime stamp = 127000000000000000ull;  // a day in 2003
  ASSERT_EQ(fs.setWriteTime(dir.file("five.bin"), stamp), 0);
  platform::FileTime got = 0;
  ASSERT_EQ(fs.writeTime(dir.file("five.bin"), got), 0);
  EXPECT_EQ(got, stamp);
  std::vector<platform::FindEntry> found;
  ASSERT_EQ(fs.find(dir.file("five.bin"), found), 0);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].size, 5u);
  EXPECT_EQ(found[0].writeTime, stamp);
  EXPECT_FALSE(found[0].isFolder);
}

TEST_F(Win32Files, Utf8NamesCrossTheBoundary) {
  const std::string name = "Donn\xC3\xA9" "es \xCE\xA9.txt";  // "Données Ω.txt"
  make(name, "abc");
  std::vector<platform::FindEntry> found;
  ASSERT_EQ(fs.find(dir.file("donn*"), found), 0);
  EXPECT_EQ(names(found), (std::set<std::string>{name}));
  // The same file through the system's own wide call.
  std::wstring wide = L"\\Donn\u00E9es \u03A9.txt";
  std::u16string dirWide = platform::utf8ToUtf16(dir.path());
  std::wstring full(dirWide.begin(), dirWide.end());
  full += wide;
  EXPECT_NE(GetFileAttributesW(full.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32Files, HandlesReadWriteSeekAndCut) {
  std::unique_ptr<platform::FileHandle> h;
  ASSERT_EQ(fs.open(dir.file("t.bin"), Access::ReadWrite, Disposition::CreateNew, h), 0);
  std::size_t done = 0;
  ASSERT_EQ(h->write("0123456789", 10, done), 0);
  EXPECT_EQ(done, 10u);
  std::int64_t pos = -1;
  ASSERT_EQ(h->seek(-4, platform::SeekFrom::End, pos), 0);
  EXPECT_EQ(pos, 6);
  char buf[8] = {};
  ASSERT_EQ(h->read(buf, sizeof buf, done), 0);
  EXPECT_EQ(done, 4u);  // a short read at the end is no error
  EXPECT_EQ(std::string(buf, done), "6789");
  ASSERT_EQ(h->read(buf, sizeof buf, done), 0);
  EXPECT_EQ(done, 0u);
  ASSERT_EQ(h->setSize(3), 0);
  std::int64_t size = 0;
  ASSERT_EQ(h->size(size), 0);
  EXPECT_EQ(size, 3);
  ASSERT_EQ(h->seek(0, platform::SeekFrom::Current, pos), 0);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(h->flush(), 0);
  EXPECT_EQ(h->close(), 0);
  EXPECT_EQ(h->close(), platform::kErrInvalidHandle);

  // Files open for reading and writing by others at the same time.
  std::unique_ptr<platform::FileHandle> a, b;
  ASSERT_EQ(fs.open(dir.file("t.bin"), Access::ReadWrite, Disposition::OpenExisting, a), 0);
  EXPECT_EQ(fs.open(dir.file("t.bin"), Access::Read, Disposition::OpenExisting, b), 0);
}

TEST_F(Win32Files, ReplaceTakesThePlaceOfAnExistingFile) {
  make("new.dft", "new");
  make("cur.dft", "old");
  ASSERT_EQ(fs.replace(dir.file("new.dft"), dir.file("cur.dft")), 0);
  EXPECT_EQ(testing_support::readBytes(dir.file("cur.dft")), "new");
  std::vector<platform::FindEntry> found;
  EXPECT_EQ(fs.find(dir.file("new.dft"), found), 2);
}

TEST(Win32Services, ErrorTextsHaveNoLineBreakAtTheEnd) {
  for (int code : {2, 3, 5, 183, 4319, 0x7FFFFFFF}) {
    std::string text = platform::errorText(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_NE(text.back(), '\n') << code;
    EXPECT_NE(text.back(), '\r') << code;
  }
}

TEST(Win32Services, AnsiConversionsUseTheSystemCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
  EXPECT_EQ(platform::toNarrow("Donn\xC3\xA9" "es \xE2\x82\xAC"), "Donn\xE9" "es \x80");
  EXPECT_EQ(platform::toNarrow("\xCE\xA9"), "?");  // Ω is not in the code page: no look-alike
  EXPECT_EQ(platform::toNarrow("\xEF\xBC\xBC"), "?");  // nor a full-width backslash
  EXPECT_EQ(platform::toWide("\xE9\x80"), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(platform::toNarrow(""), "");
}

TEST(Win32Services, ExecutablePathAndProgramStart) {
  std::string exe;
  ASSERT_EQ(platform::executablePath(exe), 0);
  ASSERT_GT(exe.size(), 4u);
  EXPECT_EQ(exe.substr(exe.size() - 4), ".exe");
  EXPECT_EQ(exe[1], ':');
  EXPECT_EQ(platform::startProgram(exe.substr(0, exe.size() - 4) + "-missing.exe", "\"x\""), 2);
  EXPECT_EQ(platform::userDataFolder(), "");
  EXPECT_EQ(platform::userConfigFolder(), "");
}

std::wstring wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

TEST(Win32Services, StartedProgramReceivesExactlyTheGivenCommandLine) {
  // The update starter is given the quoted update path and nothing else:
  // not its own path in front of it.
  std::string exe;
  ASSERT_EQ(platform::executablePath(exe), 0);
  std::string probe = exe.substr(0, exe.rfind('\\') + 1) + "command_line_probe.exe";
  ASSERT_NE(GetFileAttributesW(wide(probe).c_str()), INVALID_FILE_ATTRIBUTES) << probe;
  TempDir dir;
  std::string out = dir.file("command line.txt");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TALLYFIN_PROBE_OUT", wide(out).c_str()));
  const std::string update = "\"C:\\Orvandat Card\\TCPIP_Receive\\Temp\\Tallyfin PC.exe\"";
  ASSERT_EQ(platform::startProgram(probe, update), 0);
  // The probe runs on its own; wait (bounded) until its answer is there.
  for (int i = 0; i < 1000 && GetFileAttributesW(wide(out).c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(10);
  SetEnvironmentVariableW(L"TALLYFIN_PROBE_OUT", nullptr);
  EXPECT_EQ(testing_support::readBytes(out), update);
}

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}

TEST(Win32Services, TheMainWindowOfAnotherInstanceRefusesTheClaim) {
  EXPECT_NE(platform::claimSingleInstance(""), nullptr);
  // A stand-in for the running program's main window; never shown and kept
  // only for these checks, so no other test process sees it for long.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = plainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TALLYFIN_PC";
  ASSERT_NE(RegisterClassExW(&wc), 0);
  HWND other = CreateWindowExW(0, L"TALLYFIN_PC", L"Tallyfin PC", WS_OVERLAPPEDWINDOW, 0, 0, 10,
                               10, nullptr, nullptr, wc.hInstance, nullptr);
  if (!other) {
    UnregisterClassW(L"TALLYFIN_PC", wc.hInstance);
    GTEST_SKIP() << "no window can be made here (no display); the GUI smoke test covers this";
  }
  auto refused = platform::claimSingleInstance("");
  SetWindowTextW(other, L"Tallyfin PC (other title)");
  auto otherTitle = platform::claimSingleInstance("");
  DestroyWindow(other);
  UnregisterClassW(L"TALLYFIN_PC", wc.hInstance);
  EXPECT_EQ(refused, nullptr);
  EXPECT_NE(otherTitle, nullptr);
}

}  // namespace
#endif  // _WIN32
