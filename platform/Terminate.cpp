// Terminate.cpp: what happens when an exception escapes everything.
//
// The library's default handler prints the exception's demangled type to standard
// error before aborting; its demangler and formatted output are a third of a small
// program, and a GUI program has no standard error to read. Ending at once is all
// that is left to do. Linked into the executable as an object, so that it takes the
// place of the library's handler.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }  // NOLINT(bugprone-reserved-identifier)
}  // namespace __gnu_cxx
