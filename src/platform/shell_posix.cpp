#include "system.h"
#include <cstdlib>
namespace platform::system {
int shellOpen(std::uintptr_t, const std::string &, const std::string &) { return 2; }
void playWave(const std::string &) {}
void messageBox(std::uintptr_t, const std::string &, const std::string &) {}
void endProgram() { std::_Exit(0); }
}
