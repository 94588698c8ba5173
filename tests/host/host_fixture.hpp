#pragma once
// The host server running in this process on a loopback port, over a fresh
// root folder, and a plain unit that speaks to it through a client socket.
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hostlib/host_log.hpp"
#include "hostlib/host_options.hpp"
#include "hostlib/host_server.hpp"
#include "platform/socket.hpp"
#include "support/temp_dir.hpp"
#include "transfer/control_file.hpp"

namespace host_test {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);

class RunningHost {
 public:
  // Starts the server on 127.0.0.1 (a port the system picks) with root <temp>/root.
  explicit RunningHost(host::HostOptions options = {});
  ~RunningHost();

  bool started() const { return started_; }
  std::uint16_t port() const { return server_->port(); }
  host::HostServer& server() { return *server_; }
  host::HostLog& log() { return log_; }
  const std::string& root() const { return root_; }
  const testing_support::TempDir& temp() const { return temp_; }
  // root + separators + parts.
  std::string path(std::initializer_list<std::string> parts) const;
  // Waits (guarded) until n sessions have been served.
  bool servedAtLeast(int n);
  // True when some log line holds text.
  bool logHas(const std::string& text);

 private:
  testing_support::TempDir temp_;
  std::string root_;
  host::HostLog log_;
  std::unique_ptr<host::HostServer> server_;
  std::thread runner_;
  bool started_ = false;
};

// Puts a file (and its folders) under the root.
void putFile(const RunningHost& host, std::initializer_list<std::string> parts, const std::string& bytes);

// A unit control file announcing datasets, asking for an update or not, and
// listing the files the unit has (name and size).
Bytes unitControl(const std::string& unit, std::uint16_t datasets, bool askUpdate,
                  const std::vector<std::pair<std::string, std::uint32_t>>& has = {});

class TestUnit {
 public:
  explicit TestUnit(std::uint16_t port);
  bool connected() const { return socket_ != nullptr; }

  bool sendRaw(const void* data, std::size_t size);
  bool sendByte(std::uint8_t b) { return sendRaw(&b, 1); }
  bool login(const std::string& unit);
  // 'c', the header and the data.
  bool sendFile(const std::string& name, const Bytes& data);
  // 'b', then the header and data the host answers with.
  bool nextFile(std::string& name, Bytes& data);
  // True when the host closes the connection (reads until then; guarded).
  bool hostCloses();
  bool receiveExactly(void* data, std::size_t size);

 private:
  std::unique_ptr<platform::TcpSocket> socket_;
};

// The files a good session receives: the host control file, then the listed
// files, then the completion file. False when any step fails.
struct Received {
  transfer::ControlFile control;
  std::vector<std::pair<std::string, Bytes>> files;  // listed files, in order
  std::string completionName;
};
bool receiveAll(TestUnit& unit, Received& out);

}  // namespace host_test
