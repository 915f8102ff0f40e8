// A program for the Windows platform tests to start: it reports the program
// folder the layer finds for it, or ends itself through the layer.
//   platform_probe --report-program-folder FILE    writes the folder to FILE
//   platform_probe --end-program                    exits with 0 at once
#include "platform/files.h"
#include "platform/shell.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--report-program-folder") == 0) {
        HANDLE file = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 2;
        const std::string folder = platform::programFolder();
        DWORD written = 0;
        WriteFile(file, folder.data(), static_cast<DWORD>(folder.size()), &written, nullptr);
        CloseHandle(file);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--end-program") == 0) {
        platform::endProgram();
        return 3;  // reached only if the program did not end
    }
    return 2;
}
