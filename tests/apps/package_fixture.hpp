#pragma once
// Builders for package tests: gzip streams with chosen header fields (made by
// zlib itself, so the reader is checked against an independent writer),
// package images from raw member bytes, and required-files tables.
#include <cstdint>
#include <string>
#include <vector>

#include "apps/tfa_header.hpp"
#include "platform/files.hpp"

namespace package_test {

struct GzipFields {
  bool text = false;
  std::string extra{};    // FEXTRA when not empty
  std::string name{};     // FNAME when not empty
  std::string comment{};  // FCOMMENT when not empty
  bool headerCrc = false;
};

// data as one gzip stream, its header written by zlib's deflateSetHeader.
std::string gzip(const std::string& data, const GzipFields& fields = {});

// A member with its stored bytes given as they are (any bytes at all).
struct RawMember {
  std::string name;
  std::string stored;
  platform::FileTime modified = 0;
};

// Header, directory block and members, each entry's `next` set right.
std::string packageImage(const apps::TfaHeader& header, const std::vector<RawMember>& members);

// A header naming the package file name8.
apps::TfaHeader headerFor(const std::string& name8);

// Offsets into a packageImage: entry i's start (members stored as given).
std::int64_t entryOffset(const std::vector<RawMember>& members, int i);

void putU32(std::string& image, std::int64_t offset, std::uint32_t value);

// The bytes of a required-files table (one character field, one name per
// record), made with table storage in a scratch folder.
std::string requiredFilesTable(const std::vector<std::string>& names);

// Text that compresses like control files and tables do.
std::string sampleText(std::size_t bytes, unsigned seed = 1);

// Names of the entries in folder (files and folders), sorted.
std::vector<std::string> listFolder(const std::string& folder);

}  // namespace package_test
