#include "tablestore/table_store.hpp"

#include <algorithm>
#include <string>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "tablestore/table_open.hpp"
#include "ui/host.hpp"

namespace tablestore {

namespace {

// The table code for a failed open, from the system's reason.
int openFailure(int systemError) {
  switch (systemError) {
    case platform::kErrAccessDenied:
    case platform::kErrWriteProtect: return kErrOpenPermission;
    case platform::kErrSharingViolation:
    case platform::kErrLockViolation: return kErrOpenAccess;
    case platform::kErrTooManyOpenFiles: return kErrOpenHandles;
    case platform::kErrFileNotFound:
    case platform::kErrPathNotFound: return kErrOpenFind;
    default: return kErrOpen;
  }
}

std::string systemText(int systemError) {
  return systemError != 0 ? platform::errorText(systemError) : std::string();
}

}  // namespace

TableStore::TableStore(ui::Host* host) : host_(host) {}

TableStore::~TableStore() {
  display_ = false;
  closeAll();
}

int TableStore::init() {
  clearError();
  datePicture_ = kDefaultDatePicture;
  return kOk;
}

int TableStore::closeAll() {
  int first = kOk;
  for (;;) {
    Table* table = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (tables_.empty()) break;
      table = tables_.back().get();
    }
    clearError();
    int rc = closeTable(table);
    if (first == kOk) first = rc;
  }
  return first;
}

std::size_t TableStore::openCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return tables_.size();
}

Table* TableStore::findOpenLocked(std::string_view path) const {
  for (const auto& t : tables_)
    if (base::equalsNoCase(t->path(), path)) return t.get();
  return nullptr;
}

Table* TableStore::findOpen(std::string_view path) const {
  std::lock_guard<std::mutex> guard(lock_);
  return findOpenLocked(path);
}

Table* TableStore::adopt(std::unique_ptr<Table> table) {
  std::lock_guard<std::mutex> guard(lock_);
  tables_.push_back(std::move(table));
  return tables_.back().get();
}

int TableStore::raise(int code, int where, std::string_view a, std::string_view b,
                      std::string_view c) {
  error_.store(code);
  ui::Host* host = host_;
  if (!display_ || host == nullptr) return code;
  std::string text = "Error #: " + std::to_string(code) + "\nError #: " + std::to_string(where) +
                     "\n" + errorText(code);
  for (std::string_view extra : {a, b, c}) {
    if (extra.empty()) continue;
    text += '\n';
    text += extra;
  }
  unsigned flags = ui::kMbOk | ui::kMbIconStop | (code == kErrMemory ? ui::kMbSystemModal : 0u);
  if (host->messageBox(text, kErrorCaption, flags) == 0 && fatal_) fatal_();
  return code;
}

Table* TableStore::openTable(std::string_view path) {
  if (blocked()) return nullptr;
  std::string narrow(path);
  std::string wide = platform::toWide(narrow);
  if (narrow.empty()) {
    raise(kErrNullParameter, kAtOpen);
    return nullptr;
  }
  if (findOpen(narrow) != nullptr) {
    raise(kErrOpenDuplicate, kAtOpenDuplicate, wide);
    return nullptr;
  }
  TableFile file;
  if (int rc = file.open(wide, platform::Disposition::OpenExisting)) {
    raise(openFailure(rc), kAtOpen, wide, systemText(rc));
    return nullptr;
  }
  OpenedTable opened;
  int systemError = 0;
  if (int rc = readTable(file, opened, systemError)) {
    file.close();
    raise(rc, rc == kErrLength ? kAtOpenLength : kAtOpenHeader, wide, systemText(systemError));
    return nullptr;
  }
  return adopt(
      std::unique_ptr<Table>(new Table(*this, narrow, std::move(file), opened.layout, opened.count,
                                       opened.headerStale, opened.untidyTail)));
}

Table* TableStore::createTable(std::string_view path, std::span<const FieldSpec> fields) {
  if (blocked()) return nullptr;
  std::string narrow(path);
  std::string wide = platform::toWide(narrow);
  if (narrow.empty()) {
    raise(kErrNullParameter, kAtCreate);
    return nullptr;
  }
  if (findOpen(narrow) != nullptr) {
    raise(kErrCreate, kAtCreate, wide);
    return nullptr;
  }
  std::vector<std::uint8_t> image;
  TableLayout layout;
  if (int rc = buildHeader(fields, platform::clock().localTime(), image, layout)) {
    raise(rc, kAtCreateFields, wide);
    return nullptr;
  }
  TableFile file;
  if (int rc = file.open(wide, platform::Disposition::CreateNew)) {
    raise(kErrCreate, kAtCreate, wide, systemText(rc));
    return nullptr;
  }
  if (int rc = file.writeAt(0, image.data(), image.size())) {
    file.close();
    platform::deleteFile(wide);
    raise(kErrWrite, kAtCreateWrite, wide, systemText(rc));
    return nullptr;
  }
  return adopt(
      std::unique_ptr<Table>(new Table(*this, narrow, std::move(file), layout, 0, false, false)));
}

int TableStore::closeTable(Table* table) {
  if (int e = blocked()) return e;
  if (table == nullptr) return raise(kErrNullParameter, kAtClose);
  std::unique_ptr<Table> owned;
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = std::find_if(tables_.begin(), tables_.end(),
                           [table](const std::unique_ptr<Table>& t) { return t.get() == table; });
    if (it != tables_.end()) {
      owned = std::move(*it);
      tables_.erase(it);
    }
  }
  if (!owned) return raise(kErrParameter, kAtClose);
  return owned->close();
}

}  // namespace tablestore
