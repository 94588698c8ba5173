#pragma once
// Shared set-up of the session tests: a folder tree under a temp root, a view
// that records what the session shows, a clock setter that records what it
// is asked to set, and a listing of every file under the root.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock_set.hpp"
#include "platform/files.hpp"
#include "support/hostile_host.hpp"
#include "support/temp_dir.hpp"
#include "transfer/session.hpp"

namespace session_test {

struct Message {
  std::string text, caption;
};

class RecordingView : public transfer::SessionView {
 public:
  void setStatus(std::string_view text) override { statuses.emplace_back(text); }
  void setFile(std::string_view text) override { files.emplace_back(text); }
  void setProgress(const transfer::SessionProgress&) override { ++progressCalls; }
  void message(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  bool cancelled() override { return cancelWhen && cancelWhen(*this); }

  bool sawStatus(const std::string& s) const;
  // The messages with this caption.
  std::vector<std::string> withCaption(const std::string& caption) const;

  std::vector<std::string> statuses, files;
  std::vector<Message> messages;
  int progressCalls = 0;
  std::function<bool(RecordingView&)> cancelWhen;
};

class RecordingClock : public platform::ClockSetter {
 public:
  int setUtc(const platform::DateTime&) override { return 0; }
  int setLocal(const platform::DateTime& t) override {
    local.push_back(t);
    return answer;
  }
  std::vector<platform::DateTime> local;
  int answer = 0;
};

// Every file under root: relative path -> a hash of its bytes.
std::map<std::string, std::string> filesUnder(const std::string& root);

class SessionTest : public ::testing::Test {
 protected:
  SessionTest();

  std::string folder(const std::string& name) const { return root.file(name); }
  std::string path(const std::string& folderName, const std::string& file) const;
  void pointAt(std::uint16_t port);
  transfer::SessionResult run() { return transfer::runSession(link, setup, view); }
  // A data folder with two files of dataset "North" and one of "South".
  void addDatasets();

  testing_support::TempDir root;
  transfer::SessionSetup setup;
  RecordingView view;
  RecordingClock clock;
  transfer::HostLink link;
};

// A Win32 file time on a whole second (2021-03-04 05:06:07 UTC).
inline constexpr std::uint64_t kWriteTime = 132592323670000000ull;

}  // namespace session_test
