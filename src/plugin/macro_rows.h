// The handler rows of the dispatch table: each fetches its macro's inputs
// from the call, applies the defaults and runs the handler.
#ifndef LINTREL_PLUGIN_MACRO_ROWS_H_
#define LINTREL_PLUGIN_MACRO_ROWS_H_

#include "plugin/macro_call.h"
#include "text/text.h"

namespace lintrel {

using MacroRow = Text (*)(MacroCall& call);

// constant_macros.cpp
Text RunVersionBanner(MacroCall& call);
Text RunSignatureSeparator(MacroCall& call);

// body_macros.cpp
Text RunCiteText(MacroCall& call);
Text RunMakeLink(MacroCall& call);
Text RunKillCite(MacroCall& call);
Text RunGetLinks(MacroCall& call);

// header_macros.cpp
Text RunDeliveryTime(MacroCall& call);
Text RunReplyTime(MacroCall& call);
Text RunCharset(MacroCall& call);
Text RunMailer(MacroCall& call);
Text RunGetHeader(MacroCall& call);

// delivery_date_macro.cpp
Text RunDeliveryDate(MacroCall& call);

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_MACRO_ROWS_H_
