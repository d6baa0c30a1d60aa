#include "cabinet/cabinetcontext.h"

#include "cabinet/cabinetformat.h"
#include "cabinet/cabinetreader.h"
#include "cabinet/framedecoder.h"
#include "cabinet/lzxdecoder.h"
#include "cabinet/mszipdecoder.h"
#include "cabinet/quantumdecoder.h"

namespace cab {

const char* ErrorText(int32_t code) {
  switch (code) {
    case error::kNone: return "no error";
    case error::kCabinetNotFound: return "cabinet not found";
    case error::kNotACabinet: return "not a cabinet";
    case error::kUnknownVersion: return "unknown cabinet version";
    case error::kCorruptCabinet: return "corrupt cabinet";
    case error::kOutOfMemory: return "out of memory";
    case error::kUnknownCompression: return "unknown compression type";
    case error::kDecompressionData: return "decompression data error";
    case error::kTargetFile: return "target file error";
    case error::kReserveMismatch: return "reserve-size mismatch";
    case error::kWrongCabinet: return "wrong cabinet";
    case error::kUserAbort: return "aborted by the handler";
    default: return "unknown error";
  }
}

bool Context::Fail(int32_t code) {
  if (errorRecord) {
    errorRecord->code = code;
    errorRecord->type = 0;
    errorRecord->flag = true;
  }
  return false;
}

namespace {

// Keeps `slot` a ready decoder of `windowBits`, remaking it for another window size;
// nullptr when memory runs out.
template <typename Decoder>
Decoder* Remade(const Memory& memory, Decoder*& slot, unsigned windowBits) {
  if (slot && slot->WindowBits() != windowBits) DestroyWith(memory, slot), slot = nullptr;
  if (!slot) {
    slot = MakeWith<Decoder>(memory, memory, windowBits);
    if (slot && !slot->Ready()) DestroyWith(memory, slot), slot = nullptr;
  }
  return slot;
}

}  // namespace

FrameDecoder* Context::DecoderFor(uint16_t compression, int32_t& errorCode) {
  const unsigned bits = format::WindowBits(compression);
  FrameDecoder* decoder = nullptr;
  errorCode = error::kNone;
  switch (compression & format::kMethodMask) {
    case format::kMethodStored:
      return nullptr;
    case format::kMethodMszip:
      if (!mszip) {
        mszip = MakeWith<MszipDecoder>(memory, memory);
        if (mszip && !mszip->Ready()) DestroyWith(memory, mszip), mszip = nullptr;
      }
      decoder = mszip;
      break;
    case format::kMethodLzx:
      if (bits < LzxDecoder::kMinWindowBits || bits > LzxDecoder::kMaxWindowBits) break;
      decoder = Remade(memory, lzx, bits);
      if (!decoder) errorCode = error::kOutOfMemory;
      return decoder;
    case format::kMethodQuantum:
      if (bits < QuantumDecoder::kMinWindowBits || bits > QuantumDecoder::kMaxWindowBits) break;
      decoder = Remade(memory, quantum, bits);
      if (!decoder) errorCode = error::kOutOfMemory;
      return decoder;
    default:
      break;
  }
  if (!decoder) errorCode = (compression & format::kMethodMask) == format::kMethodMszip ? error::kOutOfMemory
                                                                                      : error::kUnknownCompression;
  return decoder;
}

Context* CabinetContextCreate(const Callbacks& callbacks, int cpuKind, CabinetError* errorRecord) {
  if (errorRecord) *errorRecord = CabinetError{};
  auto fail = [errorRecord](int32_t code) -> Context* {
    if (errorRecord) *errorRecord = CabinetError{code, 0, true};
    return nullptr;
  };
  if (!callbacks.alloc || !callbacks.free || !callbacks.open || !callbacks.read || !callbacks.write ||
      !callbacks.close || !callbacks.seek)
    return fail(error::kOutOfMemory);
  Memory memory{callbacks.alloc, callbacks.free};
  Context* context = MakeWith<Context>(memory);
  if (!context) return fail(error::kOutOfMemory);
  context->callbacks = callbacks;
  context->memory = memory;
  context->cpuKind = cpuKind;
  context->errorRecord = errorRecord;
  context->readBuffer = Block<uint8_t>(memory, CabinetReader::kBufferAllocation);
  context->spareFrame = Block<uint8_t>(memory, kFrameSize);
  if (!context->readBuffer || !context->spareFrame) {
    DestroyWith(memory, context);
    return fail(error::kOutOfMemory);
  }
  return context;
}

bool CabinetContextDestroy(Context* context) {
  if (!context) return false;
  Memory memory = context->memory;
  DestroyWith(memory, context->mszip);
  DestroyWith(memory, context->lzx);
  DestroyWith(memory, context->quantum);
  DestroyWith(memory, context);
  return true;
}

}  // namespace cab
