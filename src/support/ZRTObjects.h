// Root of the ZRT class library.  Every array, matrix and text class has it as
// a virtual base; it supplies the object label used in error texts.
#pragma once

namespace ZRTPrimitiveSys {

class ZRTObjects {
 public:
  // The qualified class name as the type information spells it.
  static constexpr const char* kObjectLabel = "ZRTPrimitiveSys::ZRTObjects";

  virtual ~ZRTObjects() = default;

  // Object label for error texts.
  const char* Name() const noexcept { return kObjectLabel; }
};

}  // namespace ZRTPrimitiveSys
