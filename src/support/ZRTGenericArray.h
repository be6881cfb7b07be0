// Counted arrays of the ZRT class library: an owned element store with a
// signed 32-bit count.  Small arrays keep their elements inline (up to 128
// bytes: 16 doubles, 32 unsigned ints, 128 chars), so a 3x3 matrix, a 3x1
// vector or a typical input line never touches the heap.
//
// Storage states: no storage (count 0), inline, or heap.  A failed allocation
// writes the allocation report of the error layer and leaves the array with
// no storage.  Elements are copied byte for byte, so the element type must be
// trivially copyable.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "support/ErrorLayer.h"
#include "support/ZRTObjects.h"

namespace ZRTMatrixSys {

namespace detail {
// Number of storage acquisitions still to fail (see testing::FailNextAllocations).
inline int gPendingAllocationFailures = 0;

inline bool ConsumeInjectedAllocationFailure() noexcept {
  if (gPendingAllocationFailures <= 0) return false;
  --gPendingAllocationFailures;
  return true;
}
}  // namespace detail

namespace testing {
// Makes the next n storage acquisitions of any counted array (inline or heap,
// any element type) fail as if memory were exhausted: std::bad_alloc is
// raised inside the acquisition and handled there exactly like a real
// failure.  n <= 0 cancels pending failures.  For tests only.
inline void FailNextAllocations(int n) noexcept {
  detail::gPendingAllocationFailures = n > 0 ? n : 0;
}
// Injected failures not yet consumed.
inline int PendingAllocationFailures() noexcept {
  return detail::gPendingAllocationFailures;
}
}  // namespace testing

// Element type name as the type information spells it, for the allocation
// report.
template <typename T>
struct ElementTypeName {
  static const char* Get() noexcept { return typeid(T).name(); }
};
#define ZRT_ELEMENT_TYPE_NAME(type)                                  \
  template <>                                                        \
  struct ElementTypeName<type> {                                     \
    static const char* Get() noexcept { return #type; }              \
  }
ZRT_ELEMENT_TYPE_NAME(char);
ZRT_ELEMENT_TYPE_NAME(signed char);
ZRT_ELEMENT_TYPE_NAME(unsigned char);
ZRT_ELEMENT_TYPE_NAME(short);
ZRT_ELEMENT_TYPE_NAME(unsigned short);
ZRT_ELEMENT_TYPE_NAME(int);
ZRT_ELEMENT_TYPE_NAME(unsigned int);
ZRT_ELEMENT_TYPE_NAME(long);
ZRT_ELEMENT_TYPE_NAME(unsigned long);
ZRT_ELEMENT_TYPE_NAME(float);
ZRT_ELEMENT_TYPE_NAME(double);
ZRT_ELEMENT_TYPE_NAME(long double);
#undef ZRT_ELEMENT_TYPE_NAME

template <typename T>
class ZRTGenericArray : public virtual ZRTPrimitiveSys::ZRTObjects {
  static_assert(std::is_trivially_copyable_v<T>,
                "counted arrays copy their elements byte for byte");

 public:
  using value_type = T;
  // Elements kept inside the object before the heap is used.
  static constexpr std::int32_t kInlineCapacity =
      sizeof(T) >= 128 ? 1 : static_cast<std::int32_t>(128 / sizeof(T));

  ZRTGenericArray() noexcept = default;
  explicit ZRTGenericArray(std::int32_t count) { ResizeStorage(count); }
  ZRTGenericArray(const ZRTGenericArray& other) : ZRTObjects(other) { CopyFrom(other); }
  ZRTGenericArray(ZRTGenericArray&& other) noexcept : ZRTObjects(other) {
    SwapStorage(other);
  }
  ZRTGenericArray& operator=(const ZRTGenericArray& other) {
    CopyFrom(other);
    return *this;
  }
  ZRTGenericArray& operator=(ZRTGenericArray&& other) noexcept {
    if (&other != this) {
      Release();
      SwapStorage(other);
    }
    return *this;
  }
  ~ZRTGenericArray() override { FreeHeap(); }

  // Virtual operations, in slot order.
  // Releases the storage (no storage, count 0).
  virtual void Clear() { Release(); }
  // False (nothing happens) when n equals the count; otherwise the storage is
  // released and, for n >= 1, new zero-filled storage of n elements obtained.
  virtual bool Resize(std::int32_t n) { return ResizeStorage(n); }
  // This becomes a copy of source.
  virtual void Assign(const ZRTGenericArray& source) { CopyFrom(source); }
  // Target becomes a copy of this.
  virtual void CopyTo(ZRTGenericArray& target) const { target.CopyFrom(*this); }
  // Exchanges storage and counts.
  virtual void Swap(ZRTGenericArray& other) { SwapStorage(other); }
  // This takes other's storage; other is emptied.
  virtual void Take(ZRTGenericArray& other) {
    if (&other == this) return;
    SwapStorage(other);
    other.Release();
  }
  // This becomes this followed by other.
  virtual void Append(const ZRTGenericArray& other) { AppendStorage(other); }

