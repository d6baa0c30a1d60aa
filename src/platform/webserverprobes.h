#pragma once
// What the web server says about the web product lines' set-up: whether a web site
// exists and whether the first site maps ".aspx". A machine without the web server
// answers no, and the log says why.
#include <cstdint>

// The web-site number is 0 or less (the default site), or a site of that number exists.
bool IsWebsiteIdValid(int32_t websiteId);

// The first web site maps ".aspx".
bool IsAspxMapped();

// What the web set-up must do besides the virtual directory.
struct WebServerSetup {
  bool registerAspNet = false;  // the .NET web product's script maps are missing
};
WebServerSetup& WebSetup();
