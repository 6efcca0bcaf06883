#include "support/step_text.h"

#include <cstdlib>

namespace korva {
namespace test {
namespace {

// The end of the statement starting at `i` (its ';'), quotes respected.
size_t StatementEnd(const std::string& text, size_t i) {
  bool quoted = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\'') quoted = !quoted;
    else if (c == ';' && !quoted) return i;
  }
  return text.size();
}

// The top-level values of "(a,b,(c,d))".
std::vector<std::string> SplitValues(const std::string& list) {
  std::vector<std::string> values;
  std::string value;
  int depth = 0;
  bool quoted = false;
  for (size_t i = 1; i + 1 < list.size(); ++i) {
    const char c = list[i];
    if (quoted) {
      value += c;
      if (c == '\'') quoted = false;
      continue;
    }
    if (c == '\n' || c == '\r' || c == ' ') continue;
    if (c == '\'') quoted = true;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      values.push_back(value);
      value.clear();
      continue;
    }
    value += c;
  }
  if (!value.empty() || !values.empty()) values.push_back(value);
  return values;
}

}  // namespace

std::map<uint32_t, StepInstance> DataInstances(const std::string& text) {
  std::map<uint32_t, StepInstance> instances;
  size_t data = text.find("\nDATA");
  size_t i = data == std::string::npos ? text.size() : data;
  while (i < text.size()) {
    const size_t hash = text.find("\n#", i);
    if (hash == std::string::npos) break;
    const size_t end = StatementEnd(text, hash + 1);
    const std::string statement = text.substr(hash + 1, end - hash - 1);
    i = end;
    const size_t eq = statement.find('=');
    if (eq == std::string::npos) continue;
    const uint32_t number = static_cast<uint32_t>(std::strtoul(statement.c_str() + 1, nullptr, 10));
    const size_t open = statement.find('(', eq);
    if (open == std::string::npos || open == eq + 1) continue;  // complex instances are left out
    StepInstance& s = instances[number];
    s.type = statement.substr(eq + 1, open - eq - 1);
    s.values = SplitValues(statement.substr(open));
  }
  return instances;
}

std::vector<std::string> FileSchemas(const std::string& text) {
  std::vector<std::string> names;
  const size_t at = text.find("FILE_SCHEMA");
  if (at == std::string::npos) return names;
  const size_t end = StatementEnd(text, at);
  for (size_t i = text.find('\'', at); i < end && i != std::string::npos; i = text.find('\'', i)) {
    const size_t close = text.find('\'', i + 1);
    names.push_back(text.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  return names;
}

std::map<std::string, int> CountByType(const std::map<uint32_t, StepInstance>& instances) {
  std::map<std::string, int> counts;
  for (const auto& [number, s] : instances) ++counts[s.type];
  return counts;
}

}  // namespace test
}  // namespace korva
