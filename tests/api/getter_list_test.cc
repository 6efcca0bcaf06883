// The getter lists of api/import_getters.h against the contract
// abi/exports.tsv: every getter and counter of the contract is listed with
// its result and argument types, and nothing else is listed.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "api/import_getters.h"

namespace {

struct Shape {
  std::string result, arguments;
  bool operator==(const Shape& o) const { return result == o.result && arguments == o.arguments; }
};

#define KORVA_LISTED_GETTER(Family, Field, Kind, table, member) {"Get" #Family #Field, {KORVA_GETTER_SHAPE_##Kind}},
#define KORVA_LISTED_COUNT(Name, value) {"Get" #Name, {KORVA_COUNT_SHAPE}},

const std::vector<std::pair<std::string, Shape>> kListed = {
    KORVA_BUILDING_COUNTS(KORVA_LISTED_COUNT) KORVA_BUILDING_GETTERS(KORVA_LISTED_GETTER)
    KORVA_ANALYSIS_COUNTS(KORVA_LISTED_COUNT) KORVA_ANALYSIS_GETTERS(KORVA_LISTED_GETTER)};

// The contract's functions of the families "count" and "getter-...".
std::map<std::string, Shape> ContractGetters() {
  std::map<std::string, Shape> getters;
  std::ifstream in(KORVA_SOURCE_DIR "/abi/exports.tsv");
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string item; std::getline(fields, item, '\t');) f.push_back(item);
    if (f.size() < 4 || (f[3] != "count" && f[3].rfind("getter-", 0) != 0)) continue;
    getters[f[0]] = {f[1], f[2]};
  }
  return getters;
}

TEST(GetterLists, DescribeEveryGetterOfTheContractOnce) {
  const std::map<std::string, Shape> contract = ContractGetters();
  ASSERT_EQ(contract.count("GetTotalBeams"), 1u) << "the contract was not read";
  std::map<std::string, Shape> listed;
  for (const auto& [name, shape] : kListed) {
    EXPECT_TRUE(listed.emplace(name, shape).second) << name << " is listed twice";
    auto it = contract.find(name);
    if (it == contract.end()) {
      ADD_FAILURE() << name << " is listed but not in the contract";
      continue;
    }
    EXPECT_EQ(shape.result, it->second.result) << name;
    EXPECT_EQ(shape.arguments, it->second.arguments) << name;
  }
  for (const auto& [name, shape] : contract) EXPECT_EQ(listed.count(name), 1u) << name << " is not listed";
}

}  // namespace
