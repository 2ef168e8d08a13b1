// Runs the body macros through the 32-bit DLL beside it on texts that put
// the bytes their searches look for at every distance from the edges of the
// blocks the searches read (eight or sixteen bytes), and prints each result.
// check_block_paths.py runs it on emulated processors with and without SSE2
// and SSSE3 and requires the same bytes from each. The first line says
// where the DLL lies, so that the emulator's log of the code it ran can be
// matched to the DLL's functions. A host may keep the stack aligned to four
// bytes only, so the calls enter the DLL at each distance from a 16-byte
// boundary in turn.
//   lintrel_block_paths
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "../host_exceptions.h"
#include "../host_provider.h"

// Calls `run(context)` with the stack pointer `offset` bytes below a 16-byte
// boundary at the call.
extern "C" void CallAtStackOffset(void (*run)(void* context), void* context, uint32_t offset);
asm(".text\n"
    ".globl _CallAtStackOffset\n"
    "_CallAtStackOffset:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  andl $-16, %esp\n"
    "  subl 16(%ebp), %esp\n"
    "  subl $12, %esp\n"
    "  pushl 12(%ebp)\n"
    "  call *8(%ebp)\n"
    "  movl %ebp, %esp\n"
    "  popl %ebp\n"
    "  ret\n");

namespace {

using namespace std::literals;

using ExecMacro = int32_t(__stdcall*)(const char* name, int32_t length, host::HostProvider* message,
                                      host::HostProvider* parameters);

// `length` bytes taken in turn from `bytes`, the first at `start`.
std::string Cycle(std::string_view bytes, size_t length, size_t start) {
  std::string out;
  for (size_t i = 0; i < length; ++i) out += bytes[(start + i) % bytes.size()];
  return out;
}

// Texts whose links stand at every distance from where the search for the
// next one starts, decoys among them, each text ending in another number of
// bytes after the last full block.
void AddLinkCases(std::vector<host::MacroCall>& cases) {
  constexpr std::string_view kSchemes[] = {"http:", "HTTP:", "ftp:", "fTp:"};
  constexpr std::string_view kOutsideLinks = " \r\n<>\t\x80[\x01";
  constexpr std::string_view kInsideLinks = "a/.:9Z~_@";
  for (size_t tail = 0; tail <= 16; ++tail) {
    std::string text;
    for (size_t gap = 0; gap <= 34; ++gap) {
      text += Cycle(kOutsideLinks, gap, gap + tail);
      if (gap % 5 == 4) text += gap % 2 == 0 ? "h" : "F";
      text += kSchemes[gap % 4];
      text += Cycle(kInsideLinks, gap % 7, gap);
    }
    text += Cycle(kOutsideLinks, tail, 0);
    cases.push_back({"KORGETLINKS", {text}, {}, "", ""});
  }
}

// Escaping texts of every length up to several blocks, with from none to
// all of their bytes escaped, and every byte once.
void AddEscapeCases(std::vector<host::MacroCall>& cases) {
  constexpr std::string_view kPlain = "aZ5qM0z9";
  constexpr std::string_view kEscaped = " %\0\xe9@[`{/\xff-."sv;
  for (size_t n : {0,  1,  2,  3,  5,  7,  8,  9,  15, 16, 17,  23,  31, 32,
                   33, 40, 47, 48, 49, 63, 64, 65, 70, 95, 127, 200, 333}) {
    for (size_t every : {1, 2, 3, 7, 40}) {
      std::string text;
      for (size_t i = 0; i < n; ++i) {
        const bool escaped = (i * 5 + n) % every == 0;
        text += escaped ? kEscaped[(i + n) % kEscaped.size()] : kPlain[(i + n) % kPlain.size()];
      }
      cases.push_back({"KORMKLINK", {text}, {}, "", ""});
    }
  }
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes += static_cast<char>(b);
  cases.push_back({"KORMKLINK", {all_bytes}, {}, "", ""});
}

// Lines of every length with runs of ">" of several lengths at several
// places, mostly ending in CR LF so that many kept lines are checked
// together, and texts with a byte 0 at each place.
void AddQuoteCases(std::vector<host::MacroCall>& cases) {
  constexpr std::string_view kBreaks[] = {"\r\n", "\r\n", "\r\n", "\n", "\r\n", "\r"};
  for (int32_t depth = 1; depth <= 3; ++depth) {
    for (size_t variant = 0; variant < 6; ++variant) {
      std::string text;
      for (size_t line = 0; line < 40; ++line) {
        text += Cycle("ab c", (line * (variant + 3) + depth) % 23, line);
        text += std::string((line + variant) % 4, '>');
        text += Cycle("a b>", (line * 5 + variant) % 9, line);
        text += kBreaks[(line + variant) % std::size(kBreaks)];
      }
      cases.push_back({"KORKILLCITE", {text, "x"}, {{1, depth}}, "", ""});
      cases.push_back({"KORCITE", {text, "[...]"}, {{2, depth * 2 + 1}}, "", ""});
    }
  }
  for (size_t nul = 0; nul <= 40; ++nul) {
    std::string text = Cycle("a>\r\n>> b", 48, nul);
    text[nul] = '\0';
    cases.push_back({"KORKILLCITE", {text, ""}, {}, "", ""});
  }
}

std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char byte : text) {
    switch (byte) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\0':
        escaped += "\\0";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += byte;
    }
  }
  return escaped;
}

struct Call {
  ExecMacro exec;
  const host::MacroCall* macro;
  host::Providers* providers;
  uint32_t stack_offset;
  host::CallOutcome outcome;
};

void Exec(void* context) {
  Call& call = *static_cast<Call*>(context);
  const std::string& name = call.macro->name;
  call.outcome.result = call.exec(name.data(), static_cast<int32_t>(name.size()),
                                  &call.providers->message, &call.providers->parameters);
}

}  // namespace

int main() {
  HMODULE dll = LoadLibraryA("KOR_LINTREL.TBP");
  const auto exec = reinterpret_cast<ExecMacro>(
      reinterpret_cast<void*>(dll != nullptr ? GetProcAddress(dll, "TBP_ExecMacro") : nullptr));
  if (exec == nullptr) {
    std::fputs("lintrel_block_paths: cannot load KOR_LINTREL.TBP\n", stderr);
    return 2;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  std::printf("KOR_LINTREL.TBP loaded at 0x%08x\n",
              static_cast<unsigned>(reinterpret_cast<uintptr_t>(dll)));

  std::vector<host::MacroCall> cases;
  AddLinkCases(cases);
  AddEscapeCases(cases);
  AddQuoteCases(cases);
  int errors = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    host::Providers providers(cases[i]);
    Call call{exec, &cases[i], &providers, static_cast<uint32_t>(4 * (i % 4)), {}};
    auto at_offset = [&call] { CallAtStackOffset(Exec, &call, call.stack_offset); };
    host::CallUnwinding(at_offset, call.outcome);
    std::string line = std::to_string(i + 1) + " " + cases[i].name + "\t";
    if (call.outcome.raised) {
      char code[16];
      std::snprintf(code, sizeof code, "%08lx", call.outcome.code);
      line += "ERROR " + std::string(code) + ": " + call.outcome.message;
      ++errors;
    } else {
      line += providers.message.stored.empty() ? "<nothing stored>"
                                               : Escaped(providers.message.stored.back());
    }
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  const std::string summary =
      std::to_string(cases.size()) + " calls, " + std::to_string(errors) + " raised\n";
  std::fwrite(summary.data(), 1, summary.size(), stdout);
  return errors == 0 ? 0 : 1;
}
