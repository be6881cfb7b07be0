#include "numerics/ZRTMatrix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DenseReference.h"

namespace {

using numerics_test::Expand;
using numerics_test::ExpectSameDense;
using numerics_test::Filled;
using numerics_test::KindOf;
using numerics_test::NaiveTranspose;
using ZRTMatrixSys::MatrixKind;
using ZRTMatrixSys::ZRTGenericMatrix;
using ZRTMatrixSys::ZRTMatrix;
using ZRTPrimitiveSys::ScopedReportCapture;

constexpr const char* kIndexReport =
    "Objeto ZRTPrimitiveSys::ZRTObjects:\nFora da Dimensão: Índice inválido";
constexpr const char* kPositionReportRoot =
    "Objeto ZRTPrimitiveSys::ZRTObjects:\nFora da Dimensão: Não foi possível acessar a posição";
constexpr const char* kPositionReportMatrix =
    "Objeto ZRTMatrixSys::ZRTGenericMatrix<double>:\nFora da Dimensão: Não foi "
    "possível acessar a posição";

void ExpectEmpty(const ZRTMatrix& m) {
  EXPECT_EQ(m.Kind(), MatrixKind::Scalar);
  EXPECT_EQ(m.Rows(), 0);
  EXPECT_EQ(m.Columns(), 0);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.RowStarts().Count(), 0);
}

std::vector<unsigned> RowStarts(const ZRTMatrix& m) {
  std::vector<unsigned> starts;
  for (std::int32_t i = 0; i < m.RowStarts().Count(); ++i) starts.push_back(m.RowStarts()[i]);
  return starts;
}

TEST(ZRTMatrixCreate, ShapeDecidesKindAndStorage) {
  struct Case {
    std::int32_t rows, columns;
    int requested;
    MatrixKind kind;
    std::int32_t count;
    std::vector<unsigned> starts;
  };
  const Case cases[] = {
      {1, 1, 3, MatrixKind::Scalar, 1, {}},
      {1, 1, 7, MatrixKind::Scalar, 1, {}},
      {1, 5, 3, MatrixKind::Row, 5, {}},
      {5, 1, 0, MatrixKind::Column, 5, {}},
      {2, 3, 8, MatrixKind::DenseRectangular, 6, {}},
      {3, 3, 6, MatrixKind::Symmetric, 6, {0, 1, 3}},
      {4, 4, 7, MatrixKind::LowerTriangular, 10, {0, 1, 3, 6}},
      {4, 4, 8, MatrixKind::UpperTriangular, 10, {0, 1, 3, 6}},
      {3, 3, 1, MatrixKind::DenseSquare, 9, {}},
      {3, 3, 0, MatrixKind::DenseSquare, 9, {}},
      {3, 3, 200, MatrixKind::DenseSquare, 9, {}},
      {5, 5, 4, MatrixKind::Scalar, 1, {}},
      {5, 5, 5, MatrixKind::Diagonal, 5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << "x" << c.columns << " kind " << c.requested);
    ZRTMatrix m;
    EXPECT_TRUE(m.Create(c.rows, c.columns, KindOf(c.requested)));
    EXPECT_EQ(m.Kind(), c.kind);
    EXPECT_EQ(m.Rows(), c.rows);
    EXPECT_EQ(m.Columns(), c.columns);
    ASSERT_EQ(m.Count(), c.count);
    EXPECT_EQ(RowStarts(m), c.starts);
    for (std::int32_t k = 0; k < m.Count(); ++k) EXPECT_EQ(m[k], 0.0);
  }
}

