// The classic file-system controls the program's windows expect, and the
// open-file dialog. They work on DOS paths and reach the file system only
// through the platform layer.
#include "widgets.h"

#include "platform/drives.h"
#include "platform/files.h"
#include "platform/win_load.h"

#include <commdlg.h>

#include <algorithm>
#include <cctype>

namespace ui::win32 {

namespace {

// The drive letter a path begins with ("c:..."), upper case, or 0.
char driveLetter(const std::string &path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const unsigned char c = static_cast<unsigned char>(path[0]);
    if (c > 0x7F || !std::isalpha(c))
        return 0;
    return static_cast<char>(std::toupper(c));
}

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::string normalDosPath(const std::string &path)
{
    const char letter = driveLetter(path);
    if (!letter)
        return {};
    std::vector<std::string> parts;
    std::string part;
    const auto take = [&] {
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/')
            take();
        else
            part += path[i];
    }
    take();
    std::string normal = {letter, ':', '\\'};
    for (std::size_t i = 0; i < parts.size(); ++i)
        normal += (i ? "\\" : "") + parts[i];
    return normal;
}

// ---------------------------------------------------------------------------
// Drive list

DriveList::DriveList(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, rect, 160)
{
    // The closed box exactly as high as its rectangle.
    const RECT device = form.toDevice({rect.x, rect.y, rect.x + rect.w, rect.y + rect.h});
    SendMessageW(mHwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), device.bottom - device.top - 6 * form.percent() / 100);
    fill();
    showSilently(mLetters.empty() ? -1 : 0);
    mShown = current();
}

void DriveList::fill()
{
    SendMessageW(mHwnd, CB_RESETCONTENT, 0, 0);
    mLetters.clear();
    // A copy: the table is read again when the system's drive letters change.
    const std::vector<platform::Drive> table = platform::drives();
    for (const platform::Drive &d : table) {
        std::string entry = {lower(d.letter), ':'};
        if (!d.label.empty())
            entry += " [" + d.label + "]";
        mLetters.push_back(d.letter);
        SendMessageW(mHwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
    }
}

int DriveList::current() const
{
    return static_cast<int>(SendMessageW(mHwnd, CB_GETCURSEL, 0, 0));
}

void DriveList::showSilently(int index)
{
    SendMessageW(mHwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string DriveList::drive() const
{
    const int index = current();
    if (index < 0 || index >= static_cast<int>(mLetters.size()))
        return {};
    return {lower(mLetters[static_cast<std::size_t>(index)]), ':'};
}

int DriveList::indexOfDrive(const std::string &path) const
{
    const char letter = driveLetter(path);
    for (std::size_t i = 0; letter && i < mLetters.size(); ++i)
        if (mLetters[i] == letter)
            return static_cast<int>(i);
    return -1;
}

void DriveList::changed(int index)
{
    if (index == mShown)
        return;
    mShown = index;
    mFailed = -1;
    if (onChange)
        onChange();
}

bool DriveList::setDrive(const std::string &path)
{
    int index = indexOfDrive(path);
    if (index < 0 && driveLetter(path)) {
        // A drive that appeared since the table was read (a USB stick).
        const char shown = mShown >= 0 ? mLetters[static_cast<std::size_t>(mShown)] : 0;
        platform::reloadDrives();
        fill();
        mShown = shown ? indexOfDrive(std::string{shown, ':'}) : -1;
        mFailed = -1;
        showSilently(mShown);
        index = indexOfDrive(path);
    }
    if (index < 0)
        return false;
    mFailed = -1;
    showSilently(index);
    changed(index);
    return true;
}

void DriveList::restoreDrive(const std::string &path)
{
    const int failed = current();
    const int index = indexOfDrive(path);
    showSilently(index);
    mShown = index;
    mFailed = failed != index ? failed : -1;
}

void DriveList::command(int code)
{
    // Passing over the entries of the open list is no choice yet; closing
    // it on one is.
    if (code == CBN_SELCHANGE && !SendMessageW(mHwnd, CB_GETDROPPEDSTATE, 0, 0))
        changed(current());
    else if (code == CBN_CLOSEUP)
        changed(current());
}

LRESULT DriveList::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const bool step = msg == WM_MOUSEWHEEL
                      || (msg == WM_KEYDOWN
                          && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT));
    if (step && !SendMessageW(mHwnd, CB_GETDROPPEDSTATE, 0, 0))
        return stepFromFailed(msg, wParam, lParam);
    // The drive list has no pointer reactions.
    return callOriginal(msg, wParam, lParam);
}

LRESULT DriveList::stepFromFailed(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (mFailed < 0 || mFailed >= static_cast<int>(mLetters.size()))
        return callOriginal(msg, wParam, lParam);
    // After a failed Change the shown entry is the last readable drive, but
    // a step goes on from the entry that failed: otherwise the next step
    // would land on it again and the drives beyond it could not be reached.
    const int failed = mFailed;
    showSilently(failed);
    const LRESULT result = callOriginal(msg, wParam, lParam);
    if (current() == failed) {
        // The step went nowhere (the end of the list): the shown drive stays.
        showSilently(mShown);
    } else if (mFailed == failed) {
        // It went back to the shown drive, which is no Change.
        mFailed = -1;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Folder list

FolderList::FolderList(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"LISTBOX",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED
                  | LBS_HASSTRINGS,
              rect)
{
}

bool FolderList::moveTo(const std::string &path)
{
    const std::string target = normalDosPath(path);
    if (target.empty())
        return false;
    const std::optional<std::vector<std::string>> children = platform::subfolders(target);
    if (!children)
        return false;

    std::vector<Entry> entries;
    // Ancestors from the root down; the last one is the current folder.
    std::string built = target.substr(0, 3);
    std::string rootText = built;
    rootText[0] = lower(rootText[0]);
    entries.push_back({rootText, built, 0, true});
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 3; i <= target.size(); ++i) {
        if (i == target.size() || target[i] == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += target[i];
        }
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        built = i == 0 ? built + parts[i] : built + '\\' + parts[i];
        entries.push_back({parts[i], built, static_cast<int>(i) + 1, true});
    }
    const int current = static_cast<int>(entries.size()) - 1;
    const std::string prefix = parts.empty() ? target : target + '\\';
    for (const std::string &name : *children)
        entries.push_back({name, prefix + name, static_cast<int>(parts.size()) + 1, false});

    mEntries = std::move(entries);
    SendMessageW(mHwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(mHwnd, LB_RESETCONTENT, 0, 0);
    for (const Entry &entry : mEntries)
        SendMessageW(mHwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry.text).c_str()));
    SendMessageW(mHwnd, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(mHwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(mHwnd, nullptr, TRUE);

    const bool changed = target != mPath;
    mPath = target;
    if (changed && onChange)
        onChange();
    return true;
}

void FolderList::open(int index)
{
    if (index >= 0 && index < static_cast<int>(mEntries.size()))
        moveTo(mEntries[static_cast<std::size_t>(index)].path);
}

void FolderList::command(int code)
{
    if (code == LBN_DBLCLK)
        open(static_cast<int>(SendMessageW(mHwnd, LB_GETCURSEL, 0, 0)));
}

void FolderList::drawItem(const DRAWITEMSTRUCT &item)
{
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= static_cast<int>(mEntries.size())) {
        drawListLine(item, L"", 0);
        return;
    }
    const Entry &entry = mEntries[static_cast<std::size_t>(index)];
    // The indent and the folder glyph grow with the window's density.
    const int percent = mForm.percent();
    auto px = [percent](int v) { return v * percent / 100; };
    const int step = px(8), glyph = px(17);
    drawListLine(item, wide(entry.text), entry.level * step + glyph);
    // A small folder before the name: open for the path's own folders,
    // closed for the subfolders.
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    const int x = item.rcItem.left + px(3) + entry.level * step;
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - px(9)) / 2;
    HPEN pen = CreatePen(PS_SOLID, std::max(1, px(1)), selected ? RGB(0, 0, 0) : kGreen);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    POINT tab[] = {{x, y + px(1)}, {x + px(4), y + px(1)}, {x + px(5), y + px(2)}, {x + px(11), y + px(2)}};
    Polyline(dc, tab, 4);
    Rectangle(dc, x, y + px(2), x + px(12), y + px(10));
    if (entry.open) {
        POINT flap[] = {{x, y + px(9)}, {x + px(3), y + px(5)}, {x + px(13), y + px(5)}, {x + px(11), y + px(9)}};
        Polyline(dc, flap, 4);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

LRESULT FolderList::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter opens the entry rather than going to the window.
        const LRESULT code = callOriginal(msg, wParam, lParam);
        const auto *key = reinterpret_cast<const MSG *>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return code | DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            open(static_cast<int>(SendMessageW(mHwnd, LB_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r')
            return 0;
        break;
    default:
        break;
    }
    return Child::message(msg, wParam, lParam);
}

void FolderList::movement()
{
    if (onMouseMove)
        onMouseMove();
}

// ---------------------------------------------------------------------------
// File list

FileList::FileList(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"LISTBOX", WS_DISABLED | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, rect)
{
}

bool FileList::setFolder(const std::string &folder)
{
    const std::optional<std::vector<std::string>> names = platform::ordinaryFiles(folder);
    if (!names)
        return false;
    mNames = *names;
    SendMessageW(mHwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(mHwnd, LB_RESETCONTENT, 0, 0);
    for (const std::string &name : mNames)
        SendMessageW(mHwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
    SendMessageW(mHwnd, WM_SETREDRAW, TRUE, 0);
    mFolder = folder;
    return true;
}

std::string FileList::item(int index) const
{
    return index >= 0 && index < count() ? mNames[static_cast<std::size_t>(index)] : std::string();
}

} // namespace ui::win32

// ---------------------------------------------------------------------------
// Open-file dialog

namespace ui::backend {

bool showOpen(CommonDialog &common, Window &owner)
{
    using platform::win::ansiText;
    // "label|pattern|..." as the dialog takes it: each part ends with a zero
    // byte, the list with a second one. Each part is converted on its own, so
    // that no byte of a converted character is taken for a separator.
    std::string filter;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = common.Filter.find('|', start);
        filter += ansiText(common.Filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        filter += '\0';
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    filter += '\0';
    const std::string title = ansiText(common.DialogTitle);
    const std::optional<std::string> host = platform::toHostPath(common.InitDir);
    const std::optional<std::string> folder = host ? platform::win::ansiPath(*host) : std::nullopt;
    // Empty at each use, so that the dialog opens in the initial folder.
    std::string file(4096, '\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner.nativeHandle());
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(common.FilterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder ? folder->c_str() : nullptr;
    dialog.lpstrTitle = title.c_str();
    // The current folder stays the one the command chose.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // Modal over the whole program, not only over its owner.
    const std::vector<HWND> disabled = win32::disableOthers(dialog.hwndOwner);
    // From comdlg32.dll on first use: most sessions never open it.
    static const auto getOpenFileName =
        platform::win::systemFunction<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    const BOOL picked = getOpenFileName ? getOpenFileName(&dialog) : FALSE;
    win32::enableAgain(disabled);
    if (!picked)
        return false;
    file.resize(file.find('\0'));
    const std::string path = platform::toDosPath(platform::win::fromAnsi(file));
    if (path.empty())
        return false;
    common.FileName = path;
    return true;
}

} // namespace ui::backend
