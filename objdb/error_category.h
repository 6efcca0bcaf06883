// A category of messages: a table of numbered entries with its own print and
// exit levels (0: use the reporter's).  Two categories exist, the database
// messages (codes from 1001) and the exchange-file messages (codes from
// 2001), both defined in message_tables.cc.
//
// Reports go to the reporter of the interface object, which is made on first
// use; reporting never initialises the rest of the library.
#ifndef KORVA_OBJDB_ERROR_CATEGORY_H
#define KORVA_OBJDB_ERROR_CATEGORY_H

#include <cstdarg>

#include "objdb/error_reporter.h"

namespace korva {

class TarnErrorCategory {
 public:
  constexpr TarnErrorCategory(const char* name, const TarnErrorEntry* table, int count,
                              int printLevel, int exitLevel)
      : name_(name), table_(table), count_(count), printLevel_(printLevel),
        exitLevel_(exitLevel) {}

  const char* name() const { return name_; }
  int count() const { return count_; }
  const TarnErrorEntry& entry(int i) const { return table_[i]; }
  // The entry with `code` (linear search in table order), or null.
  const TarnErrorEntry* find(int code) const;
  int printLevel() const { return printLevel_; }
  int exitLevel() const { return exitLevel_; }

  // Reports the entry with `code`; an unknown code prints
  // "TarnErrorReporter::Unknown error code %d" on the error stream only.
  void report(int code, ...) const;
  void vreport(int code, va_list args) const;

  // Free-text messages with code -1 and severities 4, 3, 2, 1.
  void fatal(const char* format, ...) const;
  void error(const char* format, ...) const;
  void warning(const char* format, ...) const;
  void message(const char* format, ...) const;
  void vtext(int severity, const char* format, va_list args) const;

 private:
  const char* name_;
  const TarnErrorEntry* table_;
  int count_;
  int printLevel_;
  int exitLevel_;
};

// The two categories.
const TarnErrorCategory& DatabaseMessages();
const TarnErrorCategory& ExchangeMessages();

}  // namespace korva

#endif  // KORVA_OBJDB_ERROR_CATEGORY_H
