// Declaration macros for the library's exported functions.
//   KORVA_API     starts the declaration of an exported C function.
//   KORVA_CALL    the calling convention (stdcall on 32-bit Windows).
//   KORVA_CPP_API starts the declaration of an exported C++ function (the
//                 two functions the host binds under decorated names).
// Everything else in the library has hidden visibility.
#ifndef KORVA_PLATFORM_EXPORTS_H
#define KORVA_PLATFORM_EXPORTS_H

#if defined(_WIN32)
#define KORVA_CALL __stdcall
#define KORVA_API extern "C" __declspec(dllexport)
// Exported through the module-definition file under their decorated names
// only, not under the compiler's own.
#define KORVA_CPP_API
#else
#define KORVA_CALL
#define KORVA_API extern "C" __attribute__((visibility("default")))
#define KORVA_CPP_API __attribute__((visibility("default")))
#endif

#endif  // KORVA_PLATFORM_EXPORTS_H
