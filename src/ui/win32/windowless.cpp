#include "widgets.h"

#include "assets/rle8.h"
#include "assets/scales.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <utility>

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

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT makeFont(const wchar_t *face, int hundredthsOfPoint, bool bold, int dpi)
{
    return CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
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

HFONT font(Font which, int dpi)
{
    static std::map<std::pair<Font, int>, HFONT> made;
    if (dpi <= 0)
        dpi = screenDpi();
    const auto found = made.find({which, dpi});
    if (found != made.end())
        return found->second;
    HFONT f = nullptr;
    switch (which) {
    case Font::Pane:
        f = makeFont(L"Arial", 825, false, dpi);
        break;
    case Font::Status:
        f = makeFont(L"MS Sans Serif", 825, true, dpi);
        break;
    case Font::Message:
        f = makeFont(L"MS Sans Serif", 1200, true, dpi);
        break;
    }
    made.emplace(std::make_pair(which, dpi), f);
    return f;
}

HBRUSH blackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

HBITMAP loadBitmapResource(const char *name)
{
    HRSRC found = FindResourceA(instance(), name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL handle = found ? LoadResource(instance(), found) : nullptr;
    const auto *data = handle ? static_cast<const std::uint8_t *>(LockResource(handle)) : nullptr;
    const DWORD size = found ? SizeofResource(instance(), found) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    const int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 256;
    const std::size_t bitsAt = header.biSize + 4 * std::size_t(colours);
    if (header.biSize < sizeof header || header.biBitCount != 8 || header.biPlanes != 1 || colours > 256
        || header.biWidth <= 0 || header.biHeight <= 0 || header.biWidth > 16384 || header.biHeight > 16384
        || bitsAt > size)
        return nullptr;
    const int width = header.biWidth, height = header.biHeight;
    const std::size_t stride = (std::size_t(width) + 3) / 4 * 4;
    std::vector<std::uint8_t> rows;
    if (header.biCompression == BI_RLE8) {
        if (!rle8::decode(data + bitsAt, size - bitsAt, width, height, stride, rows))
            return nullptr;
    } else if (header.biCompression == BI_RGB && size - bitsAt >= stride * height) {
        rows.assign(data + bitsAt, data + bitsAt + stride * height);
    } else {
        return nullptr;
    }
    // An uncompressed 8-bit DIB section of the same palette.
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * std::size_t(colours));
    BITMAPINFOHEADER plain = header;
    plain.biSize = sizeof plain;
    plain.biCompression = BI_RGB;
    plain.biSizeImage = 0;
    plain.biClrUsed = static_cast<DWORD>(colours);
    std::memcpy(info.data(), &plain, sizeof plain);
    std::memcpy(info.data() + sizeof plain, data + header.biSize, 4 * std::size_t(colours));
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO *>(info.data()), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, rows.data(), rows.size());
    return bitmap;
}

namespace {

// `source` reduced smoothly to `size`, in a 32-bit DIB section.
HBITMAP reduced(HBITMAP source, SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP out = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!out)
        return nullptr;
    HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, out);
    const SIZE whole = bitmapSize(source);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, whole.cx, whole.cy, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return out;
}

} // namespace

HBITMAP picture(const std::string &form, const std::string &name, int percent)
{
    static std::map<std::string, HBITMAP> loaded;
    const scales::Scale &drawn = scales::drawnFor(percent);
    const std::string base = upper(form) + "_" + upper(name);
    const std::string key = base + "@" + std::to_string(percent);
    const auto found = loaded.find(key);
    if (found != loaded.end())
        return found->second;
    HBITMAP bitmap = loadBitmapResource((base + drawn.tag).c_str());
    if (bitmap && drawn.percent != percent) {
        // Between the drawn scales: the larger drawing reduced to the size
        // of the layout's picture at this scale.
        const SIZE logical = bitmapSize(picture(form, name, 100));
        HBITMAP smaller = reduced(bitmap, {scales::ceilScaled(logical.cx, percent), scales::ceilScaled(logical.cy, percent)});
        DeleteObject(bitmap);
        bitmap = smaller;
    }
    if (!bitmap && percent != 100)
        bitmap = picture(form, name, 100);
    loaded.emplace(key, bitmap);
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
    const RECT device = mForm.toDevice(mRect);
    InvalidateRect(mForm.hwnd(), &device, FALSE);
}

void Windowless::invalidate() const
{
    const RECT device = mForm.toDevice(mRect);
    if (mShown)
        InvalidateRect(mForm.hwnd(), &device, FALSE);
}

