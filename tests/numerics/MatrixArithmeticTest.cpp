#include <gtest/gtest.h>

#include <string>

#include "DenseReference.h"
#include "numerics/ZRTMatrix.h"

namespace {

using numerics_test::Dense;
using numerics_test::Expand;
using numerics_test::ExpectSameDense;
using numerics_test::Filled;
using numerics_test::KindOf;
using numerics_test::NaiveProduct;
using numerics_test::NaiveSum;
using numerics_test::Packed;
using ZRTMatrixSys::MatrixKind;
using ZRTMatrixSys::ZRTMatrix;
using ZRTPrimitiveSys::ScopedReportCapture;

constexpr MatrixKind R = MatrixKind::Row;
constexpr MatrixKind C = MatrixKind::Column;
constexpr MatrixKind DR = MatrixKind::DenseRectangular;
constexpr MatrixKind DS = MatrixKind::DenseSquare;
constexpr MatrixKind S = MatrixKind::Scalar;
constexpr MatrixKind D = MatrixKind::Diagonal;
constexpr MatrixKind SY = MatrixKind::Symmetric;
constexpr MatrixKind LO = MatrixKind::LowerTriangular;
constexpr MatrixKind UP = MatrixKind::UpperTriangular;

constexpr const char* kDimensionReport =
    "Objeto ZRTPrimitiveSys::ZRTObjects:\nErro de Comprimento: Dimensão inválida";

void ExpectEmpty(const ZRTMatrix& m) {
  EXPECT_EQ(m.Kind(), S);
  EXPECT_EQ(m.Rows(), 0);
  EXPECT_EQ(m.Columns(), 0);
  EXPECT_EQ(m.Count(), 0);
}

// Checks kind and values of a result against the dense computation.
void ExpectResult(const ZRTMatrix& result, MatrixKind kind, const Dense& expected) {
  EXPECT_EQ(result.Kind(), kind);
  ExpectSameDense(Expand(result), expected);
}

// ---------------------------------------------------------------------------
// Sum

TEST(MatrixSum, EqualKindsOfEveryShape) {
  const struct {
    std::int32_t rows, columns;
    MatrixKind kind;
  } cases[] = {{1, 4, R},  {4, 1, C},  {3, 5, DR}, {3, 3, DS}, {1, 1, S}, {4, 4, S},
               {4, 4, D},  {4, 4, SY}, {4, 4, LO}, {4, 4, UP}, {3, 1, C}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " " << c.rows << "x" << c.columns);
    const ZRTMatrix a = Filled(c.rows, c.columns, c.kind, 21);
    const ZRTMatrix b = Filled(c.rows, c.columns, c.kind, 22);
    const ZRTMatrix sum = a + b;
    ExpectResult(sum, c.kind, NaiveSum(Expand(a), Expand(b)));
    EXPECT_EQ(sum.Count(), a.Count());  // stored value by stored value
  }
}

TEST(MatrixSum, MixedSquareKindsFollowTheKindTable) {
  // Result kind for kinds 3..8 with values for which no equality test holds.
  const MatrixKind table[6][6] = {
      /* 3 */ {DS, DS, DS, DS, DS, DS},
      /* 4 */ {DS, S, D, SY, LO, UP},
      /* 5 */ {DS, D, D, SY, LO, UP},
      /* 6 */ {DS, SY, SY, SY, DS, DS},
      /* 7 */ {DS, LO, LO, DS, LO, DS},
      /* 8 */ {DS, UP, UP, DS, DS, UP},
  };
  for (int ka = 3; ka <= 8; ++ka) {
    for (int kb = 3; kb <= 8; ++kb) {
      SCOPED_TRACE(testing::Message() << "kinds " << ka << " + " << kb);
      const ZRTMatrix a = Filled(4, 4, KindOf(ka), 30 + ka);
      const ZRTMatrix b = Filled(4, 4, KindOf(kb), 40 + kb);
      const ZRTMatrix sum = a + b;
      ExpectResult(sum, table[ka - 3][kb - 3], NaiveSum(Expand(a), Expand(b)));
      EXPECT_EQ(ZRTMatrixSys::SumKind(a, b), sum.Kind());
    }
  }
}

TEST(MatrixSum, ScalarAndDiagonalAddToThePackedDiagonal) {
  const ZRTMatrix scalar = Filled(3, 3, S, 50);
  const ZRTMatrix diagonal = Filled(3, 3, D, 51);
  for (const MatrixKind packed : {SY, LO, UP}) {
    const ZRTMatrix p = Filled(3, 3, packed, 52);
    const ZRTMatrix withScalar = scalar + p;
    const ZRTMatrix withDiagonal = p + diagonal;
    for (std::int32_t k = 0; k < p.Count(); ++k) {
      const bool onDiagonal = k == 0 || k == 2 || k == 5;
      const std::int32_t i = k == 0 ? 0 : k == 2 ? 1 : 2;
      EXPECT_EQ(withScalar[k], onDiagonal ? p[k] + scalar[0] : p[k]);
      EXPECT_EQ(withDiagonal[k], onDiagonal ? p[k] + diagonal[i] : p[k]);
    }
  }
}

