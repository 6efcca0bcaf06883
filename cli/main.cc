// korva-ifc: command-line host of the korvaifc library.
//
//   korva-ifc demo [LOGFILE]   open a message log, initialise the library,
//                              make a few GlobalIds, shut down, show the log
//   korva-ifc guid [COUNT]     print COUNT new IFC GlobalIds (default 1)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "api/korvaifc.h"
#include "ifc2x2/globalid.h"
#include "objdb/interface.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: korva-ifc demo [LOGFILE]\n"
               "       korva-ifc guid [COUNT]\n");
  return 2;
}

int PrintGuids(int count) {
  char buffer[23];
  for (int i = 0; i < count; ++i) {
    if (korva::NewCompressedGuid(buffer, sizeof buffer) == nullptr) {
      std::fprintf(stderr, "korva-ifc: the platform produced no GUID\n");
      return 1;
    }
    std::printf("%s\n", buffer);
  }
  return 0;
}

int Demo(const char* logPath) {
  std::string log = logPath != nullptr ? logPath : "korva-demo.log";
  std::remove(log.c_str());
  OpenLogFile(const_cast<char*>(log.c_str()));
  korva::TARN().initialize();
  std::printf("search path: %s\n", korva::TARN().searchPath().c_str());
  std::printf("GlobalIds:\n");
  PrintGuids(3);
  ShutDown();

  std::printf("\n--- %s ---\n", log.c_str());
  std::FILE* f = std::fopen(log.c_str(), "r");
  if (f == nullptr) {
    std::fprintf(stderr, "korva-ifc: cannot read %s\n", log.c_str());
    return 1;
  }
  char line[512];
  while (std::fgets(line, sizeof line, f)) std::fputs(line, stdout);
  std::fclose(f);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "demo") == 0) return Demo(argc > 2 ? argv[2] : nullptr);
  if (std::strcmp(argv[1], "guid") == 0) {
    int count = argc > 2 ? std::atoi(argv[2]) : 1;
    return PrintGuids(count > 0 ? count : 1);
  }
  return Usage();
}
