// Placing the data segment and completing the operands: the result area
// first, the declared items in order (numbers 8-aligned), the anonymous
// constants last; then the file's bytes.
#include <cstring>
#include <tuple>

#include "base/le.hpp"
#include "runtime/program_file.hpp"
#include "tfabuild/asm_unit.hpp"

namespace tfabuild::asmunit {

namespace {

constexpr std::uint32_t kResultArea = 512;

// Gives every item its offset; false (with an error) when the segment overflows.
[[nodiscard]] bool placeData(Unit& u, std::uint32_t& size) {
  std::uint32_t at = kResultArea;
  auto place = [&](DataItem& item) {
    if (item.kind == DataItem::Kind::Number) at = (at + 7) & ~7u;
    item.offset = at;
    at += item.size;
    if (at > runtime::kSegmentMax) {
      u.error(item.line, "data segment over 65534 bytes");
      return false;
    }
    return true;
  };
  for (DataItem& item : u.data)
    if (item.kind != DataItem::Kind::Anonymous && !place(item)) return false;
  for (DataItem& item : u.data)
    if (item.kind == DataItem::Kind::Anonymous && !place(item)) return false;
  size = at;
  return true;
}

const DataItem* dataNamed(const Unit& u, const std::string& name) {
  auto it = u.names.find(name);
  if (it == u.names.end() || it->second.kind != NameUse::Kind::Data) return nullptr;
  return &u.data[it->second.index];
}

void putOperand(Slot& s, std::uint32_t v) { base::putU32(s.in.operand.data(), v); }

void resolve(Unit& u, Slot& s) {
  using K = DataItem::Kind;
  if (s.fixup == Fixup::None) return;
  if (s.fixup == Fixup::Anonymous) {
    putOperand(s, u.data[u.anonymousItems[s.anonymous]].offset);
    return;
  }
  if (s.fixup == Fixup::Label) {
    auto it = u.names.find(s.name);
    if (it == u.names.end() || it->second.kind != NameUse::Kind::Label) {
      u.error(s.line, (it == u.names.end() ? "unknown label " : "not a label: ") + s.name);
      return;
    }
    base::putU16(s.in.operand.data(), static_cast<std::uint16_t>(u.labelIndex[it->second.index]));
    return;
  }
  const DataItem* item = dataNamed(u, s.name);
  if (!item) {
    bool isLabel = u.names.count(s.name) != 0;
    u.error(s.line, (isLabel ? "not a variable: " : "unknown variable ") + s.name);
    return;
  }
  switch (s.fixup) {
    case Fixup::NumberVar:
      if (item->kind != K::Number) {
        u.error(s.line, "not a numeric variable: " + s.name);
        return;
      }
      putOperand(s, u.header ? item->offset : item->offset / 8);
      return;
    case Fixup::Constant:
      if (item->kind != K::Constant) {
        u.error(s.line, "not a string constant: " + s.name);
        return;
      }
      putOperand(s, item->offset);
      return;
    case Fixup::StringVar:
      if (item->kind != K::String) {
        u.error(s.line, "not a string variable: " + s.name);
        return;
      }
      putOperand(s, item->offset | (item->size << 16));
      return;
    case Fixup::StringOffset:
      if (item->kind != K::String && item->kind != K::Constant) {
        u.error(s.line, "not a string: " + s.name);
        return;
      }
      putOperand(s, item->offset);
      return;
    default:
      return;
  }
}

}  // namespace

void layOut(Unit& u, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::uint32_t dataSize = 0;
  // Names are checked even when the data overflowed, so every error is told.
  (void)placeData(u, dataSize);
  for (Slot& s : u.code) resolve(u, s);

  std::uint32_t entry = u.entryIndex;
  if (u.entryLabel) {
    auto it = u.names.find(*u.entryLabel);
    if (it == u.names.end() || it->second.kind != NameUse::Kind::Label)
      u.error(u.entryLine, "unknown label " + *u.entryLabel);
    else
      entry = u.labelIndex[it->second.index];
  }
  if (!u.errors.empty()) return;

  std::size_t headerSize = u.header ? runtime::kHeaderSize : 0;
  std::size_t codeSize = u.code.size() * runtime::kInstructionSize;
  std::size_t total = headerSize + 4 + dataSize + codeSize;
  if (total >= runtime::kFileLimit) {
    u.error(u.code.empty() ? 1 : u.code.back().line,
            "program file of " + std::to_string(total) + " bytes: it must stay under 131069");
    return;
  }
  bytes.assign(total, 0);
  std::uint8_t* p = bytes.data();
  if (u.header) std::memcpy(p, "TFC", 3);
  p += headerSize;
  std::uint16_t d = static_cast<std::uint16_t>(dataSize), e = static_cast<std::uint16_t>(entry);
  if (u.segword) std::tie(d, e) = *u.segword;
  base::putU16(p, d);
  base::putU16(p + 2, e);
  p += 4;
  for (const DataItem& item : u.data) {
    std::uint8_t* at = p + item.offset;
    switch (item.kind) {
      case DataItem::Kind::Number: std::memcpy(at, &item.number, sizeof(double)); break;
      case DataItem::Kind::String:
      case DataItem::Kind::Constant:
      case DataItem::Kind::Anonymous:
      case DataItem::Kind::Reserve: std::memcpy(at, item.text.data(), item.text.size()); break;
    }
  }
  p += dataSize;
  for (const Slot& s : u.code) {
    runtime::encodeInstruction(s.in, p);
    p += runtime::kInstructionSize;
  }
  bytes.insert(bytes.end(), u.trailing.begin(), u.trailing.end());
}

}  // namespace tfabuild::asmunit