TEST(MatrixSum, LowerPlusMirroredUpperIsSymmetric) {
  const ZRTMatrix lower = Filled(4, 4, LO, 60);
  ZRTMatrix upper(4, 4, UP);
  for (std::int32_t k = 0; k < lower.Count(); ++k) upper[k] = lower[k];
  for (const bool lowerFirst : {true, false}) {
    SCOPED_TRACE(lowerFirst);
    const ZRTMatrix sum = lowerFirst ? lower + upper : upper + lower;
    ExpectResult(sum, SY, NaiveSum(Expand(lower), Expand(upper)));
    for (std::int32_t i = 0; i < 4; ++i)
      EXPECT_EQ(sum[Packed(i) + i], 2.0 * lower[Packed(i) + i]);
  }
  // One differing value, off the diagonal or the very last one: dense.
  for (const std::int32_t changed : {1, 9}) {
    ZRTMatrix other = upper;
    other[changed] += 0.5;
    ExpectResult(lower + other, DS, NaiveSum(Expand(lower), Expand(other)));
    ExpectResult(other + lower, DS, NaiveSum(Expand(other), Expand(lower)));
  }
}

TEST(MatrixSum, SymmetricPlusNegatedTriangularLeavesTheOtherTriangle) {
  const ZRTMatrix symmetric = Filled(4, 4, SY, 70);
  for (const auto& [triangular, result] : {std::pair{UP, LO}, std::pair{LO, UP}}) {
    SCOPED_TRACE(testing::Message() << "triangular kind " << int(triangular));
    ZRTMatrix negated(4, 4, triangular);
    for (std::int32_t k = 0; k < symmetric.Count(); ++k) negated[k] = -symmetric[k];
    const Dense expected = NaiveSum(Expand(symmetric), Expand(negated));
    ExpectResult(symmetric + negated, result, expected);
    ExpectResult(negated + symmetric, result, expected);
    // The zero side really is zero.
    for (std::int32_t i = 0; i < 4; ++i) EXPECT_EQ(expected(i, i), 0.0);

    for (const std::int32_t changed : {4, 9}) {
      ZRTMatrix other = negated;
      other[changed] = 1.25;
      ExpectResult(symmetric + other, DS, NaiveSum(Expand(symmetric), Expand(other)));
      ExpectResult(other + symmetric, DS, NaiveSum(Expand(other), Expand(symmetric)));
    }
  }
}

TEST(MatrixSum, MismatchedShapesGiveEmptyWithoutReport) {
  ScopedReportCapture capture;
  const ZRTMatrix a = Filled(3, 1, C, 80);
  const ZRTMatrix b = Filled(2, 1, C, 81);
  ExpectEmpty(a + b);
  ExpectEmpty(Filled(3, 3, DS, 82) + Filled(3, 2, DR, 83));
  // The kernel leaves its target alone.
  ZRTMatrix target = Filled(2, 2, DS, 84);
  const Dense before = Expand(target);
  ZRTMatrixSys::SumKernel(a, b, target);
  ExpectResult(target, DS, before);
  EXPECT_EQ(capture.Count(), 0u);
}

// ---------------------------------------------------------------------------
// Product

TEST(MatrixProduct, StructuredFactorsFollowTheKindTable) {
  // Rows: A = dense square, diagonal, symmetric, lower, upper; columns: B
  // likewise.
  const int kinds[5] = {3, 5, 6, 7, 8};
  const MatrixKind table[5][5] = {
      {DS, DS, DS, DS, DS}, {DS, D, DS, LO, UP}, {DS, DS, DS, DS, DS},
      {DS, LO, DS, LO, DS}, {DS, UP, DS, DS, UP},
  };
  for (int a = 0; a < 5; ++a) {
    for (int b = 0; b < 5; ++b) {
      SCOPED_TRACE(testing::Message() << "kinds " << kinds[a] << " * " << kinds[b]);
      const ZRTMatrix left = Filled(4, 4, KindOf(kinds[a]), 90 + a);
      const ZRTMatrix right = Filled(4, 4, KindOf(kinds[b]), 100 + b);
      const ZRTMatrix product = left * right;
      ExpectResult(product, table[a][b], NaiveProduct(Expand(left), Expand(right)));
      EXPECT_EQ(ZRTMatrixSys::ProductKind(left, right), product.Kind());
    }
  }
}

