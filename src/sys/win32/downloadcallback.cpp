#include "sys/win32/downloadcallback.h"

#include <string>

namespace sys::win32 {

namespace {

// Credentials are handed out as wide text of at most this many characters.
constexpr int kCredentialCapacity = 256;

// ANSI text as wide text in memory of the COM task allocator (the caller frees it).
LPWSTR TaskWideCopy(const std::string& text) {
  wchar_t wide[kCredentialCapacity] = {};
  int length = text.empty() ? 0
                            : MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide,
                                                  kCredentialCapacity - 1);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((length + 1) * sizeof(wchar_t)));
  if (copy == nullptr) return nullptr;
  for (int i = 0; i < length; ++i) copy[i] = wide[i];
  copy[length] = L'\0';
  return copy;
}

}  // namespace

DownloadCallback* DownloadCallback::Create(DownloadListener* listener) { return new DownloadCallback(listener); }

DownloadCallback::~DownloadCallback() {
  if (binding_ != nullptr) binding_->Release();
  if (unusedHeld_ != nullptr) unusedHeld_->Release();
}

STDMETHODIMP DownloadCallback::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback)) {
    *object = static_cast<IBindStatusCallback*>(this);
  } else if (IsEqualIID(iid, IID_IAuthenticate)) {
    *object = static_cast<IAuthenticate*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) DownloadCallback::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) DownloadCallback::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP DownloadCallback::OnStartBinding(DWORD, IBinding* binding) {
  if (binding != nullptr) {
    binding->AddRef();
    if (binding_ != nullptr) binding_->Release();
    binding_ = binding;
  }
  return S_OK;
}

STDMETHODIMP DownloadCallback::GetPriority(LONG*) { return S_OK; }
STDMETHODIMP DownloadCallback::OnLowResource(DWORD) { return S_OK; }

STDMETHODIMP DownloadCallback::OnProgress(ULONG progress, ULONG maximum, ULONG, LPCWSTR) {
  if (listener_ == nullptr) return S_OK;
  return listener_->OnProgress(progress, maximum) == hr::kAbort ? E_ABORT : S_OK;
}

STDMETHODIMP DownloadCallback::OnStopBinding(HRESULT, LPCWSTR) {
  if (binding_ != nullptr) {
    binding_->Release();
    binding_ = nullptr;
  }
  return S_OK;
}

STDMETHODIMP DownloadCallback::GetBindInfo(DWORD*, BINDINFO*) { return S_OK; }
STDMETHODIMP DownloadCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) { return S_OK; }
STDMETHODIMP DownloadCallback::OnObjectAvailable(REFIID, IUnknown*) { return S_OK; }

STDMETHODIMP DownloadCallback::Authenticate(HWND* window, LPWSTR* userName, LPWSTR* password) {
  if (window == nullptr || userName == nullptr || password == nullptr) return E_INVALIDARG;
  AuthenticateReply reply = listener_ != nullptr ? listener_->Authenticate() : AuthenticateReply{true, {}, {}};
  if (reply.letSystemAsk) {
    // The desktop as owner and the names left alone: the system asks the user.
    *window = GetDesktopWindow();
    return S_OK;
  }
  *window = reinterpret_cast<HWND>(INVALID_HANDLE_VALUE);  // all bits set: no user interface
  *userName = TaskWideCopy(reply.userName);
  *password = TaskWideCopy(reply.password);
  return S_OK;
}

}  // namespace sys::win32
