// korva-ifc convert: reads an exchange file of any schema the library reads
// and writes it in another (exchange/schema_conversion.h).
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli.h"
#include "cli/read_design.h"
#include "cli/write_design.h"
#include "exchange/file_schema.h"
#include "exchange/part21_writer.h"
#include "exchange/schema_conversion.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "objdb/text.h"

namespace korva {
namespace cli {
namespace {

int RunConvert(const Invocation& call);

}  // namespace

extern const Command kConvertCommand = {
    "convert", "[--schema IFC2X3|IFC2X2_FINAL] [--schemas DIR] IN OUT",
    "Reads the exchange file IN and writes it to OUT in the schema given\n"
    "(IFC2X3 by default): entity by entity and attribute by attribute, by\n"
    "name, with the few explicit rules of the conversion.  Prints one line\n"
    "saying what was mapped.  Whatever could not be carried over is listed\n"
    "on standard error by type and instance number; OUT is still written\n"
    "and the exit status is 1.  A file already in the schema is written as\n"
    "read.\n\n"
    "  --schema NAME  IFC2X3 or IFC2X2_FINAL\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunConvert};

namespace {

int RunConvert(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kConvertCommand, call, {}, {"--schema", "--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 2) return UsageError(kConvertCommand, "an input and an output file expected");
  const std::string wanted = args.value("--schema") != nullptr ? *args.value("--schema") : "IFC2X3";
  bool known = false;
  for (const IfcSchemaName& s : IfcSchemasOfThisBuild()) known = known || EqualNoCase(s.fileName, wanted.c_str());
  if (!known) return UsageError(kConvertCommand, "--schema %s: IFC2X3 or IFC2X2_FINAL expected", wanted.c_str());
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  ReadOutcome read;
  if (int status = ReadInputForOutput(call, args, &read)) return status;
  TarnDesign* target = ConversionTarget(wanted.c_str());
  TarnDesign* own = IfcSchemaOf(read.design);
  if (target == nullptr) return Fail(kExitNoSchema, "the compiled schema of %s cannot be found", wanted.c_str());
  if (own == nullptr) return Fail(kExitFailed, "%s names no IFC schema", in.c_str());
  if (own == target) {
    if (!WriteExchangeFile(read.design, out, in)) return Fail(kExitNoOutput, "%s: the write failed", out.c_str());
    std::printf("%s is already %s: written as read\n", in.c_str(), FileSchemaName(own->name()).c_str());
    TARN().shutdown();
    return kExitOk;
  }
  // Written straight through a view when every value is written alike in
  // both schemas (no second design is made); else converted first.
  ConversionReport report;
  bool written;
  if (std::unique_ptr<Part21View> view = ConversionView(read.design, target, &report)) {
    written = WriteExchangeFile(read.design, out, in, view.get());
  } else {
    TarnDesign* converted = ConvertDesign(read.design, target, &report);
    if (converted == nullptr) return Fail(kExitFailed, "%s could not be converted", in.c_str());
    written = WriteExchangeFile(converted, out, in);
  }
  TARN().shutdown();
  if (!written) return Fail(kExitNoOutput, "%s: the write failed", out.c_str());
  std::printf("%s\n", report.summary().c_str());
  if (report.complete()) return kExitOk;
  std::fprintf(stderr, "korva-ifc: not carried over to %s:\n", report.to.c_str());
  for (const std::string& line : report.lossLines()) std::fprintf(stderr, "  %s\n", line.c_str());
  return kExitFailed;
}

}  // namespace
}  // namespace cli
}  // namespace korva
