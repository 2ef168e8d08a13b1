// The platform services of the native build: a code page 1252 lower-casing
// table and the C++ system clock. There is no host memory to protect here,
// so copies are plain, and no regional-settings service, so the settings
// take their built-in defaults. A host's errors are C++ exceptions.
#include <array>
#include <chrono>
#include <cstring>

#include "platform/platform.h"

namespace lintrel::platform {
namespace {

// Code page 1252: the ASCII capitals, the three capitals of 0x8A..0x8E whose
// small forms sit 0x10 higher, Y with diaeresis (0x9F -> 0xFF) and the Latin-1
// capitals 0xC0..0xDE except the multiplication sign 0xD7.
constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  for (int b = 'A'; b <= 'Z'; ++b) table[b] = static_cast<unsigned char>(b + 32);
  table[0x8A] = 0x9A;
  table[0x8C] = 0x9C;
  table[0x8E] = 0x9E;
  table[0x9F] = 0xFF;
  for (int b = 0xC0; b <= 0xDE; ++b) {
    if (b != 0xD7) table[b] = static_cast<unsigned char>(b + 32);
  }
  return table;
}

constexpr std::array<unsigned char, 256> kLowerTable = MakeLowerTable();

}  // namespace

void LowerAnsiInPlace(char* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<char>(kLowerTable[static_cast<unsigned char>(bytes[i])]);
  }
}

std::chrono::sys_time<std::chrono::milliseconds> ReadUtcClock() {
  return std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

bool CopyToWritableMemory(void* destination, const void* source, size_t n) {
  if (n > 0) std::memcpy(destination, source, n);
  return true;
}

LocaleService ThreadLocaleService() {
  return {};
}

std::optional<HostFault> CallHost(void (*operation)(void* context), void* context) {
  operation(context);
  return std::nullopt;
}

}  // namespace lintrel::platform
