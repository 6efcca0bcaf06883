// What the reader tests share: the library set up with the compiled
// schemas, the reporter's output captured, exchange files read from text,
// and designs saved, read back and saved again.
#ifndef KORVA_TESTS_EXCHANGE_PART21_READ_FIXTURE_H
#define KORVA_TESTS_EXCHANGE_PART21_READ_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "objdb/design.h"
#include "support/test_util.h"

namespace korva {
namespace test {

class Part21ReadTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A whole exchange file from text; messages name the file "in.ifc".
  TarnDesign* ReadText(const std::string& text, const char* name = "read");
  // Instance statements read in a file with the header kHeader.
  TarnDesign* ReadData(const std::string& data, const char* name = "read") {
    return ReadText(File(data), name);
  }
  // A file around instance statements and header records.
  static std::string File(const std::string& data, const std::string& header = kHeader);
  // FILE_DESCRIPTION, FILE_NAME and FILE_SCHEMA of an IFC2x2 file, four
  // lines in all with the two frame lines before them: the first data line
  // of File() is line 8.
  static const std::string kHeader;

  // Messages reported since the last call.
  std::string Messages();
  // Each of `parts` occurs in `text` (a failure for each one missing).
  static void ExpectContains(const std::string& text, std::initializer_list<const char*> parts);
  // The exchange-file text the writer makes of `design`.
  static std::string Written(TarnDesign* design);

  // The instance numbered `number` of type T, or null.
  template <class T>
  static T* Get(TarnDesign* d, std::uint32_t number) {
    ListOfTarnObject all;
    d->findObjects(&all, d->findDomain(T::classType.name()), false);
    for (std::uint32_t i = 0; i < all.count(); ++i)
      if (all.get(i)->instanceNumber() == number) return typecast<T>(all.get(i));
    return nullptr;
  }

  // A new design "name.ifc" of the IFC2x2 schema, saved in the "step" format.
  static TarnDesign* NewIfcDesign(const char* name);

  // Saves `design` (an IFC design made by the test), reads the file back,
  // saves that design again; both texts with time stamps and file names
  // masked.  `second` is empty when the file did not read.
  struct Trip {
    std::string first, second;
  };
  Trip SaveReadSave(TarnDesign* design);

  CapturedStream out_, err_;
  std::size_t seen_ = 0;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_EXCHANGE_PART21_READ_FIXTURE_H
