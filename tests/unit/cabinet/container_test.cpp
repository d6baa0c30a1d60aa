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
CabinetLayout Abc(uint32_t fileSize) { return {.blocks = {{"abc", 3}}, .fileSize = fileSize}; }
template <typename Change>
std::string AbcWith(uint32_t fileSize, Change change) {
  CabinetLayout layout = Abc(fileSize);
  change(layout);
  return BuildCabinet(layout);
}

const CabinetLayout kPayload{.blocks = {{"payload ", 8}, {"data", 4}}, .fileSize = 12, .checksums = true};

TEST(CabinetContainer, BrokenCabinetsAreRefusedWithTheirCodeAndDeliverNothing) {
  const std::string good = BuildCabinet(kPayload), big = BuildCabinet(0, {{std::string(5000, 'x'), 5000}}, 5000);
  Extraction fine = Extract(good);
  ASSERT_TRUE(fine.ok) << fine.error;
  EXPECT_EQ(fine.files[0].name, "file.bin");
  EXPECT_EQ(fine.files[0].bytes, "payload data");
  struct Case {
    const char* what;
    std::string cabinet;
    int32_t code;
  } cases[] = {
      {"an error page", "<html><body>404 Not Found</body></html>", cab::error::kNotACabinet},
      {"nothing", "", cab::error::kNotACabinet},
      {"version 1.2", Patched(good, 24, 2), cab::error::kUnknownVersion},
      {"cut in the file table", good.substr(0, 50), cab::error::kCorruptCabinet},
      {"cut in the data", big.substr(0, big.size() - 1), cab::error::kCorruptCabinet},
      {"no file", Patched(good, 28, 0), cab::error::kCorruptCabinet},
      {"a wrong checksum", Patched(good, good.size() - 1, 'A'), cab::error::kCorruptCabinet},
      {"a file in a folder that is not there", AbcWith(3, [](auto& c) { c.fileFolder = 1; }), cab::error::kCorruptCabinet},
      {"a block of more than 32 KB", BuildCabinet(0, {{"abc", 0x8001}}, 3), cab::error::kCorruptCabinet},
      {"a file beyond its folder's data", BuildCabinet(Abc(10)), cab::error::kCorruptCabinet},
      {"a block shorter than it says", BuildCabinet(0, {{"abc", 4}}, 4), cab::error::kDecompressionData},
      {"a header reserve over 60000", AbcWith(3, [](auto& c) { c.flags = 4, c.afterHeader = Bytes("\x61\xEA\0\0"); }),
       cab::error::kReserveMismatch},
      {"a file that goes on in the next cabinet",
       AbcWith(10, [](auto& c) { c.flags = 2, c.afterHeader = Bytes("next.cab\0disk 2\0"), c.fileFolder = 0xFFFE; }),
       cab::error::kCabinetNotFound},
      {"a file that began in the previous cabinet",
       AbcWith(3, [](auto& c) { c.flags = 1, c.afterHeader = Bytes("prev.cab\0disk 1\0"), c.fileFolder = 0xFFFD; }),
       cab::error::kCabinetNotFound},
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

TEST(CabinetContainer, IsCabinetFileReadsTheHeaderAndAMissingCabinetIsNotFound) {
  std::string cab = Patched(Patched(BuildCabinet(kPayload), 26, 2), 28, 4);  // 2 folders, 4 files
  cab::CabinetError error;
  cab::Context* context = cab::CabinetContextCreate(MemoryCallbacks(&cab), cab::kCpu80386, &error);
  cab::CabinetInfo info;
  ASSERT_TRUE(cab::IsCabinetFile(context, MemoryCallbacks(&cab).open("memory:cabinet", 0, 0), &info));
  EXPECT_EQ(std::make_tuple(info.folderCount, info.fileCount, info.cabinetLength), std::make_tuple(2, 4, int32_t(cab.size())));
  std::string zip = "PK\x03\x04 and more bytes than a header needs, surely enough";
  EXPECT_FALSE(cab::IsCabinetFile(context, MemoryCallbacks(&zip).open("memory:cabinet", 0, 0), &info));
  EXPECT_EQ(error.code, cab::error::kNotACabinet);
  EXPECT_FALSE(cab::CabinetExtract(context, "none.cab", "/nowhere/", 0, CollectingHandler, nullptr, nullptr));
  EXPECT_EQ(error.code, cab::error::kCabinetNotFound);
  EXPECT_TRUE(cab::CabinetContextDestroy(context));
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
