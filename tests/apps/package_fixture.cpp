#include "apps/package_fixture.hpp"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "apps/package_format.hpp"
#include "base/le.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace package_test {

std::string gzip(const std::string& data, const GzipFields& fields) {
  z_stream s{};
  deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, MAX_WBITS + 16, 8, Z_DEFAULT_STRATEGY);
  std::string extra = fields.extra, name = fields.name, comment = fields.comment;
  gz_header h{};
  h.text = fields.text ? 1 : 0;
  h.time = 1600000000;
  h.os = 3;
  if (!extra.empty()) {
    h.extra = reinterpret_cast<Bytef*>(extra.data());
    h.extra_len = static_cast<uInt>(extra.size());
  }
  if (!name.empty()) h.name = reinterpret_cast<Bytef*>(name.data());
  if (!comment.empty()) h.comment = reinterpret_cast<Bytef*>(comment.data());
  h.hcrc = fields.headerCrc ? 1 : 0;
  deflateSetHeader(&s, &h);
  std::string out(deflateBound(&s, static_cast<uLong>(data.size())) + extra.size() + name.size() +
                      comment.size() + 64,
                  '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

std::string packageImage(const apps::TfaHeader& header, const std::vector<RawMember>& members) {
  std::string image(header.bytes().begin(), header.bytes().end());
  std::string directory(apps::kDirectorySize, '\0');
  image += directory;
  putU32(image, apps::kDirectoryOffset, static_cast<std::uint32_t>(members.size()));
  for (const auto& m : members) {
    std::string entry(apps::kEntrySize, '\0');
    std::copy_n(m.name.begin(), std::min(m.name.size(), apps::kEntryNameSize), entry.begin());
    base::putU32(reinterpret_cast<std::uint8_t*>(entry.data()) + apps::kEntryNextOffset,
                 static_cast<std::uint32_t>(image.size() + entry.size() + m.stored.size()));
    base::putU64(reinterpret_cast<std::uint8_t*>(entry.data()) + apps::kEntryTimeOffset,
                 m.modified);
    image += entry;
    image += m.stored;
  }
  return image;
}

apps::TfaHeader headerFor(const std::string& name8) {
  apps::TfaHeader h;
  h.setAppName(name8);
  h.setHasVersion(1);
  h.setAppVMajor(1);
  h.setAppVMinor(2);
  h.setAppBuild(3);
  h.setHierVer(7);
  return h;
}

std::int64_t entryOffset(const std::vector<RawMember>& members, int i) {
  std::int64_t offset = apps::kFirstEntryOffset;
  for (int k = 0; k < i; ++k)
    offset += apps::kEntrySize + static_cast<std::int64_t>(members[k].stored.size());
  return offset;
}

void putU32(std::string& image, std::int64_t offset, std::uint32_t value) {
  base::putU32(reinterpret_cast<std::uint8_t*>(image.data() + offset), value);
}

std::string requiredFilesTable(const std::vector<std::string>& names) {
  testing_support::TempDir dir;
  const std::string path = dir.file("ReqFiles.dbf");
  {
    tablestore::TableStore store;
    const tablestore::FieldSpec fields[] = {{"FILENAME", 'C', 60, 0}, {"NOTE", 'C', 10, 0}, {}};
    tablestore::Table* table = store.createTable(path, fields);
    if (table == nullptr) return {};
    for (const auto& name : names) {
      table->appendStart();
      table->fieldByNumber(1)->assignText(name);
      table->fieldByNumber(2)->assignText("note");
      table->append();
    }
    store.closeTable(table);
  }
  return testing_support::readBytes(path);
}

std::string sampleText(std::size_t bytes, unsigned seed) {
  static const char* words[] = {"PLOT",  "TREE", "SPECIES", "DBH", "HEIGHT", "CROWN",
                                "01",    "17",   "  ",      "N",   "Y",      "QUERCUS",
                                "PINUS", "3.25", "12.0",    "\r\n"};
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(bytes + 16);
  while (out.size() < bytes) {
    out += words[rng() % 16];
    out += ' ';
  }
  out.resize(bytes);
  return out;
}

std::vector<std::string> listFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace package_test
