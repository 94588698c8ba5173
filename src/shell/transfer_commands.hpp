#pragma once
// The main window's dataset transfer commands: "Transfer Data" (the exchange
// dialog with its storage, copy and host buttons) and "Post Pending
// Datasets" (the post dialog over the pending-data folder).
namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

// Closes every open table, runs the exchange dialog (170) and closes every
// table again. Returns 1 when a host transfer completed and ended the dialog
// with both of its marker files in the receive folder, else 0 (the dialog
// was closed, or a host transfer was cancelled before it ran).
int transferDataCommand(ui::Host& host, StartupValues& values);

// Runs the post dialog (174). Returns 0 when there was nothing pending ("There
// Are No Pending Datasets", caption "No Pendng Datasets") and no dialog was
// shown, else the number of datasets posted while it was open.
int pendingDatasetsCommand(ui::Host& host, StartupValues& values);

}  // namespace shell
