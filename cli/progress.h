// A progress line on standard error while a long read or write runs: a
// watcher thread looks at the position of the file being read or written
// (ftell, which the stream's own lock makes safe) five times a second and
// redraws "reading NAME: 45%" in place.  Shown only when standard error is
// a terminal and the file is large; otherwise nothing is printed at all.
#ifndef KORVA_CLI_PROGRESS_H
#define KORVA_CLI_PROGRESS_H

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace korva {
namespace cli {

class FileProgress {
 public:
  // Files below this size finish before a display would help.
  static constexpr long kThreshold = 4L << 20;

  // Watches `stream`; `total` is the expected size in bytes (the input's
  // size when writing).  `verb` and `name` make the line's label.
  FileProgress(std::FILE* stream, long total, const char* verb, const std::string& name);
  ~FileProgress();  // stops the watcher and clears the line
  FileProgress(const FileProgress&) = delete;
  FileProgress& operator=(const FileProgress&) = delete;

  bool shown() const { return watcher_.joinable(); }

 private:
  void watch();

  std::FILE* stream_;
  long total_;
  std::string label_;
  std::atomic<bool> done_{false};
  std::thread watcher_;
};

// The size of a file in bytes; -1 when it cannot be told.
long FileSize(const std::string& path);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_PROGRESS_H
