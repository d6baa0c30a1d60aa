#pragma once
// What the adapters that talk to COM objects share: the program's ANSI texts widened for
// the objects and narrowed back, an interface reference that is released when it goes,
// and an HRESULT kept as the seam's error number.
#include <string>

#include "sys/result.h"
#include "sys/win32/winapi.h"

namespace sys::win32 {

std::wstring Widened(const std::string& text);
// `length` characters of `text`, or up to its NUL when `length` is -1.
std::string Narrowed(const wchar_t* text, int length = -1);

inline Error AsError(HRESULT result) { return static_cast<Error>(result); }

template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  void** Receive() { return reinterpret_cast<void**>(&pointer_); }
  Interface** ReceiveTyped() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace sys::win32
