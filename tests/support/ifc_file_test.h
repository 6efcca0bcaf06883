// The frame of the tests that drive the exports and the update through the
// exported functions: the built IFC2x2 schemas on the schema path, the
// reporter's messages captured, a temporary folder, and written files read
// back with their header time stamp and GlobalIds masked.
#ifndef KORVA_TESTS_SUPPORT_IFC_FILE_TEST_H
#define KORVA_TESTS_SUPPORT_IFC_FILE_TEST_H

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_util.h"

namespace korva {
namespace test {

class IfcFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sends the current reporter's messages to out_: every shutdown of the
  // interface object takes its reporter along, so calls that shut down are
  // followed by Capture().
  void Capture();
  std::string Messages() const { return out_.text(); }
  // How often `what` stands in the messages so far.
  int Occurrences(const std::string& what) const;

  std::string File(const std::string& name) const { return dir_.file(name); }
  // The file `name` of the test folder, its time stamp written '<stamp>' and
  // its GlobalIds '<guid>'; the GlobalIds, in file order, into `ids`.
  std::string Masked(const std::string& name, std::vector<std::string>* ids = nullptr) const;

  static char* S(const std::string& text) { return const_cast<char*>(text.c_str()); }

  TempDir dir_;
  CapturedStream out_, err_;
};

// The header section the exports write, up to its ENDSEC, as Masked()
// shows it: the host's description and author, organization "Korva Ltd",
// originating system "KORVA 9", authorization "none".
std::string ExpectedHeader(const std::string& name, const std::string& description, const std::string& author);

// The data records of an exchange file's text by instance number, each
// without its number and with its line ends removed.
std::map<int, std::string> DataRecords(const std::string& text);
// The records of one entity type ("IFCBEAM"), in instance-number order.
std::vector<std::string> RecordsOfType(const std::map<int, std::string>& records, const std::string& type);
// The records of `type` are as many as `parts`, and record i holds
// parts[i]; returns them.
std::vector<std::string> ExpectRecords(const std::map<int, std::string>& records, const std::string& type,
                                       const std::vector<std::string>& parts);
// The instance number of the last record that starts with `prefix`, 0 when
// none does.
int LastNumberOf(const std::map<int, std::string>& records, const std::string& prefix);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_IFC_FILE_TEST_H
