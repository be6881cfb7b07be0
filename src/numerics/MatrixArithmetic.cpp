// Sum, product and scaling of ZRTMatrix, kind by kind.  Each kernel reads
// only the values the operands' kinds store and writes the smallest kind the
// pair of operand kinds guarantees, else a dense kind.
#include <algorithm>

#include "numerics/ZRTMatrix.h"

namespace ZRTMatrixSys {

namespace {

using K = MatrixKind;

bool SameShape(const ZRTMatrix& a, const ZRTMatrix& b) {
  return a.Rows() == b.Rows() && a.Columns() == b.Columns();
}

// The kind Create gives a plain rows x columns matrix.
MatrixKind DenseKindForShape(std::int32_t rows, std::int32_t columns) {
  if (rows == 1 && columns == 1) return K::Scalar;
  if (rows == 1) return K::Row;
  if (columns == 1) return K::Column;
  return rows == columns ? K::DenseSquare : K::DenseRectangular;
}

// Calls visit(index, i, j) for every value the target stores, with (i, j) the
// element that value stands for.
template <typename Visit>
void ForEachStored(const ZRTMatrix& target, Visit visit) {
  const std::int32_t rows = target.Rows();
  const std::int32_t columns = target.Columns();
  switch (target.Kind()) {
    case K::Scalar:
      visit(0, 0, 0);
      break;
    case K::Diagonal:
      for (std::int32_t i = 0; i < rows; ++i) visit(i, i, i);
      break;
    case K::Symmetric:
    case K::LowerTriangular:
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j <= i; ++j) visit(target.RowStart(i) + j, i, j);
      break;
    case K::UpperTriangular:
      for (std::int32_t j = 0; j < columns; ++j)
        for (std::int32_t i = 0; i <= j; ++i) visit(target.RowStart(j) + i, i, j);
      break;
    default:
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < columns; ++j) visit(i * columns + j, i, j);
      break;
  }
}

// --- sum kind rules --------------------------------------------------------

// Lower + upper is symmetric when the upper is the mirror image of the lower:
// the packed values agree position by position (exact comparison).
bool PackedValuesEqual(const ZRTMatrix& a, const ZRTMatrix& b) {
  return std::equal(a.Data(), a.Data() + a.Count(), b.Data());
}

// Symmetric + triangular has zeros on one side of the diagonal when every
// packed value of the symmetric is the negated packed value of the other.
bool PackedValuesNegated(const ZRTMatrix& symmetric, const ZRTMatrix& other) {
  return std::equal(symmetric.Data(), symmetric.Data() + symmetric.Count(),
                    other.Data(),
                    [](double s, double t) { return s == -t; });
}

// Sum kind of two different square kinds, low being the smaller code.
MatrixKind MixedSumKind(const ZRTMatrix& low, const ZRTMatrix& high) {
  switch (low.Kind()) {
    case K::Scalar:    // scalar + diagonal/symmetric/triangular: the other
    case K::Diagonal:  // diagonal + symmetric/triangular: the other
      return high.Kind();
    case K::Symmetric:
      if (high.Kind() == K::LowerTriangular)
        return PackedValuesNegated(low, high) ? K::UpperTriangular : K::DenseSquare;
      return PackedValuesNegated(low, high) ? K::LowerTriangular : K::DenseSquare;
    case K::LowerTriangular:  // with upper
      return PackedValuesEqual(low, high) ? K::Symmetric : K::DenseSquare;
    default:  // dense square + anything
      return K::DenseSquare;
  }
}

// --- product kind rules ----------------------------------------------------

// Neither factor dense nor scalar: diagonal keeps the other triangular or
// diagonal kind, equal triangular kinds stay, everything else is dense.
MatrixKind StructuredProductKind(MatrixKind a, MatrixKind b) {
  if (a == b && a != K::Symmetric) return a;
  if (a == K::Diagonal && b != K::Symmetric) return b;
  if (b == K::Diagonal && a != K::Symmetric) return a;
  return K::DenseSquare;
}

// Range [first, last] of k where factor element (i, k) of a row can be
// non-zero.
struct Span {
  std::int32_t first;
  std::int32_t last;
};
Span RowSpan(const ZRTMatrix& a, std::int32_t i) {
  switch (a.Kind()) {
    case K::LowerTriangular: return {0, i};
    case K::UpperTriangular: return {i, a.Columns() - 1};
    default: return {0, a.Columns() - 1};
  }
}
// Same for factor element (k, j) of a column.
Span ColumnSpan(const ZRTMatrix& b, std::int32_t j) {
  switch (b.Kind()) {
    case K::LowerTriangular: return {j, b.Rows() - 1};
    case K::UpperTriangular: return {0, j};
    default: return {0, b.Rows() - 1};
  }
}

// Product element (i, j) = sum over k of a(i, k) b(k, j), terms that a
// factor's kind makes zero left out; a diagonal factor scales a row or column.
double ProductElement(const ZRTMatrix& a, const ZRTMatrix& b, std::int32_t i,
                      std::int32_t j) {
  if (a.Kind() == K::Diagonal) return a.Data()[i] * b.ValueAt(i, j);
  if (b.Kind() == K::Diagonal) return a.ValueAt(i, j) * b.Data()[j];
  const Span row = RowSpan(a, i);
  const Span column = ColumnSpan(b, j);
  const std::int32_t last = std::min(row.last, column.last);
  double sum = 0.0;
  for (std::int32_t k = std::max(row.first, column.first); k <= last; ++k)
    sum += a.ValueAt(i, k) * b.ValueAt(k, j);
  return sum;
}

