#include "hostlib/host_server.hpp"

#include <system_error>

#include "base/text.hpp"
#include "hostlib/inbox.hpp"
#include "platform/errors.hpp"

namespace host {

namespace {

// How often the accept loop looks at the stop flag and reaps finished threads.
constexpr std::uint32_t kAcceptSliceMs = 200;

SessionLimits limitsOf(const HostOptions& o) {
  SessionLimits l;
  l.idleMs = o.idleSeconds * 1000u;
  l.maxFileBytes = o.maxFileBytes;
  l.sendClock = o.sendClock;
  return l;
}

}  // namespace

HostServer::HostServer(const HostOptions& options, HostLog& log)
    : options_(options),
      log_(log),
      context_{HostTree{options.root}, limitsOf(options), namer_, units_, log, stopping_} {}

HostServer::~HostServer() {
  stop();
  reap(true);
  listener_.reset();
  if (socketsStarted_) (void)platform::cleanupSockets();
}

int HostServer::start(std::string& why) {
  const HostTree& tree = context_.tree;
  for (const std::string& folder :
       {tree.inbox(), tree.log(), join(tree.unitOutbox(kSharedOutbox), "apps"),
        join(tree.unitOutbox(kSharedOutbox), "datasets"), join(tree.unitOutbox(kSharedOutbox), "messages"),
        join(tree.unitOutbox(kSharedOutbox), "updates")}) {
    if (int rc = makeFolders(tree.root, folder)) {
      why = "cannot make " + folder + ": " + platform::errorText(rc);
      return rc;
    }
  }
  if (int removed = sweepPartials(tree)) {
    log_.line(base::format("removed %d partial inbox folder(s) of sessions that did not end", removed));
  }
  if (int rc = platform::startSockets()) {
    why = base::format("sockets not started (error %d)", rc);
    return rc;
  }
  socketsStarted_ = true;
  int error = 0;
  // The backlog holds units arriving while the loop is busy accepting others.
  listener_ = platform::listenTcp(options_.listen, options_.port, 128, error);
  if (!listener_) {
    why = base::format("cannot listen on %s:%u (error %d)", options_.listen.c_str(),
                       static_cast<unsigned>(options_.port), error);
    return error;
  }
  log_.line(base::format("listening on %s:%u, root %s", options_.listen.c_str(),
                         static_cast<unsigned>(listener_->port()), tree.root.c_str()));
  return 0;
}

void HostServer::serve(platform::TcpSocket& socket, const std::string& peer) {
  SessionRecord r = serveUnit(socket, peer, context_);
  (void)socket.shutdownBoth();
  (void)socket.close();
  log_.session(r);
  ++served_;
  if (r.ok) ++kept_;
}

void HostServer::reap(bool all) {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (all || it->done.load()) {
      if (it->thread.joinable()) it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void HostServer::run() {
  if (!listener_) return;
  while (!stopping_.load()) {
    reap(false);
    std::unique_ptr<platform::TcpSocket> socket;
    std::string peer;
    int rc = listener_->accept(kAcceptSliceMs, socket, peer);
    if (rc == platform::kSocketTimedOut) continue;
    if (rc != 0) {
      // Out of descriptors and the like: pause rather than spin.
      log_.line(base::format("accept failed (error %d)", rc));
      platform::clock().sleep(kAcceptSliceMs);
      continue;
    }
    if (options_.once) {
      serve(*socket, peer);
      return;
    }
    if (active_.load() >= options_.maxConnections) {
      log_.line("refused " + peer + ": " + std::to_string(options_.maxConnections) + " units in session");
      (void)socket->close();
      continue;
    }
    Worker& w = workers_.emplace_back();
    ++active_;
    try {
      w.thread = std::thread([this, &w, s = std::move(socket), peer]() mutable {
        serve(*s, peer);
        s.reset();
        --active_;
        w.done.store(true);
      });
    } catch (const std::system_error&) {
      --active_;
      w.done.store(true);
      log_.line("refused " + peer + ": no thread for it");
    }
  }
}

}  // namespace host
