// The cabinet layer: every way a cabinet is refused and with which code, what the handler
// decides, and what happens when memory runs out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

template <size_t N>
std::string Bytes(const char (&text)[N]) { return std::string(text, N - 1); }
std::string Patched(std::string cab, size_t at, char value) { return cab[at] = value, cab; }
// "abc" in one stored block for a file of `size` bytes, with header flags and what they announce.
std::string Abc(uint32_t size, uint16_t flags = 0, const std::string& afterHeader = "", uint16_t folder = 0) {
  return BuildCabinet({.blocks = {{"abc", 3}}, .fileSize = size, .flags = flags, .afterHeader = afterHeader, .fileFolder = folder});
}

const CabinetLayout kPayload{.blocks = {{"payload ", 8}, {"data", 4}}, .fileSize = 12, .checksums = true};

TEST(CabinetContainer, BrokenCabinetsAreRefusedWithTheirCodeAndDeliverNothing) {
  const std::string good = BuildCabinet(kPayload), big = BuildCabinet(0, {{std::string(5000, 'x'), 5000}}, 5000);
  Extraction fine = Extract(good);
  ASSERT_TRUE(fine.ok) << fine.error;
  EXPECT_EQ(fine.files[0].name, "file.bin");
  EXPECT_EQ(fine.files[0].bytes, "payload data");
  struct Case { const char* what; std::string cabinet; int32_t code; } cases[] = {
      {"an error page", "<html><body>404 Not Found</body></html>", cab::error::kNotACabinet},
      {"nothing", "", cab::error::kNotACabinet},
      {"version 1.2", Patched(good, 24, 2), cab::error::kUnknownVersion},
      {"cut in the file table", good.substr(0, 50), cab::error::kCorruptCabinet},
      {"cut in the data", big.substr(0, big.size() - 1), cab::error::kCorruptCabinet},
      {"no file", Patched(good, 28, 0), cab::error::kCorruptCabinet},
      {"a wrong checksum", Patched(good, good.size() - 1, 'A'), cab::error::kCorruptCabinet},
      {"a file in a folder that is not there", Abc(3, 0, "", 1), cab::error::kCorruptCabinet},
      {"a block of more than 32 KB", BuildCabinet(0, {{"abc", 0x8001}}, 3), cab::error::kCorruptCabinet},
      {"a file beyond its folder's data", Abc(10), cab::error::kCorruptCabinet},
      {"a block shorter than it says", BuildCabinet(0, {{"abc", 4}}, 4), cab::error::kDecompressionData},
      {"a header reserve over 60000", Abc(3, 4, Bytes("\x61\xEA\0\0")), cab::error::kReserveMismatch},
      {"a file going on in the next cabinet", Abc(10, 2, Bytes("next.cab\0disk 2\0"), 0xFFFE), cab::error::kCabinetNotFound},
      {"a file begun in the previous cabinet", Abc(3, 1, Bytes("prev.cab\0disk 1\0"), 0xFFFD), cab::error::kCabinetNotFound},
  };
  for (const Case& broken : cases) {
    Extraction got = Extract(broken.cabinet);
    EXPECT_EQ(std::make_tuple(got.ok, got.error, got.files.size()), std::make_tuple(false, broken.code, size_t{0}))
        << broken.what;
  }
  // Unknown methods and window sizes: 4, 15, LZX below 15 and above 21, Quantum below 10 and above 21.
  for (int type : {0x0004, 0x000F, 3 | 14 << 8, 3 | 22 << 8, 2 | 9 << 8, 2 | 22 << 8})
    EXPECT_EQ(Extract(BuildCabinet(static_cast<uint16_t>(type), {{"xx", 2}}, 2)).error, cab::error::kUnknownCompression) << type;
}

intptr_t AbortOnCopy(int kind, cab::Notification* r) { return kind == cab::notify::kCopyFile ? -1 : CollectingHandler(kind, r); }
intptr_t SkipEveryFile(int kind, cab::Notification* r) { return kind == cab::notify::kCopyFile ? 0 : CollectingHandler(kind, r); }
intptr_t RefuseClose(int kind, cab::Notification* r) { return kind == cab::notify::kCloseFile ? 0 : CollectingHandler(kind, r); }
intptr_t AbortAtInfo(int kind, cab::Notification* r) { return kind == cab::notify::kCabinetInfo ? -1 : CollectingHandler(kind, r); }
intptr_t UnwritableTarget(int kind, cab::Notification* r) { return kind == cab::notify::kCopyFile ? 1 << 30 : CollectingHandler(kind, r); }

TEST(CabinetContainer, TheHandlerDecidesPerFile) {
  const std::string cab = BuildCabinet(kPayload);
  std::pair<cab::NotifyFn, int32_t> cases[] = {{AbortOnCopy, cab::error::kUserAbort}, {SkipEveryFile, cab::error::kNone},
                                               {RefuseClose, cab::error::kUserAbort}, {AbortAtInfo, cab::error::kUserAbort},
                                               {UnwritableTarget, cab::error::kTargetFile}};
  for (auto [handler, code] : cases) {
    Extraction got = Extract(cab, handler);
    EXPECT_EQ(std::make_tuple(got.ok, got.error, got.files.size()), std::make_tuple(code == 0, code, size_t{0}));
  }
  Extraction again = Extract(cab);  // the context is fine afterwards
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.files[0].bytes, "payload data");
}

size_t allocationLimit = 0;
void* LimitedAlloc(uint32_t size) { return size > allocationLimit ? nullptr : std::malloc(size); }

TEST(CabinetContainer, RunningOutOfMemoryIsReportedNotCrashed) {
  std::string cab = BuildCabinet(3 | 21 << 8, {{"xx", 2}}, 2);  // LZX with a 2 MB window
  cab::Callbacks callbacks = MemoryCallbacks(&cab);
  callbacks.alloc = LimitedAlloc;
  cab::CabinetError error;
  allocationLimit = 64;
  EXPECT_EQ(cab::CabinetContextCreate(callbacks, cab::kCpu80386, &error), nullptr);
  EXPECT_EQ(error.code, cab::error::kOutOfMemory);
  allocationLimit = 1 << 20;  // enough for the context, not for the window
  cab::Context* context = cab::CabinetContextCreate(callbacks, cab::kCpu80386, &error);
  ASSERT_NE(context, nullptr);
  EXPECT_FALSE(cab::CabinetExtract(context, "cabinet", "memory:", 0, CollectingHandler, nullptr, nullptr));
  EXPECT_EQ(error.code, cab::error::kOutOfMemory);
  cab::CabinetContextDestroy(context);
}

}  // namespace
}  // namespace cabtest
