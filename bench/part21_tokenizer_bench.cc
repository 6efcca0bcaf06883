// Scan speed of Part21Tokenizer over a generated DATA section of IFC-like
// instances (points, loops, walls with GlobalIds and strings, property
// values with enumerations), from memory and from a stdio stream.  Times
// are the process's CPU time (best of three), so that other load on the
// machine does not count.
//
//   korva_part21_tokenizer_bench [instances]   (default 400000, about 30 MB)
#include <cstdio>
#include <cstdlib>
#include <random>
#include <ctime>
#include <string>

#include "exchange/part21_tokenizer.h"

namespace {

double Seconds(std::clock_t start) {
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

std::string MakeFile(long instances) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coordinate(-1.0e4, 1.0e4);
  std::string text = "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('ViewDefinition'),'2;1');\n"
                     "FILE_NAME('bench.ifc','2024-01-01T00:00:00',(''),(''),'','','');\n"
                     "FILE_SCHEMA(('IFC2X2_FINAL'));\nENDSEC;\nDATA;\n";
  char line[256];
  for (long i = 1; i <= instances; ++i) {
    switch (i % 4) {
      case 0:
        std::snprintf(line, sizeof line, "#%ld=IFCCARTESIANPOINT((%.15G,%.15G,%.15G));\n", i,
                      coordinate(rng), coordinate(rng), coordinate(rng));
        break;
      case 1:
        std::snprintf(line, sizeof line, "#%ld=IFCPOLYLOOP((#%ld,#%ld,#%ld,#%ld));\n", i, i + 1,
                      i + 2, i + 3, i + 4);
        break;
      case 2:
        std::snprintf(line, sizeof line,
                      "#%ld=IFCWALLSTANDARDCASE('2O2Fr$t4X7Zf8NOew3FL%02ld',#5,'Wall-%ld',$,$,"
                      "#%ld,#%ld,'tag \\X\\E9');\n",
                      i, i % 100, i, i + 1, i + 2);
        break;
      default:
        std::snprintf(line, sizeof line,
                      "#%ld=IFCPROPERTYSINGLEVALUE('IsExternal',$,IFCBOOLEAN(.T.),$); "
                      "/* comment */\n",
                      i);
        break;
    }
    text += line;
  }
  text += "ENDSEC;\nEND-ISO-10303-21;\n";
  return text;
}

long ScanAll(korva::Part21Tokenizer& t) {
  long tokens = 0;
  while (t.next() != korva::kP21EndOfFile) ++tokens;
  return tokens;
}

}  // namespace

int main(int argc, char** argv) {
  long instances = argc > 1 ? std::atol(argv[1]) : 400000;
  const std::string text = MakeFile(instances);
  const double mb = text.size() / 1e6;

  double best = 1e9;
  long tokens = 0;
  for (int run = 0; run < 3; ++run) {
    std::clock_t start = std::clock();
    korva::Part21Tokenizer t(text.data(), text.size(), "bench.ifc");
    tokens = ScanAll(t);
    double s = Seconds(start);
    if (s < best) best = s;
  }
  std::printf("memory: %.1f MB, %ld tokens, %.0f MB/s, %.1f M tokens/s\n", mb, tokens, mb / best,
              tokens / best / 1e6);

  std::FILE* file = std::tmpfile();
  if (file == nullptr) return 1;
  std::fwrite(text.data(), 1, text.size(), file);
  best = 1e9;
  for (int run = 0; run < 3; ++run) {
    std::rewind(file);
    std::clock_t start = std::clock();
    korva::Part21Tokenizer t(file, "bench.ifc");
    tokens = ScanAll(t);
    double s = Seconds(start);
    if (s < best) best = s;
  }
  std::fclose(file);
  std::printf("stream: %.1f MB, %ld tokens, %.0f MB/s, %.1f M tokens/s\n", mb, tokens, mb / best,
              tokens / best / 1e6);
  return 0;
}
