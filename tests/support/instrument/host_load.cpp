// Many units at once against one running tallyfin-host:
//
//   host_load HOST_ROOT UNITS_ROOT PORT UNITS [--reset SEED]
//
// Every unit sends two tagged datasets and receives what the host's shared
// outbox holds (HOST_ROOT/outbox/all). Checked for every unit: the session
// completed, one of its session folders in HOST_ROOT/inbox/<unit> holds every
// file it sent byte for byte, no partial file is left on either side, and
// each file of the shared outbox stands byte for byte where the unit places
// its kind. With --reset the units first go through a relay that resets each
// connection after a random number of bytes: a unit whose session did not
// complete must have placed nothing, and a second run straight to the host
// must then complete it. Prints a summary; exit 0 when every check held, 1
// otherwise, 2 usage.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/instrument/reset_proxy.hpp"
#include "support/instrument/unit_fleet.hpp"

namespace fs = std::filesystem;

namespace {

int failures = 0;

void fail(const std::string& unit, const std::string& what) {
  if (++failures <= 40) std::printf("FAIL %s: %s\n", unit.c_str(), what.c_str());
}

bool isPartial(const std::string& name) { return !name.empty() && name[0] == '.'; }

std::vector<std::string> subfolders(const fs::path& p) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(p, ec))
    if (e.is_directory()) out.push_back(e.path().filename().string());
  return out;
}

// What the shared outbox offers, by kind: name -> bytes.
struct Offer {
  std::map<std::string, std::string> apps, datasets, messages;
};

Offer readOffer(const fs::path& outbox) {
  Offer o;
  for (const auto& n : fleet::filesIn((outbox / "apps").string())) o.apps[n] = fleet::fileBytes((outbox / "apps" / n).string());
  for (const auto& n : fleet::filesIn((outbox / "messages").string()))
    o.messages[n] = fleet::fileBytes((outbox / "messages" / n).string());
  // Datasets stand in the outbox either loose or in a folder per application.
  for (const auto& n : fleet::filesIn((outbox / "datasets").string()))
    o.datasets[n] = fleet::fileBytes((outbox / "datasets" / n).string());
  for (const auto& app : subfolders(outbox / "datasets"))
    for (const auto& n : fleet::filesIn((outbox / "datasets" / app).string()))
      o.datasets[n] = fleet::fileBytes((outbox / "datasets" / app / n).string());
  return o;
}

// The application folder of a dataset file: the text in its leading brackets.
std::string bracketApp(const std::string& name) {
  if (name.empty() || name[0] != '[') return "Unknown_App";
  const auto close = name.find(']');
  return close == std::string::npos || close == 1 ? "Unknown_App" : name.substr(1, close - 1);
}

// Files the unit placed (in the folders where placing puts them).
std::size_t placedCount(const fleet::Unit& u) {
  const auto& f = u.setup.folders;
  std::size_t n = fleet::filesIn(f.pendingApps).size() + fleet::filesIn(f.messages).size();
  for (const auto& app : subfolders(f.pendingData)) n += fleet::filesIn((fs::path(f.pendingData) / app).string()).size();
  return n;
}

void checkPlaced(const fleet::Unit& u, const Offer& offer) {
  const auto& f = u.setup.folders;
  for (const auto& [n, bytes] : offer.apps)
    if (fleet::fileBytes(f.pendingApps + "/" + n) != bytes) fail(u.id, "package " + n + " not placed byte for byte");
  for (const auto& [n, bytes] : offer.messages)
    if (fleet::fileBytes(f.messages + "/" + n) != bytes) fail(u.id, "message " + n + " not placed byte for byte");
  for (const auto& [n, bytes] : offer.datasets)
    if (fleet::fileBytes(f.pendingData + "/" + bracketApp(n) + "/" + n) != bytes)
      fail(u.id, "dataset " + n + " not placed byte for byte");
}

