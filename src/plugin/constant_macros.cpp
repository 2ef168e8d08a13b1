#include "plugin/identity.h"
#include "plugin/macro_rows.h"

namespace lintrel {

Text RunVersionBanner(MacroCall&) {
  return Text(kVersionBanner);
}

// The separator is stored at once and again by the dispatcher, as hosts
// have always seen it.
Text RunSignatureSeparator(MacroCall& call) {
  Text result(kSignatureSeparator);
  call.StoreNow(result);
  return result;
}

}  // namespace lintrel
