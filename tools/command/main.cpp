// lintrel: runs the plug-in's macros over message files and mailboxes, playing
// the part of the e-mail client.
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/help.h"
#include "tools/arguments/parse.h"
#include "tools/base/errors.h"
#include "tools/base/system.h"
#include "tools/command/commands.h"
#include "tools/output/escaping.h"
#include "tools/output/writer.h"
#include "tools/run/plugin.h"

namespace lintrel::cli {
namespace {

// The version, then the plug-in's name and its information text, with
// LF line breaks.
std::string VersionText(const PluginIdentity& identity) {
  std::string text = identity.version + "\n" + identity.name + "\n" + identity.information + "\n";
  std::erase(text, '\r');
  return text;
}

int Dispatch(const Options& options) {
  if (options.command == Command::kHelp) return HelpCommand(options);
  if (options.command == Command::kLocales) return LocalesCommand();
  const Plugin plugin(options);
  switch (options.command) {
    case Command::kVersion:
      Output(std::nullopt).Write(VersionText(plugin.identity()));
      return kExitSuccess;
    case Command::kList:
      return ListCommand(plugin);
    case Command::kReport:
      return ReportCommand(options, plugin);
    default:
      return RunCommand(options, plugin);
  }
}

int Main(const std::vector<std::string_view>& arguments) {
  try {
    return Dispatch(ParseArguments(arguments));
  } catch (const UsageError& error) {
    WriteError("lintrel: " + WithoutControls(error.what()) + "\n" + UsageText());
  } catch (const PluginFault& error) {
    WriteError("lintrel: internal error: " + WithoutControls(error.what()) + "\n");
    return kExitInternal;
  } catch (const InputError& error) {
    WriteError(InputErrorLine(error));
  } catch (const CliError& error) {
    WriteError("lintrel: " + WithoutControls(error.what()) + "\n");
  } catch (const std::bad_alloc&) {
    // As when the plug-in runs out of memory in a macro: the run failed
    // where it stood, not its command line.
    WriteError("lintrel: out of memory\n");
    return kExitFailed;
  } catch (const std::exception& error) {
    // A fault of the command's own: said plainly, never a crash.
    WriteError("lintrel: internal error: " + WithoutControls(error.what()) + "\n");
    return kExitInternal;
  }
  return kExitUsage;
}

}  // namespace
}  // namespace lintrel::cli

int main(int argc, char** argv) {
  lintrel::cli::OpenClosedStandardDescriptors();
  lintrel::cli::UseBinaryStandardStreams();
  return lintrel::cli::Main(std::vector<std::string_view>(argv + 1, argv + argc));
}
