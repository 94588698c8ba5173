#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it (test set-up; not through the program's layer).
void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);
// The names of the files (not folders) in folder, sorted.
std::vector<std::string> fileNamesIn(const std::string& folder);

}  // namespace testing_support
