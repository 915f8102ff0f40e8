// What screen readers find in a form: its hot areas have no window, so the
// form answers WM_GETOBJECT with an accessible object of its own whose
// children are the hot areas (push buttons with their names, hints and
// states), then the real child controls; the rest (parent, navigation of the
// window itself) comes from the system's standard object. oleacc, ole32 and
// oleaut32 are loaded on the first request: most sessions never make one.
#include "widgets.h"

#include "platform/win_load.h"

#include <oleacc.h>

#include <utility>

namespace ui::win32 {

namespace {

// The interfaces' identities, written out: the import libraries that would
// define them are not linked.
constexpr IID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

using platform::win::systemFunction;

struct Oleacc {
    decltype(&::LresultFromObject) lresultFromObject;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&::AccessibleObjectFromWindow) accessibleObjectFromWindow;
    decltype(&::SysAllocString) sysAllocString;
    bool ready;
};

const Oleacc &oleacc()
{
    static const Oleacc functions = [] {
        Oleacc f{};
        // The object is handed to the reader through COM, which this thread
        // then has to have joined.
        if (const auto coInitializeEx = systemFunction<decltype(::CoInitializeEx)>("ole32.dll", "CoInitializeEx"))
            coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        f.lresultFromObject = systemFunction<decltype(::LresultFromObject)>("oleacc.dll", "LresultFromObject");
        f.createStdAccessibleObject =
            systemFunction<decltype(::CreateStdAccessibleObject)>("oleacc.dll", "CreateStdAccessibleObject");
        f.accessibleObjectFromWindow =
            systemFunction<decltype(::AccessibleObjectFromWindow)>("oleacc.dll", "AccessibleObjectFromWindow");
        f.sysAllocString = systemFunction<decltype(::SysAllocString)>("oleaut32.dll", "SysAllocString");
        f.ready = f.lresultFromObject && f.createStdAccessibleObject && f.accessibleObjectFromWindow && f.sysAllocString;
        return f;
    }();
    return functions;
}

HRESULT text(const std::string &utf8Text, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (utf8Text.empty())
        return S_FALSE;
    *out = oleacc().sysAllocString(wide(utf8Text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

void setEmpty(VARIANT *v)
{
    v->vt = VT_EMPTY;
}

void setChild(VARIANT *v, long id)
{
    v->vt = VT_I4;
    v->lVal = id;
}

} // namespace

class Accessible final : public IAccessible {
public:
    Accessible(FormWindow &form, IAccessible *standard) : mForm(&form), mStandard(standard) {}

    void detach()
    {
        mForm = nullptr;
        if (IAccessible *standard = std::exchange(mStandard, nullptr))
            standard->Release();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, kIUnknown) || IsEqualIID(riid, kIDispatch) || IsEqualIID(riid, kIAccessible)) {
            *object = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&mReferences)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&mReferences);
        if (left == 0) {
            detach();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: readers call the methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        return mStandard->get_accParent(parent);
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_POINTER;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(mForm->hotAreas().size() + mForm->childWindows().size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch **child) override
    {
        if (!child)
            return E_POINTER;
        *child = nullptr;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        if (id.vt != VT_I4)
            return E_INVALIDARG;
        const long areas = static_cast<long>(mForm->hotAreas().size());
        const std::vector<HWND> windows = mForm->childWindows();
        if (id.lVal >= 1 && id.lVal <= areas)
            return S_FALSE;  // a hot area is an element of this object, not an object
        const long window = id.lVal - areas - 1;
        if (window < 0 || window >= static_cast<long>(windows.size()))
            return E_INVALIDARG;
        return oleacc().accessibleObjectFromWindow(windows[static_cast<std::size_t>(window)], OBJID_WINDOW,
                                                   kIDispatch, reinterpret_cast<void **>(child));
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR *name) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        return text(area ? area->accessibleName() : mForm->title(), name);
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR *value) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (value)
            *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR *description) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        return text(area ? area->accessibleDescription() : mForm->accessibleDescription(), description);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT *role) override
    {
        HotArea *area = nullptr;
        if (!role)
            return E_POINTER;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        setChild(role, area ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_CLIENT);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT *state) override
    {
        HotArea *area = nullptr;
        if (!state)
            return E_POINTER;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (!area)
            return mStandard->get_accState(id, state);
        long bits = STATE_SYSTEM_FOCUSABLE;
        if (!area->shown())
            bits |= STATE_SYSTEM_INVISIBLE;
        if (area->hasFocus() && GetFocus() == mForm->hwnd())
            bits |= STATE_SYSTEM_FOCUSED;
        if (area->selected())
            bits |= STATE_SYSTEM_SELECTED;
        setChild(state, bits);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR *help) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (help)
            *help = nullptr;
        return area ? S_FALSE : mStandard->get_accHelp(id, help);
    }

    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT id, long *topic) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR *shortcut) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (shortcut)
            *shortcut = nullptr;
        return area ? S_FALSE : mStandard->get_accKeyboardShortcut(id, shortcut);
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override
    {
        if (!focus)
            return E_POINTER;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        setEmpty(focus);
        HWND hwnd = GetFocus();
        if (hwnd == mForm->hwnd()) {
            if (const long id = idOf(mForm->focusedArea()))
                setChild(focus, id);
            else
                setChild(focus, CHILDID_SELF);
            return S_OK;
        }
        const std::vector<HWND> windows = mForm->childWindows();
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (hwnd && (hwnd == windows[i] || IsChild(windows[i], hwnd))) {
                VARIANT id;
                setChild(&id, static_cast<long>(mForm->hotAreas().size() + i + 1));
                IDispatch *child = nullptr;
                if (get_accChild(id, &child) == S_OK && child) {
                    focus->vt = VT_DISPATCH;
                    focus->pdispVal = child;
                }
                return S_OK;
            }
        }
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override
    {
        if (!selection)
            return E_POINTER;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        setEmpty(selection);
        for (HotArea *area : mForm->hotAreas())
            if (area->selected()) {
                setChild(selection, idOf(area));
                return S_OK;
            }
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR *action) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (!area) {
            if (action)
                *action = nullptr;
            return DISP_E_MEMBERNOTFOUND;
        }
        return text("Press", action);
    }

    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (!area || flags != SELFLAG_TAKEFOCUS)
            return DISP_E_MEMBERNOTFOUND;
        if (!area->shown())
            return E_FAIL;
        area->setFocus();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT id) override
    {
        HotArea *area = nullptr;
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (!area)
            return mStandard->accLocation(left, top, width, height, id);
        // Screen readers work in the screen's device pixels.
        const RECT r = mForm->toDevice(area->rect());
        POINT origin{r.left, r.top};
        ClientToScreen(mForm->hwnd(), &origin);
        *left = origin.x;
        *top = origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        HotArea *area = nullptr;
        if (!end)
            return E_POINTER;
        if (const HRESULT r = lookUp(start, area); r != S_OK)
            return r;
        setEmpty(end);
        long count = 0;
        get_accChildCount(&count);
        const long at = start.lVal;
        long next = 0;
        if (!area && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD))
            next = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        else if (!area)
            return mStandard->accNavigate(direction, start, end);
        else if (direction == NAVDIR_NEXT)
            next = at + 1;
        else if (direction == NAVDIR_PREVIOUS)
            next = at - 1;
        if (next < 1 || next > count)
            return S_FALSE;
        VARIANT id;
        setChild(&id, next);
        IDispatch *child = nullptr;
        if (get_accChild(id, &child) == S_OK && child) {
            end->vt = VT_DISPATCH;
            end->pdispVal = child;
        } else {
            setChild(end, next);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *hit) override
    {
        if (!hit)
            return E_POINTER;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        ScreenToClient(mForm->hwnd(), &p);
        const std::vector<HotArea *> areas = mForm->hotAreas();
        // The topmost shown one: the last created lies highest.
        for (auto it = areas.rbegin(); it != areas.rend(); ++it)
            if ((*it)->shown() && (*it)->contains(p)) {
                setChild(hit, idOf(*it));
                return S_OK;
            }
        return mStandard->accHitTest(x, y, hit);
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override
    {
        HotArea *area = nullptr;
        if (const HRESULT r = lookUp(id, area); r != S_OK)
            return r;
        if (!area)
            return DISP_E_MEMBERNOTFOUND;
        if (!area->shown())
            return E_FAIL;
        PostMessageW(mForm->hwnd(), kAccessibleClick, static_cast<WPARAM>(idOf(area)), 0);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Accessible() = default;

    // The hot area a child number names, or null for the object itself;
    // E_INVALIDARG for a number that names no element of this object.
    HRESULT lookUp(const VARIANT &id, HotArea *&area) const
    {
        area = nullptr;
        if (!mForm)
            return CO_E_OBJNOTCONNECTED;
        if (id.vt != VT_I4)
            return E_INVALIDARG;
        if (id.lVal == CHILDID_SELF)
            return S_OK;
        const std::vector<HotArea *> areas = mForm->hotAreas();
        if (id.lVal < 1 || id.lVal > static_cast<long>(areas.size()))
            return E_INVALIDARG;
        area = areas[static_cast<std::size_t>(id.lVal - 1)];
        return S_OK;
    }

    long idOf(const HotArea *area) const
    {
        const std::vector<HotArea *> areas = mForm->hotAreas();
        for (std::size_t i = 0; i < areas.size(); ++i)
            if (areas[i] == area)
                return static_cast<long>(i + 1);
        return 0;
    }

    FormWindow *mForm;
    IAccessible *mStandard;
    LONG mReferences = 1;
};

LRESULT accessibleResult(FormWindow &form, Accessible *&object, WPARAM wParam)
{
    const Oleacc &f = oleacc();
    if (!f.ready)
        return 0;
    if (!object) {
        IAccessible *standard = nullptr;
        if (FAILED(f.createStdAccessibleObject(form.hwnd(), OBJID_CLIENT, kIAccessible,
                                               reinterpret_cast<void **>(&standard)))
            || !standard)
            return 0;
        object = new Accessible(form, standard);
    }
    const LRESULT result = f.lresultFromObject(kIAccessible, wParam, object);
    return result > 0 ? result : 0;
}

void releaseAccessible(Accessible *&object)
{
    if (Accessible *gone = std::exchange(object, nullptr)) {
        gone->detach();
        gone->Release();
    }
}

} // namespace ui::win32
