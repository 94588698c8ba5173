#include "hostlib/outbox.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "transfer/received_names.hpp"
#include "transfer/wire_text.hpp"

namespace host {

namespace {

constexpr std::size_t kMaxEntries = 65535;

bool isProgramFile(const std::string& name) {
  return base::equalsNoCase(name, "Tallyfin PC.exe") || base::equalsNoCase(name, "tallyfin");
}

// Names the unit reads as its own steps of the session, not as files.
bool reservedName(const std::string& name) {
  const std::string upper = base::toUpper(name);
  return upper == base::toUpper(transfer::kHostControlFileName) || upper.rfind("XFER_COMPLETE", 0) == 0;
}

bool unitHas(const transfer::ControlFile& control, const std::string& name, std::uint64_t size) {
  for (const auto& e : control.entries) {
    if (e.fileSize() == size && base::equalsNoCase(e.name(), name)) return true;
  }
  return false;
}

// The plain files of folder, sorted by name in any case.
std::vector<platform::FindEntry> filesIn(const std::string& folder, bool folders) {
  std::vector<platform::FindEntry> out;
  if (platform::findFiles(join(folder, "*"), out) != 0) return {};
  std::erase_if(out, [&](const platform::FindEntry& e) { return e.isLink || e.isFolder != folders; });
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return base::toUpper(a.name) < base::toUpper(b.name);
  });
  return out;
}

class OfferBuilder {
 public:
  OfferBuilder(const transfer::ControlFile& control, OfferNotes& notes) : control_(control), notes_(notes) {}

  void add(const std::string& folder, std::uint8_t type, bool perUnit, const std::string& app) {
    for (const auto& e : filesIn(folder, false)) {
      const std::string path = join(folder, e.name);
      if (!transfer::plainReceivedName(e.name) || reservedName(e.name)) {
        notes_.skipped.push_back(path + ": name a unit may not receive");
        continue;
      }
      if (e.size > 0xFFFFFFFFull) {
        notes_.skipped.push_back(path + ": above 4 GiB");
        continue;
      }
      if (!perUnit && unitHas(control_, e.name, e.size)) continue;
      const std::string upper = base::toUpper(e.name);
      if (std::find(names_.begin(), names_.end(), upper) != names_.end()) {
        notes_.skipped.push_back(path + ": a file of that name goes already");
        continue;
      }
      if (out_.size() >= kMaxEntries || total_ + e.size > 0xFFFFFFFFull) {
        notes_.skipped.push_back(path + ": left for a later session (offer full)");
        continue;
      }
      OfferedFile f;
      f.path = path;
      f.name = e.name;
      f.type = type;
      f.size = static_cast<std::uint32_t>(e.size);
      f.writeTime = e.writeTime;
      f.folder = app.empty() && type == transfer::kEntryDataset ? bracketApplication(e.name) : app;
      if (!transfer::fitsField(f.folder, transfer::ControlEntry::kFolderSize)) f.folder.clear();
      f.perUnit = perUnit;
      total_ += e.size;
      names_.push_back(upper);
      out_.push_back(std::move(f));
    }
  }

  // Datasets lie in the kind's folder itself or in a folder per application.
  void addDatasets(const std::string& folder, bool perUnit) {
    add(folder, transfer::kEntryDataset, perUnit, "");
    for (const auto& sub : filesIn(folder, true)) {
      if (!transfer::plainReceivedName(sub.name)) continue;
      add(join(folder, sub.name), transfer::kEntryDataset, perUnit, sub.name);
    }
  }

  // Puts the program file first among the updates listed from index from.
  void programFirst(std::size_t from) {
    std::stable_partition(out_.begin() + static_cast<std::ptrdiff_t>(from), out_.end(),
                          [](const OfferedFile& f) { return isProgramFile(f.name); });
  }

  std::size_t size() const { return out_.size(); }
  std::vector<OfferedFile> take() { return std::move(out_); }

 private:
  const transfer::ControlFile& control_;
  OfferNotes& notes_;
  std::vector<OfferedFile> out_;
  std::vector<std::string> names_;
  std::uint64_t total_ = 0;
};

}  // namespace

std::string bracketApplication(const std::string& name) {
  if (name.empty() || name[0] != '[') return "";
  std::size_t close = name.find(']');
  if (close == std::string::npos) return "";
  return name.substr(1, close - 1);
}

std::vector<OfferedFile> listOffer(const HostTree& tree, const std::string& unit,
                                   const transfer::ControlFile& unitControl, OfferNotes& notes) {
  OfferBuilder b(unitControl, notes);
  const std::string own = tree.unitOutbox(unit);
  const std::string shared = tree.unitOutbox(kSharedOutbox);
  if (unitControl.header.requestUpdate()) {
    b.add(join(own, "updates"), transfer::kEntryUpdate, true, "");
    b.add(join(shared, "updates"), transfer::kEntryUpdate, false, "");
    b.programFirst(0);
  }
  b.add(join(own, "apps"), transfer::kEntryApplication, true, "");
  b.add(join(shared, "apps"), transfer::kEntryApplication, false, "");
  b.addDatasets(join(own, "datasets"), true);
  b.addDatasets(join(shared, "datasets"), false);
  b.add(join(own, "messages"), transfer::kEntryMessage, true, "");
  b.add(join(shared, "messages"), transfer::kEntryMessage, false, "");
  return b.take();
}

int markSent(const HostTree& tree, const std::string& unit, const std::string& session,
             const std::vector<OfferedFile>& delivered) {
  const std::string sent = join(join(tree.unitOutbox(unit), "sent"), session);
  bool made = false;
  int first = 0;
  for (const auto& f : delivered) {
    if (!f.perUnit) continue;
    if (!made) {
      if (int rc = makeFolders(tree.root, sent)) return rc;
      made = true;
    }
    int rc = platform::moveFile(f.path, join(sent, f.name));
    if (rc != 0 && first == 0) first = rc;
  }
  return first;
}

}  // namespace host
