#include "shell/host_transfer_window.hpp"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/settings.hpp"
#include "config/unit_code.hpp"
#include "config/unit_id.hpp"
#include "exchange/dataset_transfer.hpp"
#include "platform/clock_set.hpp"
#include "platform/fileops.hpp"
#include "shell/messages.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "transfer/link.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

// What the session's thread hands the dialog, under one lock: the latest
// texts and counters, and at most one message at a time.
class Channel {
 public:
  struct Texts {
    std::string status, file;
    transfer::SessionProgress progress;
    unsigned serial = 0;  // changes with every report
  };
  struct Message {
    std::string text, caption;
    unsigned flags = 0;
  };

  void setStatus(std::string_view text) { update([&](Texts& t) { t.status = std::string(text); }); }
  void setFile(std::string_view text) { update([&](Texts& t) { t.file = std::string(text); }); }
  void setProgress(const transfer::SessionProgress& p) { update([&](Texts& t) { t.progress = p; }); }
  Texts texts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
  }

  // Session side: waits until the dialog showed the box and it was closed;
  // returns its answer, or 0 at once once the dialog is gone.
  int ask(std::string_view text, std::string_view caption, unsigned flags) {
    std::unique_lock<std::mutex> lk(lock_);
    woken_.wait(lk, [&] { return closed_ || !pending_; });
    if (closed_) return 0;
    pending_ = Message{std::string(text), std::string(caption), flags};
    const unsigned mine = ++asked_;
    woken_.wait(lk, [&] { return closed_ || answered_ == mine; });
    return answered_ == mine ? answer_ : 0;
  }
  // Dialog side: the message waiting to be shown, then its answer.
  std::optional<Message> pending() const {
    std::lock_guard<std::mutex> guard(lock_);
    return pending_;
  }
  void answer(int value) {
    std::lock_guard<std::mutex> guard(lock_);
    pending_.reset();
    answer_ = value;
    answered_ = asked_;
    woken_.notify_all();
  }
  // The dialog has gone: every wait returns, later messages are not shown.
  void close() {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    pending_.reset();
    woken_.notify_all();
  }

  std::atomic<bool> cancel{false};
  std::atomic<bool> finished{false};

 private:
  template <class F>
  void update(F f) {
    std::lock_guard<std::mutex> guard(lock_);
    f(texts_);
    ++texts_.serial;
  }

  mutable std::mutex lock_;
  std::condition_variable woken_;
  Texts texts_;
  std::optional<Message> pending_;
  unsigned asked_ = 0, answered_ = 0;
  int answer_ = 0;
  bool closed_ = false;
};

class ChannelView : public transfer::SessionView {
 public:
  explicit ChannelView(Channel& c) : c_(c) {}
  void setStatus(std::string_view text) override { c_.setStatus(text); }
  void setFile(std::string_view text) override { c_.setFile(text); }
  void setProgress(const transfer::SessionProgress& p) override { c_.setProgress(p); }
  void message(std::string_view text, std::string_view caption) override {
    (void)c_.ask(text, caption, ui::kMbOk | ui::kMbIconInformation | ui::kMbTopmost);
  }
  bool cancelled() override { return c_.cancel.load(); }

 private:
  Channel& c_;
};

// The host the session's thread may use (the dataset archive tells its
// failures through one): message boxes go through the channel to the
// dialog; it opens no window of its own.
class ChannelHost : public ui::Host {
 public:
  ChannelHost(Channel& c, ui::Host& ui) : c_(c), ui_(ui) {}
  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override {
    const int answer = c_.ask(text, caption, flags);
    return answer != 0 ? answer : ui::kIdCancel;
  }
  void pump() override {}
  void post(std::function<void()> fn) override { ui_.post(std::move(fn)); }
  void beep() override {}
  int runForm(const ui::Form&, ui::FormController&) override { return 0; }
  bool toggleScrollWindow(const std::string&, const std::vector<std::string>&) override { return false; }
  int scrollWindowColumns() override { return 80; }
  bool mainWindowHasFocus() override { return false; }

 private:
  Channel& c_;
  ui::Host& ui_;
};

class StatusController : public ui::FormController {
 public:
  StatusController(ui::Host& host, Channel& channel, bool tablet, std::function<void()> start)
      : host_(host), channel_(channel), tablet_(tablet), start_(std::move(start)) {}

  void onInit(ui::FormView& view) override {
    view.setText(kTransferStatusField, tablet_ ? kTransferingTabletText : kTransferingText);
    channel_.cancel = false;
    view.startTimer(kTransferTimer, kTransferTimerMs);
  }
  void onCommand(ui::FormView&, int id) override {
    // The dialog ends only when the session has returned.
    if (id == ui::kIdCancelButton) channel_.cancel = true;
  }
  void onTimer(ui::FormView& view, int id) override {
    // A box opened below may let the timer in again: one tick at a time.
    if (id != kTransferTimer || inTick_) return;
    inTick_ = true;
    if (++ticks_ == kTransferStartTick) start_();
    show(view);
    if (auto m = channel_.pending()) channel_.answer(host_.messageBox(m->text, m->caption, m->flags));
    if (ticks_ >= kTransferStartTick && channel_.finished) {
      show(view);
      view.stopTimer(kTransferTimer);
      view.end(1);
    }
    inTick_ = false;
  }

