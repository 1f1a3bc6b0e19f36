// WMI through IDispatch: the scripting moniker gives SWbemServices, whose ExecQuery gives a set.
#include "platform/win32/wmi.hpp"

#include <objbase.h>
#include <oleauto.h>

namespace mavorin::win32 {

namespace {

// COM for the duration of one call; a thread that already has COM keeps its apartment.
class ComScope {
  public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }

  private:
    bool ok_;
};

HRESULT invoke(IDispatch* obj, const wchar_t* name, WORD flags, VARIANT* args, UINT nargs,
               VARIANT* result) {
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    HRESULT hr = obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS params{args, nullptr, nargs, 0};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

}  // namespace

bool call_method(IDispatch* object, const wchar_t* name) {
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = invoke(object, name, DISPATCH_METHOD, nullptr, 0, &result);
    VariantClear(&result);
    return SUCCEEDED(hr);
}

std::wstring read_property(IDispatch* object, const wchar_t* name) {
    VARIANT result;
    VariantInit(&result);
    std::wstring text;
    // Scripting hosts ask for a property with both flags; some providers accept nothing else.
    if (SUCCEEDED(
            invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0, &result)) &&
        SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal)
        text.assign(result.bstrVal, SysStringLen(result.bstrVal));
    VariantClear(&result);
    return text;
}

bool for_each_operating_system(const std::function<void(IDispatch*)>& each) {
    ComScope com;
    IDispatch* services = nullptr;
    HRESULT hr = CoGetObject(L"WinMgmts:{impersonationLevel=impersonate, (Shutdown)}!/root/cimv2",
                             nullptr, IID_IDispatch, reinterpret_cast<void**>(&services));
    if (FAILED(hr) || !services) return false;

    VARIANT query;
    VariantInit(&query);
    query.vt = VT_BSTR;
    query.bstrVal = SysAllocString(L"SELECT * FROM Win32_OperatingSystem");
    VARIANT set;
    VariantInit(&set);
    hr = invoke(services, L"ExecQuery", DISPATCH_METHOD, &query, 1, &set);
    VariantClear(&query);
    bool ok = SUCCEEDED(hr) && set.vt == VT_DISPATCH && set.pdispVal;
    if (ok) {
        // The set is a collection: walk it through its enumerator.
        VARIANT en;
        VariantInit(&en);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        hr = set.pdispVal->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                  DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &en, nullptr,
                                  nullptr);
        IEnumVARIANT* items = nullptr;
        if (SUCCEEDED(hr) && (en.vt == VT_UNKNOWN || en.vt == VT_DISPATCH) && en.punkVal)
            en.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items));
        VariantClear(&en);
        ok = items != nullptr;
        if (items) {
            VARIANT item;
            VariantInit(&item);
            ULONG fetched = 0;
            while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
                if (item.vt == VT_DISPATCH && item.pdispVal) each(item.pdispVal);
                VariantClear(&item);
            }
            items->Release();
        }
    }
    VariantClear(&set);
    services->Release();
    return ok;
}

}  // namespace mavorin::win32
