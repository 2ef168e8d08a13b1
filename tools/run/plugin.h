// The plug-in as the command drives it: the seam between the platforms. On
// Linux its dispatcher is linked into the command (posix/linked_plugin.cpp);
// on Windows its DLL is loaded and called through its entry points, with the
// command's providers, as the e-mail client does
// (windows/loaded_plugin.cpp). The rest of the command is the same on both.
#ifndef LINTREL_TOOLS_RUN_PLUGIN_H_
#define LINTREL_TOOLS_RUN_PLUGIN_H_

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/data_provider.h"
#include "text/text.h"
#include "tools/arguments/options.h"

namespace lintrel::cli {

// The plug-in's identity texts, as it hands them over.
struct PluginIdentity {
  std::string name;
  std::string version;
  std::string information;
  // The macro names, each followed by CR LF.
  std::string macro_list;
};

class Plugin {
 public:
  // Makes the plug-in ready for the options' clock (`--now`), regional
  // settings (`--locale`, Linux) and DLL (`--dll`, Windows). Raises CliError
  // for an option this build cannot honour, a locale that is not installed,
  // or a DLL that cannot be loaded or lacks an entry point.
  explicit Plugin(const Options& options);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The identity texts the plug-in handed over when it was made ready.
  const PluginIdentity& identity() const;

  // Whether `name` is one of the plug-in's macros, in any letter case, as
  // the plug-in matches names.
  bool HasMacro(std::string_view name) const;

  // Runs macro `name` on the two providers. Answers nullopt when it
  // completed, or the message of the error it raised. An exception that a
  // provider operation raised leaves as it was thrown; anything else that
  // goes wrong inside the plug-in raises PluginFault.
  std::optional<Text> Exec(std::string_view name, ITBPDataProvider* message,
                           ITBPDataProvider* parameters) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Ends a provider operation with `failure`, which the command threw inside
// it: the plug-in cleans up on its way out and Exec raises it again.
// `failure` was made with new and is taken over.
[[noreturn]] void ThrowThroughPlugin(std::exception_ptr* failure);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_PLUGIN_H_
