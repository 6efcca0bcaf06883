/* A host program as KORVA is one: it loads the korvaifc library at run time,
 * binds every function of the contract by name, writes a building model and
 * an analysis model, imports both files back and checks the tables.
 *
 *   korva_host LIBRARY CONTRACT WORKDIR SCHEMADIR
 *
 * LIBRARY is korvaifc.dll (libkorvaifc.so on POSIX systems), CONTRACT the
 * file abi/exports.tsv, WORKDIR an empty folder the files are written to.
 * SCHEMADIR is handed to SetSchemaPath; "-" leaves the schema path to the
 * library's configuration (environment or registry).
 * Prints one line per failed check and exits with the number of failures
 * (capped at 100); the library itself ends the process with status 1 when
 * it cannot load its schemas. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define HOSTCALL __stdcall
typedef HMODULE Library;
static Library OpenLibrary(const char* path) { return LoadLibraryA(path); }
static void* Bind(Library lib, const char* name) { return (void*)GetProcAddress(lib, name); }
static int ChangeDirectory(const char* dir) { return SetCurrentDirectoryA(dir) ? 0 : -1; }
/* The two C++ functions, under the x64 MSVC-style decorated names. */
static const char* const kDecorated[][2] = {
    {"OpenFileForUpdate2", "?OpenFileForUpdate2@@YAHHPEAD@Z"},
    {"UpdateOneCurveMemberSectionName", "?UpdateOneCurveMemberSectionName@@YAHHHPEAD@Z"},
};
#else
#include <dlfcn.h>
#include <unistd.h>
#define HOSTCALL
typedef void* Library;
static Library OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* Bind(Library lib, const char* name) { return dlsym(lib, name); }
static int ChangeDirectory(const char* dir) { return chdir(dir); }
static const char* const kDecorated[][2] = {
    {"OpenFileForUpdate2", "_Z18OpenFileForUpdate2iPc"},
    {"UpdateOneCurveMemberSectionName", "_Z31UpdateOneCurveMemberSectionNameiiPc"},
};
#endif

typedef int(HOSTCALL* IntOfNothing)(void);
typedef int(HOSTCALL* IntOfText)(char*);
typedef int(HOSTCALL* IntOfInt)(int);
typedef int(HOSTCALL* IntOfIntText)(int, char*);
typedef int(HOSTCALL* IntOfIntIntText)(int, int, char*);
typedef int(HOSTCALL* IntOfIntInt)(int, int);
typedef double(HOSTCALL* DoubleOfInt)(int);
typedef double(HOSTCALL* DoubleOfIntInt)(int, int);
typedef void(HOSTCALL* TextOfInt)(int, char*);
typedef int(HOSTCALL* IntOfTextDouble)(char*, double);
typedef int(HOSTCALL* IntOfTextText)(char*, char*);
typedef int(HOSTCALL* IntOfTextIntDoubles)(char*, int, double, double, double);
typedef int(HOSTCALL* OpenAnalysisFn)(char*, char*, char*, char*, char*, char*, char*, char*, int, int);
typedef int(HOSTCALL* CurveMemberFn)(char*, int, int, int, int, int, double, double, double, double,
                                     double, double);
typedef int(HOSTCALL* WallsFn)(char*, char*, char*, char*, char*, char*, char*, char*, int, int, int, int,
                               int, int, int, double*, double*, double*, int*, int*, int*, int*, int*,
                               int*, int*, int*, int*, int*, int*, int*, double*, double*, double*,
                               double*, double*, double*, double*, double*, double*, double*);

static Library lib;
static int failures;

static void Fail(const char* what) {
  printf("FAILED: %s\n", what);
  ++failures;
}

static void* Need(const char* name) {
  void* f = Bind(lib, name);
  if (f == NULL) {
    printf("FAILED: %s is not exported\n", name);
    exit(100);
  }
  return f;
}

static void ExpectInt(const char* what, int got, int want) {
  if (got != want) {
    printf("FAILED: %s is %d, expected %d\n", what, got, want);
    ++failures;
  }
}

static void ExpectNear(const char* what, double got, double want) {
  if (fabs(got - want) > 1e-9) {
    printf("FAILED: %s is %.12g, expected %.12g\n", what, got, want);
    ++failures;
  }
}

static void ExpectText(const char* what, const char* got, const char* want) {
  if (strcmp(got, want) != 0) {
    printf("FAILED: %s is \"%s\", expected \"%s\"\n", what, got, want);
    ++failures;
  }
}

