#include "sys/win32/shelllinks.h"

#include "sys/win32/comtext.h"
#include "sys/win32/winapi.h"

#include <intshcut.h>
#include <objbase.h>
#include <shlguid.h>

#include <string>

namespace sys::win32 {

namespace {

// The longest target a link gives back.
constexpr int kTargetCapacity = 512;
constexpr int kTextCapacity = MAX_PATH;

// A shortcut object with the interface asked for and its file interface.
template <class Interface>
HRESULT CreateObject(const CLSID& classId, const IID& interfaceId, ComRef<Interface>& object,
                     ComRef<IPersistFile>& file) {
  HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object.Receive());
  if (FAILED(created)) return created;
  return object->QueryInterface(IID_IPersistFile, file.Receive());
}

template <class Read>
std::string TextOf(Read read, int capacity) {
  std::string text(static_cast<std::size_t>(capacity), '\0');
  if (FAILED(read(text.data(), capacity))) return {};
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

Result<LinkRecord> LoadShellLink(const std::string& path) {
  ComRef<IShellLinkA> link;
  ComRef<IPersistFile> file;
  if (HRESULT made = CreateObject(CLSID_ShellLink, IID_IShellLinkA, link, file); FAILED(made))
    return Result<LinkRecord>::Fail(AsError(made));
  if (HRESULT loaded = file->Load(Widened(path).c_str(), STGM_READWRITE); FAILED(loaded))
    return Result<LinkRecord>::Fail(AsError(loaded));
  LinkRecord record;
  record.target = TextOf([&](char* b, int n) { return link->GetPath(b, n, nullptr, SLGP_UNCPRIORITY); },
                         kTargetCapacity);
  record.arguments = TextOf([&](char* b, int n) { return link->GetArguments(b, n); }, kTextCapacity);
  record.workingFolder = TextOf([&](char* b, int n) { return link->GetWorkingDirectory(b, n); }, kTextCapacity);
  record.description = TextOf([&](char* b, int n) { return link->GetDescription(b, n); }, kTextCapacity);
  int iconIndex = 0;
  record.iconFile = TextOf([&](char* b, int n) { return link->GetIconLocation(b, n, &iconIndex); }, kTextCapacity);
  record.iconIndex = iconIndex;
  int show = 0;
  if (SUCCEEDED(link->GetShowCmd(&show))) record.showCommand = show;
  return Result<LinkRecord>::Ok(std::move(record));
}

Error SaveShellLink(const std::string& path, const LinkRecord& record) {
  ComRef<IShellLinkA> link;
  ComRef<IPersistFile> file;
  if (HRESULT made = CreateObject(CLSID_ShellLink, IID_IShellLinkA, link, file); FAILED(made)) return AsError(made);
  link->SetPath(record.target.c_str());
  link->SetDescription(record.description.c_str());
  link->SetShowCmd(record.showCommand);
  link->SetWorkingDirectory(record.workingFolder.c_str());
  link->SetIconLocation(record.iconFile.c_str(), record.iconIndex);
  if (!record.arguments.empty()) link->SetArguments(record.arguments.c_str());
  return AsError(file->Save(Widened(path).c_str(), TRUE));
}

// The icon of an internet shortcut lives in its property set.
HRESULT OpenIconProperties(IUniformResourceLocatorA* url, DWORD mode, ComRef<IPropertyStorage>& properties) {
  ComRef<IPropertySetStorage> sets;
  HRESULT found = url->QueryInterface(IID_IPropertySetStorage, sets.Receive());
  if (FAILED(found)) return found;
  return sets->Open(FMTID_Intshcut, mode, properties.ReceiveTyped());
}

Result<LinkRecord> LoadInternetShortcut(const std::string& path) {
  ComRef<IUniformResourceLocatorA> url;
  ComRef<IPersistFile> file;
  if (HRESULT made = CreateObject(CLSID_InternetShortcut, IID_IUniformResourceLocatorA, url, file); FAILED(made))
    return Result<LinkRecord>::Fail(AsError(made));
  if (HRESULT loaded = file->Load(Widened(path).c_str(), STGM_READWRITE); FAILED(loaded))
    return Result<LinkRecord>::Fail(AsError(loaded));
  LinkRecord record;
  char* address = nullptr;
  if (SUCCEEDED(url->GetURL(&address)) && address != nullptr) {
    record.target = address;
    CoTaskMemFree(address);
  }
  ComRef<IPropertyStorage> properties;
  if (SUCCEEDED(OpenIconProperties(url.get(), STGM_READ | STGM_SHARE_EXCLUSIVE, properties))) {
    PROPSPEC iconFields[2] = {{PRSPEC_PROPID, {PID_IS_ICONFILE}}, {PRSPEC_PROPID, {PID_IS_ICONINDEX}}};
    PROPVARIANT values[2];
    PropVariantInit(&values[0]);
    PropVariantInit(&values[1]);
    if (SUCCEEDED(properties->ReadMultiple(2, iconFields, values))) {
      if (values[0].vt == VT_LPWSTR) record.iconFile = Narrowed(values[0].pwszVal);
      if (values[1].vt == VT_I4) record.iconIndex = values[1].lVal;
    }
    PropVariantClear(&values[0]);
    PropVariantClear(&values[1]);
  }
  return Result<LinkRecord>::Ok(std::move(record));
}

// The property set is let go again before the file is saved: the object refuses to
// save while it is open.
void WriteIcon(IUniformResourceLocatorA* url, const LinkRecord& record) {
  ComRef<IPropertyStorage> properties;
  if (SUCCEEDED(OpenIconProperties(url, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, properties))) {
    std::wstring icon = Widened(record.iconFile);
    PROPSPEC iconFields[2] = {{PRSPEC_PROPID, {PID_IS_ICONFILE}}, {PRSPEC_PROPID, {PID_IS_ICONINDEX}}};
    PROPVARIANT values[2];
    PropVariantInit(&values[0]);
    PropVariantInit(&values[1]);
    values[0].vt = VT_LPWSTR;
    values[0].pwszVal = icon.data();
    values[1].vt = VT_I4;
    values[1].lVal = record.iconIndex;
    properties->WriteMultiple(2, iconFields, values, 0);
    properties->Commit(STGC_DEFAULT);
  }
}

Error SaveInternetShortcut(const std::string& path, const LinkRecord& record) {
  ComRef<IUniformResourceLocatorA> url;
  ComRef<IPersistFile> file;
  if (HRESULT made = CreateObject(CLSID_InternetShortcut, IID_IUniformResourceLocatorA, url, file); FAILED(made))
    return AsError(made);
  if (HRESULT set = url->SetURL(record.target.c_str(), 0); FAILED(set)) return AsError(set);
  if (!record.iconFile.empty()) WriteIcon(url.get(), record);
  return AsError(file->Save(Widened(path).c_str(), TRUE));
}

class Win32ShellLinksImpl : public ShellLinks {
 public:
  Result<LinkRecord> Load(LinkKind kind, const std::string& path) override {
    return kind == LinkKind::Shell ? LoadShellLink(path) : LoadInternetShortcut(path);
  }
  Error Save(LinkKind kind, const std::string& path, const LinkRecord& link) override {
    return kind == LinkKind::Shell ? SaveShellLink(path, link) : SaveInternetShortcut(path, link);
  }
};

}  // namespace

ShellLinks& Win32ShellLinks() {
  static Win32ShellLinksImpl links;
  return links;
}

}  // namespace sys::win32
