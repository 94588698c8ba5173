#include "app_fixture.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/files.hpp"
#include "tfabuild/build.hpp"

namespace apps_test {

std::string treesApp(const std::string& columns, const std::string& levelExtras, const std::string& topExtras) {
  return R"({ "application": { "name": "Trees" }, "levels": [ { "code": "A____", "table": "TREES", "columns": )" +
         columns + levelExtras + " } ]" + topExtras + " }";
}

namespace {

class SelectiveHandle : public platform::FileHandle {
 public:
  SelectiveHandle(std::unique_ptr<platform::FileHandle> inner, SelectiveFileSystem::Fault fault)
      : inner_(std::move(inner)), fault_(std::move(fault)) {}
  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    if (++reads_ == fault_.readNumber) {
      if (fault_.readError != 0) return fault_.readError;
      if (fault_.shortRead && count > 0) return inner_->read(buffer, count - 1, done);
    }
    return inner_->read(buffer, count, done);
  }
  int write(const void* buffer, std::size_t count, std::size_t& done) override { return inner_->write(buffer, count, done); }
  int seek(std::int64_t distance, platform::SeekFrom from, std::int64_t& position) override {
    return inner_->seek(distance, from, position);
  }
  int size(std::int64_t& bytes) override { return inner_->size(bytes); }
  int setSize(std::int64_t bytes) override { return inner_->setSize(bytes); }
  int flush() override { return inner_->flush(); }
  int close() override { return inner_->close(); }

 private:
  std::unique_ptr<platform::FileHandle> inner_;
  SelectiveFileSystem::Fault fault_;
  int reads_ = 0;
};

}  // namespace

const SelectiveFileSystem::Fault* SelectiveFileSystem::faultFor(const std::string& path) const {
  for (const auto& f : faults_) {
    if (path.size() >= f.suffix.size() &&
        base::equalsNoCase(std::string_view(path).substr(path.size() - f.suffix.size()), f.suffix)) {
      return &f;
    }
  }
  return nullptr;
}

int SelectiveFileSystem::open(const std::string& path, platform::Access access, platform::Disposition disposition,
                              std::unique_ptr<platform::FileHandle>& out) {
  opened_.push_back(path);
  const Fault* fault = faultFor(path);
  if (fault != nullptr && fault->openError != 0) return fault->openError;
  int rc = platform::nativeFileSystem().open(path, access, disposition, out);
  if (rc == 0 && fault != nullptr) out = std::make_unique<SelectiveHandle>(std::move(out), *fault);
  return rc;
}
int SelectiveFileSystem::copy(const std::string& from, const std::string& to, bool failIfExists) {
  return platform::nativeFileSystem().copy(from, to, failIfExists);
}
int SelectiveFileSystem::move(const std::string& from, const std::string& to) {
  return platform::nativeFileSystem().move(from, to);
}
int SelectiveFileSystem::remove(const std::string& path) { return platform::nativeFileSystem().remove(path); }
int SelectiveFileSystem::makeFolder(const std::string& path) { return platform::nativeFileSystem().makeFolder(path); }
int SelectiveFileSystem::removeFolder(const std::string& path) {
  return platform::nativeFileSystem().removeFolder(path);
}
int SelectiveFileSystem::find(const std::string& pattern, std::vector<platform::FindEntry>& out) {
  return platform::nativeFileSystem().find(pattern, out);
}
int SelectiveFileSystem::setWriteTime(const std::string& path, platform::FileTime time) {
  return platform::nativeFileSystem().setWriteTime(path, time);
}
int SelectiveFileSystem::writeTime(const std::string& path, platform::FileTime& time) {
  return platform::nativeFileSystem().writeTime(path, time);
}

std::string AppTest::path(const std::string& name) const { return base::joinPath(folder(), name, platform::kSep); }

void AppTest::build(const std::string& json) {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = folder();
  ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
}

std::string AppTest::readFile(const std::string& name) const { return testing_support::readBytes(path(name)); }

void AppTest::writeFile(const std::string& name, const std::string& bytes) const {
  testing_support::writeBytes(path(name), bytes);
}

apps::LevelLoad AppTest::loadRoot(std::string& nameOut) {
  EXPECT_EQ(app.loadAppCtl(folder()), 0);
  return app.loadLevel(folder(), 1, nameOut);
}

}  // namespace apps_test
