// The controls of the Win32 forms: the window-less ones that the form draws
// (pictures, hot areas, labels, the progress bar) and the real child
// controls (list, panes, text box, drive, folder and file lists).
#pragma once

#include "win32.h"

#include <string>
#include <vector>

namespace ui::win32 {

// Exactly its rectangle of the window's artwork; the mouse passes through.
class Picture : public WindowlessOf<ui::Picture> {
public:
    // `picture`: its name in the window's artwork.
    Picture(FormWindow &form, const layout::Rect &rect, std::string picture);
    void draw(HDC dc) const override;
    bool logsPaint() const override { return !mName.empty(); }

private:
    std::string mPicture;
};

class HotArea : public WindowlessOf<ui::HotArea> {
public:
    HotArea(FormWindow &form, const layout::Rect &rect);
    void setCursor(Cursor cursor) override;
    // The form keeps which hot area has the keyboard focus (see FormWindow).
    void setFocus() override;
    bool hasFocus() const override;
    void setAccessible(const std::string &name, const std::string &description) override;
    void setSelected(bool selected) override { mSelected = selected; }
    bool selected() const override { return mSelected; }
    Pointer pointer() const override { return Pointer::Target; }
    void mouseMove() override;
    void mouseDown(int button, bool doubleClick) override;
    void mouseUp(int button, bool inside) override;
    HCURSOR cursor() const override;

    // From the keyboard: Enter or Space is a click without the press and
    // release; an arrow key goes to onArrow.
    void keyClick();
    void arrow(Arrow which);
    void repaint() const { invalidate(); }
    const std::string &accessibleName() const { return mAccessibleName; }
    const std::string &accessibleDescription() const { return mAccessibleDescription; }

private:
    Cursor mCursor = Cursor::Hand;
    bool mLeftPressed = false;
    bool mSelected = false;
    std::string mAccessibleName, mAccessibleDescription;
};

class Label : public WindowlessOf<ui::Label> {
public:
    Label(FormWindow &form, const layout::Rect &rect, LabelStyle style);
    void setText(const std::string &text) override;
    std::string text() const override { return mText; }
    bool fits(const std::string &text) const override;
    void draw(HDC dc) const override;
    // The message takes no part in the highlight: movement over it neither
    // shows nor clears anything. The status line lets it through.
    Pointer pointer() const override { return mStyle == LabelStyle::Message ? Pointer::Absorb : Pointer::PassThrough; }

private:
    LabelStyle mStyle;
    std::string mText;
};

// Lines of a text wrapped to a width, at spaces and at zero-width spaces
// (U+200B, which itself shows nothing), and at line breaks; a word wider
// than the width keeps a line of its own.
std::vector<std::wstring> wrapLines(HDC dc, const std::wstring &text, int width);

class ProgressBar : public WindowlessOf<ui::ProgressBar> {
public:
    // `trough` and `fill`: their names in the window's artwork.
    ProgressBar(FormWindow &form, const layout::Rect &rect, std::string trough, std::string fill, POINT fillOffset);
    void setProgress(int done, int total) override;
    int done() const override { return mDone; }
    int total() const override { return mTotal; }
    void draw(HDC dc) const override;
    // In the layout's pixels.
    int fillWidth() const;

private:
    std::string mTrough, mFill;
    POINT mFillOffset;
    int mDone = 0, mTotal = 0;
};

// Owner-drawn lines of green text on black, the selected one black on a
// lighter green; `indent` pixels in from the left.
void drawListLine(const DRAWITEMSTRUCT &item, const std::wstring &text, int indent);

class ListBox : public ChildOf<ui::ListBox> {
public:
    ListBox(FormWindow &form, const layout::Rect &rect);
    void clear() override;
    void addItems(const std::vector<std::string> &items) override;
    int count() const override { return static_cast<int>(mItems.size()); }
    std::string item(int index) const override;
    int selectedIndex() const override;
    void clearSelection() override;
    void setFocus() override { takeFocus(); }
    void command(int code) override;
    void drawItem(const DRAWITEMSTRUCT &item) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void movement() override;

private:
    void selectionChanged();
    std::vector<std::string> mItems;
    int mReported = -1;  // the selection last reported by onClick
};

class TextPane : public ChildOf<ui::TextPane> {
public:
    TextPane(FormWindow &form, const layout::Rect &rect);
    void setText(const std::string &text) override;
    std::string text() const override { return mText; }

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void movement() override;

private:
    std::string mText;
};

class TextBox : public ChildOf<ui::TextBox> {
public:
    TextBox(FormWindow &form, const layout::Rect &rect);
    void setText(const std::string &text) override;
    std::string text() const override;
    void setFocus() override { takeFocus(); }

protected:
    void movement() override;
};

class DriveList : public ChildOf<ui::DriveList> {
public:
    DriveList(FormWindow &form, const layout::Rect &rect);
    std::string drive() const override;
    bool setDrive(const std::string &path) override;
    void restoreDrive(const std::string &path) override;
    void command(int code) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void fill();
    int indexOfDrive(const std::string &path) const;
    int current() const;
    void showSilently(int index);
    void changed(int index);
    LRESULT stepFromFailed(UINT msg, WPARAM wParam, LPARAM lParam);
    std::vector<char> mLetters;  // upper case, one per entry
    int mShown = -1;
    int mFailed = -1;  // the entry whose Change failed, while another is shown
};

class FolderList : public ChildOf<ui::FolderList> {
public:
    FolderList(FormWindow &form, const layout::Rect &rect);
    std::string path() const override { return mPath; }
    bool setPath(const std::string &path) override { return moveTo(path); }
    void command(int code) override;
    void drawItem(const DRAWITEMSTRUCT &item) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void movement() override;

private:
    struct Entry {
        std::string text, path;
        int level;
        bool open;  // an ancestor (or the folder itself) rather than a subfolder
    };
    bool moveTo(const std::string &path);
    void open(int index);
    std::vector<Entry> mEntries;
    std::string mPath;
};

// A DOS path in its plain form: the drive in upper case, "." and ".."
// resolved (never above the root), no doubled or trailing separators, "C:\"
// for a root. Empty when it does not begin with a drive letter and colon.
std::string normalDosPath(const std::string &path);

class FileList : public ChildOf<ui::FileList> {
public:
    FileList(FormWindow &form, const layout::Rect &rect);
    std::string folder() const override { return mFolder; }
    bool setFolder(const std::string &folder) override;
    int count() const override { return static_cast<int>(mNames.size()); }
    std::string item(int index) const override;

private:
    std::vector<std::string> mNames;
    std::string mFolder;
};

} // namespace ui::win32
