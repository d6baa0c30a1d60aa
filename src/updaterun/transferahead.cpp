#include "updaterun/transferahead.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "session/log.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/fetchurl.h"
#include "transfer/itemprogress.h"

namespace {

// How often the run's thread shows the bytes of a transfer it waits for.
constexpr uint32_t kWaitStepMs = 10;

uint32_t Now() { return sys::os().clock->TickCount(); }

// One transfer ahead. Its thread writes `result`, `notes` and `cancelled` before it
// sets `done`; the run's thread reads them only after that.
struct Ahead final : TransferObserver {
  std::string url;
  uint32_t startTick = 0;
  AheadTransfer result;
  std::vector<std::string> notes;  // log lines held until the item comes up
  std::atomic<uint64_t> bytes{0};
  std::atomic<bool> claimed{false};  // its item has come up: it runs to its end
  bool cancelled = false;            // stopped by a cancel before its item came up
  std::atomic<bool> done{false};
  std::thread thread;

  // A cancel stops a transfer whose item may never come; one that was waited for
  // ends as a transfer of its own would.
  bool Written(uint64_t written) override {
    bytes = written;
    cancelled = !claimed.load() && cancelRequested.load() != 0;
    return !cancelled;
  }
  void Note(const std::string& line) override { notes.push_back(line); }

  void Run() {
    FetchUrlToTempFile(url, result.path, this);  // its item's size check judges it
    result.endTick = Now();
    done = true;
  }
  void Finish() {
    if (thread.joinable()) thread.join();
  }
};

AheadMode mode = AheadMode::Off;
std::string planned;
std::unique_ptr<Ahead> ahead;

// Waits for the transfer ahead and deletes what it left.
void Discard() {
  if (!ahead) return;
  ahead->Finish();
  if (!ahead->result.path.empty()) sys::os().files->DeleteFile(ahead->result.path);
  if (sys::os().internet != nullptr) sys::os().internet->DeleteCacheEntry(ahead->url);
  ahead.reset();
}

}  // namespace

void SetTransferAheadMode(AheadMode chosen) { mode = chosen; }

void PlanTransferAhead(const std::string& url) { planned = url; }

void StartTransferAhead() {
  if (mode == AheadMode::Off || planned.empty() || cancelRequested.load() != 0) return;
  std::string url = std::move(planned);
  Discard();
  ahead = std::make_unique<Ahead>();
  ahead->url = url;
  ahead->startTick = Now();
  if (mode == AheadMode::Inline)
    ahead->Run();
  else
    ahead->thread = std::thread([transfer = ahead.get()] { transfer->Run(); });
}

std::optional<uint32_t> TransferAheadStart(const std::string& url) {
  if (!ahead || ahead->url != url) return std::nullopt;
  return ahead->startTick;
}

std::optional<AheadTransfer> TakeTransferAhead() {
  ahead->claimed = true;
  while (!ahead->done.load()) {
    ShowItemProgress(static_cast<int32_t>(ahead->bytes.load()));
    sys::os().clock->Sleep(kWaitStepMs);
  }
  ahead->Finish();
  if (ahead->cancelled) {  // its item transfers as if nothing had gone ahead
    Discard();
    return std::nullopt;
  }
  ShowItemProgressEnd(static_cast<int32_t>(ahead->bytes.load()));
  for (const std::string& line : ahead->notes) WriteLog("%s", line.c_str());
  AheadTransfer taken = std::move(ahead->result);
  ahead.reset();
  return taken;
}

void DropTransferAhead() {
  planned.clear();
  Discard();
}
