// Catalogue fixtures: raw records, and a temporary folder reached by a DOS
// path.
#pragma once

#include "platform/drives.h"

#include <cassert>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace fixture {

// A field's bytes as given, filled up to its width with spaces.
inline std::string pad(std::string bytes, std::size_t width)
{
    assert(bytes.size() <= width);
    return bytes + std::string(width - bytes.size(), ' ');
}

// One 69-byte record from the raw bytes of its fields.
inline std::string record(const std::string &name, const std::string &folder = "GAME",
                          const std::string &program = "GO.EXE", const std::string &parameters = "",
                          const std::string &flag = "")
{
    return pad(name, 36) + pad(folder, 8) + pad(program, 12) + pad(parameters, 12) + pad(flag, 1);
}

inline bool writeFile(const std::filesystem::path &path, std::string_view bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return file.write(bytes.data(), std::streamsize(bytes.size())) && file.flush();
}

// A folder of the test's own under the system's temporary folder, removed
// with everything in it at the end; dosPath() is how the program names it.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && mPath.empty(); ++attempt) {
            const auto candidate = base / ("quorvia-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                mPath = candidate;
        }
    }
    ~TempFolder()
    {
        std::error_code error;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, error);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    bool isValid() const { return !mPath.empty(); }
    const std::filesystem::path &path() const { return mPath; }
    std::filesystem::path filePath(const std::string &name) const { return mPath / name; }
    // The folder as a DOS path with one backslash appended, or empty when no
    // drive holds it.
    std::string dosPath() const
    {
        const std::string dos = platform::toDosPath(mPath.string());
        return dos.empty() || dos.back() == '\\' ? dos : dos + '\\';
    }

private:
    std::filesystem::path mPath;
};

// A drive letter the drive table lacks, or 0.
inline char missingDriveLetter()
{
    for (char letter = 'Y'; letter > 'C'; --letter) {
        bool listed = false;
        for (const platform::Drive &drive : platform::drives())
            listed = listed || drive.letter == letter;
        if (!listed)
            return letter;
    }
    return 0;
}

} // namespace fixture