TEST(ZRTMatrixCreate, SameKindKeepsValuesOtherwiseResizes) {
  ZRTMatrix m(3, 3, MatrixKind::Symmetric);
  m[4] = 2.5;
  EXPECT_FALSE(m.Create(3, 3, MatrixKind::Symmetric));
  EXPECT_EQ(m[4], 2.5);
  // Same size, other packed kind: the values stay (no re-fill).
  EXPECT_TRUE(m.Create(3, 3, MatrixKind::LowerTriangular));
  EXPECT_EQ(m.Kind(), MatrixKind::LowerTriangular);
  EXPECT_EQ(m[4], 2.5);
  // New size: zero-filled, table dropped for a dense kind.
  EXPECT_TRUE(m.Create(3, 3, MatrixKind::DenseSquare));
  EXPECT_EQ(m[4], 0.0);
  EXPECT_EQ(m.RowStarts().Count(), 0);

  EXPECT_TRUE(m.Create(0, 4, MatrixKind::DenseSquare));
  ExpectEmpty(m);
  ZRTMatrix negative(4, 4);
  EXPECT_TRUE(negative.Create(4, -1, MatrixKind::DenseSquare));
  ExpectEmpty(negative);

  ZRTMatrix sized(3, 3);
  EXPECT_TRUE(sized.SetSize(3, 3));
  EXPECT_EQ(sized.Kind(), MatrixKind::Scalar);
  EXPECT_EQ(sized.Count(), 1);
  EXPECT_FALSE(sized.SetSize(3, 3));
}

TEST(ZRTMatrixCreate, ConstructorsAndReset) {
  ExpectEmpty(ZRTMatrix());
  const ZRTMatrix column(3, 1);
  EXPECT_EQ(column.Kind(), MatrixKind::Column);
  ASSERT_EQ(column.Count(), 3);
  for (std::int32_t k = 0; k < 3; ++k) EXPECT_EQ(column[k], 0.0);
  EXPECT_EQ(ZRTMatrix(3, 3).Kind(), MatrixKind::DenseSquare);
  EXPECT_EQ(ZRTMatrix(3, 3, MatrixKind::Diagonal).Count(), 3);

  ZRTMatrix m = Filled(4, 4, MatrixKind::UpperTriangular, 1);
  m.Reset();
  ExpectEmpty(m);
  ZRTMatrix cleared = Filled(2, 3, MatrixKind::DenseRectangular, 2);
  static_cast<ZRTGenericMatrix<double>&>(cleared).Clear();  // the replaced slot
  ExpectEmpty(cleared);
  ZRTMatrix resized = Filled(2, 3, MatrixKind::DenseRectangular, 2);
  static_cast<ZRTGenericMatrix<double>&>(resized).Resize(4, 4);
  EXPECT_EQ(resized.Kind(), MatrixKind::Scalar);
  EXPECT_EQ(resized.Count(), 1);
}

TEST(ZRTMatrixCopy, AssignmentCopyAndSelfAssignment) {
  const ZRTMatrix source = Filled(4, 4, MatrixKind::Symmetric, 3);
  ZRTMatrix target(2, 5);
  target = source;
  EXPECT_EQ(target.Kind(), MatrixKind::Symmetric);
  EXPECT_EQ(RowStarts(target), RowStarts(source));
  ExpectSameDense(Expand(target), Expand(source));

  ZRTMatrix copy(source);
  ExpectSameDense(Expand(copy), Expand(source));
  copy[0] = 100.0;  // copies do not share storage
  EXPECT_NE(source[0], 100.0);

  ZRTMatrix self = Filled(3, 3, MatrixKind::DenseSquare, 4);
  const ZRTMatrix before = self;
  ZRTMatrix& alias = self;
  self = alias;
  ExpectSameDense(Expand(self), Expand(before));

  ZRTMatrix emptied = Filled(3, 3, MatrixKind::DenseSquare, 5);
  emptied = ZRTMatrix();
  ExpectEmpty(emptied);

  // A large (heap-stored) matrix copies the same way.
  const ZRTMatrix large = Filled(12, 12, MatrixKind::DenseSquare, 6);
  ZRTMatrix largeCopy;
  largeCopy = large;
  ExpectSameDense(Expand(largeCopy), Expand(large));
}

