// The library as a host uses it over and over: loaded by name, driven
// through every family of exports (building export, analysis export,
// building and analysis import with their getters, update), shut down and
// unloaded.  Each unload must really take the library out of the process,
// and neither the cycles nor the sessions of a library kept loaded may make
// the process grow.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/host_calls.h"
#include "support/host_session.h"
#include "support/loaded_library.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

// The library's banner, trace lines and logging notices go nowhere while
// this lives.
class QuietOutput {
 public:
  QuietOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    int null = open("/dev/null", O_WRONLY);
    for (int i = 0; i < 2; ++i) {
      saved_[i] = dup(kStreams[i]);
      dup2(null, kStreams[i]);
    }
    close(null);
  }
  ~QuietOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    for (int i = 0; i < 2; ++i) {
      dup2(saved_[i], kStreams[i]);
      close(saved_[i]);
    }
  }

 private:
  static constexpr int kStreams[2] = {STDOUT_FILENO, STDERR_FILENO};
  int saved_[2];
};

long ResidentBytes() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return -1;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
  std::fclose(f);
  return resident * sysconf(_SC_PAGESIZE);
}

// What a session using every family read.
struct Session {
  BuildingRead building;
  AnalysisRead analysis, updated;  // the analysis model before and after the update
  std::string log;                 // the log file's text
};

// Logs into a new folder, writes and reads back a building and an analysis
// model, updates the analysis model and reads it again, and shuts down;
// the library's output silenced.
Session UseEveryFamily(const HostCalls& calls) {
  QuietOutput quiet;
  TempDir dir;
  Session s;
  HostSession session(calls, dir.path());
  std::string log = dir.file("host.log");
  calls.SetSchemaPath(const_cast<char*>(KORVA_SCHEMA_DIR));
  calls.OpenLogFile(&log[0]);
  session.writeBuilding("building.ifc");
  s.building = session.readBuilding("building.ifc");
  session.writeAnalysisModel("analysis.ifc");
  s.analysis = session.readAnalysisModel("analysis.ifc");
  calls.ShutDown();
  session.updateAnalysisModel("analysis.ifc", s.analysis, 7.5, "updated.ifc");
  s.updated = session.readAnalysisModel("updated.ifc");
  calls.CloseLogFile(0);
  calls.ShutDown();
  s.log = ReadFile(log);
  return s;
}

void ExpectWorked(const Session& s) {
  EXPECT_EQ(s.building.censusColumns, 1);
  EXPECT_EQ(s.building.lastColumn, 0);
  EXPECT_EQ(s.building.lastBeam, 0);
  EXPECT_DOUBLE_EQ(s.building.columnHeight, 3.0);
  EXPECT_DOUBLE_EQ(s.building.beamZ, 2.5);
  EXPECT_DOUBLE_EQ(s.building.beamLength, 5.0);
  EXPECT_EQ(s.building.beamGuid.size(), 22u);

  EXPECT_EQ(s.analysis.lastModel, 0);
  EXPECT_EQ(s.analysis.modelName, "Frame A");
  EXPECT_EQ(s.analysis.lastMember, 0);
  EXPECT_EQ(s.analysis.lastNode, 1);
  EXPECT_EQ(s.analysis.memberName, "B1");
  EXPECT_EQ(s.analysis.secondNodeName, "N2");
  EXPECT_DOUBLE_EQ(s.analysis.secondNodeX, 6.0);
  EXPECT_DOUBLE_EQ(s.analysis.memberEndX, 6.0);
  EXPECT_GT(s.analysis.units, 0);

  EXPECT_EQ(s.updated.memberGuid, s.analysis.memberGuid);
  EXPECT_DOUBLE_EQ(s.updated.secondNodeX, 7.5);
  EXPECT_DOUBLE_EQ(s.updated.memberEndX, 7.5);

  EXPECT_EQ(s.log.rfind("TARN: LOGGING BEGINS ", 0), 0u) << s.log;
  EXPECT_NE(s.log.find("TARN: LOGGING ENDS "), std::string::npos) << s.log;
}

// Loads the library by name, uses every family, unloads; whether the
// library then left the process.
bool LoadUseUnload() {
  LoadedLibrary library(KORVA_LIBRARY_PATH);
  EXPECT_NE(library.handle(), nullptr) << library.error();
  if (library.handle() == nullptr) return false;
  const HostCalls calls = BindLoadedCalls(library);
  EXPECT_TRUE(calls.missing().empty()) << calls.missing().front();
  if (!calls.missing().empty()) return false;
  ExpectWorked(UseEveryFamily(calls));
  return library.unload();
}

// Runs `step` `times` times and prints and returns how much the resident
// size grew from the end of the tenth (the allocator and the loader have
// then made their caches) to the end of the last; stops at the first failure.
template <typename Step>
long ResidentGrowth(const char* what, int times, Step step) {
  const int kWarmUp = 10;
  long before = 0;
  for (int i = 1; i <= times; ++i) {
    step();
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << what << " " << i << " failed";
      return 0;
    }
    if (i == kWarmUp) before = ResidentBytes();
  }
  const long after = ResidentBytes();
  EXPECT_GT(before, 0);
  const long growth = after - before;
  std::printf("%s %d to %d: resident %ld KB to %ld KB, growth %ld KB (%.2f KB each)\n", what, kWarmUp, times,
              before / 1024, after / 1024, growth / 1024,
              static_cast<double>(growth) / 1024 / (times - kWarmUp));
  return growth;
}

TEST(UnloadTest, EveryFamilyThenShutDownAndUnload) {
  ASSERT_FALSE(LoadedLibrary::IsLoaded(KORVA_LIBRARY_PATH));
  EXPECT_TRUE(LoadUseUnload()) << "the library stays in the process after dlclose";
  // Loaded again it starts afresh and works the same.
  EXPECT_TRUE(LoadUseUnload());
}

TEST(UnloadTest, RepeatedCyclesKeepResidentMemoryFlat) {
  const long growth = ResidentGrowth("load/use/unload cycle", 200, [] {
    EXPECT_TRUE(LoadUseUnload()) << "the library stays in the process after dlclose";
  });
  EXPECT_LE(growth, 1024 * 1024);
}

// A host that keeps the library loaded: every ShutDown must give back what
// the sessions since the last one took.
TEST(UnloadTest, RepeatedSessionsOfALoadedLibraryKeepResidentMemoryFlat) {
  LoadedLibrary library(KORVA_LIBRARY_PATH);
  ASSERT_NE(library.handle(), nullptr) << library.error();
  const HostCalls calls = BindLoadedCalls(library);
  ASSERT_TRUE(calls.missing().empty()) << calls.missing().front();
  const long growth = ResidentGrowth("session", 200, [&] { ExpectWorked(UseEveryFamily(calls)); });
  EXPECT_LE(growth, 512 * 1024);
}

}  // namespace
}  // namespace test
}  // namespace korva
