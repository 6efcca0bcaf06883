#!/usr/bin/env python3
"""A host of korvaifc in Python (ctypes): loads the library, sets the schema
folder, imports IFC files and prints their beams and analysis members.

    python3 read_model.py LIBRARY SCHEMA_FOLDER FILE.ifc [FILE.ifc ...]

The library writes a trace line per instance it visits to standard output;
the lines printed here start with "beam", "model" or "member".
"""
import ctypes
import sys


def load(path):
    # On 32-bit Windows the exports are stdcall: use ctypes.WinDLL there.
    lib = ctypes.WinDLL(path) if sys.platform == "win32" and ctypes.sizeof(ctypes.c_void_p) == 4 \
        else ctypes.CDLL(path)
    numbers = ["GetBeamStartx", "GetBeamStarty", "GetBeamStartz", "GetBeamExtrudedDepth",
               "GetStrCurveMemberEdgeX1", "GetStrCurveMemberEdgeY1", "GetStrCurveMemberEdgeZ1",
               "GetStrCurveMemberEdgeX2", "GetStrCurveMemberEdgeY2", "GetStrCurveMemberEdgeZ2"]
    for name in numbers:
        getattr(lib, name).restype = ctypes.c_double
        getattr(lib, name).argtypes = [ctypes.c_int]
    for name in ["GetBeamGUID", "GetAnaModelName", "GetStrCurveMemberName", "GetStrSurfaceMemberName"]:
        getattr(lib, name).restype = None
        getattr(lib, name).argtypes = [ctypes.c_int, ctypes.c_char_p]
    return lib


def text(getter, index):
    buffer = ctypes.create_string_buffer(4096)
    getter(index, buffer)
    return buffer.value.decode("latin-1")


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    lib = load(argv[1])
    lib.SetSchemaPath(argv[2].encode())
    for path in argv[3:]:
        name = path.encode()
        # Building elements: census, fill, then the getters (a counter holds
        # the index of the last record after the fill).
        lib.FindTotalObjects(name)
        lib.CheckNumber(0, name)
        for i in range(lib.GetTotalBeams() + 1):
            print("beam %d: %s start (%g, %g, %g) length %g" % (
                i, text(lib.GetBeamGUID, i), lib.GetBeamStartx(i), lib.GetBeamStarty(i),
                lib.GetBeamStartz(i), lib.GetBeamExtrudedDepth(i)))
        # Analysis models: the census lists them, each is filled by FileID.
        lib.FindTotalAnaModels(name)
        models = [(text(lib.GetAnaModelName, i), lib.GetAnaModelFileID(i))
                  for i in range(lib.GetTotalAnaModels() + 1)]
        for k, (model, file_id) in enumerate(models):
            if k > 0:
                lib.FindTotalAnaModels(name)
            lib.CheckAnaModel(0, file_id, name)
            print("model %s (#%d): %d curve members, %d surface members" % (
                model, file_id, lib.GetNumberStrCurveMembers() + 1, lib.GetNumberStrSurfaceMembers() + 1))
            for i in range(lib.GetNumberStrCurveMembers() + 1):
                print("member %s: (%g, %g, %g) - (%g, %g, %g)" % (
                    text(lib.GetStrCurveMemberName, i),
                    lib.GetStrCurveMemberEdgeX1(i), lib.GetStrCurveMemberEdgeY1(i), lib.GetStrCurveMemberEdgeZ1(i),
                    lib.GetStrCurveMemberEdgeX2(i), lib.GetStrCurveMemberEdgeY2(i), lib.GetStrCurveMemberEdgeZ2(i)))
            for i in range(lib.GetNumberStrSurfaceMembers() + 1):
                print("member %s: surface" % text(lib.GetStrSurfaceMemberName, i))
    lib.ShutDown()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
