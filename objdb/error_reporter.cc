#include "objdb/error_reporter.h"

#include <cstdlib>

#include "objdb/error_category.h"
#include "objdb/process_state.h"
#include "objdb/time_stamp.h"
#include "platform/platform.h"

namespace korva {
namespace {

const char* const kSeverityPrefix[] = {"", "", "warning: ", "error: ", "fatal: "};

const char* SeverityPrefix(int severity) {
  return (severity >= 0 && severity <= 4) ? kSeverityPrefix[severity] : "";
}

// Appends printf-style text to *out.
void AppendFormatted(std::string* out, const char* format, va_list args) {
  char small[512];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out->append(small, static_cast<size_t>(n));
    return;
  }
  size_t start = out->size();
  out->resize(start + static_cast<size_t>(n) + 1);
  std::vsnprintf(&(*out)[start], static_cast<size_t>(n) + 1, format, args);
  out->resize(start + static_cast<size_t>(n));
}

}  // namespace

void TarnDefaultContext::prefix(std::string* out) const { out->append("TARN: "); }

void TarnNamedContext::prefix(std::string* out) const {
  if (name_ == nullptr) {
    out->append("TARN: ");
  } else if (*name_ != '\0') {
    out->append(name_);
    out->append(": ");
  }
}

void TarnFileContext::prefix(std::string* out) const {
  char buf[32];
  if (file_ != nullptr && *file_ != '\0') {
    out->append(file_);
    if (line_ > 0) {
      std::snprintf(buf, sizeof buf, "(%d): ", line_);
      out->append(buf);
    } else {
      out->append(": ");
    }
  } else if (line_ > 0) {
    std::snprintf(buf, sizeof buf, "line %d: ", line_);
    out->append(buf);
  }
}

TarnErrorReporter::TarnErrorReporter() : out_(stdout), err_(stderr) {
  // Room for an ordinary message from the start, so that a report needs no
  // allocation (one that says memory ran out still gets through).
  line_.reserve(256);
  if (const char* log = platform::GetEnv("TARN_LOG")) {
    logName_ = log;
    logging(true);
  }
  debug_ = platform::GetEnv("TARN_DEBUG") != nullptr;
}

TarnErrorReporter::~TarnErrorReporter() { logging(false); }

void TarnErrorReporter::logfile(const char* name) { logName_ = name != nullptr ? name : ""; }

void TarnErrorReporter::logging(bool on) {
  char stamp[64];
  if (on) {
    if (log_ != nullptr) return;
    if (logName_.empty()) logName_ = "tarnlog";
    log_ = std::fopen(logName_.c_str(), "a");
    if (log_ == nullptr) {
      std::fprintf(err_, "TARN: Could not open logfile %s\n", logName_.c_str());
      return;
    }
    std::fprintf(err_, "TARN: Logging messages to '%s'\n", logName_.c_str());
    CurrentTimeStamp(stamp, sizeof stamp);
    std::fprintf(log_, "TARN: LOGGING BEGINS %s\n", stamp);
    std::fflush(log_);
  } else if (log_ != nullptr) {
    CurrentTimeStamp(stamp, sizeof stamp);
    std::fprintf(log_, "TARN: LOGGING ENDS %s\n", stamp);
    std::fclose(log_);
    log_ = nullptr;
  }
}

void TarnErrorReporter::pushContext(const TarnErrorContext* context) {
  contexts_.push_back(context);
}

void TarnErrorReporter::popContext() {
  if (!contexts_.empty()) contexts_.pop_back();
}

void TarnErrorReporter::report(const TarnErrorCategory& category, const TarnErrorEntry& entry,
                               va_list args) {
  const int severity = entry.severity;
  const int printLevel = category.printLevel() != 0 ? category.printLevel() : printLevel_;
  if (debug_ || severity >= printLevel) {
    line_.clear();
    (contexts_.empty() ? &defaultContext_ : contexts_.back())->prefix(&line_);
    line_.append(SeverityPrefix(severity));
    AppendFormatted(&line_, entry.format, args);
    line_.push_back('\n');
    std::fwrite(line_.data(), 1, line_.size(), out_);
    if (log_ != nullptr) {
      std::fwrite(line_.data(), 1, line_.size(), log_);
      std::fflush(log_);
    }
  }
  const int exitLevel = category.exitLevel() != 0 ? category.exitLevel() : exitLevel_;
  if (severity >= exitLevel) {
    std::fflush(out_);
    logging(false);
    TarnProcessState::processEnding();
    std::exit(1);
  }
  if (severity >= kError) {
    lastCode_ = entry.code;
    lastCategory_ = &category;
  }
}

TarnContextGuard::TarnContextGuard(TarnErrorReporter* reporter, const TarnErrorContext* context)
    : reporter_(reporter) {
  reporter_->pushContext(context);
}

TarnContextGuard::~TarnContextGuard() { reporter_->popContext(); }

}  // namespace korva
