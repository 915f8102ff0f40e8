// The folder copies, written once over the host primitives of hostfiles.h.
#include "foldercopy.h"

#include "drives.h"
#include "hostfiles.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_set>

namespace platform {
namespace {

const std::string kDescriptionFile = "QAR.TXT";

// A name that stays one entry of its folder on every system.
bool isPlainName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string("\\/\0", 3)) == std::string::npos;
}

bool caseBlindLess(const std::string &a, const std::string &b)
{
    const std::string x = host::foldCase(a), y = host::foldCase(b);
    return x != y ? x < y : a < b;
}

// One destination folder and the entries already in it, listed once, the
// first time a name is looked up (never for a folder the copy made). Where a
// name is not there exactly, the entry whose name matches it without regard
// to case is used.
class Destination {
public:
    Destination(std::string folder, bool isNew) : mFolder(std::move(folder)), mListed(isNew) {}

    const std::string &folder() const { return mFolder; }

    std::string pathOf(const std::string &name)
    {
        if (!mListed) {
            mListed = true;
            if (const auto entries = host::list(mFolder)) {
                for (const host::Entry &e : *entries) {
                    mNames.insert(e.name);
                    // The first in byte order, when several match.
                    auto [it, added] = mByKey.emplace(host::foldCase(e.name), e.name);
                    if (!added && e.name < it->second)
                        it->second = e.name;
                }
            }
        }
        if (mNames.count(name))
            return host::join(mFolder, name);
        const auto found = mByKey.find(host::foldCase(name));
        return host::join(mFolder, found == mByKey.end() ? name : found->second);
    }

private:
    std::string mFolder;
    bool mListed;
    std::unordered_set<std::string> mNames;
    std::map<std::string, std::string> mByKey;
};

// One step of a folder copy. `folder` is the index of the destination folder
// that receives it (0: the destination itself); a Folder step makes folder
// number `made`.
struct Step {
    enum Kind { Folder, File, Refused } kind;
    std::size_t folder;
    std::string name;
    std::string source;  // host path of a file
    std::size_t made = 0;
};

// The steps that copy the contents of `hostFolder` into destination folder
// `into`: its files, then each subfolder followed by its own steps. A folder
// that cannot be listed, or an entry with a name that is not plain, gives a
// Refused step where it would be copied, so the copy stops there. The whole
// plan is made before anything is copied, so a destination inside the source
// is never copied into itself.
void plan(const std::string &hostFolder, std::size_t into, std::size_t &folders, std::vector<Step> &steps)
{
    const auto entries = host::list(hostFolder);
    if (!entries) {
        steps.push_back({Step::Refused, into, {}, {}});
        return;
    }
    std::vector<const host::Entry *> files, subfolders;
    for (const host::Entry &e : *entries)
        (e.folder ? subfolders : files).push_back(&e);
    const auto byName = [](const host::Entry *a, const host::Entry *b) { return caseBlindLess(a->name, b->name); };
    std::sort(files.begin(), files.end(), byName);
    std::sort(subfolders.begin(), subfolders.end(), byName);

    for (const host::Entry *e : files) {
        if (!isPlainName(e->name))
            steps.push_back({Step::Refused, into, e->name, {}});
        else
            steps.push_back({Step::File, into, e->name, host::join(hostFolder, e->name)});
    }
    for (const host::Entry *e : subfolders) {
        if (!isPlainName(e->name)) {
            steps.push_back({Step::Refused, into, e->name, {}});
            continue;
        }
        const std::size_t made = folders++;
        steps.push_back({Step::Folder, into, e->name, {}, made});
        plan(host::join(hostFolder, e->name), made, folders, steps);
    }
}

// Copies one file of the plan. A new description file is written under a
// temporary name first and then given its own, so that it never exists
// half-written: a copy broken off by a crash then does not count as present.
CopyResult copyStep(const Step &step, const Destination &into, const std::string &to)
{
    const bool marker = step.folder == 0 && host::foldCase(step.name) == host::foldCase(kDescriptionFile);
    if (!marker || host::exists(to))
        return copyHostFile(step.source, to);
    const std::string temporary = host::join(into.folder(), ".qarcopy");
    host::remove(temporary);
    CopyResult result = copyHostFile(step.source, temporary);
    if (result == CopyResult::Copied && !host::rename(temporary, to))
        result = CopyResult::Failed;
    if (result != CopyResult::Copied)
        host::remove(temporary);
    return result;
}

} // namespace

