#include "widgets.h"

#include <algorithm>

namespace ui::win32 {

// ---------------------------------------------------------------------------
// What every child control shares

Child::Child(FormWindow &form, const wchar_t *windowClass, DWORD style, const layout::Rect &rect, int extraHeight)
    : mForm(form), mLayoutRect{rect.x, rect.y, rect.w, rect.h + extraHeight}, mExtraHeight(extraHeight)
{
    const int id = form.nextControlId();
    const RECT r = form.toDevice({rect.x, rect.y, rect.x + rect.w, rect.y + rect.h + extraHeight});
    mHwnd = CreateWindowExW(0, windowClass, L"", WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            form.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SetWindowLongPtrW(mHwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    mOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Child::subclassProc)));
    SendMessageW(mHwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(Font::Pane, form.dpi())), FALSE);
}

void Child::rescale()
{
    const layout::Rect &l = mLayoutRect;
    const RECT r = mForm.toDevice({l.x, l.y, l.x + l.w, l.y + l.h});
    HFONT paneFont = font(Font::Pane, mForm.dpi());
    SetWindowPos(mHwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(mHwnd, WM_SETFONT, reinterpret_cast<WPARAM>(paneFont), TRUE);
    // Owner-drawn lines were measured for the old font; the closed drive
    // box stays as high as its rectangle.
    wchar_t windowClass[16] = L"";
    GetClassNameW(mHwnd, windowClass, 16);
    const LONG style = GetWindowLongW(mHwnd, GWL_STYLE);
    if (lstrcmpiW(windowClass, L"LISTBOX") == 0 && (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) {
        HDC dc = GetDC(mHwnd);
        HGDIOBJ old = SelectObject(dc, paneFont);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(mHwnd, dc);
        SendMessageW(mHwnd, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
    } else if (lstrcmpiW(windowClass, L"COMBOBOX") == 0) {
        const RECT box = mForm.toDevice({l.x, l.y, l.x + l.w, l.y + l.h - mExtraHeight});
        SendMessageW(mHwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     box.bottom - box.top - 6 * mForm.percent() / 100);
    }
}

Child::~Child()
{
    if (mHwnd) {
        SetWindowLongPtrW(mHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mOriginal));
        SetWindowLongPtrW(mHwnd, GWLP_USERDATA, 0);
    }
}

Child *Child::of(HWND hwnd)
{
    if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Child::subclassProc))
        return nullptr;
    return reinterpret_cast<Child *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Child::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Child *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const WNDPROC original = self->mOriginal;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->mHwnd = nullptr;
        return CallWindowProcW(original, hwnd, msg, wParam, lParam);
    }
    const LRESULT result = self->message(msg, wParam, lParam);
    if (msg == WM_SETFOCUS)
        self->mForm.childFocused(*self);
    return result;
}

LRESULT Child::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Movement over the control's scroll bars counts as movement over it.
    if (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE)
        movement();
    return callOriginal(msg, wParam, lParam);
}

LRESULT Child::callOriginal(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(mOriginal, mHwnd, msg, wParam, lParam);
}

void Child::takeFocus()
{
    mForm.setFocusChild(mHwnd);
}

void drawListLine(const DRAWITEMSTRUCT &item, const std::wstring &text, int indent)
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) && item.itemID != static_cast<UINT>(-1);
    HBRUSH fill = selected ? CreateSolidBrush(kSelection) : blackBrush();
    FillRect(dc, &r, fill);
    if (selected)
        DeleteObject(fill);
    if (item.itemID == static_cast<UINT>(-1))
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? RGB(0, 0, 0) : kGreen);
    // The control's own font: the one for its window's density.
    HFONT own = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, own ? own : font(Font::Pane));
    r.left += 3 + indent;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
}

// ---------------------------------------------------------------------------
// List box

ListBox::ListBox(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"LISTBOX",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED
                  | LBS_HASSTRINGS,
              rect)
{
}

void ListBox::clear()
{
    SendMessageW(mHwnd, LB_RESETCONTENT, 0, 0);
    mItems.clear();
    mReported = -1;
}

