#include "plugin/dispatcher.h"

#include <array>
#include <exception>
#include <new>
#include <stdexcept>

#include "plugin/macro_rows.h"
#include "text/errors.h"

namespace lintrel {
namespace {

struct MacroEntry {
  std::string_view name;
  MacroRow run;
};

constexpr std::array<MacroEntry, 12> kMacros = {{
    {"KOR_LN_VER", RunVersionBanner},
    {"KORCITE", RunCiteText},
    {"KORMKLINK", RunMakeLink},
    {"KORKILLCITE", RunKillCite},
    {"KORCUTHERE", RunSignatureSeparator},
    {"KORDELIVERYTIME", RunDeliveryTime},
    {"KORREPLYTIME", RunReplyTime},
    {"KORDELIVERYTODATE", RunDeliveryDate},
    {"KORCHARSET", RunCharset},
    {"KORMAILER", RunMailer},
    {"KORGETLINKS", RunGetLinks},
    {"KORGETHEADER", RunGetHeader},
}};

Text Dispatch(std::string_view name, MacroCall& call) {
  const Text upper = AsciiUpper(name);
  Text result = "Bad result " + upper;
  // Every comparison is made; the names differ, so at most one row runs.
  for (const MacroEntry& entry : kMacros) {
    if (upper == entry.name) result = entry.run(call);
  }
  return result;
}

}  // namespace

int32_t ExecMacro(std::string_view name, ITBPDataProvider* message, ITBPDataProvider* parameters,
                  const MacroEnvironment& environment) {
  ProviderReference message_reference(message);
  ProviderReference parameters_reference(parameters);
  MacroCall call(message, parameters, environment);
  try {
    StoreText(message, kItemResult, Dispatch(name, call));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  } catch (const std::length_error&) {
    throw EOutOfMemory();
  }
  parameters_reference.Release();
  message_reference.Release();
  return kItemResult;
}

Text CurrentErrorMessage() {
  try {
    throw;
  } catch (const Exception& error) {
    return error.Message();
  } catch (const std::bad_alloc&) {
    return EOutOfMemory().Message();
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace lintrel
