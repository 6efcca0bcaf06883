// The JSON writer of korva-ifc import: a document written container by
// container is the text nlohmann's dump(2) gives for the whole of it.
#include "cli/json_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_util.h"

namespace korva {
namespace cli {
namespace {

// Writes `v` as the import does: objects and arrays opened and closed one
// by one, the members of flat objects at once, scalars as values.
void WriteStreaming(JsonWriter& w, const Json& v) {
  if (v.is_object() && !v.empty() && v.begin()->is_primitive()) {
    w.beginObject();
    w.members(v);
    w.endObject();
  } else if (v.is_object()) {
    w.beginObject();
    for (auto& [key, member] : v.items()) {
      w.key(key);
      WriteStreaming(w, member);
    }
    w.endObject();
  } else if (v.is_array() && v.size() % 2 == 1) {  // odd arrays element by element
    w.beginArray();
    for (const Json& element : v) WriteStreaming(w, element);
    w.endArray();
  } else {
    w.value(v);
  }
}

TEST(JsonWriter, WritesWhatTheWholeDocumentDumpsTo) {
  const Json document = Json::parse(R"({
    "file": "a \"quoted\" path\\with\ttab",
    "empty": {}, "none": [],
    "numbers": [0.1, 1e-05, 100.0, -2, 3.5e+20, 12345678901234],
    "records": [{"Name": "Tr\u00e4ger", "FileID": 10, "points": [[1.0, 2.0], []]}, {}, {"x": {"y": [[]]}}],
    "nested": {"a": {"b": {"c": [1, [2, [3]]]}}, "d": "\u5e8a"}
  })");
  test::CapturedStream out;
  JsonWriter w(out.get());
  WriteStreaming(w, document);
  w.finish();
  EXPECT_TRUE(w.ok());
  EXPECT_EQ(out.text(), document.dump(2) + "\n");
}

TEST(JsonWriter, ReplacesBytesThatAreNotUtf8) {
  test::CapturedStream out;
  JsonWriter w(out.get());
  w.beginArray();
  w.value(std::string("ok\xe4" "g"));
  w.endArray();
  EXPECT_EQ(out.text(), "[\n  \"ok\xef\xbf\xbdg\"\n]");
}

}  // namespace
}  // namespace cli
}  // namespace korva
