#include "ifc2x2/globalid.h"

#include <cstring>

namespace korva {

const char kBase64Digits[65] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";

bool EncodeBase64Digits(uint32_t value, char* out, int width) {
  if (width > 5 || width < 1) return false;
  char digits[5];
  for (int i = 0; i <= width - 2; ++i) {
    digits[width - 2 - i] = kBase64Digits[value % 64];
    value /= 64;
  }
  digits[width - 1] = '\0';
  if (value != 0) return false;
  std::memcpy(out, digits, static_cast<size_t>(width));
  return true;
}

char* GuidToBase64String(const platform::Guid& guid, char* buffer, int length) {
  if (buffer == nullptr || length < 23) return nullptr;
  const uint8_t* d4 = guid.data4;
  const uint32_t n[6] = {
      guid.data1 >> 24,
      guid.data1 & 0xFFFFFFu,
      (static_cast<uint32_t>(guid.data2) << 8) + (static_cast<uint32_t>(guid.data3) >> 8),
      ((guid.data3 & 0xFFu) << 16) + (static_cast<uint32_t>(d4[0]) << 8) + d4[1],
      d4[2] * 65536u + d4[3] * 256u + d4[4],
      d4[5] * 65536u + d4[6] * 256u + d4[7],
  };
  char out[23];
  if (!EncodeBase64Digits(n[0], out, 3)) return nullptr;
  for (int i = 1; i < 6; ++i)
    if (!EncodeBase64Digits(n[i], out + 2 + (i - 1) * 4, 5)) return nullptr;
  std::memcpy(buffer, out, 23);
  return buffer;
}

char* NewCompressedGuid(char* buffer, int length) {
  platform::Guid guid;
  std::memset(&guid, 0, sizeof guid);
  platform::CreateGuid(&guid);
  static const platform::Guid kZero = {};
  if (std::memcmp(&guid, &kZero, sizeof guid) == 0) return nullptr;
  return GuidToBase64String(guid, buffer, length);
}

}  // namespace korva