/* Binds every function of the contract (first column of each line after the
 * header), the two C++ functions under their decorated names.  Returns the
 * number bound. */
static int BindContract(const char* contract) {
  FILE* f = fopen(contract, "r");
  char line[4096];
  int bound = 0, lines = 0;
  if (f == NULL) {
    Fail("the contract cannot be read");
    return 0;
  }
  while (fgets(line, sizeof line, f) != NULL) {
    char* tab = strchr(line, '\t');
    const char* name = line;
    size_t i;
    if (lines++ == 0 || tab == NULL) continue;
    *tab = '\0';
    for (i = 0; i < sizeof kDecorated / sizeof kDecorated[0]; ++i)
      if (strcmp(name, kDecorated[i][0]) == 0) name = kDecorated[i][1];
    if (Bind(lib, name) != NULL) {
      ++bound;
    } else {
      printf("FAILED: %s is not exported\n", name);
      ++failures;
    }
  }
  fclose(f);
  return bound;
}

/* IFC GlobalIds: 22 characters of the IFC base-64 alphabet, the first 0-3,
 * carrying a version-4 GUID (random, with the RFC 4122 variant) as the
 * platform's GUID service makes them. */
static int Digit(char c) {
  static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
  const char* p = c != '\0' ? strchr(kDigits, c) : NULL;
  return p != NULL ? (int)(p - kDigits) : -1;
}

static unsigned long Group(const char* id, int at) {
  unsigned long v = 0;
  int i;
  for (i = 0; i < 4; ++i) v = v * 64 + (unsigned long)Digit(id[at + i]);
  return v;
}

static void ExpectGlobalId(const char* what, const char* id) {
  int i;
  char message[128];
  if (strlen(id) != 22 || Digit(id[0]) < 0 || Digit(id[0]) > 3) {
    snprintf(message, sizeof message, "%s \"%s\" is no GlobalId", what, id);
    Fail(message);
    return;
  }
  for (i = 0; i < 22; ++i)
    if (Digit(id[i]) < 0) {
      snprintf(message, sizeof message, "%s \"%s\" has a character outside the alphabet", what, id);
      Fail(message);
      return;
    }
  /* Characters 6-9: Data2 and the high byte of Data3; 10-13: the low byte
   * of Data3 and Data4[0..1]. */
  if (((Group(id, 6) >> 4) & 0xF) != 4 || ((Group(id, 10) >> 14) & 0x3) != 2) {
    snprintf(message, sizeof message, "%s \"%s\" is not a version-4 GUID", what, id);
    Fail(message);
  }
}

/* The building: two storeys, a column and a wall in storey 1, a beam and a
 * slab in storey 2.  Arrays are read from index 1. */
static void WriteBuilding(void) {
  char name[] = "building.ifc", dir[] = ".", description[] = "KORVA model", system[] = "KORVA 9";
  char author[] = "Lee", organization[] = "Korva Ltd", authorization[] = "none";
  char application[] = "KORVA Structural";
  double elevation[] = {99, 0.0, 3.5};
  double x[] = {99, 0, 0.4, 0.4, 0, 0, 0.3, 0.3, 0, 6, 6, 0, 5, 5, 0};
  double y[] = {99, 0, 0, 0.4, 0.4, 0, 0, 0.5, 0, 0, 4, 0, 0, 0.2, 0.2};
  int columnStart[] = {99, 1}, columnPoints[] = {99, 4}, columnStorey[] = {99, 1};
  int beamStart[] = {99, 5}, beamPoints[] = {99, 3}, beamStorey[] = {99, 2};
  int slabStart[] = {99, 8}, slabPoints[] = {99, 3}, slabStorey[] = {99, 2};
  int wallStart[] = {99, 11}, wallPoints[] = {99, 4}, wallStorey[] = {99, 1};
  /* Running numbers: column 1, beam 2, slab 3, wall 4. */
  double depth[] = {99, 3, 6, 0.25, 2.8};
  double lx[] = {99, 1, 0, 0, 0}, ly[] = {99, 2, 0, 3, 0}, lz[] = {99, 0, 3, 3.5, 0};
  double ax[] = {99, 0, 1, 0, 0}, ay[] = {99, 0, 0, 0, 0}, az[] = {99, 1, 0, 1, 1};
  double rx[] = {99, 1, 0, 1, 1}, ry[] = {99, 0, 0, 0, 0}, rz[] = {99, 0, 1, 0, 0};
  WallsFn walls = (WallsFn)Need("ExportOpenFileWithStoryesAndSlabsWalls");
  ExpectInt("ExportOpenFileWithStoryesAndSlabsWalls",
            walls(name, dir, description, system, author, organization, authorization, application, 10,
                  15, 1, 1, 2, 1, 1, elevation, x, y, columnStart, columnPoints, columnStorey,
                  beamStart, beamPoints, beamStorey, slabStart, slabPoints, slabStorey, wallStart,
                  wallPoints, wallStorey, depth, lx, ly, lz, ax, ay, az, rx, ry, rz),
            -1);
}

