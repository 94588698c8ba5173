#pragma once
// A file system that holds one file's bytes in memory: the table reader opens
// coordinate files read/write and mends stale headers on close, so the tool
// reads a copy and the data folder is never written.
#include <string>
#include <vector>

#include "platform/files.hpp"

namespace gislib {

class SnapshotFileSystem : public platform::FileSystem {
 public:
  // The file at path holds bytes; every other path is missing.
  SnapshotFileSystem(std::string path, std::string bytes);

  // Opens the one file (any access; writes change only the copy in memory);
  // kErrFileNotFound for any other path or a disposition that would create.
  int open(const std::string& path, platform::Access access, platform::Disposition disposition,
           std::unique_ptr<platform::FileHandle>& out) override;
  // The rest refuse with kErrAccessDenied (find: kErrFileNotFound), except
  // find of the one file's exact path and the write-time calls, which answer
  // without changing anything on disk.
  int copy(const std::string& from, const std::string& to, bool failIfExists) override;
  int move(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int makeFolder(const std::string& path) override;
  int removeFolder(const std::string& path) override;
  int find(const std::string& pattern, std::vector<platform::FindEntry>& out) override;
  int setWriteTime(const std::string& path, platform::FileTime time) override;
  int writeTime(const std::string& path, platform::FileTime& time) override;

  const std::string& bytes() const { return bytes_; }

 private:
  std::string path_;
  std::string bytes_;
};

}  // namespace gislib