// Both factors dense (row by row): the plain triple loop, accumulating from
// 0.0 in the order k = 0, 1, 2, ...
void DenseProduct(const ZRTMatrix& a, const ZRTMatrix& b, ZRTMatrix& target) {
  const std::int32_t rows = a.Rows();
  const std::int32_t inner = a.Columns();
  const std::int32_t columns = b.Columns();
  const double* left = a.Data();
  const double* right = b.Data();
  double* result = target.Data();
  for (std::int32_t i = 0; i < rows; ++i) {
    for (std::int32_t j = 0; j < columns; ++j) {
      double sum = 0.0;
      for (std::int32_t k = 0; k < inner; ++k)
        sum += left[i * inner + k] * right[k * columns + j];
      result[i * columns + j] = sum;
    }
  }
}

void ReportDimensionMismatch() {
  try {
    ZRTPrimitiveSys::RaiseError(ZRTPrimitiveSys::ZRTObjects::kObjectLabel,
                                "Dimensão inválida",
                                ZRTPrimitiveSys::ErrorCategory::LengthError);
  } catch (const std::exception& error) {
    ZRTPrimitiveSys::ReportError(error);
  }
}

}  // namespace

MatrixKind SumKind(const ZRTMatrix& a, const ZRTMatrix& b) {
  if (a.Kind() == b.Kind()) return a.Kind();
  return a.Kind() < b.Kind() ? MixedSumKind(a, b) : MixedSumKind(b, a);
}

MatrixKind ProductKind(const ZRTMatrix& a, const ZRTMatrix& b) {
  if (IsDenseKind(a.Kind()) || IsDenseKind(b.Kind()))
    return DenseKindForShape(a.Rows(), b.Columns());
  if (a.Kind() == K::Scalar) return b.Kind();
  if (b.Kind() == K::Scalar) return a.Kind();
  return StructuredProductKind(a.Kind(), b.Kind());
}

void ScaleKernel(double x, const ZRTMatrix& m, ZRTMatrix& target) {
  if (m.Count() == 0) {
    target.Reset();
    return;
  }
  // With target == m, Create changes nothing and the loop scales in place.
  target.Create(m.Rows(), m.Columns(), m.Kind());
  if (target.Count() != m.Count()) return;  // storage failure, reported
  const double* source = m.Data();
  double* result = target.Data();
  for (std::int32_t k = 0, n = m.Count(); k < n; ++k) result[k] = x * source[k];
}

void SumKernel(const ZRTMatrix& a, const ZRTMatrix& b, ZRTMatrix& target) {
  if (!SameShape(a, b)) return;
  if (a.Kind() == b.Kind()) {
    // Stored value by stored value; in place when target is an operand.
    target.Create(a.Rows(), a.Columns(), a.Kind());
    if (target.Count() != a.Count()) return;
    const double* left = a.Data();
    const double* right = b.Data();
    double* result = target.Data();
    for (std::int32_t k = 0, n = a.Count(); k < n; ++k)
      result[k] = left[k] + right[k];
    return;
  }
  if (&target == &a || &target == &b) {
    ZRTMatrix sum;
    SumKernel(a, b, sum);
    target.Take(sum);
    return;
  }
  target.Create(a.Rows(), a.Columns(), SumKind(a, b));
  if (target.Count() == 0) return;
  double* result = target.Data();
  ForEachStored(target, [&](std::int32_t index, std::int32_t i, std::int32_t j) {
    result[index] = a.ValueAt(i, j) + b.ValueAt(i, j);
  });
}

void ProductKernel(const ZRTMatrix& a, const ZRTMatrix& b, ZRTMatrix& target) {
  if (a.Columns() != b.Rows()) {
    ReportDimensionMismatch();
    return;
  }
  if (&target == &a || &target == &b) {
    ZRTMatrix product;
    ProductKernel(a, b, product);
    target.Take(product);
    return;
  }
  // A scalar factor scales the other (an empty a implies an empty b).
  if (a.Kind() == K::Scalar) {
    ScaleKernel(a.Count() > 0 ? a.Data()[0] : 0.0, b, target);
    return;
  }
  if (b.Kind() == K::Scalar) {
    ScaleKernel(b.Data()[0], a, target);
    return;
  }
  target.Create(a.Rows(), b.Columns(), ProductKind(a, b));
  if (target.Count() == 0) return;
  if (IsDenseKind(a.Kind()) && IsDenseKind(b.Kind())) {
    DenseProduct(a, b, target);
    return;
  }
  double* result = target.Data();
  ForEachStored(target, [&](std::int32_t index, std::int32_t i, std::int32_t j) {
    result[index] = ProductElement(a, b, i, j);
  });
}

ZRTMatrix operator+(const ZRTMatrix& a, const ZRTMatrix& b) {
  ZRTMatrix sum;
  SumKernel(a, b, sum);
  return sum;
}

ZRTMatrix operator*(const ZRTMatrix& a, const ZRTMatrix& b) {
  ZRTMatrix product;
  ProductKernel(a, b, product);
  return product;
}

ZRTMatrix operator*(double x, const ZRTMatrix& m) {
  ZRTMatrix scaled;
  ScaleKernel(x, m, scaled);
  return scaled;
}

ZRTMatrix operator*(const ZRTMatrix& m, double x) { return x * m; }

}  // namespace ZRTMatrixSys
