// The cabinet layer: what is refused and with which code, what the handler decides, and
// what happens when memory runs out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

constexpr uint16_t kStored = 0;

std::string StoredCabinet(const std::string& data) {
  return BuildCabinet(kStored, {{data, static_cast<uint16_t>(data.size())}}, static_cast<uint32_t>(data.size()));
}

TEST(CabinetContainer, AStoredCabinetDeliversItsFileUnderItsName) {
  Extraction got = ExtractBytes(BuildCabinet(kStored, {{"hello ", 6}, {"world", 5}}, 11, "greeting.txt"));
  ASSERT_TRUE(got.ok) << got.error;
  ASSERT_EQ(got.files.size(), 1u);
  EXPECT_EQ(got.files[0].name, "greeting.txt");
  EXPECT_EQ(got.files[0].bytes, "hello world");
}

TEST(CabinetContainer, RefusesWhatIsNotACabinetOrNotVersion13) {
  Extraction html = ExtractBytes("<html><body>404 Not Found</body></html>");
  EXPECT_FALSE(html.ok);
  EXPECT_EQ(html.error, cab::error::kNotACabinet);
  EXPECT_EQ(html.copyNotifications, 0);

  std::string cab = StoredCabinet("data");
  cab[24] = 2;  // version 1.2
  Extraction old = ExtractBytes(cab);
  EXPECT_FALSE(old.ok);
  EXPECT_EQ(old.error, cab::error::kUnknownVersion);

  Extraction empty = ExtractBytes("");
  EXPECT_EQ(empty.error, cab::error::kNotACabinet);
}

TEST(CabinetContainer, RefusesUnknownMethodsAndWindowSizes) {
  const uint16_t refused[] = {0x0004, 0x000F, 3 | 14 << 8, 3 | 22 << 8, 2 | 9 << 8, 2 | 22 << 8};
  for (uint16_t type : refused) {
    Extraction got = ExtractBytes(BuildCabinet(type, {{"xx", 2}}, 2));
    EXPECT_FALSE(got.ok) << type;
    EXPECT_EQ(got.error, cab::error::kUnknownCompression) << type;
    EXPECT_TRUE(got.files.empty());
  }
}

TEST(CabinetContainer, AWrongChecksumIsACorruptCabinet) {
  std::string cab = ReadWholeFile(CorpusDir() + "generated/gcab-stored/GPL-3.txt.cab");
  ASSERT_GT(cab.size(), 1000u);
  cab[cab.size() - 100] ^= 0x20;
  Extraction got = ExtractBytes(cab);
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.error, cab::error::kCorruptCabinet);
  EXPECT_TRUE(got.files.empty()) << "no file is closed as complete";
}

TEST(CabinetContainer, TruncationAndSizeMismatchesAreRefused) {
  std::string cab = StoredCabinet(std::string(5000, 'x'));
  Extraction cut = ExtractBytes(cab.substr(0, cab.size() - 1));
  EXPECT_EQ(cut.error, cab::error::kCorruptCabinet);
  Extraction header = ExtractBytes(cab.substr(0, 40));
  EXPECT_EQ(header.error, cab::error::kCorruptCabinet);

  Extraction mismatch = ExtractBytes(BuildCabinet(kStored, {{"abc", 4}}, 4));
  EXPECT_EQ(mismatch.error, cab::error::kDecompressionData);
  Extraction tooBig = ExtractBytes(BuildCabinet(kStored, {{"abc", 0x8001}}, 3));
  EXPECT_EQ(tooBig.error, cab::error::kCorruptCabinet);
  Extraction fileBeyondData = ExtractBytes(BuildCabinet(kStored, {{"abc", 3}}, 10));
  EXPECT_EQ(fileBeyondData.error, cab::error::kCorruptCabinet);
  EXPECT_TRUE(fileBeyondData.files.empty());
}

