#pragma once
// The COM object a cache download reports to: progress (with the chance to abort) and
// the site's question for credentials. The decisions belong to the program's listener;
// this object only speaks COM for it.
#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <urlmon.h>

#include "sys/internet.h"

namespace sys::win32 {

class DownloadCallback final : public IBindStatusCallback, public IAuthenticate {
 public:
  // A new object with one reference, which the caller owns.
  static DownloadCallback* Create(DownloadListener* listener);

  // IUnknown, shared by both interfaces.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IBindStatusCallback
  STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
  STDMETHODIMP GetPriority(LONG* priority) override;
  STDMETHODIMP OnLowResource(DWORD reserved) override;
  STDMETHODIMP OnProgress(ULONG progress, ULONG maximum, ULONG statusCode, LPCWSTR statusText) override;
  STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
  STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP OnObjectAvailable(REFIID iid, IUnknown* object) override;

  // IAuthenticate
  STDMETHODIMP Authenticate(HWND* window, LPWSTR* userName, LPWSTR* password) override;

  ULONG references() const { return static_cast<ULONG>(references_); }

 private:
  explicit DownloadCallback(DownloadListener* listener) : listener_(listener) {}
  ~DownloadCallback();

  LONG references_ = 1;
  IBinding* binding_ = nullptr;     // held from the start of a transfer to its end
  IUnknown* unusedHeld_ = nullptr;  // never set; released at the end if it ever is
  DownloadListener* listener_;
};

}  // namespace sys::win32
