// A stand-in for the office programs, for the end-to-end tests only: an
// out-of-process COM server for "Excel.Application" and "WORD.Application"
// that knows just the members the tool reaches and writes every call it
// receives, in order, to automation-calls.log beside it, one line each in
// the form "Excel.Application.Range("A1").PasteSpecial()". Like Excel, it
// has no active workbook until one is added, and its used range grows with
// the rows pasted into.
//   tovan_automation_server /register      registers both program names
//   tovan_automation_server /register-wps  registers them under WPS Office's
//                                          names only (KET.Application,
//                                          KWPS.Application); the calls are
//                                          logged as Excel's and Word's
//   tovan_automation_server /unregister    removes every name
//   (COM starts it with -Embedding to serve; while the file
//   automation-slow-start lies beside it, it takes 8 s to start, as an
//   office program's cold start on a slow laptop)
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

const CLSID kExcelId = {0x6a0f3e2b, 0x7c41, 0x4e8a, {0x9d, 0x11, 0x5b, 0x2c, 0x3a, 0x4f, 0x7e, 0x01}};
const CLSID kWordId = {0x6a0f3e2b, 0x7c41, 0x4e8a, {0x9d, 0x11, 0x5b, 0x2c, 0x3a, 0x4f, 0x7e, 0x02}};

// Members that give an object, members that act, and the one number.
const wchar_t* const kObjectMembers[] = {L"ActiveWorkbook", L"Sheets",    L"Add",       L"Workbooks",
                                         L"ActiveSheet",    L"UsedRange", L"Rows",      L"Columns",
                                         L"Range",          L"Documents", L"Selection"};
const wchar_t* const kActions[] = {L"PasteSpecial", L"TypeText", L"TypeParagraph", L"TypeBackspace", L"Paste"};
constexpr DISPID kVisible = 100;
constexpr DISPID kCount = 101;
constexpr DISPID kFirstAction = 200;

long live_objects = 0;
long server_locks = 0;

void Release() {
  if (--live_objects == 0 && server_locks == 0) PostQuitMessage(0);
}

std::wstring Directory() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L'\\'));
}

std::string Utf8(const std::wstring& text) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(out.empty() ? 0 : out.size() - 1);
  return out;
}

void Log(const std::wstring& line) {
  std::wstring escaped;
  for (wchar_t c : line) escaped += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  std::ofstream(std::filesystem::path(Directory() + L"\\automation-calls.log"), std::ios::app | std::ios::binary) << Utf8(escaped) << "\n";
}

// A test makes the program hang: while the file automation-hang lies beside
// it, every action waits before it is done (as an office program showing a
// dialog of its own, or busy, does).
void WaitWhileHung() {
  const std::filesystem::path flag(Directory() + L"\\automation-hang");
  while (std::filesystem::exists(flag)) Sleep(20);
}

std::wstring ArgText(const VARIANT& v) {
  if (v.vt == VT_BOOL) return v.boolVal ? L"True" : L"False";
  if (v.vt == VT_BSTR) return L"\"" + std::wstring(v.bstrVal ? v.bstrVal : L"") + L"\"";
  VARIANT text;
  VariantInit(&text);
  std::wstring out = L"?";
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) out = text.bstrVal;
  VariantClear(&text);
  return out;
}

// What the application object knows of its sheet.
struct Sheet {
  bool workbook = false;
  int used_rows = 1;  // an empty sheet's used range is A1
};

