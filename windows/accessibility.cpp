#include "windows/accessibility.h"

#include "windows/look_up.h"

#include <initguid.h>
#include <oleacc.h>
#include <windows.h>

#include <string>

namespace windows_ui {
namespace {

// UI Automation's LiveSetting property and its value Polite: a screen
// reader reads the new text once it has finished what it is saying.
DEFINE_GUID(kLiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb);
constexpr long kPolite = 1;

// UI Automation notifications came with Windows 10 1709; looked up when
// needed, so the program starts on every Windows 10.
constexpr int kActionCompleted = 2;     // NotificationKind_ActionCompleted
constexpr int kImportantMostRecent = 1; // NotificationProcessing_ImportantMostRecent
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

struct Notifications {
    HostProviderFromHwnd hostProvider = nullptr;
    RaiseNotificationEvent raise = nullptr;
};

const Notifications& notifications()
{
    static const Notifications found = [] {
        Notifications n;
        // Only from System32: never a planted copy beside the program.
        if (HMODULE core = LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            n.hostProvider = lookUp<HostProviderFromHwnd>(core, "UiaHostProviderFromHwnd");
            n.raise = lookUp<RaiseNotificationEvent>(core, "UiaRaiseNotificationEvent");
        }
        return n;
    }();
    return found;
}

} // namespace

Accessibility::Accessibility()
{
    void* services = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services)))
        properties_ = static_cast<IAccPropServices*>(services);
}

Accessibility::~Accessibility()
{
    if (properties_)
        properties_->Release();
}

void Accessibility::name(HWND control, std::wstring_view name)
{
    if (!properties_)
        return;
    const std::wstring text(name);
    properties_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, text.c_str());
}

void Accessibility::makeLiveRegion(HWND control)
{
    if (!properties_)
        return;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    properties_->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty, polite);
}

void Accessibility::announce(HWND liveRegion, std::wstring_view text)
{
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, liveRegion, OBJID_CLIENT, CHILDID_SELF);

    const Notifications& uia = notifications();
    if (!uia.hostProvider || !uia.raise)
        return;
    IUnknown* provider = nullptr;
    if (FAILED(uia.hostProvider(liveRegion, &provider)) || !provider)
        return;
    const std::wstring words(text);
    BSTR said = SysAllocStringLen(words.data(), static_cast<UINT>(words.size()));
    BSTR activity = SysAllocString(L"koren.result");
    uia.raise(provider, kActionCompleted, kImportantMostRecent, said, activity);
    SysFreeString(activity);
    SysFreeString(said);
    provider->Release();
}

} // namespace windows_ui
