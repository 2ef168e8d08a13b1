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

SystemTime ReadUtcClock() {
  using namespace std::chrono;
  const auto now = time_point_cast<milliseconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  SystemTime reading;
  reading.year = static_cast<uint16_t>(static_cast<int>(date.year()));
  reading.month = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
  reading.day = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
  reading.day_of_week = static_cast<uint16_t>(weekday{day}.c_encoding());
  reading.hour = static_cast<uint16_t>(time.hours().count());
  reading.minute = static_cast<uint16_t>(time.minutes().count());
  reading.second = static_cast<uint16_t>(time.seconds().count());
  reading.milliseconds = static_cast<uint16_t>(time.subseconds().count());
  return reading;
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
