#include "widgets.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace ui::win32 {

std::wstring wide(const std::string &utf8Text)
{
    return platform::win::toWide(utf8Text, CP_UTF8, false).value_or(std::wstring());
}

std::string utf8(const std::wstring &text)
{
    return platform::win::fromWide(text, CP_UTF8, false).value_or(std::string());
}

HINSTANCE instance()
{
    static const HINSTANCE module = GetModuleHandleW(nullptr);
    return module;
}

namespace {

// The height of a font of so many hundredths of a point on this screen.
int pixelHeight(int hundredthsOfPoint)
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return -MulDiv(hundredthsOfPoint, dpi, 7200);
}

HFONT makeFont(const wchar_t *face, int hundredthsOfPoint, bool bold)
{
    return CreateFontW(pixelHeight(hundredthsOfPoint), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

HFONT font(Font which)
{
    static const HFONT pane = makeFont(L"Arial", 825, false);
    static const HFONT status = makeFont(L"MS Sans Serif", 825, true);
    static const HFONT message = makeFont(L"MS Sans Serif", 1200, true);
    switch (which) {
    case Font::Pane:
        return pane;
    case Font::Status:
        return status;
    case Font::Message:
        return message;
    }
    return pane;
}

HBRUSH blackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

HBITMAP picture(const std::string &form, const std::string &name)
{
    static std::map<std::string, HBITMAP> loaded;
    const std::string resource = upper(form) + "_" + upper(name);
    const auto found = loaded.find(resource);
    if (found != loaded.end())
        return found->second;
    auto *bitmap = static_cast<HBITMAP>(LoadImageA(instance(), resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    loaded.emplace(resource, bitmap);
    return bitmap;
}

SIZE bitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int srcX, int srcY)
{
    if (!bitmap)
        return;
    if (w < 0 || h < 0) {
        const SIZE size = bitmapSize(bitmap);
        w = size.cx;
        h = size.cy;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, x, y, w, h, source, srcX, srcY, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// ---------------------------------------------------------------------------
// What every window-less control shares

Windowless::Windowless(FormWindow &form, const layout::Rect &rect, bool shown)
    : mForm(form), mRect{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h}, mShown(shown)
{
}

HCURSOR Windowless::cursor() const
{
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

void Windowless::setShown(bool shown)
{
    // Showing a shown control, or hiding a hidden one, repaints nothing.
    if (mShown == shown)
        return;
    mShown = shown;
    InvalidateRect(mForm.hwnd(), &mRect, FALSE);
}

void Windowless::invalidate() const
{
    if (mShown)
        InvalidateRect(mForm.hwnd(), &mRect, FALSE);
}

// ---------------------------------------------------------------------------
// Pictures and hot areas

Picture::Picture(FormWindow &form, const layout::Rect &rect, HBITMAP bitmap)
    : WindowlessOf(form, rect, false), mBitmap(bitmap)
{
}

void Picture::draw(HDC dc) const
{
    const SIZE size = bitmapSize(mBitmap);
    drawBitmap(dc, mBitmap, mRect.left, mRect.top, std::min<LONG>(size.cx, mRect.right - mRect.left),
               std::min<LONG>(size.cy, mRect.bottom - mRect.top));
}

HotArea::HotArea(FormWindow &form, const layout::Rect &rect) : WindowlessOf(form, rect, true) {}

void HotArea::setCursor(Cursor cursor)
{
    if (mCursor == cursor)
        return;
    mCursor = cursor;
    refreshCursor();
}

HCURSOR HotArea::cursor() const
{
    if (mCursor == Cursor::Hand) {
        static const HCURSOR hand = [] {
            HCURSOR own = LoadCursorA(instance(), "HAND");
            return own ? own : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
        }();
        return hand;
    }
    return Windowless::cursor();
}

void HotArea::mouseMove()
{
    if (onMouseMove)
        onMouseMove();
}

void HotArea::mouseDown(int button, bool doubleClick)
{
    // The second press of a double-click shows the pressed look like any
    // press, but its release is no second click: one action per double-click.
    if (button == 0)
        mLeftPressed = !doubleClick;
    if (onMouseDown)
        onMouseDown();
}

void HotArea::mouseUp(int button, bool inside)
{
    const bool clicked = button == 0 && mLeftPressed && inside;
    if (button == 0)
        mLeftPressed = false;
    if (onMouseUp)
        onMouseUp();
    if (clicked && onClick)
        onClick();
}

void HotArea::setFocus()
{
    mForm.focusHotArea(*this);
}

bool HotArea::hasFocus() const
{
    return mForm.focusedArea() == this;
}

void HotArea::setAccessible(const std::string &name, const std::string &description)
{
    mAccessibleName = name;
    mAccessibleDescription = description;
}

void HotArea::keyClick()
{
    if (onClick)
        onClick();
}

void HotArea::arrow(Arrow which)
{
    if (onArrow)
        onArrow(which);
}

// ---------------------------------------------------------------------------
// Labels

namespace {

constexpr wchar_t kZeroWidthSpace = 0x200B;

int textWidth(HDC dc, const std::wstring &text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int lineHeight(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// A screen DC with a label's font, for measuring before anything is painted.
class MeasuringDC {
public:
    explicit MeasuringDC(HFONT f) : mDC(GetDC(nullptr)), mOld(SelectObject(mDC, f)) {}
    ~MeasuringDC()
    {
        SelectObject(mDC, mOld);
        ReleaseDC(nullptr, mDC);
    }
    MeasuringDC(const MeasuringDC &) = delete;
    MeasuringDC &operator=(const MeasuringDC &) = delete;
    HDC dc() const { return mDC; }

private:
    HDC mDC;
    HGDIOBJ mOld;
};

} // namespace

std::vector<std::wstring> wrapLines(HDC dc, const std::wstring &text, int width)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        // The words of one paragraph, each with what joins it to the next.
        std::wstring line, joint;
        bool lineEmpty = true;
        std::wstring word;
        const auto place = [&](const std::wstring &nextJoint) {
            const std::wstring joined = lineEmpty ? word : line + joint + word;
            if (lineEmpty || textWidth(dc, joined) <= width) {
                line = joined;
            } else {
                lines.push_back(line);
                line = word;
            }
            lineEmpty = false;
            joint = nextJoint;
            word.clear();
        };
        for (std::size_t i = start; i < end; ++i) {
            const wchar_t c = text[i];
            if (c == L' ')
                place(L" ");
            else if (c == kZeroWidthSpace)
                place(L"");
            else if (c != L'\r')
                word += c;
        }
        place(L"");
        lines.push_back(line);
        if (end >= text.size())
            break;
        start = end + 1;
    }
    return lines;
}

Label::Label(FormWindow &form, const layout::Rect &rect, LabelStyle style) : WindowlessOf(form, rect, false), mStyle(style)
{
}

void Label::setText(const std::string &text)
{
    if (text == mText)
        return;
    mText = text;
    invalidate();
}

bool Label::fits(const std::string &text) const
{
    MeasuringDC measuring(font(mStyle == LabelStyle::Status ? Font::Status : Font::Message));
    const int width = mRect.right - mRect.left;
    const std::vector<std::wstring> lines = wrapLines(measuring.dc(), wide(text), width);
    for (const std::wstring &line : lines)
        if (textWidth(measuring.dc(), line) > width)
            return false;
    return static_cast<int>(lines.size()) * lineHeight(measuring.dc()) <= mRect.bottom - mRect.top;
}

void Label::draw(HDC dc) const
{
    if (mText.empty())
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, mRect.left, mRect.top, mRect.right, mRect.bottom);
    SelectObject(dc, font(mStyle == LabelStyle::Status ? Font::Status : Font::Message));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, mStyle == LabelStyle::Status ? kYellow : GetSysColor(COLOR_WINDOWTEXT));
    const int width = mRect.right - mRect.left;
    const std::vector<std::wstring> lines = wrapLines(dc, wide(mText), width);
    const int height = lineHeight(dc);
    // Centred both ways, as a wrapped label centres its text.
    int y = mRect.top + (mRect.bottom - mRect.top - static_cast<int>(lines.size()) * height) / 2;
    for (const std::wstring &line : lines) {
        const int x = mRect.left + (width - textWidth(dc, line)) / 2;
        ExtTextOutW(dc, x, y, 0, nullptr, line.c_str(), static_cast<UINT>(line.size()), nullptr);
        y += height;
    }
    RestoreDC(dc, saved);
}

// ---------------------------------------------------------------------------
// Progress bar

ProgressBar::ProgressBar(FormWindow &form, const layout::Rect &rect, HBITMAP trough, HBITMAP fill, POINT fillOffset)
    : WindowlessOf(form, rect, false), mTrough(trough), mFill(fill), mFillOffset(fillOffset)
{
}

void ProgressBar::setProgress(int done, int total)
{
    const int before = fillWidth();
    mDone = done;
    mTotal = total;
    if (fillWidth() != before)
        invalidate();
}

int ProgressBar::fillWidth() const
{
    if (mTotal <= 0 || mDone <= 0)
        return 0;
    const long long width = bitmapSize(mFill).cx;
    return static_cast<int>(std::min<long long>(width, width * std::min(mDone, mTotal) / mTotal));
}

void ProgressBar::draw(HDC dc) const
{
    drawBitmap(dc, mTrough, mRect.left, mRect.top);
    const int width = fillWidth();
    if (width > 0)
        drawBitmap(dc, mFill, mRect.left + mFillOffset.x, mRect.top + mFillOffset.y, width, bitmapSize(mFill).cy);
}

} // namespace ui::win32
