#include "cli/progress.h"

#include <chrono>

#include "platform/platform.h"

namespace korva {
namespace cli {

FileProgress::FileProgress(std::FILE* stream, long total, const char* verb, const std::string& name)
    : stream_(stream), total_(total), label_(std::string(verb) + " " + name) {
  if (stream_ != nullptr && total_ >= kThreshold && platform::IsTerminal(stderr))
    watcher_ = std::thread(&FileProgress::watch, this);
}

FileProgress::~FileProgress() {
  if (!watcher_.joinable()) return;
  done_ = true;
  watcher_.join();
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(label_.size()) + 8, "");
  std::fflush(stderr);
}

void FileProgress::watch() {
  using namespace std::chrono_literals;
  while (!done_) {
    const long at = std::ftell(stream_);
    if (at >= 0) {
      const long percent = at >= total_ ? 100 : at / (total_ / 100);
      std::fprintf(stderr, "\r%s: %3ld%%", label_.c_str(), percent);
      std::fflush(stderr);
    }
    for (int i = 0; i < 4 && !done_; ++i) std::this_thread::sleep_for(50ms);
  }
}

long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  std::fclose(f);
  return size;
}

}  // namespace cli
}  // namespace korva
