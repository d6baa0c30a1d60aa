#include "transfer/sitedownloadlistener.h"

#include "session/session.h"
#include "transfer/itemprogress.h"
#include "transfer/sitesession.h"

int32_t SiteDownloadListener::OnProgress(uint32_t progress, uint32_t /*maximum*/) {
  if (cancelRequested.load() != 0) return sys::hr::kAbort;
  ShowItemProgress(static_cast<int32_t>(progress));
  return sys::hr::kOk;
}

sys::AuthenticateReply SiteDownloadListener::Authenticate() {
  sys::AuthenticateReply reply;
  if (Site().credentialsPrompted) {
    reply.letSystemAsk = true;
    return reply;
  }
  const SessionSettings& session = Session();
  reply.userName = SiteUserName(session.domain, session.userName);
  reply.password = session.password;
  return reply;
}
