#include "runtime/win32/win32_automation.h"

#include <windows.h>
#include <oleauto.h>

#include "runtime/win32/handles.h"
#include "runtime/win32/wide.h"

namespace tovan::rt::win32 {
namespace {

// The argument as the automated program reads it; strings go as BSTR,
// freed with the VARIANT.
void Fill(VARIANT& v, const AutomationArg& arg) {
  if (const bool* b = std::get_if<bool>(&arg)) {
    v.vt = VT_BOOL;
    v.boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const std::int32_t* n = std::get_if<std::int32_t>(&arg)) {
    v.vt = VT_I4;
    v.lVal = *n;
  } else {
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(Wide(std::get<std::string>(arg)).c_str());
  }
}

// One late-bound call: member by name, arguments by position.
HRESULT Invoke(IDispatch* object, WORD kind, std::string_view member, const std::vector<AutomationArg>& args,
               VARIANT* result) {
  std::wstring name = Wide(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = 0;
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  // DISPPARAMS take the arguments last first.
  std::vector<Variant> values(args.size());
  std::vector<VARIANT> raw(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    Fill(*values[args.size() - 1 - i].get(), args[i]);
    raw[args.size() - 1 - i] = *values[args.size() - 1 - i];
  }
  DISPPARAMS params{raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
  DISPID put = DISPID_PROPERTYPUT;
  if (kind == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

class DispatchObject : public AutomationObject {
 public:
  explicit DispatchObject(ComRef<IDispatch> object) : object_(std::move(object)) {}

  std::unique_ptr<AutomationObject> Get(std::string_view member, const std::vector<AutomationArg>& args) override {
    Variant result;
    if (FAILED(Invoke(object_.get(), DISPATCH_METHOD | DISPATCH_PROPERTYGET, member, args, result.get())))
      return nullptr;
    VARIANT& v = *result.get();
    if (v.vt != VT_DISPATCH || !v.pdispVal) return nullptr;
    ComRef<IDispatch> child;
    *child.put() = std::exchange(v.pdispVal, nullptr);  // the reference moves out of the VARIANT
    v.vt = VT_EMPTY;
    return std::make_unique<DispatchObject>(std::move(child));
  }

  bool Call(std::string_view member, const std::vector<AutomationArg>& args) override {
    Variant result;
    return SUCCEEDED(Invoke(object_.get(), DISPATCH_METHOD, member, args, result.get()));
  }

  bool Put(std::string_view member, const AutomationArg& value) override {
    return SUCCEEDED(Invoke(object_.get(), DISPATCH_PROPERTYPUT, member, {value}, nullptr));
  }

  std::optional<std::int32_t> Number(std::string_view member) override {
    Variant result;
    if (FAILED(Invoke(object_.get(), DISPATCH_PROPERTYGET, member, {}, result.get()))) return std::nullopt;
    Variant number;
    if (FAILED(VariantChangeType(number.get(), result.get(), 0, VT_I4))) return std::nullopt;
    return (*number).lVal;
  }

 private:
  ComRef<IDispatch> object_;
};

}  // namespace

Win32Automation::Win32Automation() : com_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Win32Automation::~Win32Automation() {
  if (com_) CoUninitialize();
}

std::unique_ptr<AutomationObject> Win32Automation::Create(std::string_view program) {
  CLSID id{};
  if (FAILED(CLSIDFromProgID(Wide(program).c_str(), &id))) return nullptr;
  ComRef<IDispatch> object;
  if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(object.put()))))
    return nullptr;
  return std::make_unique<DispatchObject>(std::move(object));
}

}  // namespace tovan::rt::win32
