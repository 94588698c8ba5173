#include "shell/messages.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"
#include "ui/pick_list.hpp"

namespace shell {

namespace {

constexpr const char* kNoMessages = "No messages Present!";

bool below(char c) { return static_cast<unsigned char>(c) < ' '; }

}  // namespace

std::vector<std::string> messageLines(std::string_view text, int width) {
  width = std::clamp(width, 1, kMessageMaxWidth);
  const std::size_t w = static_cast<std::size_t>(width);
  std::vector<std::string> lines;
  std::string line;
  bool inBreak = false;
  auto emit = [&](std::string l) {
    if (static_cast<int>(lines.size()) < kMessageMaxLines) lines.push_back(std::move(l));
  };
  for (char c : text) {
    if (below(c)) {
      if (!inBreak) emit(std::move(line));
      line.clear();
      inBreak = true;
      continue;
    }
    inBreak = false;
    if (line.size() >= w) {
      std::size_t blank = line.find_last_of(' ');
      if (blank == std::string::npos) {
        emit(std::move(line));
        line.clear();
      } else {
        std::string rest = line.substr(blank + 1);
        line.resize(blank);
        emit(std::move(line));
        line = std::move(rest);
      }
    }
    line.push_back(c);
  }
  if (!line.empty()) emit(std::move(line));
  lines.push_back("");
  lines.push_back("*** End of Message ***");
  lines.push_back("");
  return lines;
}

std::string messagesFolder(const std::string& installRoot, char sep) {
  return base::joinPath(installRoot, "Messages", sep);
}

std::optional<std::string> pickMessageFile(ui::Host& host, const std::string& installRoot, char sep,
                                           int& count) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(messagesFolder(installRoot, sep) + sep + "*.mes", found);
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  count = static_cast<int>(names.size());
  if (names.empty()) return std::nullopt;
  int chosen = ui::runPickList(host, {"Messages", "< Available Messages >", "< Press OK to Select >"}, names);
  if (chosen < 0) {
    count = -1;
    return std::nullopt;
  }
  return base::trim(names[static_cast<std::size_t>(chosen)]);
}

bool viewMessage(ui::Host& host, const std::string& installRoot, char sep, const std::string& name) {
  std::string folder = messagesFolder(installRoot, sep);
  if (!platform::folderExists(folder)) {
    platform::makeFolder(folder);
    ui::inform(host, "No Messages are Present", "Can't View Messages!");
    return false;
  }
  std::string path = folder + sep + name;
  const char* caption = "Message Error";
  if (!platform::fileExists(path)) {
    ui::inform(host, "Can't Find Message File!", caption);
    return false;
  }
  platform::File f = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  std::int64_t size = f.isOpen() ? f.size() : -1;
  if (size < 0) {
    ui::inform(host, "Can't Open Message File!", caption);
    return false;
  }
  // Far more than a crew could read; the viewer shows 1028 lines at most.
  constexpr std::int64_t kLargest = std::int64_t{64} << 20;
  if (size > kLargest) {
    ui::inform(host, "Message File Too Large!", caption);
    return false;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  if (f.read(text.data(), text.size(), done) != 0) {
    ui::inform(host, "Message File Read Error!", caption);
    return false;
  }
  if (done != text.size()) {
    ui::inform(host, "Message File Read Size Error!", caption);
    return false;
  }
  std::vector<std::string> lines = messageLines(text, host.scrollWindowColumns());
  if (!host.toggleScrollWindow(name, lines)) {
    ui::inform(host, "Failed to create Message Window", "View Message Error");
    return false;
  }
  return true;
}

void viewMessagesCommand(ui::Host& host, const std::string& installRoot, char sep) {
  int count = 0;
  auto name = pickMessageFile(host, installRoot, sep, count);
  if (count == 0) {
    ui::inform(host, kNoMessages, "");
    return;
  }
  if (name) viewMessage(host, installRoot, sep, *name);
}

void deleteMessagesCommand(ui::Host& host, const std::string& installRoot, char sep) {
  int count = 0;
  auto name = pickMessageFile(host, installRoot, sep, count);
  if (count == 0) {
    ui::inform(host, kNoMessages, "");
    return;
  }
  if (!name) return;
  int answer = host.messageBox(base::format("Permanently Delete This Message File?\n %s", name->c_str()),
                               "Delete Message ?", ui::kMbYesNo | ui::kMbIconInformation | ui::kMbTopmost);
  if (answer == ui::kIdYes) platform::deleteFile(messagesFolder(installRoot, sep) + sep + *name);
}

}  // namespace shell