intptr_t AbortOnCopy(int kind, cab::Notification* record) {
  return kind == cab::notify::kCopyFile ? -1 : CollectingHandler(kind, record);
}
intptr_t SkipEveryFile(int kind, cab::Notification* record) {
  return kind == cab::notify::kCopyFile ? 0 : CollectingHandler(kind, record);
}
intptr_t RefuseClose(int kind, cab::Notification* record) {
  if (kind == cab::notify::kCloseFile) {
    CollectingHandler(kind, record);
    return 0;
  }
  return CollectingHandler(kind, record);
}
intptr_t AbortAtCabinetInfo(int kind, cab::Notification* record) {
  return kind == cab::notify::kCabinetInfo ? -1 : CollectingHandler(kind, record);
}

TEST(CabinetContainer, TheHandlerDecidesPerFile) {
  std::string cab = StoredCabinet("payload");
  Extraction aborted = ExtractBytesWith(cab, AbortOnCopy);
  EXPECT_FALSE(aborted.ok);
  EXPECT_EQ(aborted.error, cab::error::kUserAbort);

  Extraction skipped = ExtractBytesWith(cab, SkipEveryFile);
  EXPECT_TRUE(skipped.ok);
  EXPECT_TRUE(skipped.files.empty());

  Extraction refused = ExtractBytesWith(cab, RefuseClose);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, cab::error::kUserAbort);

  Extraction early = ExtractBytesWith(cab, AbortAtCabinetInfo);
  EXPECT_FALSE(early.ok);
  EXPECT_EQ(early.error, cab::error::kUserAbort);

  Extraction again = ExtractBytes(cab);  // the context is fine afterwards
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.files[0].bytes, "payload");
}

TEST(CabinetContainer, IsCabinetFileReportsTheHeader) {
  std::string cab = ReadWholeFile(CorpusDir() + "reference/libmspack/normal_2files_2folders.cab");
  cab::CabinetError error;
  cab::Context* context = cab::CabinetContextCreate(MemoryCallbacks(&cab), cab::kCpu80386, &error);
  ASSERT_NE(context, nullptr);
  intptr_t handle = MemoryCallbacks(&cab).open("memory:cabinet", 0, 0);
  cab::CabinetInfo info;
  ASSERT_TRUE(cab::IsCabinetFile(context, handle, &info));
  EXPECT_EQ(info.folderCount, 2);
  EXPECT_EQ(info.fileCount, 4);
  EXPECT_EQ(info.cabinetLength, static_cast<int32_t>(cab.size()));
  EXPECT_FALSE(info.hasNext);

  std::string notCab = "PK\x03\x04 and more bytes than a header needs, surely enough";
  MemoryCallbacks(&notCab);
  handle = MemoryCallbacks(&notCab).open("memory:cabinet", 0, 0);
  EXPECT_FALSE(cab::IsCabinetFile(context, handle, &info));
  EXPECT_EQ(error.code, cab::error::kNotACabinet);
  EXPECT_TRUE(cab::CabinetContextDestroy(context));
}

TEST(CabinetContainer, AMissingCabinetIsNotFound) {
  Extraction got = ExtractFile("/nonexistent-folder/none.cab");
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.error, cab::error::kCabinetNotFound);
}

// An allocator that refuses blocks above a limit.
size_t allocationLimit = 0;
void* LimitedAlloc(uint32_t size) { return size > allocationLimit ? nullptr : std::malloc(size); }

TEST(CabinetContainer, RunningOutOfMemoryIsReportedNotCrashed) {
  std::string cab = ReadWholeFile(CorpusDir() + "generated/lzxcab/GPL-3.txt.w21.verbatim.cab");
  cab::Callbacks callbacks = MemoryCallbacks(&cab);
  callbacks.alloc = LimitedAlloc;
  cab::CabinetError error;

  allocationLimit = 64;
  EXPECT_EQ(cab::CabinetContextCreate(callbacks, cab::kCpu80386, &error), nullptr);
  EXPECT_EQ(error.code, cab::error::kOutOfMemory);

  allocationLimit = 1 << 20;  // enough for the context, not for a 2 MB window
  cab::Context* context = cab::CabinetContextCreate(callbacks, cab::kCpu80386, &error);
  ASSERT_NE(context, nullptr);
  EXPECT_FALSE(cab::CabinetExtract(context, "cabinet", "memory:", 0, CollectingHandler, nullptr, nullptr));
  EXPECT_EQ(error.code, cab::error::kOutOfMemory);
  cab::CabinetContextDestroy(context);
}

}  // namespace
}  // namespace cabtest