TEST(MatrixProduct, DenseByShapeWithEveryNonDenseFactor) {
  // A dense factor of any shape on either side of kinds 5-8 gives the dense
  // kind of the result's shape.
  for (int k = 5; k <= 8; ++k) {
    SCOPED_TRACE(testing::Message() << "structured kind " << k);
    const ZRTMatrix square = Filled(3, 3, KindOf(k), 110 + k);
    const ZRTMatrix row = Filled(1, 3, R, 120);
    const ZRTMatrix column = Filled(3, 1, C, 121);
    const ZRTMatrix wide = Filled(2, 3, DR, 122);
    const ZRTMatrix tall = Filled(3, 5, DR, 123);
    ExpectResult(row * square, R, NaiveProduct(Expand(row), Expand(square)));
    ExpectResult(square * column, C, NaiveProduct(Expand(square), Expand(column)));
    ExpectResult(wide * square, DR, NaiveProduct(Expand(wide), Expand(square)));
    ExpectResult(square * tall, DR, NaiveProduct(Expand(square), Expand(tall)));
  }
}

TEST(MatrixProduct, DenseShapes) {
  const ZRTMatrix m = Filled(3, 3, DS, 130);
  const ZRTMatrix v = Filled(3, 1, C, 131);
  const ZRTMatrix w = Filled(1, 3, R, 132);
  ExpectResult(m * v, C, NaiveProduct(Expand(m), Expand(v)));
  const ZRTMatrix dot = w * v;  // 1x1 is always the scalar kind
  ExpectResult(dot, S, NaiveProduct(Expand(w), Expand(v)));
  EXPECT_EQ(dot.Count(), 1);
  EXPECT_EQ(dot[0], 0.0 + w[0] * v[0] + w[1] * v[1] + w[2] * v[2]);
  ExpectResult(v * w, DS, NaiveProduct(Expand(v), Expand(w)));
  const ZRTMatrix a = Filled(2, 3, DR, 133);
  const ZRTMatrix b = Filled(3, 4, DR, 134);
  ExpectResult(a * b, DR, NaiveProduct(Expand(a), Expand(b)));
  ExpectResult(w * m, R, NaiveProduct(Expand(w), Expand(m)));
  // Two non-commuting symmetric factors.
  const ZRTMatrix s1 = Filled(2, 2, SY, 135);
  const ZRTMatrix s2 = Filled(2, 2, SY, 136);
  const ZRTMatrix s12 = s1 * s2;
  ExpectResult(s12, DS, NaiveProduct(Expand(s1), Expand(s2)));
  EXPECT_NE(s12[1], s12[2]);
}

TEST(MatrixProduct, ScalarFactorScalesTheOther) {
  ZRTMatrix two(4, 4, S);
  two[0] = 2.0;
  const struct {
    std::int32_t rows, columns;
    MatrixKind kind;
  } others[] = {{4, 4, DS}, {4, 4, S}, {4, 4, D}, {4, 4, SY}, {4, 4, LO}, {4, 4, UP}, {4, 1, C}, {4, 3, DR}};
  for (const auto& o : others) {
    SCOPED_TRACE(testing::Message() << "kind " << int(o.kind));
    const ZRTMatrix b = Filled(o.rows, o.columns, o.kind, 140);
    const ZRTMatrix left = two * b;
    ExpectResult(left, o.kind, NaiveProduct(Expand(two), Expand(b)));
    ASSERT_EQ(left.Count(), b.Count());
    for (std::int32_t k = 0; k < b.Count(); ++k) EXPECT_EQ(left[k], 2.0 * b[k]);
    if (o.columns == 4) {
      const ZRTMatrix right = b * two;
      ExpectResult(right, o.kind, NaiveProduct(Expand(b), Expand(two)));
    }
  }
  // 1x1 scalars with vectors.
  ZRTMatrix half(1, 1);
  half[0] = 0.5;
  const ZRTMatrix row = Filled(1, 5, R, 141);
  const ZRTMatrix column = Filled(5, 1, C, 142);
  ExpectResult(half * row, R, NaiveProduct(Expand(half), Expand(row)));
  ExpectResult(column * half, C, NaiveProduct(Expand(column), Expand(half)));
}

TEST(MatrixProduct, MismatchedDimensionsReportAndGiveEmpty) {
  ScopedReportCapture capture;
  const ZRTMatrix m = Filled(3, 3, DS, 150);
  const ZRTMatrix v = Filled(2, 1, C, 151);
  ExpectEmpty(m * v);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Last(), kDimensionReport);
  EXPECT_EQ(capture.Written().back(), std::string("Erro: \n") + kDimensionReport + "\n");

  ZRTMatrix target = Filled(2, 2, LO, 152);
  const Dense before = Expand(target);
  ZRTMatrixSys::ProductKernel(v, m, target);
  ExpectResult(target, LO, before);
  EXPECT_EQ(capture.Count(), 2u);

  // Reading the empty result by index gives the spare element.
  const ZRTMatrix empty = Filled(3, 3, D, 153) * Filled(4, 1, C, 154);
  EXPECT_EQ(empty[0], 0.0);
  EXPECT_EQ(capture.Count(), 4u);
}