TEST(ZRTMatrixCopy, SwapTakeAndMove) {
  ZRTMatrix a = Filled(3, 3, MatrixKind::LowerTriangular, 7);
  ZRTMatrix b = Filled(2, 4, MatrixKind::DenseRectangular, 8);
  const auto denseA = Expand(a);
  const auto denseB = Expand(b);
  a.Swap(b);
  EXPECT_EQ(a.Kind(), MatrixKind::DenseRectangular);
  EXPECT_EQ(b.Kind(), MatrixKind::LowerTriangular);
  EXPECT_EQ(RowStarts(b), (std::vector<unsigned>{0, 1, 3}));
  EXPECT_EQ(a.RowStarts().Count(), 0);
  ExpectSameDense(Expand(a), denseB);
  ExpectSameDense(Expand(b), denseA);

  ZRTMatrix taker;
  taker.Take(b);
  ExpectSameDense(Expand(taker), denseA);
  ExpectEmpty(b);

  ZRTMatrix moved(std::move(taker));
  ExpectSameDense(Expand(moved), denseA);
  ExpectEmpty(taker);
  ZRTMatrix assigned;
  assigned = std::move(moved);
  ExpectSameDense(Expand(assigned), denseA);
  ExpectEmpty(moved);
}

TEST(ZRTMatrixTranspose, EveryKind) {
  const struct {
    std::int32_t rows, columns;
    MatrixKind kind, transposed;
  } cases[] = {
      {1, 4, MatrixKind::Row, MatrixKind::Column},
      {4, 1, MatrixKind::Column, MatrixKind::Row},
      {2, 3, MatrixKind::DenseRectangular, MatrixKind::DenseRectangular},
      {3, 3, MatrixKind::DenseSquare, MatrixKind::DenseSquare},
      {3, 3, MatrixKind::Scalar, MatrixKind::Scalar},
      {3, 3, MatrixKind::Diagonal, MatrixKind::Diagonal},
      {4, 4, MatrixKind::Symmetric, MatrixKind::Symmetric},
      {4, 4, MatrixKind::LowerTriangular, MatrixKind::UpperTriangular},
      {4, 4, MatrixKind::UpperTriangular, MatrixKind::LowerTriangular},
      {20, 9, MatrixKind::DenseRectangular, MatrixKind::DenseRectangular},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " " << c.rows << "x" << c.columns);
    ZRTMatrix m = Filled(c.rows, c.columns, c.kind, 11);
    const auto expected = NaiveTranspose(Expand(m));
    std::vector<double> packed(m.Count());
    for (std::int32_t k = 0; k < m.Count(); ++k) packed[k] = m[k];
    m.Transpose();
    EXPECT_EQ(m.Kind(), c.transposed);
    ExpectSameDense(Expand(m), expected);
    if (!ZRTMatrixSys::IsDenseKind(c.kind) || c.rows == 1 || c.columns == 1) {
      // Vectors and structured kinds keep their stored values as they were.
      for (std::int32_t k = 0; k < m.Count(); ++k) EXPECT_EQ(m[k], packed[k]);
    }
  }
}

TEST(ZRTMatrixElements, NegateFlipsEveryStoredValue) {
  ZRTMatrix m = Filled(4, 4, MatrixKind::UpperTriangular, 12);
  auto expected = Expand(m);
  for (double& v : expected.values) v = -v;
  m.Negate();
  EXPECT_EQ(m.Kind(), MatrixKind::UpperTriangular);
  EXPECT_EQ(m.RowStarts().Count(), 4);
  ExpectSameDense(Expand(m), expected);
}

