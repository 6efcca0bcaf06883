#include "support/test_util.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace korva {
namespace test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "korva-test-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  path_ = mkdtemp(buf.data()) != nullptr ? buf.data() : "";
}

namespace {
// With KORVA_KEEP_TEST_FILES naming a folder, the IFC files a test leaves in
// its temporary folder are kept there under the test's name, so that the
// files every test writes can be collected and compared between builds.
void KeepFiles(const std::string& from) {
  const char* keep = std::getenv("KORVA_KEEP_TEST_FILES");
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (keep == nullptr || *keep == '\0' || test == nullptr) return;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path to = fs::path(keep) / (std::string(test->test_suite_name()) + "." + test->name());
  for (const auto& entry : fs::recursive_directory_iterator(from, ec)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".ifc" && ext != ".stp")) continue;
    fs::create_directories(to, ec);
    fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
  }
}
}  // namespace

TempDir::~TempDir() {
  std::error_code ec;
  if (path_.empty()) return;
  KeepFiles(path_);
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& contents) const {
  std::ofstream(file(name), std::ios::binary) << contents;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string CapturedStream::text() const {
  std::fflush(file_);
  long end = std::ftell(file_);
  std::string out(static_cast<size_t>(end > 0 ? end : 0), '\0');
  std::rewind(file_);
  size_t n = std::fread(&out[0], 1, out.size(), file_);
  out.resize(n);
  std::fseek(file_, 0, SEEK_END);
  return out;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  const char* old = std::getenv(name);
  had_ = old != nullptr;
  if (had_) old_ = old;
  if (value != nullptr) setenv(name, value, 1);
  else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (had_) setenv(name_.c_str(), old_.c_str(), 1);
  else unsetenv(name_.c_str());
}

}  // namespace test
}  // namespace korva
