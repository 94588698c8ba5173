#pragma once
// A scripted transfer host on loopback for session tests: it plays the host
// side of a transfer (login block, the PC's files, its own control file, the
// files it lists, the completion file, 'Z') and misbehaves on demand.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/tcp_peer.hpp"
#include "transfer/control_file.hpp"

namespace testing_support {

struct HostFile {
  std::string name;          // the name in the file header
  std::string data;
  std::uint8_t type = 'A';   // the entry's type letter
  std::uint64_t writeTime = 0;
  std::string folder;        // the entry's folder text
  bool listed = true;        // has an entry in the host control file
  // The length the header announces instead of the data's size.
  std::optional<std::uint32_t> announcedLength;
};

// What the host does after the PC asks for a file ('b') a given time.
enum class HostFault {
  None,
  Stall,  // says nothing more until stopped
  Close,  // closes the connection in order
  Reset,  // drops the connection with a reset
};

struct HostScript {
  std::vector<HostFile> files;         // sent after the host control file, in order
  std::optional<transfer::HostClock> clock;
  int acknowledgeDelta = 0;            // added to the dataset count the host returns
  bool sendCompletion = true;
  std::string completionName = "xfer_complete.txt";
  // Raw bytes sent in place of the host control file built from the script.
  std::optional<std::string> controlBytes;
  bool oneByteWrites = false;          // every byte its own send
  bool splitHeaders = false;           // each 280-byte header in two segments
  int faultAtRequest = 0;              // the 1-based 'b' request the fault hits; 0 none
  HostFault fault = HostFault::None;
};

// What the host saw.
struct HostRecord {
  int connections = 0;
  std::string loginUnitId;
  std::vector<std::pair<std::string, std::string>> received;  // name, data of each 'c'
  transfer::ControlFile pcControl;    // the first received file, parsed
  bool pcControlParsed = false;
  int requests = 0;                   // 'b' commands
  bool ended = false;                 // 'Z' arrived
};

class HostileHost {
 public:
  explicit HostileHost(HostScript script);
  std::uint16_t port() const { return peer_.port(); }
  int accepted() const { return peer_.accepted(); }
  HostRecord record() const;

 private:
  void serve(PeerConnection& c);
  bool sendFile(PeerConnection& c, const std::string& name, const std::string& data,
                std::optional<std::uint32_t> announced);
  bool send(PeerConnection& c, const void* data, std::size_t size);
  std::string hostControl(int datasetsReceived) const;

  HostScript script_;
  mutable std::mutex lock_;
  HostRecord record_;
  TcpPeer peer_;  // last: its threads start after the members above exist and end before they go
};

}  // namespace testing_support
