// Text the library hands out, made fit for JSON and terminals.  The getters
// copy the bytes of the file's strings: ISO 8859-1 characters, and possibly
// still ISO 10303-21 escapes for characters outside ISO 8859-1, "\X2\" with
// groups of 4 hex digits (UCS-2; surrogate pairs are joined) or "\X4\" with
// groups of 8 (UCS-4), up to "\X0\", several per string.  TextToUtf8 turns
// both into UTF-8; a byte it cannot decode (one of 0x80 to 0x9F, which ISO
// 8859-1 leaves without character, or one that breaks an escape) becomes
// U+FFFD.
#ifndef KORVA_CLI_IFC_TEXT_H
#define KORVA_CLI_IFC_TEXT_H

#include <string>

namespace korva {
namespace cli {

std::string TextToUtf8(const char* text);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_IFC_TEXT_H