bool copyFolder(const std::string &source, const std::string &destination, const CopyProgress &progress)
{
    const auto hostSource = toHostPath(source);
    if (!hostSource || !host::isFolder(*hostSource))
        return false;

    std::vector<Step> steps;
    std::size_t folderCount = 1;
    plan(*hostSource, 0, folderCount, steps);

    // The description file of the copied folder goes last: a copy that
    // stopped part-way then never counts as present.
    const auto marker = std::find_if(steps.begin(), steps.end(), [](const Step &s) {
        return s.kind == Step::File && s.folder == 0 && host::foldCase(s.name) == host::foldCase(kDescriptionFile);
    });
    if (marker != steps.end())
        std::rotate(marker, marker + 1, steps.end());

    const int total = int(std::count_if(steps.begin(), steps.end(), [](const Step &s) { return s.kind == Step::File; }));
    const bool isNew = !isFolder(destination);
    if (isNew && !createFolder(destination))
        return false;
    const auto hostDestination = toHostPath(destination);
    if (!hostDestination)
        return false;
    if (progress)
        progress(0, total);

    std::vector<std::unique_ptr<Destination>> folders(folderCount);
    folders[0] = std::make_unique<Destination>(*hostDestination, isNew);
    int done = 0;
    for (const Step &step : steps) {
        Destination &into = *folders[step.folder];
        switch (step.kind) {
        case Step::Refused:
            return false;
        case Step::Folder: {
            const std::string path = into.pathOf(step.name);
            const bool present = host::isFolder(path);
            if (!present && (host::exists(path) || !host::createFolder(path)))
                return false;
            folders[step.made] = std::make_unique<Destination>(path, !present);
            break;
        }
        case Step::File: {
            // A destination that is the source file itself, or a read-only
            // file (a complete earlier copy: files are only ever written
            // whole), stays as it is. Stopping there would make a copy that
            // once stopped part-way impossible to complete.
            const std::string to = into.pathOf(step.name);
            if (copyStep(step, into, to) == CopyResult::Failed)
                return false;
            host::noteFileCopied(to);
            ++done;
            if (progress)
                progress(done, total);
            break;
        }
        }
    }
    return true;
}

std::vector<CopyResult> copyNamedFiles(const std::string &sourceFolder, const std::string &destinationFolder,
                                       const std::vector<std::string> &names, const CopyProgress &progress)
{
    std::vector<CopyResult> results(names.size(), CopyResult::Failed);
    const int total = int(names.size());
    if (progress)
        progress(0, total);
    const auto hostSource = toHostPath(sourceFolder);
    const auto hostDestination = toHostPath(destinationFolder);
    if (!hostSource || !hostDestination || !host::isFolder(*hostDestination))
        return results;

    // The names were listed from the source folder itself.
    Destination into(*hostDestination, false);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (isPlainName(names[i])) {
            const std::string to = into.pathOf(names[i]);
            results[i] = copyHostFile(host::join(*hostSource, names[i]), to);
            host::noteFileCopied(to);
        }
        if (progress)
            progress(int(i + 1), total);
    }
    return results;
}

std::optional<std::vector<FolderFile>> folderFiles(const std::string &folder)
{
    const auto hostFolder = toHostPath(folder);
    if (!hostFolder)
        return std::nullopt;
    const auto entries = host::list(*hostFolder, true);
    if (!entries)
        return std::nullopt;
    std::vector<FolderFile> files;
    for (const host::Entry &e : *entries)
        if (e.regular)
            files.push_back({e.name, e.readOnly});
    std::sort(files.begin(), files.end(), [](const FolderFile &a, const FolderFile &b) { return caseBlindLess(a.name, b.name); });
    return files;
}

} // namespace platform
