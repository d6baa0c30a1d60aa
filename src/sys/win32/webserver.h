#pragma once
// The Win32 adapter's web server: the metabase and web-application administration objects
// and the directory service's view of the web sites.
#include "sys/webserver.h"

namespace sys::win32 {

WebServer& Win32WebServer();

}  // namespace sys::win32
