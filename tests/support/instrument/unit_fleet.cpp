#include "support/instrument/unit_fleet.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include "transfer/host_address.hpp"

namespace fleet {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "unit fleet: %s\n", what.c_str());
  std::exit(3);
}

std::string folder(const fs::path& p) {
  std::error_code ec;
  fs::create_directories(p, ec);
  if (ec) die("cannot create " + p.string() + ": " + ec.message());
  return p.string();
}

void writeRandom(const std::string& path, std::size_t size, std::mt19937& random) {
  std::string bytes(size, '\0');
  for (auto& c : bytes) c = static_cast<char>(random() & 0xff);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) die("cannot write " + path);
}

// Answers every message at once and never cancels.
class FleetView : public transfer::SessionView {
 public:
  explicit FleetView(Outcome& out) : out_(out) {}
  void setStatus(std::string_view text) override { out_.lastStatus = std::string(text); }
  void setFile(std::string_view) override {}
  void setProgress(const transfer::SessionProgress&) override {}
  void message(std::string_view text, std::string_view caption) override {
    out_.messages.push_back(std::string(caption) + ": " + std::string(text));
  }
  bool cancelled() override { return false; }

 private:
  Outcome& out_;
};

}  // namespace

std::vector<Unit> prepareFleet(const FleetPlan& plan) {
  std::vector<Unit> units;
  std::mt19937 random(plan.seed);
  const char* const names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"};
  for (int u = 0; u < plan.units; ++u) {
    char id[16];
    std::snprintf(id, sizeof id, "U%05d", u + 1);
    const fs::path base = fs::path(plan.root) / "units" / id;
    Unit unit;
    unit.id = id;
    transfer::SessionFolders& f = unit.setup.folders;
    f.sep = '/';
    f.settings = folder(base / "settings");
    f.receive = folder(base / "receive");
    f.work = folder(base / "work");
    f.applications = folder(base / "apps");
    f.pendingApps = folder(base / "apps_pending");
    f.pendingData = folder(base / "pending_data");
    f.messages = folder(base / "messages");
    f.install = folder(base / "install");
    f.data = folder(base / "data" / "Load");
    unit.setup.appName = "Load";
    unit.setup.unitId = id;
    unit.setup.unitTag = "load";
    unit.setup.versionText = "load test";
    unit.setup.programFileName = "tallyfin";
    unit.setup.retryPauseMs = 50;
    for (int d = 0; d < plan.datasetsPerUnit; ++d) {
      const std::string dataset = names[d % 6] + std::string(d >= 6 ? std::to_string(d) : "");
      unit.setup.taggedDatasets.push_back(dataset);
      for (int k = 0; k < plan.filesPerDataset; ++k) {
        const std::string path = f.data + "/[" + dataset + "]" + std::to_string(k + 1) + "AA___" + id + "_PART.dbf";
        // Sizes vary around the plan's so pieces do not always end on a boundary.
        writeRandom(path, plan.fileBytes / 2 + random() % (plan.fileBytes + 1), random);
        unit.sentFiles.push_back(path);
      }
    }
    units.push_back(std::move(unit));
  }
  aimFleet(units, plan.address, plan.port);
  return units;
}

void aimFleet(const std::vector<Unit>& units, const std::string& address, std::uint16_t port) {
  for (const Unit& unit : units) {
    if (transfer::writeHostAddress(unit.setup.folders.settings, address, std::to_string(port)) != 0)
      die("cannot write the host address of " + unit.id);
  }
}

std::vector<Outcome> runFleet(const std::vector<Unit>& units, std::uint32_t linkWaitMs) {
  std::vector<Outcome> outcomes(units.size());
  std::vector<std::thread> threads;
  threads.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    threads.emplace_back([&, i] {
      transfer::HostLink link;
      link.setWaitTimeoutMs(linkWaitMs);
      FleetView view(outcomes[i]);
      outcomes[i].result = transfer::runSession(link, units[i].setup, view);
    });
  }
  for (auto& t : threads) t.join();
  return outcomes;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    if (e.is_regular_file()) out.push_back(e.path().filename().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace fleet