static void ReadBuilding(void) {
  char name[] = "building.ifc";
  char ids[4][64];
  const char* kinds[4] = {"Column", "Beam", "Slab", "Wall"};
  int i, j;
  ExpectInt("FindTotalObjects", ((IntOfText)Need("FindTotalObjects"))(name), -1);
  ExpectInt("GetTotalColumns after the census", ((IntOfNothing)Need("GetTotalColumns"))(), 1);
  ExpectInt("GetTotalWalls after the census", ((IntOfNothing)Need("GetTotalWalls"))(), 1);
  ExpectInt("CheckNumber", ((IntOfIntText)Need("CheckNumber"))(0, name), -1);
  ExpectInt("GetTotalColumns", ((IntOfNothing)Need("GetTotalColumns"))(), 0);
  ExpectInt("GetTotalBeams", ((IntOfNothing)Need("GetTotalBeams"))(), 0);
  ExpectInt("GetTotalSlabs", ((IntOfNothing)Need("GetTotalSlabs"))(), 0);
  ExpectInt("GetTotalWalls", ((IntOfNothing)Need("GetTotalWalls"))(), 0);
  ExpectNear("GetColumnStartx", ((DoubleOfInt)Need("GetColumnStartx"))(0), 1.0);
  ExpectNear("GetColumnStarty", ((DoubleOfInt)Need("GetColumnStarty"))(0), 2.0);
  ExpectNear("GetColumnExtrudedDepth", ((DoubleOfInt)Need("GetColumnExtrudedDepth"))(0), 3.0);
  ExpectNear("GetBeamStartz", ((DoubleOfInt)Need("GetBeamStartz"))(0), 3.0);
  ExpectNear("GetBeamExtrudedDepth", ((DoubleOfInt)Need("GetBeamExtrudedDepth"))(0), 6.0);
  ExpectNear("GetSlabStartz", ((DoubleOfInt)Need("GetSlabStartz"))(0), 3.5);
  ExpectNear("GetWallExtrudedDepth", ((DoubleOfInt)Need("GetWallExtrudedDepth"))(0), 2.8);
  for (i = 0; i < 4; ++i) {
    char fn[64];
    snprintf(fn, sizeof fn, "Get%sGUID", kinds[i]);
    memset(ids[i], 0, sizeof ids[i]);
    ((TextOfInt)Need(fn))(0, ids[i]);
    ExpectGlobalId(fn, ids[i]);
    for (j = 0; j < i; ++j)
      if (strcmp(ids[i], ids[j]) == 0) Fail("two elements share a GlobalId");
  }
}

/* The analysis model: one storey, two nodes and a member between them. */
static void WriteAnalysisModel(void) {
  char name[] = "analysis.ifc", dir[] = ".", unused[] = "", description[] = "KORVA analysis";
  char system[] = "KORVA 9", author[] = "Lee", organization[] = "Korva Ltd", authorization[] = "none";
  char application[] = "KORVA Structural", storey[] = "Level 1", model[] = "Frame A";
  char modelDescription[] = "gravity", n1[] = "N1", n2[] = "N2", b1[] = "B1";
  ExpectInt("ExportAnalysisModelOpenFile",
            ((OpenAnalysisFn)Need("ExportAnalysisModelOpenFile"))(name, unused, description, system, author,
                                                                  organization, authorization,
                                                                  application, 10, 15),
            -1);
  ExpectInt("ExportAnalysisModelBuidlingOneStory",
            ((IntOfTextDouble)Need("ExportAnalysisModelBuidlingOneStory"))(storey, 0.0), -1);
  ExpectInt("ExportAnalysisModelAddAnalysisModel",
            ((IntOfTextText)Need("ExportAnalysisModelAddAnalysisModel"))(model, modelDescription), -1);
  IntOfTextIntDoubles node = (IntOfTextIntDoubles)Need("ExportAnalysisModelAddOnePointConnection");
  ExpectInt("first node position", node(n1, 1, 0.0, 0.0, 0.0), 1);
  ExpectInt("second node position", node(n2, 1, 6.0, 0.0, 0.0), 2);
  ExpectInt("ExportAnalysisModelAddOneCurveMember",
            ((CurveMemberFn)Need("ExportAnalysisModelAddOneCurveMember"))(b1, 1, 1, 1, 1, 2, 0.0, 0.0, 0.0,
                                                                         6.0, 0.0, 0.0),
            -1);
  ExpectInt("ExportAnalysisModelCloseFile",
            ((IntOfTextText)Need("ExportAnalysisModelCloseFile"))(name, dir), -1);
}

