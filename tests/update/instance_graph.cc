#include "update/instance_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <unordered_map>

#include "support/ifc_file_test.h"

namespace korva {
namespace test {

namespace {

struct Raw {
  std::string type;  // empty for a complex instance
  std::string body;  // text after '='
};

// The data records of an exchange file's text, each with its type.
std::unordered_map<long, Raw> ReadStatements(const std::string& text) {
  std::unordered_map<long, Raw> out;
  for (const auto& record : DataRecords(text)) {
    Raw& raw = out[record.first];
    raw.body = record.second;
    const size_t paren = raw.body.find('(');
    if (paren != std::string::npos && paren > 0) raw.type = raw.body.substr(0, paren);
  }
  return out;
}

// The GlobalId of a rooted instance: its first attribute, a 22-character
// string.  Empty for others.
std::string RootedId(const Raw& raw) {
  if (raw.type.empty()) return "";
  size_t open = raw.body.find('(');
  if (open + 24 > raw.body.size() || raw.body[open + 1] != '\'' || raw.body[open + 24] != '\'') return "";
  return raw.body.substr(open + 2, 22);
}

class Forms {
 public:
  explicit Forms(const std::unordered_map<long, Raw>& raw) : raw_(raw) {}

  std::string form(long number) {
    auto done = forms_.find(number);
    if (done != forms_.end()) return done->second;
    const Raw& r = raw_.at(number);
    forms_[number] = "<cycle>";
    std::string out;
    bool inString = false;
    for (size_t i = 0; i < r.body.size(); ++i) {
      char c = r.body[i];
      if (c == '\'') inString = !inString;
      if (!inString && c == '#') {
        size_t j = i + 1;
        while (j < r.body.size() && std::isdigit(static_cast<unsigned char>(r.body[j]))) ++j;
        long target = std::strtol(r.body.c_str() + i + 1, nullptr, 10);
        out += key(target);
        i = j - 1;
        continue;
      }
      out += c;
    }
    forms_[number] = out;
    return out;
  }

  std::string key(long number) {
    auto it = raw_.find(number);
    if (it == raw_.end()) return "<dangling>";
    std::string id = RootedId(it->second);
    if (!id.empty()) return "@" + id;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%016zx", std::hash<std::string>()(form(number)));
    return "<" + it->second.type + ":" + buffer + ">";
  }

 private:
  const std::unordered_map<long, Raw>& raw_;
  std::unordered_map<long, std::string> forms_;
};

std::vector<std::string> TypesOf(const std::vector<std::string>& forms) {
  std::vector<std::string> types;
  for (const std::string& f : forms) types.push_back(f.substr(0, f.find('(')));
  std::sort(types.begin(), types.end());
  return types;
}

}  // namespace

InstanceGraph ReadInstanceGraph(const std::string& path) {
  InstanceGraph graph;
  const std::string text = ReadFile(path);
  EXPECT_FALSE(text.empty()) << path;
  std::unordered_map<long, Raw> raw = ReadStatements(text);
  Forms forms(raw);
  for (const auto& entry : raw) {
    ++graph.forms[forms.form(entry.first)];
    ++graph.instances;
  }
  return graph;
}

std::vector<std::string> GraphDiff::addedTypes() const { return TypesOf(added); }
std::vector<std::string> GraphDiff::removedTypes() const { return TypesOf(removed); }

std::string GraphDiff::describe() const {
  std::string out;
  for (const std::string& f : added) out += "  + " + f + "\n";
  for (const std::string& f : removed) out += "  - " + f + "\n";
  return out;
}

GraphDiff Compare(const InstanceGraph& before, const InstanceGraph& after) {
  GraphDiff diff;
  for (const auto& entry : after.forms) {
    auto b = before.forms.find(entry.first);
    int extra = entry.second - (b == before.forms.end() ? 0 : b->second);
    for (int i = 0; i < extra; ++i) diff.added.push_back(entry.first);
  }
  for (const auto& entry : before.forms) {
    auto a = after.forms.find(entry.first);
    int missing = entry.second - (a == after.forms.end() ? 0 : a->second);
    for (int i = 0; i < missing; ++i) diff.removed.push_back(entry.first);
  }
  return diff;
}

}  // namespace test
}  // namespace korva
