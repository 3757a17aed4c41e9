// Shared plumbing of MultiByteToWideChar and WideCharToMultiByte: argument
// checks, and the two sinks a conversion writes into (one that only counts,
// for a size query; one that fills the caller's buffer and never passes its
// end). Each conversion loop is a template over the sink, so the size query
// and the real run walk the input the same way.
#pragma once

#include <climits>
#include <cstdint>

#include "platform/winapi.h"

namespace quornel::platform::detail {

enum class ConversionStatus { kOk, kNoRoom, kInvalidChar };

template <typename T>
class CountingSink {
 public:
  [[nodiscard]] bool Put(T) {
    ++count_;
    return true;
  }
  [[nodiscard]] std::int64_t count() const { return count_; }

 private:
  std::int64_t count_ = 0;
};

template <typename T>
class BufferSink {
 public:
  BufferSink(T* dst, int capacity) : dst_(dst), capacity_(capacity) {}
  [[nodiscard]] bool Put(T value) {
    if (count_ == capacity_) return false;
    dst_[count_++] = value;
    return true;
  }
  [[nodiscard]] std::int64_t count() const { return count_; }

 private:
  T* dst_;
  int capacity_;
  int count_ = 0;
};

// The checks both calls make before looking at the code page: a missing or
// empty source, a destination that is missing although sized or sized
// negatively, and a destination that is the source.
[[nodiscard]] inline bool CheckBuffers(const void* src, int srcLength, const void* dst,
                                       int dstLength) {
  if (src == nullptr || srcLength == 0 || dstLength < 0 || (dst == nullptr && dstLength != 0) ||
      (dst != nullptr && dst == src)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

// Runs `convert(sink)` with the sink that `dstLength` asks for and turns the
// outcome into the call's result and last error.
template <typename T, typename Convert>
[[nodiscard]] int RunConversion(T* dst, int dstLength, Convert&& convert) {
  ConversionStatus status;
  std::int64_t count;
  if (dstLength == 0) {
    CountingSink<T> sink;
    status = convert(sink);
    count = sink.count();
  } else {
    BufferSink<T> sink(dst, dstLength);
    status = convert(sink);
    count = sink.count();
  }
  switch (status) {
    case ConversionStatus::kNoRoom:
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    case ConversionStatus::kInvalidChar:
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    case ConversionStatus::kOk:
      break;
  }
  if (count > INT_MAX) {  // only a size query can get here
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(count);
}

}  // namespace quornel::platform::detail
