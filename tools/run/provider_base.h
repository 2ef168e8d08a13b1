// What every data provider outside the plug-in shares (the command's, the
// tests', the fuzzers' and the benchmarks'): the four slots at the end of
// the interface, which the plug-in never calls.
#ifndef LINTREL_TOOLS_RUN_PROVIDER_BASE_H_
#define LINTREL_TOOLS_RUN_PROVIDER_BASE_H_

#include <cstdint>

#include "plugin/data_provider.h"

namespace lintrel {

class ProviderBase : public ITBPDataProvider {
 public:
  int32_t LINTREL_STDCALL Unused7() final { return UnusedSlot(); }
  int32_t LINTREL_STDCALL Unused8() final { return UnusedSlot(); }
  int32_t LINTREL_STDCALL Unused9() final { return UnusedSlot(); }
  int32_t LINTREL_STDCALL Unused10() final { return UnusedSlot(); }

 protected:
  ~ProviderBase() = default;

  // What the four slots answer: "not implemented", unless a provider that
  // checks the plug-in records or refuses the call.
  virtual int32_t UnusedSlot() { return static_cast<int32_t>(0x80004001u); }
};

}  // namespace lintrel

#endif  // LINTREL_TOOLS_RUN_PROVIDER_BASE_H_
