#pragma once
// "TCP/IP Transfer Status": the dialog a host transfer session runs behind.
// The session works on its own thread and reports through a SessionView
// whose texts the dialog's 100 ms timer copies into the dialog; a message
// the session shows waits on its thread until the user closed the box the
// timer opened. Cancel sets the flag the session checks; the dialog closes
// when the session has returned.
#include <functional>
#include <string>
#include <vector>

#include "transfer/session.hpp"
#include "ui/form.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

inline constexpr int kTransferStatusDialog = 104;
inline constexpr int kTransferStatusField = 1041, kTransferFileField = 1042;
inline constexpr int kTransferFileCounter = 1043, kTransferByteCounter = 1044;
inline constexpr int kTransferTimer = 1;
inline constexpr int kTransferTimerMs = 100;
// The session starts on this tick of the timer, when the dialog is up.
inline constexpr int kTransferStartTick = 3;
// The working folder under the install root where the session writes the
// control file it sends (and deletes its working files): never the receive
// folder, which keeps the marker files of a completed session.
inline constexpr const char* kTransferWorkFolder = "TCPIP_Send";

inline constexpr const char* kTransferingTabletText = "Transfering Data - Please Be Patient";
inline constexpr const char* kTransferingText = "Transfering Data";

// Runs one session on the thread it is called on; the default makes a
// HostLink and runs transfer::runSession over it.
using SessionRunner = std::function<transfer::SessionResult(transfer::SessionSetup, transfer::SessionView&)>;

ui::Form transferStatusForm();

// "File:%3d of %3d" and "Byte:%-7d of %-7d".
std::string fileCounterText(const transfer::SessionProgress& p);
std::string byteCounterText(const transfer::SessionProgress& p);

// The session's setup for the current application: the folders of the
// settings record (the start-up values where a field is empty), the unit
// identification and code, the version text, the program file, the two
// options of the settings record, the tablet flag, the system clock, and
// datasets as the tagged datasets. archiveDataset is left empty: the status
// window supplies it (it alone can show the archive's messages).
transfer::SessionSetup hostSessionSetup(const StartupValues& values, const std::vector<std::string>& datasets);

// Makes the folders a session writes into (receive, work, pending
// applications, pending data, messages) where they are missing.
void prepareTransferFolders(const transfer::SessionFolders& folders);

// Shows the status dialog over one session run by runner (empty: the real
// session) with setup and returns its result. When setup has no
// archiveDataset and a data folder, it archives (copies) a sent dataset's
// files with exchange::archiveDataset, its messages shown by the dialog.
// Should the dialog end before the session (the user interface is going
// away) the session is cancelled, its messages are no longer shown, and
// the call returns when it has ended.
transfer::SessionResult runTransferStatusWindow(ui::Host& host, transfer::SessionSetup setup,
                                                const SessionRunner& runner = {});

}  // namespace shell