static void ReadAnalysisModel(void) {
  char name[] = "analysis.ifc", text[64];
  int modelId;
  ExpectInt("FindTotalAnaModels", ((IntOfText)Need("FindTotalAnaModels"))(name), -1);
  ExpectInt("GetAnaModelAvailable", ((IntOfNothing)Need("GetAnaModelAvailable"))(), -1);
  ExpectInt("GetTotalAnaModels", ((IntOfNothing)Need("GetTotalAnaModels"))(), 0);
  strcpy(text, "unchanged");
  ((TextOfInt)Need("GetAnaModelName"))(0, text);
  ExpectText("GetAnaModelName", text, "Frame A");
  modelId = ((IntOfInt)Need("GetAnaModelFileID"))(0);
  if (modelId < 10) Fail("GetAnaModelFileID is no instance number");
  ExpectInt("CheckAnaModel", ((IntOfIntIntText)Need("CheckAnaModel"))(0, modelId, name), -1);
  ExpectInt("GetNumberStrCurveMembers", ((IntOfNothing)Need("GetNumberStrCurveMembers"))(), 0);
  ExpectInt("GetNumberStrPointConnections", ((IntOfNothing)Need("GetNumberStrPointConnections"))(), 1);
  strcpy(text, "unchanged");
  ((TextOfInt)Need("GetStrCurveMemberName"))(0, text);
  ExpectText("GetStrCurveMemberName", text, "B1");
  ExpectNear("GetStrCurveMemberEdgeX2", ((DoubleOfInt)Need("GetStrCurveMemberEdgeX2"))(0), 6.0);
  ExpectInt("GetStrCurveMemberNumberStructuralConnection",
            ((IntOfInt)Need("GetStrCurveMemberNumberStructuralConnection"))(0), 1);
  ExpectNear("GetStrPointConnectionVertexX1 of N2",
             ((DoubleOfInt)Need("GetStrPointConnectionVertexX1"))(1), 6.0);
  memset(text, 0, sizeof text);
  ((TextOfInt)Need("GetStrCurveMemberGUID"))(0, text);
  ExpectGlobalId("GetStrCurveMemberGUID", text);
}

int main(int argc, char** argv) {
  char log[] = "host.log";
  int bound;
  if (argc != 5) {
    fprintf(stderr, "usage: korva_host LIBRARY CONTRACT WORKDIR SCHEMADIR|-\n");
    return 100;
  }
  lib = OpenLibrary(argv[1]);
  if (lib == NULL) {
    printf("FAILED: %s cannot be loaded\n", argv[1]);
    return 100;
  }
  bound = BindContract(argv[2]);
  ExpectInt("functions of the contract bound", bound, 456);
  if (ChangeDirectory(argv[3]) != 0) {
    printf("FAILED: cannot change to %s\n", argv[3]);
    return 100;
  }
  if (strcmp(argv[4], "-") != 0) ExpectInt("SetSchemaPath", ((IntOfText)Need("SetSchemaPath"))(argv[4]), -1);
  ExpectInt("OpenLogFile", ((IntOfText)Need("OpenLogFile"))(log), -1);

  WriteBuilding();
  ReadBuilding();
  WriteAnalysisModel();
  ReadAnalysisModel();
  ExpectInt("ShutDown", ((IntOfNothing)Need("ShutDown"))(), -1);

  printf("%d functions bound, %d checks failed\n", bound, failures);
  return failures > 100 ? 100 : failures;
}
