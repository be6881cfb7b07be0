#pragma once

// Helpers shared by the geodesy tests: the built-in ellipsoids and a small
// deterministic generator for property tests.

#include <cstdint>

#include "geodesy/CoordinateSystems.h"
#include "geodesy/Ellipsoid.h"

namespace transref::testing {

inline Ellipsoid FrameEllipsoid(ReferenceFrame frame) {
  const ReferenceFrameInfo& info = FrameInfo(frame);
  return Ellipsoid(info.semiMajorAxis, info.inverseFlattening);
}

// 64-bit linear congruential generator with a fixed seed (Knuth's MMIX
// constants): the same points on every run.
class PseudoRandom {
 public:
  explicit PseudoRandom(std::uint64_t seed) : state_(seed) {}
  // Uniform in [low, high).
  double Uniform(double low, double high) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    const double unit = static_cast<double>(state_ >> 11) / 9007199254740992.0;
    return low + (high - low) * unit;
  }

 private:
  std::uint64_t state_;
};

}  // namespace transref::testing
