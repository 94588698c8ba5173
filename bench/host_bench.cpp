// Host transfer under load: 200 units at once run whole sessions (login,
// control files, two datasets each, the completion file, the end) against
// one in-process tallyfin-host, beside the peer: 200 plain loopback socket
// pairs moving the same bytes one way. Both report bytes per second; the
// ratio of their times is the cost of the protocol, the threads and the
// synced inbox over the bare connection.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "hostlib/host_log.hpp"
#include "hostlib/host_server.hpp"
#include "support/instrument/unit_fleet.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kUnits = 200;

struct Scratch {
  fs::path root;
  Scratch() {
    char name[] = "/tmp/host_bench.XXXXXX";
    root = mkdtemp(name) ? name : "/tmp/host_bench";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

std::uint64_t bytesOf(const std::vector<fleet::Unit>& units) {
  std::uint64_t n = 0;
  for (const auto& u : units)
    for (const auto& p : u.sentFiles) n += fs::file_size(p);
  return n;
}

void BM_HostSessions(benchmark::State& state) {
  Scratch scratch;
  host::HostOptions options;
  options.root = (scratch.root / "host").string();
  options.port = 0;
  options.listen = "127.0.0.1";
  options.maxConnections = kUnits + 16;
  host::HostLog log("", false);
  host::HostServer server(options, log);
  std::string why;
  if (server.start(why) != 0) {
    state.SkipWithError(why.c_str());
    return;
  }
  std::thread serving([&] { server.run(); });
  fleet::FleetPlan plan;
  plan.root = (scratch.root / "fleet").string();
  plan.units = kUnits;
  plan.port = server.port();
  const std::vector<fleet::Unit> units = fleet::prepareFleet(plan);
  const std::uint64_t bytes = bytesOf(units);
  int failed = 0;
  for (auto _ : state) {
    for (const auto& o : fleet::runFleet(units, 15000)) failed += o.result.completed ? 0 : 1;
  }
  server.stop();
  serving.join();
  if (failed) state.SkipWithError("sessions failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_HostSessions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The peer: each of 200 connections carries one unit's share of the bytes.
void BM_RawLoopback(benchmark::State& state) {
  Scratch scratch;
  fleet::FleetPlan plan;
  plan.root = (scratch.root / "fleet").string();
  plan.units = kUnits;
  const std::uint64_t bytes = bytesOf(fleet::prepareFleet(plan));
  const std::size_t share = static_cast<std::size_t>(bytes / kUnits);

  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 512) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    state.SkipWithError("cannot listen");
    return;
  }
  const std::vector<char> data(share, 'x');
  for (auto _ : state) {
    std::vector<std::thread> threads;
    for (int i = 0; i < kUnits; ++i) {
      threads.emplace_back([&] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
          for (std::size_t done = 0; done < share;) {
            const ssize_t n = ::send(fd, data.data() + done, share - done, MSG_NOSIGNAL);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
          }
          ::shutdown(fd, SHUT_WR);
          char c;
          (void)::recv(fd, &c, 1, 0);  // the receiver's close: everything arrived
        }
        ::close(fd);
      });
      threads.emplace_back([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        std::vector<char> buffer(16384);
        while (::recv(fd, buffer.data(), buffer.size(), 0) > 0) {
        }
        ::close(fd);
      });
    }
    for (auto& t : threads) t.join();
  }
  ::close(listener);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_RawLoopback)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
