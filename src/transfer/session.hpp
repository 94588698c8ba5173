#pragma once
// A host transfer session over one HostLink: the PC logs in, sends its
// control file and the datasets tagged for sending, receives the host's
// control file, the files it lists and the completion file, ends the session
// with 'Z', verifies the counts and only then places what it received.
//
// The session runs on one thread (the status dialog's worker) and reaches the
// user only through SessionView, so the same code runs behind either front
// end, in tests and in the load runner.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/link.hpp"

namespace platform {
class ClockSetter;
}

namespace transfer {

// The session's stage counter: how far it got (drives the verification).
inline constexpr int kStageStart = 0;
inline constexpr int kStageConnected = 1;
inline constexpr int kStageControlSent = 2;
inline constexpr int kStageReceiving = 3;
inline constexpr int kStageHostControlRead = 4;
inline constexpr int kStageVerified = 20;

// The counters the status dialog shows beside its two text fields.
struct SessionProgress {
  int fileNumber = 0, fileCount = 0;          // "File:%3d of %3d"
  std::uint32_t bytesDone = 0, bytesTotal = 0;  // "Byte:%-7d of %-7d"
};

// What the session shows and asks on its way. Every call comes from the
// session's thread; an implementation hands them to its user interface.
class SessionView {
 public:
  virtual ~SessionView() = default;
  // The dialog's status field and file field.
  virtual void setStatus(std::string_view text) = 0;
  virtual void setFile(std::string_view text) = 0;
  virtual void setProgress(const SessionProgress& progress) = 0;
  // A message box with an OK button; returns when the user closed it.
  virtual void message(std::string_view text, std::string_view caption) = 0;
  // The user's cancel flag; checked on every poll and every retry pause.
  virtual bool cancelled() = 0;
};

// The folders a session reads and writes (each ends without a separator).
struct SessionFolders {
  char sep = '\\';
  std::string settings;      // holds "TFM_Host_IP.txt"
  std::string receive;       // received files arrive here (ReceivePath)
  std::string work;          // the PC control file is written here
  std::string applications;  // installed packages "*.tfa" (AppPath)
  std::string pendingApps;   // PendingAppPath: 'A' files go here
  std::string pendingData;   // PendingDataPath: 'D' files go under <application>
  std::string messages;      // "*.mes" listed from and 'M' files placed here
  std::string install;       // the install folder: program update files other than the program
  std::string data;          // the current application's data folder (tagged datasets)
};

struct SessionSetup {
  SessionFolders folders;
  std::string appName;      // the current application (the entries' folder name)
  std::string unitId;       // login block, control file and its name
  std::string unitTag;      // the unit tag text in the control file's name
  std::string versionText;  // the program's version text
  // The program file a program update brings ("Tallyfin PC.exe" on Windows):
  // it goes to <receive>/Temp, where the main window's update check finds it.
  std::string programFileName;
  // Dataset names whose bundled files are sent ("[" + name + "]*.*" in data).
  std::vector<std::string> taggedDatasets;
  bool archiveAfterTransfer = false;
  bool requestProgramUpdate = false;
  bool tablet = false;
  // The largest file the session accepts from a host; a larger announced
  // length, or one above the receive folder's free space, fails the receive.
  std::uint32_t maxReceiveBytes = 512u * 1024u * 1024u;
  // Pause between connect retries and between monitor retries (tests shorten it).
  int retryPauseMs = 500;
  // Sets the local time from the host's clock trailer; null never sets it.
  platform::ClockSetter* clock = nullptr;
  // Archives one sent dataset (copy, not move) after a verified session;
  // returns the number of files archived (0 counts as a failure).
  std::function<int(const std::string& dataset)> archiveDataset;
};

struct SessionResult {
  int stage = kStageStart;
  bool cancelled = false;
  bool errors = false;
  int filesSent = 0;
  int datasetFilesSent = 0;
  int datasetFilesTagged = 0;   // offset 422 of the PC control file
  int datasetFilesAcknowledged = 0;  // offset 422 of the host's
  int filesReceived = 0;        // the host control and completion files included
  int hostEntries = 0;          // N of the host control file
  int messagesReceived = 0;
  int appsReceived = 0;
  int datasetsReceived = 0;
  int updatesPending = 0;
  bool clockSet = false;
  // Both marker files were received and the session verified: the host
  // control file and the completion file then stand in the receive folder.
  bool completed = false;
  std::vector<std::string> receivedMessages;  // names of the placed message files
};

// Runs one session on link (which must not be connected) and shows every
// error through view. Never throws; the link is disconnected and shut down
// when it returns.
SessionResult runSession(HostLink& link, const SessionSetup& setup, SessionView& view);

}  // namespace transfer