 private:
  void show(ui::FormView& view) {
    const Channel::Texts t = channel_.texts();
    if (t.serial == shown_) return;
    shown_ = t.serial;
    view.setText(kTransferStatusField, t.status);
    view.setText(kTransferFileField, t.file);
    view.setText(kTransferFileCounter, fileCounterText(t.progress));
    view.setText(kTransferByteCounter, byteCounterText(t.progress));
  }

  ui::Host& host_;
  Channel& channel_;
  bool tablet_;
  std::function<void()> start_;
  int ticks_ = 0;
  unsigned shown_ = 0;
  bool inTick_ = false;
};

std::string settingOr(const StartupValues& values, Path which, const std::string& fallback) {
  std::string p = base::trimRight(values.settings.path(which));
  return p.empty() ? fallback : p;
}

transfer::SessionResult realSession(transfer::SessionSetup setup, transfer::SessionView& view) {
  transfer::HostLink link;
  return transfer::runSession(link, setup, view);
}

}  // namespace

std::string fileCounterText(const transfer::SessionProgress& p) {
  return base::format("File:%3d of %3d", p.fileNumber, p.fileCount);
}

std::string byteCounterText(const transfer::SessionProgress& p) {
  return base::format("Byte:%-7d of %-7d", static_cast<int>(p.bytesDone), static_cast<int>(p.bytesTotal));
}

ui::Form transferStatusForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kTransferStatusDialog;
  f.caption = "TCP/IP Transfer Status";
  f.size = {0, 0, 200, 84};
  f.controls = {{kTransferStatusField, K::Static, "", {8, 6, 184, 10}},
                {kTransferFileField, K::Static, "", {8, 20, 184, 10}},
                {kTransferFileCounter, K::Static, "", {8, 36, 80, 10}},
                {kTransferByteCounter, K::Static, "", {92, 36, 100, 10}},
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {75, 60, 50, 14})};
  f.firstFocus = ui::kIdCancelButton;
  return f;
}

transfer::SessionSetup hostSessionSetup(const StartupValues& values, const std::vector<std::string>& datasets) {
  const char sep = values.style.sep;
  transfer::SessionSetup s;
  transfer::SessionFolders& f = s.folders;
  f.sep = sep;
  f.settings = values.installRoot;
  f.receive = settingOr(values, Path::ReceivePath, values.receivePath);
  f.work = base::joinPath(values.installRoot, kTransferWorkFolder, sep);
  f.applications = transferAppPath(values);
  f.pendingApps = settingOr(values, Path::PendingAppPath, values.pendingAppPath);
  f.pendingData = transferPendingDataPath(values);
  f.messages = settingOr(values, Path::MessagePath, messagesFolder(values.installRoot, sep));
  f.install = values.installFolder;
  f.data = base::trimRight(values.settings.path(Path::AppDataFolder));
  s.appName = base::trimRight(values.settings.path(Path::CurAppName));
  // The identification the data files were named with, as start-up put it
  // into the record.
  s.unitId = base::trimRight(values.settings.unitIdText());
  if (s.unitId.empty()) s.unitId = config::unitIdentification(values.unitIdDefault);
  s.unitTag = config::thisUnitCode(values.settings);
  s.versionText = kSoftwareVersion;
  s.programFileName = values.style.exeName;
  s.taggedDatasets = datasets;
  s.archiveAfterTransfer = values.settings.archiveAfterTransfer() != 0;
  s.requestProgramUpdate = values.settings.requestProgramUpdate() != 0;
  s.tablet = values.isTablet;
  s.clock = &platform::nativeClockSetter();
  return s;
}

void prepareTransferFolders(const transfer::SessionFolders& f) {
  for (const std::string* folder : {&f.receive, &f.work, &f.pendingApps, &f.pendingData, &f.messages})
    if (!folder->empty()) (void)platform::makeFolder(*folder);
}

transfer::SessionResult runTransferStatusWindow(ui::Host& host, transfer::SessionSetup setup,
                                                const SessionRunner& runner) {
  Channel channel;
  ChannelView view(channel);
  ChannelHost workerHost(channel, host);
  if (!setup.archiveDataset && !setup.folders.data.empty()) {
    const std::string data = setup.folders.data;
    setup.archiveDataset = [&workerHost, data](const std::string& dataset) {
      exchange::DatasetRef ref;
      ref.bundled = true;
      ref.name = dataset;
      return exchange::archiveDataset(workerHost, data, ref, false);
    };
  }
  const SessionRunner run = runner ? runner : SessionRunner(realSession);
  transfer::SessionResult result;
  result.errors = true;  // until a session has run
  std::thread worker;
  auto start = [&] {
    try {
      worker = std::thread([&] {
        result = run(setup, view);
        channel.finished = true;
      });
    } catch (const std::system_error&) {
      ui::inform(host, "Can't Launch DlgMsg Thread!", "Error");
      channel.finished = true;
    }
  };
  StatusController controller(host, channel, setup.tablet, start);
  (void)host.runForm(transferStatusForm(), controller);
  if (worker.joinable()) {
    // Normally the session has returned; when the dialog went first, the
    // session is told to stop and nothing more is shown.
    if (!channel.finished) channel.cancel = true;
    channel.close();
    worker.join();
  }
  return result;
}

}  // namespace shell
