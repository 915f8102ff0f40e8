// The shell, sounds, message boxes and the end of the program on POSIX.
//
// Opening a file follows what the shell of the program's home system does:
// native programs start directly, Windows programs through wine, and any
// other file with the desktop's default application for its type. Programs
// are always started detached with an argument list, never through a shell,
// and inherit the current folder.
#include "drives.h"
#include "files.h"
#include "shell.h"
#include "system.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace platform::system {
namespace {

// The shell's codes: any code over 32 is success, as the shell gives it.
constexpr int kStarted = 42;
constexpr int kFileNotFound = int(ShellCode::FileNotFound);
constexpr int kPathNotFound = int(ShellCode::PathNotFound);
constexpr int kAccessDenied = int(ShellCode::AccessDenied);
constexpr int kInvalidProgram = int(ShellCode::BadFormat);
constexpr int kBadAssociation = int(ShellCode::AssociationIncomplete);
constexpr int kNoAssociation = int(ShellCode::NoAssociation);
static_assert(kStarted > kShellSuccessAbove);

QString toQ(const std::string &text)
{
    return QString::fromStdString(text);
}

bool isRegularFile(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A file called `name` in one of the folders of PATH: the exact name first,
// else an entry whose name matches without regard to case.
std::optional<std::string> searchPath(const std::string &name)
{
    const char *variable = std::getenv("PATH");
    const QStringList folders = toQ(variable ? variable : "/usr/local/bin:/usr/bin:/bin").split(QLatin1Char(':'));
    for (const QString &entry : folders) {
        const std::string folder = entry.isEmpty() ? std::string(".") : entry.toStdString();
        const std::string exact = folder + "/" + name;
        if (isRegularFile(exact))
            return exact;
    }
    for (const QString &entry : folders) {
        const std::string folder = entry.isEmpty() ? std::string(".") : entry.toStdString();
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string candidate = it->path().filename().string();
            if (QString::compare(toQ(candidate), toQ(name), Qt::CaseInsensitive) == 0
                && isRegularFile(it->path().string()))
                return it->path().string();
        }
    }
    return std::nullopt;
}

QByteArray fileHeader(const std::string &path)
{
    QFile file(toQ(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(512);
}

bool hasWindowsExtension(const std::string &path)
{
    const QString suffix = QFileInfo(toQ(path)).suffix().toLower();
    return suffix == QLatin1String("exe") || suffix == QLatin1String("com") || suffix == QLatin1String("bat")
           || suffix == QLatin1String("pif");
}

// Whether the name's extension is that of a document (README.TXT): its type
// by name is known and is no kind of program. A script type such as GO.SH's
// inherits application/x-executable.
bool hasDocumentExtension(const std::string &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(toQ(path), QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() && !type.inherits(QStringLiteral("application/x-executable"));
}

bool startDetached(const QString &program, const QStringList &arguments)
{
    // An empty working folder: the started program inherits the current one.
    return QProcess::startDetached(program, arguments, QString());
}

int startWithWine(const std::string &program, const QStringList &arguments)
{
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return kNoAssociation;
    return startDetached(wine, QStringList{toQ(program)} + arguments) ? kStarted : kInvalidProgram;
}

// Runs a "#!" script through the interpreter named on its first line, as the
// kernel would: the interpreter, at most one argument, the script, then the
// script's own arguments.
int startScriptThroughInterpreter(const std::string &script, const QByteArray &header, const QStringList &arguments)
{
    const int end = header.indexOf('\n');
    const QString line = QString::fromLocal8Bit(header.mid(2, end < 0 ? -1 : end - 2)).trimmed();
    if (line.isEmpty())
        return kInvalidProgram;
    const int space = line.indexOf(QRegularExpression(QStringLiteral("[ \t]")));
    const QString interpreter = space < 0 ? line : line.left(space);
    QStringList all;
    if (space >= 0)
        all << line.mid(space + 1).trimmed();
    all << toQ(script) << arguments;
    return startDetached(interpreter, all) ? kStarted : kInvalidProgram;
}

int startNative(const std::string &program, const QByteArray &header, const QStringList &arguments)
{
    // access() also honours a file system mounted without execution rights.
    const bool executable = ::access(program.c_str(), X_OK) == 0;
    if (header.startsWith("#!")) {
        if (executable && startDetached(toQ(program), arguments))
            return kStarted;
        return startScriptThroughInterpreter(program, header, arguments);
    }
    if (!executable)
        return kAccessDenied;
    return startDetached(toQ(program), arguments) ? kStarted : kInvalidProgram;
}

// The folders where .desktop files live, in order of preference.
QStringList applicationFolders()
{
    QStringList folders;
    const QString home = qEnvironmentVariable("XDG_DATA_HOME");
    folders << (home.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : home);
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    folders << system.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (QString &folder : folders)
        folder += QStringLiteral("/applications/");
    return folders;
}

struct DesktopEntry {
    QString path;
    QString exec;
    QString name;
    QString icon;
};

std::optional<DesktopEntry> readDesktopEntry(const QString &id)
{
    // "vendor-app.desktop" may also live at "vendor/app.desktop".
    QStringList names{id};
    if (id.contains(QLatin1Char('-')))
        names << QString(id).replace(id.indexOf(QLatin1Char('-')), 1, QLatin1Char('/'));
    for (const QString &folder : applicationFolders()) {
        QFile file;
        for (const QString &name : names) {
            file.setFileName(folder + name);
            if (file.open(QIODevice::ReadOnly | QIODevice::Text))
                break;
        }
        if (!file.isOpen())
            continue;
        DesktopEntry entry;
        entry.path = file.fileName();
        bool inMainGroup = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('['))) {
                inMainGroup = line == QLatin1String("[Desktop Entry]");
                continue;
            }
            const int equals = line.indexOf(QLatin1Char('='));
            if (!inMainGroup || equals < 0)
                continue;
            const QString key = line.left(equals).trimmed();
            const QString value = line.mid(equals + 1).trimmed();
            if (key == QLatin1String("Exec"))
                entry.exec = value;
            else if (key == QLatin1String("Name"))
                entry.name = value;
            else if (key == QLatin1String("Icon"))
                entry.icon = value;
        }
        return entry;
    }
    return std::nullopt;
}

// The argument list of a desktop entry's Exec line for one file: the string
// escapes first, then the quoting rules, then the field codes (%f %F %u %U
// give the file, %i %c %k the entry's icon, name and location). Codes inside
// quotes are left alone. When the line has no file code the file is added at
// the end.
QStringList execArguments(const DesktopEntry &entry, const QString &file)
{
    QString exec;
    for (int i = 0; i < entry.exec.size(); ++i) {
        const QChar c = entry.exec[i];
        if (c == QLatin1Char('\\') && i + 1 < entry.exec.size()) {
            const QChar next = entry.exec[++i];
            if (next == QLatin1Char('s'))
                exec += QLatin1Char(' ');
            else if (next == QLatin1Char('n'))
                exec += QLatin1Char('\n');
            else if (next == QLatin1Char('t'))
                exec += QLatin1Char('\t');
            else if (next == QLatin1Char('r'))
                exec += QLatin1Char('\r');
            else if (next == QLatin1Char('\\'))
                exec += QLatin1Char('\\');
            else
                exec += c, exec += next;
        } else {
            exec += c;
        }
    }

    QStringList arguments;
    QString token;
    bool inToken = false;
    bool inQuotes = false;
    bool fileGiven = false;
    bool iconCode = false;
    const auto finish = [&] {
        if (iconCode && token.isEmpty()) {
            if (!entry.icon.isEmpty())
                arguments << QStringLiteral("--icon") << entry.icon;
        } else if (inToken) {
            arguments << token;
        }
        token.clear();
        inToken = false;
        iconCode = false;
    };
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == QLatin1Char('"'))
                inQuotes = false;
            else if (c == QLatin1Char('\\') && i + 1 < exec.size())
                token += exec[++i];
            else
                token += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            inToken = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            finish();
        } else if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            const char code = exec[++i].toLatin1();
            inToken = true;
            switch (code) {
            case 'f': case 'F': case 'u': case 'U':
                token += file;
                fileGiven = true;
                break;
            case 'i': iconCode = true; break;
            case 'c': token += entry.name; break;
            case 'k': token += entry.path; break;
            case '%': token += QLatin1Char('%'); break;
            default: break; // deprecated codes are dropped
            }
        } else {
            token += c;
            inToken = true;
        }
    }
    finish();
    if (!fileGiven && !arguments.isEmpty())
        arguments << file;
    return arguments;
}