class Object : public IDispatch {
 public:
  Object(std::wstring path, std::shared_ptr<Sheet> sheet) : path_(std::move(path)), sheet_(std::move(sheet)) {
    ++live_objects;
  }
  virtual ~Object() { ::Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    auto same = [&](const wchar_t* member) { return _wcsicmp(names[0], member) == 0; };
    for (DISPID i = 0; i < static_cast<DISPID>(std::size(kObjectMembers)); ++i)
      if (same(kObjectMembers[i])) return *ids = i + 1, S_OK;
    for (DISPID i = 0; i < static_cast<DISPID>(std::size(kActions)); ++i)
      if (same(kActions[i])) return *ids = kFirstAction + i, S_OK;
    if (same(L"Visible")) return *ids = kVisible, S_OK;
    if (same(L"Count")) return *ids = kCount, S_OK;
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    std::vector<std::wstring> args;
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) args.push_back(ArgText(params->rgvarg[i - 1]));
    std::wstring joined;
    for (const std::wstring& arg : args) joined += (joined.empty() ? L"" : L", ") + arg;
    if (id == kVisible) {
      if (!(kind & DISPATCH_PROPERTYPUT) || args.size() != 1) return DISP_E_MEMBERNOTFOUND;
      Log(path_ + L".Visible = " + args[0]);
      return S_OK;
    }
    if (id == kCount) {
      Log(path_ + L".Count");
      if (result) {
        result->vt = VT_I4;
        result->lVal = path_.ends_with(L".Rows") ? sheet_->used_rows : 1;
      }
      return S_OK;
    }
    if (id >= kFirstAction) {
      const std::wstring action = kActions[id - kFirstAction];
      WaitWhileHung();
      Log(path_ + L"." + action + L"(" + joined + L")");
      // A paste into a cell of a row makes the used range reach that row.
      if (action == L"PasteSpecial") {
        const std::size_t digits = path_.find_first_of(L"0123456789", path_.rfind(L"Range("));
        if (digits != std::wstring::npos) sheet_->used_rows = std::max(sheet_->used_rows, _wtoi(path_.c_str() + digits));
      }
      return S_OK;
    }
    const std::wstring member = kObjectMembers[id - 1];
    std::wstring path = path_ + L"." + member + (args.empty() ? L"" : L"(" + joined + L")");
    if (member == L"ActiveWorkbook" && !sheet_->workbook) {
      Log(path + L" (failed)");
      return DISP_E_EXCEPTION;  // no workbook is open
    }
    Log(path);
    if (member == L"Add" && path_.ends_with(L".Workbooks")) sheet_->workbook = true;
    if (result) {
      result->vt = VT_DISPATCH;
      result->pdispVal = new Object(std::move(path), sheet_);
    }
    return S_OK;
  }

 private:
  ULONG references_ = 1;
  std::wstring path_;
  std::shared_ptr<Sheet> sheet_;
};

class Factory : public IClassFactory {
 public:
  explicit Factory(const wchar_t* program) : program_(program) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Log(program_);
    auto* object = new Object(program_, std::make_shared<Sheet>());
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      ++server_locks;
    } else if (--server_locks == 0 && live_objects == 0) {
      PostQuitMessage(0);
    }
    return S_OK;
  }

 private:
  std::wstring program_;
};

std::wstring Text(const CLSID& id) {
  wchar_t text[64];
  StringFromGUID2(id, text, 64);
  return text;
}

void SetDefault(const std::wstring& key, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr)) return;
  RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
}

void Register(bool add, bool wps) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  for (const auto& [program, id, of_wps] :
       {std::tuple{L"Excel.Application", kExcelId, false}, std::tuple{L"WORD.Application", kWordId, false},
        std::tuple{L"KET.Application", kExcelId, true}, std::tuple{L"KWPS.Application", kWordId, true}}) {
    const std::wstring clsid = L"CLSID\\" + Text(id);
    if (add && of_wps != wps) continue;
    if (add) {
      SetDefault(std::wstring(program) + L"\\CLSID", Text(id));
      SetDefault(clsid + L"\\LocalServer32", L"\"" + std::wstring(exe) + L"\"");
    } else {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, program);
      RegDeleteTreeW(HKEY_CLASSES_ROOT, clsid.c_str());
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"/register" || command == L"/register-wps" || command == L"/unregister") {
    if (command != L"/register") Register(false, false);
    if (command != L"/unregister") Register(true, command == L"/register-wps");
    return 0;
  }
  if (std::filesystem::exists(Directory() + L"\\automation-slow-start")) Sleep(8000);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  Factory excel(L"Excel.Application"), word(L"WORD.Application");
  DWORD cookies[2] = {};
  CoRegisterClassObject(kExcelId, &excel, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookies[0]);
  CoRegisterClassObject(kWordId, &word, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookies[1]);
  // Served until the last object is released; a start nobody uses ends
  // after a minute.
  SetTimer(nullptr, 0, 60'000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && live_objects == 0) break;
    DispatchMessageW(&message);
  }
  for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
  CoUninitialize();
  return 0;
}
