// A JSON document written as it is made, in the layout of nlohmann's
// dump(2): two spaces per level, "key": value, "[]" and "{}" for empty
// containers.  The containers are opened and closed one by one; the values
// inside them are small documents (a number, a record) formatted by
// nlohmann at their depth, so that only one of them is in memory at a time.
// Strings that are not valid UTF-8 have their bad bytes replaced by U+FFFD.
#ifndef KORVA_CLI_JSON_STREAM_H
#define KORVA_CLI_JSON_STREAM_H

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace korva {
namespace cli {

using Json = nlohmann::ordered_json;

class JsonWriter {
 public:
  explicit JsonWriter(std::FILE* out) : out_(out) {}

  void beginObject() { open('{'); }
  void endObject() { close('}'); }
  void beginArray() { open('['); }
  void endArray() { close(']'); }
  // The key of the next member of the open object.
  void key(const std::string& name);
  // A whole value: an element of the open array, the value after key(), or
  // the document itself.
  void value(const Json& v);
  // The members of `object`, one by one, into the open object.
  void members(const Json& object);
  // The document's end: a line break.
  void finish() { write("\n"); }

  // False once a write has failed.
  bool ok() const { return ok_; }

 private:
  void open(char bracket);
  void close(char bracket);
  // What goes before an element of an array or a member of an object: the
  // separator, the line break and the indentation.
  void next();
  void write(const std::string& text) { write(text.data(), text.size()); }
  void write(const char* text, size_t size);

  std::FILE* out_;
  std::vector<int> counts_;  // elements written so far, per open container
  bool keyed_ = false;       // key() came before the coming value
  bool ok_ = true;
};

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_JSON_STREAM_H