// ---------------------------------------------------------------------------
// Pictures and hot areas

Picture::Picture(FormWindow &form, const layout::Rect &rect, std::string picture)
    : WindowlessOf(form, rect, false), mPicture(std::move(picture))
{
}

void Picture::draw(HDC dc) const
{
    // The drawing for the window's density, on its device rectangle.
    HBITMAP bitmap = picture(mForm.pictures(), mPicture, mForm.percent());
    const RECT r = mForm.toDevice(mRect);
    const SIZE size = bitmapSize(bitmap);
    drawBitmap(dc, bitmap, r.left, r.top, std::min<LONG>(size.cx, r.right - r.left),
               std::min<LONG>(size.cy, r.bottom - r.top));
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
        // The hand drawn for the window's density; between the drawn ones
        // the system reduces the next larger to the size for it.
        static std::map<int, HCURSOR> hands;
        const int percent = mForm.percent();
        const auto found = hands.find(percent);
        if (found != hands.end())
            return found->second;
        const scales::Scale &drawn = scales::drawnFor(percent);
        const int size = drawn.percent == percent ? 0 : scales::ceilScaled(32, percent);
        HCURSOR own = static_cast<HCURSOR>(
            LoadImageA(instance(), (std::string("HAND") + drawn.tag).c_str(), IMAGE_CURSOR, size, size, 0));
        if (!own)
            own = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
        hands.emplace(percent, own);
        return own;
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
    // Measured in the window's device pixels with the font of its density.
    MeasuringDC measuring(font(mStyle == LabelStyle::Status ? Font::Status : Font::Message, mForm.dpi()));
    const RECT r = mForm.toDevice(mRect);
    const int width = r.right - r.left;
    const std::vector<std::wstring> lines = wrapLines(measuring.dc(), wide(text), width);
    for (const std::wstring &line : lines)
        if (textWidth(measuring.dc(), line) > width)
            return false;
    return static_cast<int>(lines.size()) * lineHeight(measuring.dc()) <= r.bottom - r.top;
}

void Label::draw(HDC dc) const
{
    if (mText.empty())
        return;
    const RECT r = mForm.toDevice(mRect);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, font(mStyle == LabelStyle::Status ? Font::Status : Font::Message, mForm.dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, mStyle == LabelStyle::Status ? kYellow : GetSysColor(COLOR_WINDOWTEXT));
    const int width = r.right - r.left;
    const std::vector<std::wstring> lines = wrapLines(dc, wide(mText), width);
    const int height = lineHeight(dc);
    // Centred both ways, as a wrapped label centres its text.
    int y = r.top + (r.bottom - r.top - static_cast<int>(lines.size()) * height) / 2;
    for (const std::wstring &line : lines) {
        const int x = r.left + (width - textWidth(dc, line)) / 2;
        ExtTextOutW(dc, x, y, 0, nullptr, line.c_str(), static_cast<UINT>(line.size()), nullptr);
        y += height;
    }
    RestoreDC(dc, saved);
}

// ---------------------------------------------------------------------------
// Progress bar

ProgressBar::ProgressBar(FormWindow &form, const layout::Rect &rect, std::string trough, std::string fill,
                         POINT fillOffset)
    : WindowlessOf(form, rect, false), mTrough(std::move(trough)), mFill(std::move(fill)), mFillOffset(fillOffset)
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
    const long long width = bitmapSize(picture(mForm.pictures(), mFill)).cx;
    return static_cast<int>(std::min<long long>(width, width * std::min(mDone, mTotal) / mTotal));
}

void ProgressBar::draw(HDC dc) const
{
    const RECT bar = mForm.toDevice(mRect);
    drawBitmap(dc, picture(mForm.pictures(), mTrough, mForm.percent()), bar.left, bar.top);
    if (fillWidth() <= 0)
        return;
    // The fill's own device pixels, cut to the fraction done.
    HBITMAP fill = picture(mForm.pictures(), mFill, mForm.percent());
    const RECT at = mForm.toDevice({mRect.left + mFillOffset.x, mRect.top + mFillOffset.y, mRect.right, mRect.bottom});
    const SIZE size = bitmapSize(fill);
    const long long cut = std::min<long long>(size.cx, static_cast<long long>(size.cx) * std::min(mDone, mTotal) / mTotal);
    drawBitmap(dc, fill, at.left, at.top, static_cast<int>(std::max(1LL, cut)), size.cy);
}

} // namespace ui::win32
