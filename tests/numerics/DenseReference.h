// Test helpers: a plain dense picture of a ZRTMatrix, expanded from the
// documented storage layouts (independently of the library's own element
// reader), and deterministic "random-ish" structured matrices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "numerics/ZRTMatrix.h"

namespace numerics_test {

using ZRTMatrixSys::MatrixKind;
using ZRTMatrixSys::ZRTMatrix;

struct Dense {
  std::int32_t rows = 0;
  std::int32_t columns = 0;
  std::vector<double> values;  // row by row
  double operator()(std::int32_t i, std::int32_t j) const {
    return values[static_cast<std::size_t>(i * columns + j)];
  }
  double& operator()(std::int32_t i, std::int32_t j) {
    return values[static_cast<std::size_t>(i * columns + j)];
  }
};

inline std::int32_t Packed(std::int32_t i) { return i * (i + 1) / 2; }

inline Dense Expand(const ZRTMatrix& m) {
  Dense d{m.Rows(), m.Columns(),
          std::vector<double>(static_cast<std::size_t>(m.Rows() * m.Columns()), 0.0)};
  for (std::int32_t i = 0; i < m.Rows(); ++i) {
    for (std::int32_t j = 0; j < m.Columns(); ++j) {
      double v = 0.0;
      switch (m.Kind()) {
        case MatrixKind::Scalar: v = i == j ? m[0] : 0.0; break;
        case MatrixKind::Diagonal: v = i == j ? m[i] : 0.0; break;
        case MatrixKind::Symmetric: v = j <= i ? m[Packed(i) + j] : m[Packed(j) + i]; break;
        case MatrixKind::LowerTriangular: v = j <= i ? m[Packed(i) + j] : 0.0; break;
        case MatrixKind::UpperTriangular: v = i <= j ? m[Packed(j) + i] : 0.0; break;
        default: v = m[i * m.Columns() + j]; break;
      }
      d(i, j) = v;
    }
  }
  return d;
}

inline Dense NaiveSum(const Dense& a, const Dense& b) {
  Dense r = a;
  for (std::size_t k = 0; k < r.values.size(); ++k) r.values[k] = a.values[k] + b.values[k];
  return r;
}

inline Dense NaiveProduct(const Dense& a, const Dense& b) {
  Dense r{a.rows, b.columns,
          std::vector<double>(static_cast<std::size_t>(a.rows * b.columns), 0.0)};
  for (std::int32_t i = 0; i < a.rows; ++i)
    for (std::int32_t j = 0; j < b.columns; ++j) {
      double s = 0.0;
      for (std::int32_t k = 0; k < a.columns; ++k) s += a(i, k) * b(k, j);
      r(i, j) = s;
    }
  return r;
}

inline Dense NaiveTranspose(const Dense& a) {
  Dense r{a.columns, a.rows, std::vector<double>(a.values.size(), 0.0)};
  for (std::int32_t i = 0; i < a.rows; ++i)
    for (std::int32_t j = 0; j < a.columns; ++j) r(j, i) = a(i, j);
  return r;
}

// Element-wise equality; products of structured factors leave out zero terms,
// which changes nothing but the sign of an exact zero.
inline void ExpectSameDense(const Dense& actual, const Dense& expected) {
  ASSERT_EQ(actual.rows, expected.rows);
  ASSERT_EQ(actual.columns, expected.columns);
  for (std::int32_t i = 0; i < actual.rows; ++i)
    for (std::int32_t j = 0; j < actual.columns; ++j)
      EXPECT_EQ(actual(i, j), expected(i, j)) << "element (" << i << ", " << j << ")";
}

// A matrix of the given shape and kind whose stored values are distinct,
// non-integral and of both signs.
inline ZRTMatrix Filled(std::int32_t rows, std::int32_t columns, MatrixKind kind,
                        unsigned seed) {
  ZRTMatrix m(rows, columns, kind);
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> value(-9.0, 9.0);
  for (std::int32_t k = 0; k < m.Count(); ++k) m[k] = value(generator);
  return m;
}

inline MatrixKind KindOf(int code) { return static_cast<MatrixKind>(code); }

}  // namespace numerics_test
