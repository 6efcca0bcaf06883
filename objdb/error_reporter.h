// The error reporter: every diagnostic of the object database and of the
// exchange-file readers and writers goes through it.
//
// A message has a severity (1 message, 2 warning, 3 error, 4 fatal) and is
// either an entry of a category's numbered table or a free text.  The
// reporter prefixes it with the text of the top context ("TARN: " by default)
// and the severity prefix, prints it on its output (standard output) when the
// severity reaches the print level, copies it into the log file while logging
// is on, and ends the process with exit status 1 (the log closed first) when
// the severity reaches the exit level.  Errors and fatals that do not end the
// process are kept as the last error.
//
// The interface object owns the one reporter of the process (TARN().reporter());
// destroying it switches logging off.
#ifndef KORVA_OBJDB_ERROR_REPORTER_H
#define KORVA_OBJDB_ERROR_REPORTER_H

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace korva {

enum TarnSeverity { kMessage = 1, kWarning = 2, kError = 3, kFatal = 4 };

struct TarnErrorEntry {
  int code;
  int severity;
  const char* format;
};

// Supplies the text written before every message while it is the top context.
class TarnErrorContext {
 public:
  virtual ~TarnErrorContext() = default;
  virtual void prefix(std::string* out) const = 0;
};

// "TARN: ", the reporter's default.
class TarnDefaultContext : public TarnErrorContext {
 public:
  void prefix(std::string* out) const override;
};

// "<name>: ", or "TARN: " without a name.  An empty name (not null) gives no
// prefix at all; the banner is reported under such a context.
class TarnNamedContext : public TarnErrorContext {
 public:
  explicit TarnNamedContext(const char* name) : name_(name) {}
  void prefix(std::string* out) const override;

 private:
  const char* name_;
};

// Position in a file being read: "file(line): ", "file: " or "line N: ".
// The reader updates the line as it goes; a line of 0 means none.
class TarnFileContext : public TarnErrorContext {
 public:
  TarnFileContext(const char* file, int line) : file_(file), line_(line) {}
  void setLine(int line) { line_ = line; }
  void prefix(std::string* out) const override;

 private:
  const char* file_;
  int line_;
};

class TarnErrorCategory;

class TarnErrorReporter {
 public:
  // Reads TARN_LOG (log file name; logging starts at once) and TARN_DEBUG
  // (print every message) from the environment.
  TarnErrorReporter();
  ~TarnErrorReporter();  // switches logging off
  TarnErrorReporter(const TarnErrorReporter&) = delete;
  TarnErrorReporter& operator=(const TarnErrorReporter&) = delete;

  // Formats and issues one message of `entry` from `category`.
  void report(const TarnErrorCategory& category, const TarnErrorEntry& entry, va_list args);

  // Log file name (copied); takes effect the next time logging starts.
  void logfile(const char* name);
  const std::string& logfileName() const { return logName_; }
  // Opens (appending) or closes the log file with its begin and end lines.
  void logging(bool on);
  bool isLogging() const { return log_ != nullptr; }

  int printLevel() const { return printLevel_; }
  void setPrintLevel(int level) { printLevel_ = level; }
  int exitLevel() const { return exitLevel_; }
  void setExitLevel(int level) { exitLevel_ = level; }
  bool debug() const { return debug_; }
  void setDebug(bool on) { debug_ = on; }

  // Code and category of the last message of severity 3 or more (0, null
  // before any).
  int lastErrorCode() const { return lastCode_; }
  const TarnErrorCategory* lastErrorCategory() const { return lastCategory_; }

  // The top context supplies the prefix; the caller keeps ownership.
  void pushContext(const TarnErrorContext* context);
  void popContext();

  // Where messages and the logging notices go (standard output and standard
  // error unless redirected).
  void setStreams(std::FILE* out, std::FILE* err) { out_ = out; err_ = err; }
  std::FILE* errorStream() const { return err_; }

 private:
  std::string logName_;
  std::FILE* log_ = nullptr;
  int printLevel_ = 1;
  int exitLevel_ = 3;
  bool debug_ = false;
  int lastCode_ = 0;
  const TarnErrorCategory* lastCategory_ = nullptr;
  TarnDefaultContext defaultContext_;
  std::vector<const TarnErrorContext*> contexts_;
  std::FILE* out_;
  std::FILE* err_;
  std::string line_;  // message being built, reused between reports (room
                      // for a short one is reserved at construction)
};

// Pushes a context for the lifetime of the guard.
class TarnContextGuard {
 public:
  TarnContextGuard(TarnErrorReporter* reporter, const TarnErrorContext* context);
  ~TarnContextGuard();
  TarnContextGuard(const TarnContextGuard&) = delete;
  TarnContextGuard& operator=(const TarnContextGuard&) = delete;

 private:
  TarnErrorReporter* reporter_;
};

}  // namespace korva

#endif  // KORVA_OBJDB_ERROR_REPORTER_H
