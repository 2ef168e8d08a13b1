// The C++ runtime's default terminate handler prints the type of the
// exception that ended the process, and to name it links a symbol demangler
// and a printf into the DLL: about 80 KiB, a third of the plug-in. A plug-in
// has no console to print to, so its terminate handler only aborts, as the
// default one does after printing. Only the DLL is linked with this file.
#include <cstdlib>

namespace __gnu_cxx {

// Replaces the runtime's definition of the same name; std::terminate calls it
// when no handler of the plug-in's own has been set (none is).
void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
