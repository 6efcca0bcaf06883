// The library as a host uses it over and over: loaded by name, driven
// through every family of exports (building export, analysis export,
// building and analysis import with their getters, update), shut down and
// unloaded.  Each unload must really take the library out of the process,
// and the cycles must not make the process grow.
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

// What one load/use/ShutDown/unload cycle saw.
struct Cycle {
  std::string loadError;               // dlerror when loading failed
  std::vector<std::string> unbound;    // functions not found by name
  BuildingRead building;
  AnalysisRead analysis, updated;      // the analysis model before and after the update
  std::string log;                     // the log file's text
  bool unloaded = false;               // gone from the process after dlclose
};

// Loads the library by name, uses every family, shuts down and unloads,
// with the library's output silenced.
Cycle RunCycle() {
  Cycle cycle;
  QuietOutput quiet;
  TempDir dir;
  LoadedLibrary library(KORVA_LIBRARY_PATH);
  cycle.loadError = library.error();
  if (library.handle() == nullptr) return cycle;
  const HostCalls calls = BindLoadedCalls(library);
  cycle.unbound = calls.missing();
  if (!cycle.unbound.empty()) return cycle;

  HostSession session(calls, dir.path());
  std::string log = dir.file("host.log");
  calls.SetSchemaPath(const_cast<char*>(KORVA_SCHEMA_DIR));
  calls.OpenLogFile(&log[0]);
  session.writeBuilding("building.ifc");
  cycle.building = session.readBuilding("building.ifc");
  session.writeAnalysisModel("analysis.ifc");
  cycle.analysis = session.readAnalysisModel("analysis.ifc");
  calls.ShutDown();
  session.updateAnalysisModel("analysis.ifc", cycle.analysis, 7.5, "updated.ifc");
  cycle.updated = session.readAnalysisModel("updated.ifc");
  calls.CloseLogFile(0);
  calls.ShutDown();
  cycle.log = ReadFile(log);
  cycle.unloaded = library.unload();
  return cycle;
}

void ExpectWorked(const Cycle& cycle) {
  ASSERT_EQ(cycle.loadError, "");
  ASSERT_TRUE(cycle.unbound.empty()) << cycle.unbound.front();
  EXPECT_EQ(cycle.building.censusColumns, 1);
  EXPECT_EQ(cycle.building.lastColumn, 0);
  EXPECT_EQ(cycle.building.lastBeam, 0);
  EXPECT_DOUBLE_EQ(cycle.building.columnHeight, 3.0);
  EXPECT_DOUBLE_EQ(cycle.building.beamZ, 2.5);
  EXPECT_DOUBLE_EQ(cycle.building.beamLength, 5.0);
  EXPECT_EQ(cycle.building.beamGuid.size(), 22u);

  EXPECT_EQ(cycle.analysis.lastModel, 0);
  EXPECT_EQ(cycle.analysis.modelName, "Frame A");
  EXPECT_EQ(cycle.analysis.lastMember, 0);
  EXPECT_EQ(cycle.analysis.lastNode, 1);
  EXPECT_EQ(cycle.analysis.memberName, "B1");
  EXPECT_EQ(cycle.analysis.secondNodeName, "N2");
  EXPECT_DOUBLE_EQ(cycle.analysis.secondNodeX, 6.0);
  EXPECT_DOUBLE_EQ(cycle.analysis.memberEndX, 6.0);
  EXPECT_GT(cycle.analysis.units, 0);

  EXPECT_EQ(cycle.updated.memberGuid, cycle.analysis.memberGuid);
  EXPECT_DOUBLE_EQ(cycle.updated.secondNodeX, 7.5);
  EXPECT_DOUBLE_EQ(cycle.updated.memberEndX, 7.5);

  EXPECT_EQ(cycle.log.rfind("TARN: LOGGING BEGINS ", 0), 0u) << cycle.log;
  EXPECT_NE(cycle.log.find("TARN: LOGGING ENDS "), std::string::npos) << cycle.log;
}

TEST(UnloadTest, EveryFamilyThenShutDownAndUnload) {
  ASSERT_FALSE(LoadedLibrary::IsLoaded(KORVA_LIBRARY_PATH));
  const Cycle first = RunCycle();
  ExpectWorked(first);
  EXPECT_TRUE(first.unloaded) << "the library stays in the process after dlclose";
  // Loaded again it starts afresh and works the same.
  const Cycle second = RunCycle();
  ExpectWorked(second);
  EXPECT_TRUE(second.unloaded);
}

// The resident size after a few cycles (the allocator and the loader have
// then made their caches) against the size after all of them.
TEST(UnloadTest, RepeatedCyclesKeepResidentMemoryFlat) {
  const int kCycles = 200, kWarmUp = 10;
  const long kLimit = 1024 * 1024;
  long before = 0;
  for (int i = 1; i <= kCycles; ++i) {
    const Cycle cycle = RunCycle();
    ExpectWorked(cycle);
    ASSERT_TRUE(cycle.unloaded) << "cycle " << i;
    ASSERT_FALSE(HasFailure()) << "cycle " << i;
    if (i == kWarmUp) before = ResidentBytes();
  }
  const long after = ResidentBytes();
  ASSERT_GT(before, 0);
  const long growth = after - before;
  std::printf("resident memory after %d cycles %ld KB, after %d cycles %ld KB: growth %ld KB (%.2f KB a cycle)\n",
              kWarmUp, before / 1024, kCycles, after / 1024, growth / 1024,
              static_cast<double>(growth) / 1024 / (kCycles - kWarmUp));
  EXPECT_LE(growth, kLimit);
}

}  // namespace
}  // namespace test
}  // namespace korva
