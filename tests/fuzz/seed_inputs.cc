#include "tests/fuzz/seed_inputs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace korva {
namespace fuzz {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The cut of `body` (text after `start`) at the last place before `limit`
// where `boundary` begins a line; the first such item is always kept.
std::size_t CutPoint(const std::string& text, std::size_t start, std::size_t limit, const std::string& boundary) {
  std::size_t end = text.find(boundary, start);
  if (end == std::string::npos) return start;
  end = text.find(boundary, end + 1);
  for (std::size_t at = end; at != std::string::npos && at <= limit; at = text.find(boundary, at + 1)) end = at;
  return end == std::string::npos ? text.size() : end + 1;
}

}  // namespace

std::string CutExchangeFile(const std::string& text, std::size_t limit) {
  const std::size_t data = text.find("\nDATA;");
  if (data == std::string::npos) return std::string();
  const std::size_t start = data + 6;
  // Statements begin lines with '#'; the cut ends before one of them.
  const std::size_t end = CutPoint(text, start, limit, "\n#");
  std::string cut = text.substr(0, std::min(end, text.size()));
  const std::size_t close = cut.find("\nENDSEC;", start);
  if (close != std::string::npos) cut.resize(close + 1);
  if (cut.back() != '\n') cut += '\n';
  cut += "ENDSEC;\nEND-ISO-10303-21;\n";
  const std::size_t schema = cut.find("'IFC2X_FINAL'");
  if (schema != std::string::npos) cut.replace(schema, 13, "'IFC2X2_FINAL'");
  return cut;
}

std::string CutNativeFile(const std::string& text, std::size_t limit) {
  const std::size_t objects = text.find("STEP_OBJECTS (");
  if (objects == std::string::npos) return std::string();
  // Objects begin lines with a tab and '('.
  const std::size_t end = CutPoint(text, objects, limit, "\n\t(");
  return text.substr(0, std::min(end, text.size())) + ")\n";
}

std::vector<SeedInput> FilesIn(const std::string& folder, const std::string& extension) {
  std::vector<SeedInput> out;
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return out;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (e.is_regular_file() && name[0] != '.' && e.path().extension() == extension)
      out.push_back({name, Bytes(e.path())});
  }
  std::sort(out.begin(), out.end(), [](const SeedInput& a, const SeedInput& b) { return a.name < b.name; });
  return out;
}

std::vector<SeedInput> ExchangeSeeds(const std::string& seedFolder, const std::string& corpusFolder) {
  std::vector<SeedInput> seeds = FilesIn(seedFolder, ".ifc");
  for (const SeedInput& file : FilesIn(corpusFolder, ".ifc")) {
    const std::string stem = file.name.substr(0, file.name.size() - 4);
    for (std::size_t limit : {std::size_t{6} * 1024, std::size_t{40} * 1024}) {
      std::string cut = CutExchangeFile(file.bytes, limit);
      if (!cut.empty() && cut.size() <= kMaxSeedSize)
        seeds.push_back({stem + "_" + std::to_string(limit / 1024) + "k.ifc", std::move(cut)});
    }
  }
  return seeds;
}

std::vector<SeedInput> NativeSeeds(const std::string& seedFolder, const std::string& schemaFolder) {
  std::vector<SeedInput> seeds = FilesIn(seedFolder, ".tarn");
  for (SeedInput& schema : FilesIn(schemaFolder, ".tarn")) {
    if (schema.bytes.size() > kMaxSeedSize) schema.bytes = CutNativeFile(schema.bytes, 16 * 1024);
    if (!schema.bytes.empty()) seeds.push_back({"schema_" + schema.name, std::move(schema.bytes)});
  }
  return seeds;
}

}  // namespace fuzz
}  // namespace korva
