#pragma once
// Many units at once against one host: each unit is a folder tree with its
// own bundled datasets and its own HostLink, and runs the real session on
// its own thread with a view that answers every message. Used by the load
// test and the transfer benchmark.
#include <cstdint>
#include <string>
#include <vector>

#include "transfer/session.hpp"

namespace fleet {

struct FleetPlan {
  std::string root;  // units go to root/units/<id>/
  int units = 200;
  int datasetsPerUnit = 2;
  int filesPerDataset = 3;
  std::size_t fileBytes = 32 * 1024;
  std::uint32_t seed = 1;
  std::string address = "127.0.0.1";
  std::uint16_t port = 50000;
};

struct Unit {
  std::string id;
  transfer::SessionSetup setup;
  std::vector<std::string> sentFiles;  // full paths of the dataset files it sends
};

// Writes every unit's folders, its host address file and its dataset files
// (random bytes, the dataset's brackets first in each name). Aborts the
// process when a file cannot be written: a load test on a broken disk
// proves nothing.
std::vector<Unit> prepareFleet(const FleetPlan& plan);

// Points every unit's host address file at address:port (a proxy, or the host).
void aimFleet(const std::vector<Unit>& units, const std::string& address, std::uint16_t port);

struct Outcome {
  transfer::SessionResult result;
  std::vector<std::string> messages;  // "caption: text" of every message shown
  std::string lastStatus;
};

// Runs one session per unit at once (a thread each) and waits for all.
std::vector<Outcome> runFleet(const std::vector<Unit>& units, std::uint32_t linkWaitMs);

// The whole contents of a file; empty when it cannot be read.
std::string fileBytes(const std::string& path);

// Every regular file under folder (not below it), sorted by name.
std::vector<std::string> filesIn(const std::string& folder);

}  // namespace fleet
