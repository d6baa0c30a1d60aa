#pragma once
// What the program answers a cache download: progress into the counters with a repaint,
// an abort while Cancel is pending, and the session's credentials until the user has
// been through the system's password dialog.
#include "sys/internet.h"

class SiteDownloadListener : public sys::DownloadListener {
 public:
  int32_t OnProgress(uint32_t progress, uint32_t maximum) override;
  sys::AuthenticateReply Authenticate() override;
};