void ListBox::addItems(const std::vector<std::string> &items)
{
    SendMessageW(mHwnd, WM_SETREDRAW, FALSE, 0);
    for (const std::string &text : items) {
        mItems.push_back(text);
        SendMessageW(mHwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
    }
    SendMessageW(mHwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(mHwnd, nullptr, TRUE);
}

std::string ListBox::item(int index) const
{
    return index >= 0 && index < count() ? mItems[static_cast<std::size_t>(index)] : std::string();
}

int ListBox::selectedIndex() const
{
    return static_cast<int>(SendMessageW(mHwnd, LB_GETCURSEL, 0, 0));
}

void ListBox::clearSelection()
{
    SendMessageW(mHwnd, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    mReported = -1;
}

void ListBox::selectionChanged()
{
    // Once per change of the selection: a click on the selected entry is none.
    const int selected = selectedIndex();
    if (selected < 0 || selected == mReported)
        return;
    mReported = selected;
    if (onClick)
        onClick();
}

void ListBox::command(int code)
{
    if (code == LBN_SELCHANGE)
        selectionChanged();
}

void ListBox::drawItem(const DRAWITEMSTRUCT &item)
{
    drawListLine(item, wide(this->item(static_cast<int>(item.itemID))), 0);
}

LRESULT ListBox::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // With no entry selected, the first arrow key selects the first entry
    // (the list itself would go on from its caret and pass over it).
    if (msg == WM_KEYDOWN && (wParam == VK_DOWN || wParam == VK_UP) && count() > 0 && selectedIndex() < 0) {
        SendMessageW(mHwnd, LB_SETCURSEL, 0, 0);
        selectionChanged();
        return 0;
    }
    // An empty list is bare black: no focus frame where no entry is.
    if (msg == WM_PAINT && count() == 0) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(mHwnd, &ps);
        FillRect(dc, &ps.rcPaint, blackBrush());
        EndPaint(mHwnd, &ps);
        return 0;
    }
    return Child::message(msg, wParam, lParam);
}

void ListBox::movement()
{
    if (onMouseMove)
        onMouseMove();
}

// ---------------------------------------------------------------------------
// Text pane and text box

TextPane::TextPane(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, rect)
{
    SendMessageW(mHwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 3));
}

void TextPane::setText(const std::string &text)
{
    mText = text;
    // The edit control breaks lines only at CR LF.
    std::string shown;
    shown.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            shown += '\r';
        shown += text[i];
    }
    SetWindowTextW(mHwnd, wide(shown).c_str());
    // Shown from its top.
    SendMessageW(mHwnd, EM_SETSEL, 0, 0);
    SendMessageW(mHwnd, EM_SCROLLCARET, 0, 0);
}

LRESULT TextPane::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETCURSOR:
        // The arrow, not the text cursor; the hourglass is the form's.
        if (LOWORD(lParam) == HTCLIENT && !hourglassOn()) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
            return TRUE;
        }
        break;
    case WM_GETDLGCODE:
        // Read-only: Tab goes on to the next control instead of into the text.
        return callOriginal(msg, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    case WM_SETFOCUS: {
        const LRESULT result = callOriginal(msg, wParam, lParam);
        HideCaret(mHwnd);
        return result;
    }
    default:
        break;
    }
    return Child::message(msg, wParam, lParam);
}

void TextPane::movement()
{
    if (onMouseMove)
        onMouseMove();
}

TextBox::TextBox(FormWindow &form, const layout::Rect &rect)
    : ChildOf(form, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, rect)
{
    SendMessageW(mHwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
}

void TextBox::setText(const std::string &text)
{
    SetWindowTextW(mHwnd, wide(text).c_str());
}

std::string TextBox::text() const
{
    const int length = GetWindowTextLengthW(mHwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(mHwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return utf8(text);
}

void TextBox::movement()
{
    if (onMouseMove)
        onMouseMove();
}

} // namespace ui::win32
