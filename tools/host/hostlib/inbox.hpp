#pragma once
// What one unit sends in one session, kept apart until the session ends well.
// Files are written under inbox/<unit>/.partial-<session>/, each flushed to
// the device; commit() flushes the folder and renames it to
// inbox/<unit>/<session>/ in one step; anything else removes it.
#include <cstdint>
#include <string>

#include "hostlib/host_tree.hpp"
#include "hostlib/session_names.hpp"
#include "platform/fileops.hpp"

namespace host {

class InboxSession {
 public:
  InboxSession(const HostTree& tree, std::string unit, SessionNamer& namer)
      : tree_(tree), unit_(std::move(unit)), namer_(namer) {}
  // Removes a partial folder not committed.
  ~InboxSession() { abandon(); }
  InboxSession(const InboxSession&) = delete;
  InboxSession& operator=(const InboxSession&) = delete;

  // Creates the partial folder under a fresh session name. 0 or the error code.
  [[nodiscard]] int open();
  bool isOpen() const { return !partial_.empty(); }
  const std::string& session() const { return session_; }
  const std::string& partialFolder() const { return partial_; }

  // Creates a new file of that (checked, plain) name in the partial folder.
  // A name already there is kErrFileExists: nothing is replaced.
  [[nodiscard]] int create(const std::string& name, platform::File& out);

  // Flushes the folder and renames it to its session name (a fresh name
  // when that one is taken). 0 with finalFolder set, or the error code (the
  // partial folder then stays for abandon()).
  [[nodiscard]] int commit(std::string& finalFolder);

  // Removes the partial folder and all in it (nothing once committed).
  void abandon();

 private:
  const HostTree& tree_;
  std::string unit_;
  SessionNamer& namer_;
  std::string session_;
  std::string partial_;
};

// Removes the partial folders a stopped server left (inbox/*/.partial-*);
// returns how many.
int sweepPartials(const HostTree& tree);

}  // namespace host