TEST(ZRTMatrixElements, SingleIndexOutOfRangeYieldsSpareElement) {
  ScopedReportCapture capture;
  ZRTMatrix m(3, 1);
  m[0] = 1.0;
  m[2] = 3.0;
  EXPECT_EQ(capture.Count(), 0u);

  double& spare = m[3];  // one past the end
  EXPECT_EQ(spare, 0.0);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Last(), kIndexReport);
  EXPECT_EQ(capture.Written().back(), std::string("Erro: \n") + kIndexReport + "\n");

  spare = 42.0;  // a write through a rejected index lands in the spare
  EXPECT_EQ(m[0], 1.0);
  EXPECT_EQ(m[2], 3.0);
  EXPECT_EQ(&m[-1], &spare);
  EXPECT_EQ(m[-1], 42.0);
  EXPECT_EQ(capture.Count(), 3u);

  const ZRTMatrix& constant = m;
  EXPECT_EQ(constant[3], 42.0);
  m.Reset();  // Reset clears the spare
  EXPECT_EQ(m[0], 0.0);
  EXPECT_EQ(capture.Count(), 5u);

  ZRTMatrix dense(3, 3);
  dense[8] = 9.0;
  EXPECT_EQ(capture.Count(), 5u);
  EXPECT_EQ(dense[9], 0.0);
  EXPECT_EQ(capture.Count(), 6u);
}

TEST(ZRTMatrixElements, RowColumnAccessAndItsFallback) {
  ScopedReportCapture capture;
  ZRTMatrix m = Filled(2, 3, MatrixKind::DenseRectangular, 13);
  for (std::int32_t i = 0; i < 2; ++i)
    for (std::int32_t j = 0; j < 3; ++j) {
      EXPECT_EQ(m.Get(i, j), m[i * 3 + j]);
      EXPECT_EQ(&m.At(i, j), &m[i * 3 + j]);
    }
  m.At(1, 2) = 6.25;
  EXPECT_EQ(m[5], 6.25);
  EXPECT_EQ(capture.Count(), 0u);

  const struct {
    std::int32_t row, column;
  } outside[] = {{2, 0}, {0, 3}, {-1, 0}, {0, -1}};
  for (const auto& p : outside) {
    SCOPED_TRACE(testing::Message() << p.row << "," << p.column);
    capture.Reset();
    EXPECT_EQ(&m.At(p.row, p.column), &m[0]);
    EXPECT_EQ(capture.Last(), kPositionReportRoot);
    EXPECT_EQ(m.Get(p.row, p.column), m[0]);
    EXPECT_EQ(capture.Last(), kPositionReportMatrix);
    EXPECT_EQ(capture.Count(), 2u);
  }

  // An empty matrix has no first value: a zero fallback, no crash.
  capture.Reset();
  ZRTMatrix empty;
  EXPECT_EQ(empty.At(0, 0), 0.0);
  EXPECT_EQ(empty.Get(0, 0), 0.0);
  EXPECT_EQ(capture.Count(), 2u);
}

TEST(ZRTMatrixElements, ConcatenationIsRefused) {
  ScopedReportCapture capture;
  ZRTMatrix left = Filled(2, 2, MatrixKind::DenseSquare, 14);
  const auto before = Expand(left);
  const ZRTMatrix right = Filled(2, 2, MatrixKind::DenseSquare, 15);
  ZRTGenericMatrix<double>& result = left.Concatenate(right);
  EXPECT_EQ(&result, static_cast<ZRTGenericMatrix<double>*>(&left));
  ExpectSameDense(Expand(left), before);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Last(),
            "Objeto ZRTPrimitiveSys::ZRTObjects:\nErro Lógico: Não é possível concatenar duas matrizes");
}

TEST(ZRTMatrixElements, NameQueryOfTheMatrixClasses) {
  const ZRTMatrix m;
  EXPECT_STREQ(m.Name(), "ZRTMatrixSys::ZRTGenericMatrix<double>");
  EXPECT_STREQ(static_cast<const ZRTPrimitiveSys::ZRTObjects&>(m).Name(),
               "ZRTPrimitiveSys::ZRTObjects");
}

