#include "sys/win32/automation.h"

#include "sys/win32/comtext.h"
#include "sys/win32/winapi.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace sys::win32 {

namespace {

// A VARIANT that is cleared when it goes.
class VariantValue {
 public:
  VariantValue() { VariantInit(&value_); }
  VariantValue(const VariantValue&) = delete;
  VariantValue& operator=(const VariantValue&) = delete;
  ~VariantValue() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// One property get without arguments; the empty text when it fails or is not a text.
std::string ReadStringProperty(IDispatch* object, const std::string& name) {
  std::wstring wideName = Widened(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return {};
  DISPPARAMS noArguments = {nullptr, nullptr, 0, 0};
  VariantValue result;
  HRESULT invoked = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArguments,
                                   result.get(), nullptr, nullptr);
  if (FAILED(invoked) || result.get()->vt != VT_BSTR) return {};
  BSTR text = result.get()->bstrVal;
  return Narrowed(text, static_cast<int>(SysStringLen(text)));
}

class Win32AutomationImpl : public Automation {
 public:
  Result<std::string> ClassIdOf(const std::string& programId) override {
    CLSID classId{};
    HRESULT found = CLSIDFromProgID(Widened(programId).c_str(), &classId);
    if (FAILED(found)) return Result<std::string>::Fail(AsError(found));
    wchar_t text[64] = {};
    const int length = StringFromGUID2(classId, text, 64);
    if (length <= 1) return Result<std::string>::Fail(AsError(E_UNEXPECTED));
    return Result<std::string>::Ok(Narrowed(text, length - 1));  // without its NUL
  }

  Result<std::vector<std::string>> ReadStringProperties(const std::string& programId,
                                                       const std::vector<std::string>& names) override {
    using Texts = Result<std::vector<std::string>>;
    CLSID classId{};
    HRESULT found = CLSIDFromProgID(Widened(programId).c_str(), &classId);
    if (FAILED(found)) return Texts::Fail(AsError(found));
    ComRef<IDispatch> object;
    HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                       object.Receive());
    if (FAILED(created)) return Texts::Fail(AsError(created));
    std::vector<std::string> texts;
    texts.reserve(names.size());
    for (const std::string& name : names) texts.push_back(ReadStringProperty(object.get(), name));
    return Texts::Ok(std::move(texts));
  }
};

}  // namespace

Automation& Win32Automation() {
  static Win32AutomationImpl automation;
  return automation;
}

}  // namespace sys::win32