// ---------------------------------------------------------------------------
// Scaling

TEST(MatrixScaling, NumberTimesEveryKindOnEitherSide) {
  const struct {
    std::int32_t rows, columns;
    MatrixKind kind;
  } cases[] = {{1, 3, R}, {3, 1, C}, {2, 3, DR}, {3, 3, DS}, {1, 1, S},
               {3, 3, S}, {3, 3, D}, {3, 3, SY}, {3, 3, LO}, {3, 3, UP}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind));
    const ZRTMatrix m = Filled(c.rows, c.columns, c.kind, 160);
    const ZRTMatrix left = -1.75 * m;
    const ZRTMatrix right = m * -1.75;
    for (const ZRTMatrix* scaled : {&left, &right}) {
      EXPECT_EQ(scaled->Kind(), c.kind);
      EXPECT_EQ(scaled->RowStarts().Count(), m.RowStarts().Count());
      ASSERT_EQ(scaled->Count(), m.Count());
      for (std::int32_t k = 0; k < m.Count(); ++k) EXPECT_EQ((*scaled)[k], -1.75 * m[k]);
    }
  }
  ExpectEmpty(3.0 * ZRTMatrix());
}

// ---------------------------------------------------------------------------
// Kernels whose target is an operand

TEST(MatrixKernels, TargetMayBeAnOperand) {
  const struct {
    MatrixKind a, b;
  } pairs[] = {{DS, DS}, {D, LO}, {LO, UP}, {SY, UP}, {S, SY}, {UP, D}, {DS, SY}};
  for (const auto& p : pairs) {
    SCOPED_TRACE(testing::Message() << "kinds " << int(p.a) << ", " << int(p.b));
    const ZRTMatrix a = Filled(3, 3, p.a, 170);
    const ZRTMatrix b = Filled(3, 3, p.b, 171);
    const ZRTMatrix sum = a + b;
    const ZRTMatrix product = a * b;

    ZRTMatrix left = a;
    ZRTMatrixSys::SumKernel(left, b, left);
    ExpectResult(left, sum.Kind(), Expand(sum));
    ZRTMatrix right = b;
    ZRTMatrixSys::SumKernel(a, right, right);
    ExpectResult(right, sum.Kind(), Expand(sum));

    left = a;
    ZRTMatrixSys::ProductKernel(left, b, left);
    ExpectResult(left, product.Kind(), Expand(product));
    right = b;
    ZRTMatrixSys::ProductKernel(a, right, right);
    ExpectResult(right, product.Kind(), Expand(product));

    ZRTMatrix both = a;
    ZRTMatrixSys::ProductKernel(both, both, both);
    ExpectResult(both, (a * a).Kind(), NaiveProduct(Expand(a), Expand(a)));
    both = a;
    ZRTMatrixSys::SumKernel(both, both, both);
    ExpectResult(both, a.Kind(), NaiveSum(Expand(a), Expand(a)));
  }
  ZRTMatrix v = Filled(3, 1, C, 172);
  const Dense doubled = NaiveSum(Expand(v), Expand(v));
  ZRTMatrixSys::ScaleKernel(2.0, v, v);
  ExpectResult(v, C, doubled);
  // A column times its own transpose into the column.
  ZRTMatrix column = Filled(3, 1, C, 173);
  ZRTMatrix row = column;
  row.Transpose();
  const Dense outer = NaiveProduct(Expand(column), Expand(row));
  ZRTMatrixSys::ProductKernel(column, row, column);
  ExpectResult(column, DS, outer);
}

TEST(MatrixKernels, StorageFailureLeavesTheResultEmpty) {
  ScopedReportCapture capture;
  const ZRTMatrix m = Filled(3, 3, DS, 180);
  const ZRTMatrix v = Filled(3, 1, C, 181);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  ExpectEmpty(m * v);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  ExpectEmpty(v + v);
  const ZRTMatrix lower = Filled(3, 3, LO, 182);
  const ZRTMatrix diagonal = Filled(3, 3, D, 183);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  ExpectEmpty(lower + diagonal);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  ExpectEmpty(4.0 * m);
  EXPECT_EQ(capture.Count(), 4u);
  for (const std::string& text : capture.Texts())
    EXPECT_EQ(text.rfind("Memory allocation:\nObject: ", 0), 0u) << text;
}

}  // namespace