TEST(ZRTGenericMatrixDense, ResizeTransposeSwap) {
  ZRTGenericMatrix<double> g(2, 3);
  EXPECT_EQ(g.Count(), 6);
  for (std::int32_t k = 0; k < 6; ++k) g.At(k / 3, k % 3) = k + 0.5;
  EXPECT_FALSE(g.Resize(2, 3));
  g.Transpose();
  ASSERT_EQ(g.Rows(), 3);
  ASSERT_EQ(g.Columns(), 2);
  for (std::int32_t i = 0; i < 3; ++i)
    for (std::int32_t j = 0; j < 2; ++j) EXPECT_EQ(g.Get(i, j), j * 3 + i + 0.5);
  ZRTGenericMatrix<double> other(1, 1);
  g.Take(other);
  EXPECT_EQ(g.Rows(), 1);
  EXPECT_EQ(other.Rows(), 0);
  EXPECT_EQ(other.Count(), 0);
  ZRTGenericMatrix<double> copy(g);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_TRUE(copy.Resize(0, 0));
  EXPECT_EQ(copy.Count(), 0);
}

TEST(ZRTMatrixAllocation, InjectedFailureEmptiesTheMatrix) {
  ScopedReportCapture capture;
  const std::string doubleReport = "Memory allocation:\nObject: double";

  ZRTMatrix created(2, 2);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  EXPECT_TRUE(created.Create(3, 3, MatrixKind::DenseSquare));
  ExpectEmpty(created);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Last(), doubleReport);
  EXPECT_EQ(capture.Written().back(), "Erro Fatal: \n" + doubleReport + "\n");

  // Packed kinds build the row-start table first.
  capture.Reset();
  ZRTMatrix packed;
  ZRTMatrixSys::testing::FailNextAllocations(1);
  EXPECT_TRUE(packed.Create(4, 4, MatrixKind::Symmetric));
  ExpectEmpty(packed);
  EXPECT_EQ(capture.Last(), "Memory allocation:\nObject: unsigned int");

  capture.Reset();
  const ZRTMatrix source = Filled(12, 12, MatrixKind::LowerTriangular, 16);
  ZRTMatrix assigned = Filled(3, 3, MatrixKind::DenseSquare, 17);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  assigned = source;
  ExpectEmpty(assigned);
  EXPECT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Last(), doubleReport);

  capture.Reset();
  ZRTMatrixSys::testing::FailNextAllocations(1);
  const ZRTMatrix copied(source);
  ExpectEmpty(copied);
  EXPECT_EQ(capture.Count(), 1u);

  capture.Reset();
  ZRTMatrix transposed = Filled(2, 3, MatrixKind::DenseRectangular, 18);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  transposed.Transpose();
  ExpectEmpty(transposed);
  EXPECT_EQ(capture.Count(), 1u);
  EXPECT_EQ(ZRTMatrixSys::testing::PendingAllocationFailures(), 0);

  // A size beyond the signed 32-bit count is refused the same way instead of
  // wrapping around.
  capture.Reset();
  ZRTMatrix huge(2, 2);
  EXPECT_TRUE(huge.Create(50000, 50000, MatrixKind::DenseSquare));
  ExpectEmpty(huge);
  EXPECT_TRUE(huge.Create(70000, 70000, MatrixKind::Symmetric));
  ExpectEmpty(huge);
  ZRTMatrix tall(50000, 1);
  ZRTMatrix wide(1, 50000);
  ExpectEmpty(tall * wide);
  ZRTGenericMatrix<double> dense(2, 2);
  EXPECT_TRUE(dense.Resize(50000, 50000));
  EXPECT_EQ(dense.Count(), 0);
  EXPECT_EQ(dense.Rows(), 0);
  EXPECT_EQ(capture.Count(), 4u);
  for (const std::string& text : capture.Texts()) EXPECT_EQ(text, doubleReport);

  // After the failures the library works normally again.
  assigned = source;
  ExpectSameDense(Expand(assigned), Expand(source));
}

}  // namespace
