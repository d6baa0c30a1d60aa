#pragma once
// The next item's transfer, started as soon as the item before it has arrived whole, so
// the wire carries item N+1 while item N is expanded and placed. It is one item ahead at
// most and only the plain transfer into a temporary file: the size check, the site's
// corrected sizes, the questions and every retry stay with the item itself, in list order.
#include <cstdint>
#include <optional>
#include <string>

enum class AheadMode {
  Off,     // every item is transferred when it comes up
  Inline,  // the transfer ahead is done at once, on the run's thread (tests)
  Thread,  // the transfer ahead runs on a thread of its own
};
// Off until the program turns it on.
void SetTransferAheadMode(AheadMode mode);

struct AheadTransfer {
  std::string path;       // the temporary file, now the item's
  uint32_t endTick = 0;
};

// The URL of the transfer to start once the current item's transfer has checked out;
// empty when the next item transfers nothing.
void PlanTransferAhead(const std::string& url);
// Starts the planned transfer, unless a cancel is pending.
void StartTransferAhead();
// When the transfer of `url` was started ahead: the tick it started at.
std::optional<uint32_t> TransferAheadStart(const std::string& url);
// That transfer: waits for its end, counting its bytes as the current item's. Nothing
// when a cancel stopped it before: the item is then transferred as usual.
std::optional<AheadTransfer> TakeTransferAhead();
// Waits for a transfer ahead that was not taken and deletes its file.
void DropTransferAhead();