int openWithDefaultApplication(const std::string &path)
{
    const QString file = toQ(path);
    const QString type = QMimeDatabase().mimeTypeForFile(file).name();
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (type.isEmpty() || xdgMime.isEmpty())
        return kNoAssociation;

    QProcess query;
    query.setProgram(xdgMime);
    query.setArguments({QStringLiteral("query"), QStringLiteral("default"), type});
    query.setStandardInputFile(QProcess::nullDevice());
    query.start();
    if (!query.waitForFinished(10000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished(1000);
        return kNoAssociation;
    }
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return kNoAssociation;

    const auto entry = readDesktopEntry(id);
    if (!entry || entry->exec.isEmpty())
        return kBadAssociation;
    QStringList arguments = execArguments(*entry, file);
    if (arguments.isEmpty())
        return kBadAssociation;
    QString program = arguments.takeFirst();
    if (!program.contains(QLatin1Char('/')))
        program = QStandardPaths::findExecutable(program);
    if (program.isEmpty())
        return kBadAssociation;
    return startDetached(program, arguments) ? kStarted : kBadAssociation;
}

bool hasDrive(const std::string &file)
{
    return file.size() >= 2 && file[1] == ':' && std::isalpha(static_cast<unsigned char>(file[0]));
}

bool isBareName(const std::string &file)
{
    return !hasDrive(file) && file.find_first_of("\\/") == std::string::npos;
}

// The sound player module's two entry points.
struct SoundModule {
    void (*play)(const char *hostPath) = nullptr;
    void (*stop)() = nullptr;
};

// The sound player module: beside the executable, else wherever the system
// finds libraries (LD_LIBRARY_PATH, the system's folders). Loaded once,
// by whichever thread asks first; the others wait for it. Both entry points
// are null when it cannot be loaded.
const SoundModule &soundModule()
{
    static const SoundModule module = []() -> SoundModule {
        constexpr const char *name = "libquorvia_sound.so";
        std::error_code error;
        const fs::path exe = fs::read_symlink("/proc/self/exe", error);
        void *handle = error ? nullptr : ::dlopen((exe.parent_path() / name).c_str(), RTLD_NOW | RTLD_LOCAL);
        const std::string besideError = handle || error ? std::string() : std::string(::dlerror());
        if (!handle)
            handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
        void *play = handle ? ::dlsym(handle, "quorvia_sound_play") : nullptr;
        void *stop = play ? ::dlsym(handle, "quorvia_sound_stop") : nullptr;
        if (!stop) {
            const char *why = ::dlerror();
            std::fprintf(stderr, "Quorvia: no sounds, the sound player cannot be loaded: %s\n",
                         !besideError.empty() ? besideError.c_str() : why ? why : name);
            return {};
        }
        return {reinterpret_cast<void (*)(const char *)>(play), reinterpret_cast<void (*)()>(stop)};
    }();
    return module;
}

bool isWaveFile(const std::string &path)
{
    const QByteArray header = fileHeader(path);
    return header.size() >= 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}

// Whether the player was ever asked to play: until then there is nothing to
// stop, and no reason to wait for the module to load. GUI thread only.
bool gPlayerUsed = false;

// The sound device, or a test's recorder in its place.
void devicePlay(const std::string &host)
{
    if (soundDeviceHooked(testing::SoundCall::Play, host))
        return;
    if (const auto play = soundModule().play) {
        gPlayerUsed = true;
        play(host.c_str());
    } else {
        QApplication::beep();
    }
}

void deviceStop()
{
    if (soundDeviceHooked(testing::SoundCall::Stop) || !gPlayerUsed)
        return;
    if (const auto stop = soundModule().stop)
        stop();
}

void deviceBeep()
{
    if (!soundDeviceHooked(testing::SoundCall::Beep))
        QApplication::beep();
}

} // namespace

