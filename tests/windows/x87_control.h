// The x87 control word of the calling thread, which a host may set to other
// precision and rounding than the default.
#ifndef LINTREL_TESTS_WINDOWS_X87_CONTROL_H_
#define LINTREL_TESTS_WINDOWS_X87_CONTROL_H_

#include <cstdint>

namespace host {

inline uint16_t X87ControlWord() {
  uint16_t word;
  __asm__ volatile("fnstcw %0" : "=m"(word));
  return word;
}

inline void SetX87ControlWord(uint16_t word) {
  __asm__ volatile("fldcw %0" : : "m"(word));
}

// Bits 8-9 select the precision (2: 53 bits, 3: 64 bits), bits 10-11 the
// rounding (0: to nearest, 2: upwards).
inline uint16_t WithPrecision53(uint16_t word) {
  return static_cast<uint16_t>((word & ~0x0300) | 0x0200);
}
inline uint16_t WithRoundingUp(uint16_t word) {
  return static_cast<uint16_t>((word & ~0x0C00) | 0x0800);
}

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_X87_CONTROL_H_
