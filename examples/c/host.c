/* A host of korvaifc in C, as the application binds it: the library is
 * loaded by name at run time, every function it uses is looked up by its
 * exported name, and nothing of the library's headers is included.
 *
 *   korva_c_host LIBRARY SCHEMA_FOLDER OUTPUT_FOLDER
 *
 * Writes a small building (one storey, two columns, a beam between them) to
 * OUTPUT_FOLDER/c_host.ifc with ExportOpenFileWithStoryesAndSlabsWalls,
 * imports it back with FindTotalObjects and CheckNumber and prints the
 * beams and columns the getters return. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

/* The exports use the stdcall convention on 32-bit Windows. */
#if defined(_WIN32) && !defined(_WIN64)
#define KORVA_CALL __stdcall
#else
#define KORVA_CALL
#endif

typedef int(KORVA_CALL* TextFn)(char*);
typedef int(KORVA_CALL* VoidFn)(void);
typedef int(KORVA_CALL* FillFn)(int, char*);
typedef double(KORVA_CALL* NumberFn)(int);
typedef int(KORVA_CALL* IntegerFn)(int);
typedef void(KORVA_CALL* CopyFn)(int, char*);
typedef int(KORVA_CALL* ExportFn)(char*, char*, char*, char*, char*, char*, char*, char*, int, int, int, int, int,
                                   int, int, double*, double*, double*, int*, int*, int*, int*, int*, int*, int*,
                                   int*, int*, int*, int*, int*, double*, double*, double*, double*, double*,
                                   double*, double*, double*, double*, double*);

static void* library;

/* The exported function `name`; ends the program when it is missing. */
static void* Bind(const char* name) {
  void* f = dlsym(library, name);
  if (f == NULL) {
    fprintf(stderr, "korva_c_host: the library exports no %s\n", name);
    exit(1);
  }
  return f;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: korva_c_host LIBRARY SCHEMA_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "korva_c_host: %s\n", dlerror());
    return 1;
  }
  TextFn SetSchemaPath = (TextFn)Bind("SetSchemaPath");
  VoidFn ShutDown = (VoidFn)Bind("ShutDown");
  ExportFn Export = (ExportFn)Bind("ExportOpenFileWithStoryesAndSlabsWalls");
  TextFn FindTotalObjects = (TextFn)Bind("FindTotalObjects");
  FillFn CheckNumber = (FillFn)Bind("CheckNumber");
  VoidFn GetTotalBeams = (VoidFn)Bind("GetTotalBeams");
  VoidFn GetTotalColumns = (VoidFn)Bind("GetTotalColumns");
  NumberFn BeamX = (NumberFn)Bind("GetBeamStartx"), BeamY = (NumberFn)Bind("GetBeamStarty");
  NumberFn BeamZ = (NumberFn)Bind("GetBeamStartz"), BeamDepth = (NumberFn)Bind("GetBeamExtrudedDepth");
  NumberFn BeamAxis1 = (NumberFn)Bind("GetBeamAxis1");
  NumberFn ColumnX = (NumberFn)Bind("GetColumnStartx"), ColumnY = (NumberFn)Bind("GetColumnStarty");
  NumberFn ColumnDepth = (NumberFn)Bind("GetColumnExtrudedDepth");
  IntegerFn BeamFileID = (IntegerFn)Bind("GetBeamFileID");
  CopyFn BeamGUID = (CopyFn)Bind("GetBeamGUID");

  SetSchemaPath(argv[2]);

  /* Element 0 of every per-element array is never read. */
  double elevation[] = {0, 0.0};
  double x[] = {0, 0, 0.3, 0.3, 0, 0, 0.3, 0.3, 0, 0, 0.3, 0.3, 0};
  double y[] = {0, 0, 0, 0.3, 0.3, 0, 0, 0.3, 0.3, 0, 0, 0.5, 0.5};
  int columnStart[] = {0, 1, 5}, columnCount[] = {0, 4, 4}, columnStorey[] = {0, 1, 1};
  int beamStart[] = {0, 9}, beamCount[] = {0, 4}, beamStorey[] = {0, 1};
  int none[] = {0};
  /* Columns at (0,0) and (5,0), 3 high; the beam from (0,0,2.5) along X. */
  double depth[] = {0, 3.0, 3.0, 5.0};
  double lx[] = {0, 0, 5, 0}, ly[] = {0, 0, 0, 0}, lz[] = {0, 0, 0, 2.5};
  double ax[] = {0, 0, 0, 1}, ay[] = {0, 0, 0, 0}, az[] = {0, 1, 1, 0};
  double rx[] = {0, 1, 1, 0}, ry[] = {0, 0, 0, 1}, rz[] = {0, 0, 0, 0};
  char empty[] = "";
  char file[] = "c_host.ifc", description[] = "written by the C host", system[] = "korva_c_host";
  char author[] = "C Host", organization[] = "Korva Examples", application[] = "korva_c_host";
  Export(file, argv[3], description, system, author, organization, empty, application, -1, 15,
         /* columns, beams, storeys, slabs, walls */ 2, 1, 1, 0, 0, elevation, x, y, columnStart, columnCount,
         columnStorey, beamStart, beamCount, beamStorey, none, none, none, none, none, none, depth, lx, ly, lz, ax,
         ay, az, rx, ry, rz);

  char path[4096];
  snprintf(path, sizeof path, "%s/%s", argv[3], file);
  FindTotalObjects(path);
  CheckNumber(0, path);
  /* After the fill pass a counter holds the index of the last record. */
  printf("columns: %d\n", GetTotalColumns() + 1);
  for (int i = 0; i <= GetTotalColumns(); ++i)
    printf("column %d: start (%g, %g) height %g\n", i, ColumnX(i), ColumnY(i), ColumnDepth(i));
  printf("beams: %d\n", GetTotalBeams() + 1);
  for (int i = 0; i <= GetTotalBeams(); ++i) {
    char guid[64] = "";
    BeamGUID(i, guid);
    printf("beam %d: #%d start (%g, %g, %g) axis x %g length %g GlobalId %s\n", i, BeamFileID(i), BeamX(i),
           BeamY(i), BeamZ(i), BeamAxis1(i), BeamDepth(i), guid);
  }
  ShutDown();
  dlclose(library);
  return 0;
}
