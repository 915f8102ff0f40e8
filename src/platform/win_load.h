// Functions of the system DLLs that the program needs only now and then (the
// shell, the sound player, the open-file dialog), loaded on first use. Linked
// directly, each would be loaded at every start with the DLLs behind it, some
// ten under Wine, before the first window shows. Used only by Windows files.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform::win {

// The function `name` of the system DLL `dll`, or null when either is
// missing. The DLL stays loaded for the rest of the program.
template <class F> F *systemFunction(const char *dll, const char *name)
{
    const HMODULE module = LoadLibraryA(dll);
    if (!module)
        return nullptr;
    return reinterpret_cast<F *>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

} // namespace platform::win