  // Element by position.  An index below 0 or not below the count is
  // reported ("Não foi possível acessar a posição") and yields the first
  // element (a zeroed spare element when there is none).
  T& operator[](std::int32_t index) {
    if (static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(count_))
      return data_[index];
    return RejectPosition();
  }
  const T& operator[](std::int32_t index) const {
    if (static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(count_))
      return data_[index];
    return RejectPosition();
  }

  std::int32_t Count() const noexcept { return count_; }
  bool HasStorage() const noexcept { return data_ != nullptr; }
  // Raw element storage (nullptr without storage), for the derived classes
  // and for bulk access.
  T* Data() noexcept { return data_; }
  const T* Data() const noexcept { return data_; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + count_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + count_; }

 protected:
  // Non-virtual forms of the operations, for use inside derived classes
  // whose own virtual overrides mean something else.
  bool ResizeStorage(std::int32_t n) {
    if (n == count_) return false;
    Release();
    if (n >= 1) Acquire(n);
    return true;
  }

  void CopyFrom(const ZRTGenericArray& source) {
    if (&source == this) return;
    if (source.data_ == nullptr || source.count_ == 0) {
      Release();
      return;
    }
    ResizeStorage(source.count_);
    if (count_ == source.count_)
      std::memcpy(data_, source.data_, sizeof(T) * static_cast<std::size_t>(count_));
  }

  void AppendStorage(const ZRTGenericArray& other) {
    const std::int64_t total = std::int64_t{count_} + other.count_;
    ZRTGenericArray joined;
    if (total > std::numeric_limits<std::int32_t>::max()) {
      ZRTPrimitiveSys::ReportAllocationFailure(ElementTypeName<T>::Get());
    } else if (total > 0) {
      joined.ResizeStorage(static_cast<std::int32_t>(total));
      if (joined.count_ == total) {
        std::copy_n(data_, count_, joined.data_);
        std::copy_n(other.data_, other.count_, joined.data_ + count_);
      }
    }
    Release();
    SwapStorage(joined);
  }

  void SwapStorage(ZRTGenericArray& other) noexcept {
    if (&other == this) return;
    const bool thisInline = IsInline();
    const bool otherInline = other.IsInline();
    if (!thisInline && !otherInline) {
      std::swap(data_, other.data_);
      std::swap(count_, other.count_);
      return;
    }
    // Inline elements must move between the two objects' own buffers.
    T saved[kInlineCapacity];
    if (thisInline) std::copy_n(inline_, count_, saved);
    T* const thisHeap = thisInline ? nullptr : data_;
    if (otherInline) {
      std::copy_n(other.inline_, other.count_, inline_);
      data_ = inline_;
    } else {
      data_ = other.data_;
    }
    if (thisInline) {
      std::copy_n(saved, count_, other.inline_);
      other.data_ = other.inline_;
    } else {
      other.data_ = thisHeap;
    }
    std::swap(count_, other.count_);
  }

  // No storage, count 0.
  void Release() noexcept {
    FreeHeap();
    data_ = nullptr;
    count_ = 0;
  }

 private:
  bool IsInline() const noexcept { return data_ == inline_; }

  void FreeHeap() noexcept {
    if (data_ != nullptr && !IsInline()) delete[] data_;
  }

  // Obtains storage of n >= 1 elements; precondition: no storage.
  void Acquire(std::int32_t n) {
    try {
      if (detail::ConsumeInjectedAllocationFailure()) throw std::bad_alloc();
      data_ = n <= kInlineCapacity ? inline_ : new T[static_cast<std::size_t>(n)];
      count_ = n;
      if constexpr (std::is_arithmetic_v<T>) std::fill_n(data_, n, T{});
    } catch (const std::exception&) {
      data_ = nullptr;
      count_ = 0;
      ZRTPrimitiveSys::ReportAllocationFailure(ElementTypeName<T>::Get());
    }
  }

  [[gnu::cold, gnu::noinline]] T& RejectPosition() const {
    try {
      ZRTPrimitiveSys::RaiseError(Name(), "Não foi possível acessar a posição",
                                  ZRTPrimitiveSys::ErrorCategory::OutOfRange);
    } catch (const std::exception& error) {
      ZRTPrimitiveSys::ReportError(Name(), error);
    }
    if (count_ > 0) return data_[0];
    spare_ = T{};
    return spare_;
  }

  T* data_ = nullptr;
  std::int32_t count_ = 0;
  mutable T spare_{};  // what a rejected access yields when there is no element
  T inline_[kInlineCapacity];
};

using ZRTArrayOfChar = ZRTGenericArray<char>;
using ZRTArrayOfUint = ZRTGenericArray<unsigned int>;
using ZRTArray = ZRTGenericArray<double>;

}  // namespace ZRTMatrixSys
