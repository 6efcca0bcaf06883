// Exchange-file text taken apart for comparisons: the data instances by
// number, each with its type and its top-level attribute values as written.
#ifndef KORVA_TESTS_SUPPORT_STEP_TEXT_H
#define KORVA_TESTS_SUPPORT_STEP_TEXT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korva {
namespace test {

struct StepInstance {
  std::string type;                 // as written ("IFCWALL")
  std::vector<std::string> values;  // each attribute's text ("$", "#12", "('a',1.)")
  bool operator==(const StepInstance& o) const { return type == o.type && values == o.values; }
};

// The simple instances of the DATA section(s), by number.
std::map<uint32_t, StepInstance> DataInstances(const std::string& text);

// The names of FILE_SCHEMA, in order.
std::vector<std::string> FileSchemas(const std::string& text);

// The number of instances of each type, by type.
std::map<std::string, int> CountByType(const std::map<uint32_t, StepInstance>& instances);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_STEP_TEXT_H
