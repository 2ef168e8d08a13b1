#include <utility>

#include "body/cite.h"
#include "body/links.h"
#include "plugin/macro_rows.h"

namespace lintrel {

// The quote and link macros work on parameter 0, or for shortening and link
// listing on the message body when parameter 0 is empty.

Text RunCiteText(MacroCall& call) {
  Text text = call.Parameter(0);
  if (text.empty()) text = call.Body();
  const Text insert = call.Parameter(1);
  const int32_t count = call.ParameterInteger(2);
  return CiteText(text, insert, count);
}

// The text is fetched with room for its link, which is made where it stands.
Text RunMakeLink(MacroCall& call) {
  return MakeLink(call.Parameter(0, kLinkGrowthPerByte));
}

// The depth is item 1's integer only when parameter 1 is given at all;
// without it quotes two levels deep are stripped.
Text RunKillCite(MacroCall& call) {
  Text text = call.Parameter(0);
  int32_t depth = call.ParameterInteger(1);
  if (call.Parameter(1).empty()) depth = 2;
  return KillCite(std::move(text), depth);
}

Text RunGetLinks(MacroCall& call) {
  Text text = call.Parameter(0);
  if (text.empty()) text = call.Body();
  return GetLinks(text);
}

}  // namespace lintrel
