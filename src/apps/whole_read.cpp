#include "apps/whole_read.hpp"

namespace apps {

WholeRead openExact(const std::string& path, std::int64_t expectedSize, platform::File& file) {
  if (!platform::fileExists(path)) return WholeRead::Missing;
  file = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!file.isOpen()) return WholeRead::Open;
  std::int64_t size = file.size();
  if (size < 0) return WholeRead::Read;
  if (size != expectedSize) return WholeRead::Size;
  return WholeRead::Ok;
}

WholeRead readPart(platform::File& file, void* buffer, std::size_t size) {
  std::size_t done = 0;
  if (file.read(buffer, size, done) != 0) return WholeRead::Read;
  return done == size ? WholeRead::Ok : WholeRead::Short;
}

WholeRead readExactImage(const std::string& path, void* buffer, std::size_t size) {
  platform::File file;
  WholeRead r = openExact(path, static_cast<std::int64_t>(size), file);
  if (r == WholeRead::Ok) r = readPart(file, buffer, size);
  file.close();
  return r;
}

}  // namespace apps
