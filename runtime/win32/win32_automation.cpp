#include "runtime/win32/win32_automation.h"

#include <windows.h>
#include <oleauto.h>

#include "runtime/win32/handles.h"
#include "runtime/win32/wide.h"

#include <memory>
#include <string>
#include <utility>

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

// An object of the automated program. Its interface pointer lives on the
// automation thread: it is used and released there, never here.
class DispatchObject : public AutomationObject {
 public:
  DispatchObject(AutomationThread& thread, int limit_ms, std::shared_ptr<ComRef<IDispatch>> object)
      : thread_(thread), limit_ms_(limit_ms), object_(std::move(object)) {}
  ~DispatchObject() override {
    thread_.Post([object = std::move(object_)] {});
  }

  std::unique_ptr<AutomationObject> Get(std::string_view member, const std::vector<AutomationArg>& args) override {
    auto child = thread_.Call<std::shared_ptr<ComRef<IDispatch>>>(
        [object = object_, name = std::string(member), args] {
          std::shared_ptr<ComRef<IDispatch>> got;
          Variant result;
          if (FAILED(Invoke(object->get(), DISPATCH_METHOD | DISPATCH_PROPERTYGET, name, args, result.get())))
            return got;
          VARIANT& v = *result.get();
          if (v.vt != VT_DISPATCH || !v.pdispVal) return got;
          got = std::make_shared<ComRef<IDispatch>>();
          *got->put() = std::exchange(v.pdispVal, nullptr);  // the reference moves out of the VARIANT
          v.vt = VT_EMPTY;
          return got;
        },
        limit_ms_);
    if (!child || !*child) return nullptr;
    return std::make_unique<DispatchObject>(thread_, limit_ms_, std::move(*child));
  }

  bool Call(std::string_view member, const std::vector<AutomationArg>& args) override {
    return thread_
        .Call<bool>(
            [object = object_, name = std::string(member), args] {
              Variant result;
              return SUCCEEDED(Invoke(object->get(), DISPATCH_METHOD, name, args, result.get()));
            },
            limit_ms_)
        .value_or(false);
  }

  bool Put(std::string_view member, const AutomationArg& value) override {
    return thread_
        .Call<bool>([object = object_, name = std::string(member),
                     value] { return SUCCEEDED(Invoke(object->get(), DISPATCH_PROPERTYPUT, name, {value}, nullptr)); },
                    limit_ms_)
        .value_or(false);
  }

  std::optional<std::int32_t> Number(std::string_view member) override {
    return thread_
        .Call<std::optional<std::int32_t>>(
            [object = object_, name = std::string(member)]() -> std::optional<std::int32_t> {
              Variant result;
              if (FAILED(Invoke(object->get(), DISPATCH_PROPERTYGET, name, {}, result.get()))) return std::nullopt;
              Variant number;
              if (FAILED(VariantChangeType(number.get(), result.get(), 0, VT_I4))) return std::nullopt;
              return (*number).lVal;
            },
            limit_ms_)
        .value_or(std::nullopt);
  }

 private:
  AutomationThread& thread_;
  int limit_ms_;
  std::shared_ptr<ComRef<IDispatch>> object_;
};

}  // namespace

Win32Automation::Win32Automation(Ui& ui, int limit_ms)
    : limit_ms_(limit_ms), com_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))), thread_(ui) {}

Win32Automation::~Win32Automation() {
  if (com_) CoUninitialize();
}

bool Win32Automation::Registered(std::string_view program) const {
  CLSID id{};
  return SUCCEEDED(CLSIDFromProgID(Wide(program).c_str(), &id));
}

std::unique_ptr<AutomationObject> Win32Automation::Create(std::string_view program) {
  auto object = thread_.Call<std::shared_ptr<ComRef<IDispatch>>>(
      [name = std::string(program)] {
        std::shared_ptr<ComRef<IDispatch>> made;
        CLSID id{};
        if (FAILED(CLSIDFromProgID(Wide(name).c_str(), &id))) return made;
        ComRef<IDispatch> created;
        if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(created.put()))))
          return made;
        made = std::make_shared<ComRef<IDispatch>>(std::move(created));
        return made;
      },
      kCreateLimitMs);
  if (!object || !*object) return nullptr;
  return std::make_unique<DispatchObject>(thread_, limit_ms_, std::move(*object));
}

}  // namespace tovan::rt::win32
