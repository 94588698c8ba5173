#pragma once
// A ProgramPorts that records what a program asked of its port: the opens
// with their settings, the closes, the text queued for the printer, and a
// send queue that empties after a number of looks.
#include <string>
#include <vector>

#include "runtime/program_port.hpp"

namespace runtime_test {

class FakePorts : public runtime::ProgramPorts {
 public:
  struct Opened {
    int port;
    runtime::PortSettings settings;
  };

  int open(int port, const runtime::PortSettings& s) override {
    opens.push_back({port, s});
    if (failOpen) return 1;
    openPort = port;
    return 0;
  }
  bool close(int port) override {
    closes.push_back(port);
    if (port != openPort) return false;
    openPort = 0;
    return true;
  }
  bool printerOpen() const override { return openPort != 0; }
  bool write(std::string_view text) override {
    if (openPort == 0) return false;
    sent += text;
    return true;
  }
  // Counts down one per look while busyLooks is positive.
  int pendingSend() const override { return busyLooks > 0 ? busyLooks-- : 0; }
  void purgeSend() override {
    ++purges;
    busyLooks = 0;
  }

  bool failOpen = false;
  int openPort = 0;
  mutable int busyLooks = 0;
  int purges = 0;
  std::vector<Opened> opens;
  std::vector<int> closes;
  std::string sent;
};

}  // namespace runtime_test