// One complete session folder of the unit holds every file it sent.
bool hostHasAll(const fs::path& hostRoot, const fleet::Unit& u) {
  const fs::path inbox = hostRoot / "inbox" / u.id;
  for (const auto& session : subfolders(inbox)) {
    if (isPartial(session)) continue;
    bool all = true;
    for (const auto& path : u.sentFiles) {
      const std::string name = fs::path(path).filename().string();
      if (fleet::fileBytes((inbox / session / name).string()) != fleet::fileBytes(path)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

// The host renames a session folder once it has read 'Z', which may be a
// moment after the unit returned: wait a little for the partial folders to go.
bool partialsGone(const fs::path& hostRoot, const std::vector<fleet::Unit>& units) {
  for (int tries = 0; tries < 100; ++tries) {
    bool any = false;
    for (const auto& u : units)
      for (const auto& s : subfolders(hostRoot / "inbox" / u.id)) any = any || isPartial(s);
    if (!any) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::uint64_t sentBytes(const fleet::Unit& u) {
  std::uint64_t n = 0;
  for (const auto& p : u.sentFiles) n += fs::file_size(p);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && !(argc == 7 && std::string(argv[5]) == "--reset")) {
    std::fprintf(stderr, "usage: host_load HOST_ROOT UNITS_ROOT PORT UNITS [--reset SEED]\n");
    return 2;
  }
  const fs::path hostRoot = argv[1];
  fleet::FleetPlan plan;
  plan.root = argv[2];
  plan.port = static_cast<std::uint16_t>(std::atoi(argv[3]));
  plan.units = std::atoi(argv[4]);
  const bool reset = argc == 7;
  const std::uint32_t seed = reset ? static_cast<std::uint32_t>(std::strtoul(argv[6], nullptr, 10)) : 1;
  plan.seed = seed;
  std::vector<fleet::Unit> units = fleet::prepareFleet(plan);
  const Offer offer = readOffer(hostRoot / "outbox" / "all");
  std::uint64_t total = 0;
  for (const auto& u : units) total += sentBytes(u);
  std::printf("%d units, %llu bytes of datasets to send; the host offers %zu packages, %zu datasets, %zu messages\n",
              plan.units, static_cast<unsigned long long>(total), offer.apps.size(), offer.datasets.size(),
              offer.messages.size());

  std::vector<std::size_t> again;
  if (reset) {
    // A session moves about its datasets out and the offer in, plus headers:
    // budgets up to a little above that break it anywhere, or not at all.
    std::uint64_t offerBytes = 0;
    for (const auto* kind : {&offer.apps, &offer.datasets, &offer.messages})
      for (const auto& [n, b] : *kind) offerBytes += b.size();
    fleet::ResetProxy proxy(plan.port, (total / units.size() + offerBytes) * 11 / 10 + 8192, seed);
    if (!proxy.port()) {
      std::printf("FAIL: the relay could not listen\n");
      return 1;
    }
    fleet::aimFleet(units, "127.0.0.1", proxy.port());
    const auto first = fleet::runFleet(units, 15000);
    int completed = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (first[i].result.completed) {
        ++completed;
        checkPlaced(units[i], offer);
        // 'Z' may be lost with the reset after the unit sent it: the host then
        // drops the session, and only the next session delivers the datasets.
        if (!hostHasAll(hostRoot, units[i])) again.push_back(i);
      } else {
        if (placedCount(units[i]) != 0) fail(units[i].id, "a session that did not complete placed files");
        again.push_back(i);
      }
    }
    std::printf("through the relay: %d connections, %d reset, %d sessions completed, %zu to run again\n",
                proxy.connections(), proxy.resets(), completed, again.size());
    fleet::aimFleet(units, "127.0.0.1", plan.port);
  } else {
    for (std::size_t i = 0; i < units.size(); ++i) again.push_back(i);
  }

  std::vector<fleet::Unit> run;
  for (auto i : again) run.push_back(units[i]);
  const auto start = std::chrono::steady_clock::now();
  const auto outcomes = fleet::runFleet(run, 15000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  int completed = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    const auto& o = outcomes[i];
    if (!o.result.completed) {
      fail(run[i].id, "the session did not complete: " + o.lastStatus +
                          (o.messages.empty() ? std::string() : " / " + o.messages.front()));
      continue;
    }
    ++completed;
    if (o.result.datasetFilesSent != static_cast<int>(run[i].sentFiles.size()))
      fail(run[i].id, "sent " + std::to_string(o.result.datasetFilesSent) + " dataset files, not " +
                          std::to_string(run[i].sentFiles.size()));
    checkPlaced(run[i], offer);
  }
  if (!partialsGone(hostRoot, units)) fail("host", "partial session folders are left in the inbox");
  for (const auto& u : units)
    if (!hostHasAll(hostRoot, u)) fail(u.id, "no session folder on the host holds every file it sent");
  std::printf("%d of %zu sessions completed in %.2f s; %d failures\n", completed, run.size(), seconds, failures);
  return failures ? 1 : 0;
}
