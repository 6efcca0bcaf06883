#include "cli/json_stream.h"

namespace korva {
namespace cli {

void JsonWriter::write(const char* text, size_t size) {
  if (size != 0 && std::fwrite(text, 1, size, out_) != size) ok_ = false;
}

void JsonWriter::next() {
  if (keyed_) {  // the value of a member: its key went before
    keyed_ = false;
    return;
  }
  if (counts_.empty()) return;  // the document itself
  write(counts_.back()++ == 0 ? "\n" : ",\n");
  write(std::string(2 * counts_.size(), ' '));
}

void JsonWriter::key(const std::string& name) {
  next();
  write(Json(name).dump() + ": ");
  keyed_ = true;
}

void JsonWriter::open(char bracket) {
  next();
  write(&bracket, 1);
  counts_.push_back(0);
}

void JsonWriter::close(char bracket) {
  const bool empty = counts_.back() == 0;
  counts_.pop_back();
  if (!empty) {
    write("\n");
    write(std::string(2 * counts_.size(), ' '));
  }
  write(&bracket, 1);
}

void JsonWriter::value(const Json& v) {
  next();
  const std::string text = v.dump(2, ' ', false, Json::error_handler_t::replace);
  // The lines after the first one at the writer's depth.
  const std::string indent(2 * counts_.size(), ' ');
  size_t from = 0;
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', from)) {
    write(text.data() + from, at + 1 - from);
    write(indent);
    from = at + 1;
  }
  write(text.data() + from, text.size() - from);
}

void JsonWriter::members(const Json& object) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    key(it.key());
    value(it.value());
  }
}

}  // namespace cli
}  // namespace korva