int shellOpen(std::uintptr_t, const std::string &file, const std::string &parameters)
{
    const QStringList arguments = QProcess::splitCommand(toQ(parameters));

    std::string host;
    // A name with a zero byte would be cut there: no file has such a name.
    if (file.empty() || file.find('\0') != std::string::npos)
        return kFileNotFound;
    if (isBareName(file)) {
        const auto found = searchPath(file);
        if (!found)
            return hasWindowsExtension(file) && !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty()
                       ? startWithWine(file, arguments)
                       : kFileNotFound;
        host = *found;
    } else {
        // A path without a drive is taken from the current folder.
        std::string dosPath = file;
        if (!hasDrive(file)) {
            const std::string current = currentDirectory();
            if (current.empty())
                return kPathNotFound;
            dosPath = current + (current.back() == '\\' ? "" : "\\") + file;
        }
        const auto converted = toHostPath(dosPath);
        if (!converted)
            return kPathNotFound;
        host = *converted;
    }

    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) {
        struct stat folderInfo {};
        const std::string folder = fs::path(host).parent_path().string();
        return ::stat(folder.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode) ? kFileNotFound
                                                                                       : kPathNotFound;
    }

    // The content and the extension decide, never the execute bit alone: a
    // disc mounted without Rock Ridge shows every file as executable.
    if (S_ISREG(info.st_mode)) {
        const QByteArray header = fileHeader(host);
        // A document is opened as one even when it begins with "#!": picking
        // README.TXT must never run it.
        if (header.startsWith("\x7f" "ELF") || (header.startsWith("#!") && !hasDocumentExtension(host)))
            return startNative(host, header, arguments);
        if (hasWindowsExtension(host) || header.startsWith("MZ"))
            return startWithWine(host, arguments);
    }
    return openWithDefaultApplication(host);
}

void playWave(const std::string &path)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    const auto host = toHostPath(path);
    if (!host || !isRegularFile(*host) || !isWaveFile(*host)) {
        // The default sound takes the place of the file's, and like any
        // sound it cuts off the one that is playing.
        deviceStop();
        deviceBeep();
        return;
    }
    devicePlay(*host);
}

void prepareSound()
{
    std::thread([] { soundModule(); }).detach();
}

void messageBox(std::uintptr_t ownerWindow, const std::string &text, const std::string &title)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return;
    }
    QWidget *owner = ownerWindow ? QWidget::find(static_cast<WId>(ownerWindow)) : nullptr;
    QMessageBox box(QMessageBox::Warning, toQ(title), toQ(text), QMessageBox::Ok, owner ? owner->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void endProgram()
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

} // namespace platform::system
