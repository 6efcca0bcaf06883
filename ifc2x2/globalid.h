// IFC GlobalIds: a GUID compressed into 22 characters of the IFC base-64
// alphabet "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$".
// The first character is always 0-3.  Nothing reads them back.
#ifndef KORVA_IFC2X2_GLOBALID_H
#define KORVA_IFC2X2_GLOBALID_H

#include <cstdint>

#include "platform/platform.h"

namespace korva {

extern const char kBase64Digits[65];

// Writes `value` as width-1 digits of the alphabet (most significant first,
// padded with '0') and a terminating zero into `out`.  Refuses, writing
// nothing, when width exceeds 5 or the value needs more digits.
bool EncodeBase64Digits(uint32_t value, char* out, int width);

// Compresses `guid` into `buffer` (22 characters and a zero).  Returns the
// buffer, or null when `length` is below 23 (the buffer is then untouched).
char* GuidToBase64String(const platform::Guid& guid, char* buffer, int length);

// A fresh GlobalId in `buffer`; null when the platform produced no GUID (all
// sixteen bytes zero) or the buffer is shorter than 23 characters.
char* NewCompressedGuid(char* buffer, int length);

}  // namespace korva

#endif  // KORVA_IFC2X2_GLOBALID_H
