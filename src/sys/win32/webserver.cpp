// The metabase and web-application interfaces are declared here: the cross compiler has
// no headers for them. The method order is the interfaces' published vtable order.
#include "sys/win32/webserver.h"

#include "sys/win32/comtext.h"
#include "sys/win32/winapi.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace sys::win32 {

namespace {

using MetadataHandle = DWORD;
constexpr MetadataHandle kMasterRoot = 0;
constexpr DWORD kReadWrite = 1 | 2;  // METADATA_PERMISSION_READ | WRITE
constexpr DWORD kOpenTimeout = 60000;

struct MetadataRecord {
  DWORD identifier;
  DWORD attributes;
  DWORD userType;
  DWORD dataType;
  DWORD length;
  unsigned char* data;
  DWORD tag;
};

struct IMetabaseAdmin : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddKey(MetadataHandle key, LPCWSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteKey(MetadataHandle key, LPCWSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteChildKeys(MetadataHandle key, LPCWSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumKeys(MetadataHandle key, LPCWSTR path, LPWSTR name, DWORD index) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyKey(MetadataHandle from, LPCWSTR fromPath, MetadataHandle to,
                                            LPCWSTR toPath, BOOL overwrite, BOOL copy) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenameKey(MetadataHandle key, LPCWSTR path, LPCWSTR newName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetData(MetadataHandle key, LPCWSTR path, MetadataRecord* record) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetData(MetadataHandle key, LPCWSTR path, MetadataRecord* record,
                                            DWORD* required) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteData(MetadataHandle key, LPCWSTR path, DWORD identifier,
                                               DWORD dataType) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumData(MetadataHandle key, LPCWSTR path, MetadataRecord* record,
                                             DWORD index, DWORD* required) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAllData(MetadataHandle key, LPCWSTR path, DWORD attributes,
                                               DWORD userType, DWORD dataType, DWORD* entries, DWORD* setNumber,
                                               DWORD bufferSize, unsigned char* buffer, DWORD* required) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteAllData(MetadataHandle key, LPCWSTR path, DWORD userType,
                                                  DWORD dataType) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyData(MetadataHandle from, LPCWSTR fromPath, MetadataHandle to,
                                             LPCWSTR toPath, DWORD attributes, DWORD userType, DWORD dataType,
                                             BOOL copy) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDataPaths(MetadataHandle key, LPCWSTR path, DWORD identifier,
                                                 DWORD dataType, DWORD bufferSize, WCHAR* buffer,
                                                 DWORD* required) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenKey(MetadataHandle key, LPCWSTR path, DWORD access, DWORD timeout,
                                            MetadataHandle* opened) = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseKey(MetadataHandle key) = 0;
  virtual HRESULT STDMETHODCALLTYPE ChangePermissions(MetadataHandle key, DWORD timeout, DWORD access) = 0;
  virtual HRESULT STDMETHODCALLTYPE SaveData() = 0;
};

struct IApplicationAdmin : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AppCreate(LPCWSTR path, BOOL inProcess) = 0;
  virtual HRESULT STDMETHODCALLTYPE AppDelete(LPCWSTR path, BOOL recursive) = 0;
};

constexpr CLSID kMetabaseClass = {0xa9e69610, 0xb80d, 0x11d0, {0xb9, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0xe7, 0x50}};
constexpr IID kMetabaseInterface = {0x70b51430, 0xb6ca, 0x11d0, {0xb9, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0xe7, 0x50}};
constexpr CLSID kApplicationClass = {0x61738644, 0xf196, 0x11d0, {0x99, 0x53, 0x00, 0xc0, 0x4f, 0xd9, 0x19, 0xc1}};
constexpr IID kApplicationInterface = {0x29822ab7, 0xf302, 0x11d0, {0x99, 0x53, 0x00, 0xc0, 0x4f, 0xd9, 0x19, 0xc1}};

// One administration object, created for one call and released after it.
template <class Interface>
class AdminObject {
 public:
  AdminObject(const CLSID& cls, const IID& iid) {
    error_ = static_cast<Error>(
        CoCreateInstance(cls, nullptr, CLSCTX_ALL, iid, reinterpret_cast<void**>(&pointer_)));
  }
  ~AdminObject() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  AdminObject(const AdminObject&) = delete;
  AdminObject& operator=(const AdminObject&) = delete;
  Error error() const { return pointer_ == nullptr && error_ == 0 ? static_cast<Error>(E_POINTER) : error_; }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
  Error error_ = 0;
};

// An opened metabase key of a created administration object; closed when it goes.
class OpenedMetabaseKey {
 public:
  explicit OpenedMetabaseKey(const std::string& path) : admin_(kMetabaseClass, kMetabaseInterface) {
    error_ = admin_.error();
    if (error_ == 0)
      error_ = static_cast<Error>(admin_->OpenKey(kMasterRoot, Widened(path).c_str(), kReadWrite, kOpenTimeout, &key_));
  }
  ~OpenedMetabaseKey() {
    if (error_ == 0) admin_->CloseKey(key_);
  }
  OpenedMetabaseKey(const OpenedMetabaseKey&) = delete;
  OpenedMetabaseKey& operator=(const OpenedMetabaseKey&) = delete;
  Error error() const { return error_; }
  IMetabaseAdmin* admin() const { return admin_.operator->(); }
  MetadataHandle key() const { return key_; }

 private:
  AdminObject<IMetabaseAdmin> admin_;
  MetadataHandle key_ = 0;
  Error error_ = 0;
};

// The string items of a property value that is a list.
std::vector<std::string> StringsOf(VARIANT& value) {
  std::vector<std::string> texts;
  if ((value.vt & VT_ARRAY) == 0 || value.parray == nullptr) return texts;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(value.parray, 1, &low);
  SafeArrayGetUBound(value.parray, 1, &high);
  for (LONG index = low; index <= high; ++index) {
    VARIANT item;
    VariantInit(&item);
    if ((value.vt & VT_TYPEMASK) == VT_VARIANT && SUCCEEDED(SafeArrayGetElement(value.parray, &index, &item)) &&
        item.vt == VT_BSTR)
      texts.push_back(Narrowed(item.bstrVal));
    VariantClear(&item);
  }
  return texts;
}

class Win32WebServerImpl final : public WebServer {
 public:
  Error OpenKey(const std::string& path) override { return OpenedMetabaseKey(path).error(); }

  Error AddKey(const std::string& parent, const std::string& child) override {
    OpenedMetabaseKey key(parent);
    if (key.error()) return key.error();
    return static_cast<Error>(key.admin()->AddKey(key.key(), Widened(child).c_str()));
  }

  Error DeleteKey(const std::string& parent, const std::string& child) override {
    OpenedMetabaseKey key(parent);
    if (key.error()) return key.error();
    return static_cast<Error>(key.admin()->DeleteKey(key.key(), Widened(child).c_str()));
  }

  Error SetData(const std::string& path, const MetabaseRecord& record) override {
    OpenedMetabaseKey key(path);
    if (key.error()) return key.error();
    std::string data = record.data;
    std::wstring text = Widened(record.data);
    bool isText = record.dataType == metabase::kString || record.dataType == metabase::kExpandString;
    unsigned char* bytes = isText ? reinterpret_cast<unsigned char*>(text.data())
                                  : reinterpret_cast<unsigned char*>(data.data());
    DWORD length = isText ? static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)) : static_cast<DWORD>(data.size());
    MetadataRecord written{record.identifier, record.attributes, record.userType, record.dataType, length, bytes, 0};
    return static_cast<Error>(key.admin()->SetData(key.key(), L"/", &written));
  }

  Result<std::vector<std::string>> ChildKeys(const std::string& path) override {
    using R = Result<std::vector<std::string>>;
    OpenedMetabaseKey key(path);
    if (key.error()) return R::Fail(key.error());
    std::vector<std::string> names;
    wchar_t name[kNameCapacity];
    for (DWORD index = 0; SUCCEEDED(key.admin()->EnumKeys(key.key(), L"", name, index)); ++index)
      names.push_back(Narrowed(name));
    return R::Ok(std::move(names));
  }

  Error Save() override {
    AdminObject<IMetabaseAdmin> admin(kMetabaseClass, kMetabaseInterface);
    return admin.error() ? admin.error() : static_cast<Error>(admin->SaveData());
  }

  Error CreateApplication(const std::string& path, bool inProcess) override {
    AdminObject<IApplicationAdmin> manager(kApplicationClass, kApplicationInterface);
    if (manager.error()) return manager.error();
    return static_cast<Error>(manager->AppCreate(Widened(path).c_str(), inProcess ? TRUE : FALSE));
  }

  Error DeleteApplication(const std::string& path) override {
    AdminObject<IApplicationAdmin> manager(kApplicationClass, kApplicationInterface);
    if (manager.error()) return manager.error();
    return static_cast<Error>(manager->AppDelete(Widened(path).c_str(), TRUE));
  }

  Result<std::vector<std::string>> ScriptMaps(int32_t site) override {
    using R = Result<std::vector<std::string>>;
    HRESULT initialised = CoInitialize(nullptr);
    std::wstring name = L"IIS://localhost/w3svc/" + std::to_wstring(site);
    IDispatch* server = nullptr;
    HRESULT result = CoGetObject(name.c_str(), nullptr, IID_IDispatch, reinterpret_cast<void**>(&server));
    std::vector<std::string> maps;
    if (SUCCEEDED(result)) {
      LPOLESTR property = const_cast<LPOLESTR>(L"ScriptMaps");
      DISPID id = 0;
      result = server->GetIDsOfNames(IID_NULL, &property, 1, LOCALE_USER_DEFAULT, &id);
      VARIANT value;
      VariantInit(&value);
      DISPPARAMS none{nullptr, nullptr, 0, 0};
      if (SUCCEEDED(result))
        result = server->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                                nullptr);
      if (SUCCEEDED(result)) maps = StringsOf(value);
      VariantClear(&value);
      server->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
    if (FAILED(result)) return R::Fail(static_cast<Error>(result));
    return R::Ok(std::move(maps));
  }

 private:
  static constexpr int kNameCapacity = 256;
};

}  // namespace

WebServer& Win32WebServer() {
  static Win32WebServerImpl instance;
  return instance;
}

}  // namespace sys::win32
