// tallyfin-host: the office's host for the units' TCP/IP transfer.
// See docs/host.md.
#include <cstdio>
#include <string>
#include <vector>

#include "hostlib/host_log.hpp"
#include "hostlib/host_options.hpp"
#include "hostlib/host_server.hpp"
#include "hostlib/host_tree.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  host::HostOptions options;
  std::string error;
  switch (host::parseHostOptions(args, options, error)) {
    case host::OptionsResult::kHelp:
      std::fputs(host::hostUsage().c_str(), stdout);
      return 0;
    case host::OptionsResult::kError:
      std::fprintf(stderr, "tallyfin-host: %s\n\n%s", error.c_str(), host::hostUsage().c_str());
      return 2;
    case host::OptionsResult::kRun: break;
  }
  host::HostTree tree{options.root};
  host::HostLog log(host::join(tree.log(), "host.log"), true);
  host::HostServer server(options, log);
  if (server.start(error) != 0) {
    std::fprintf(stderr, "tallyfin-host: %s\n", error.c_str());
    return 1;
  }
  server.run();
  return 0;
}
