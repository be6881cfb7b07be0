// Structured matrices of the ZRT class library.
//
//   ZRTObjects                       root, object label
//   ZRTGenericArray<double>          the stored values
//   ZRTGenericMatrix<double>         rows x columns over the values (dense)
//   ZRTMatrixBase                    + row-start table of the packed kinds
//   ZRTMatrix                        + kind code and spare element
//
// All inheritance is virtual, so a ZRTMatrix holds exactly one value array,
// one pair of dimensions and one row-start table.  A ZRTMatrix keeps only the
// values its kind needs (see MatrixKind).  Every fault is reported through
// the error layer and recovered inside the operation; nothing propagates.
#pragma once

#include <cstdint>

#include "support/ErrorLayer.h"
#include "support/ZRTGenericArray.h"
#include "support/ZRTObjects.h"

namespace ZRTMatrixSys {

template <typename T>
class ZRTGenericMatrix;

// Dense rows x columns matrix; element (i, j) is value i * columns + j.
template <>
class ZRTGenericMatrix<double> : public virtual ZRTPrimitiveSys::ZRTObjects,
                                 public virtual ZRTGenericArray<double> {
 public:
  static constexpr const char* kMatrixLabel =
      "ZRTMatrixSys::ZRTGenericMatrix<double>";

  ZRTGenericMatrix() noexcept = default;
  ZRTGenericMatrix(std::int32_t rows, std::int32_t columns);
  ZRTGenericMatrix(const ZRTGenericMatrix& other);
  ZRTGenericMatrix& operator=(const ZRTGenericMatrix& other);
  ~ZRTGenericMatrix() override = default;

  // Object label for error texts (hides the root's label).
  const char* Name() const noexcept { return kMatrixLabel; }

  // Virtual operations, in slot order.
  // Releases the values; 0 x 0.
  void Clear() override;
  // Dense rows x columns of zeros; false when the dimensions were already
  // those.  A failed allocation leaves the matrix cleared.
  virtual bool Resize(std::int32_t rows, std::int32_t columns);
  // Element (row, column) of the row-by-row layout.  Out of range: report
  // "Não foi possível acessar a posição" (root label) and the first value.
  virtual double& At(std::int32_t row, std::int32_t column);
  // Copy of element (row, column); same rule, labelled with kMatrixLabel.
  virtual double Get(std::int32_t row, std::int32_t column) const;
  // Exchanges values and dimensions.
  virtual void Swap(ZRTGenericMatrix& other);
  // Swap, then other is cleared.
  virtual void Take(ZRTGenericMatrix& other);
  // Always refused ("Não é possível concatenar duas matrizes"); this is
  // returned unchanged.
  virtual ZRTGenericMatrix& Concatenate(const ZRTGenericMatrix& other);
  // Becomes its own transpose (columns x rows).
  virtual void Transpose();

  std::int32_t Rows() const noexcept { return rows_; }
  std::int32_t Columns() const noexcept { return columns_; }

 protected:
  // Value index of (row, column) in the row-by-row layout, or -1 when the
  // position is outside rows x columns or not stored.
  std::int32_t DenseIndex(std::int32_t row, std::int32_t column) const noexcept;
  void SwapDimensions(ZRTGenericMatrix& other) noexcept;
  // Copies values and dimensions; clears this when storage fails.
  void CopyDense(const ZRTGenericMatrix& source);

  std::int32_t rows_ = 0;
  std::int32_t columns_ = 0;

 private:
  // Yielded by a rejected (row, column) access on a matrix without values.
  double noValue_ = 0.0;
};

using ZRTSSMatrixOfDouble = ZRTGenericMatrix<double>;

// Adds the row-start table of the packed kinds: start(i) = i(i+1)/2.
class ZRTMatrixBase : public virtual ZRTPrimitiveSys::ZRTObjects,
                      public virtual ZRTGenericArray<double>,
                      public virtual ZRTGenericMatrix<double> {
 public:
  ZRTMatrixBase() noexcept = default;
  ~ZRTMatrixBase() override = default;

  // Empties values, dimensions and the row-start table.
  virtual void Reset();

  // Row-start table: n entries for the packed kinds, empty otherwise.
  const ZRTGenericArray<unsigned int>& RowStarts() const noexcept {
    return rowStart_;
  }

 protected:
  ZRTGenericArray<unsigned int> rowStart_;
};

// Structural kind of a ZRTMatrix (its 8-bit code) and what it stores, for r
// rows and m columns (n = r = m for the square kinds):
enum class MatrixKind : std::uint8_t {
  Row = 0,               // 1 x m, m >= 2: m values
  Column = 1,            // r x 1, r >= 2: r values
  DenseRectangular = 2,  // r x m, r != m: (i, j) at i*m + j
  DenseSquare = 3,       // n x n: (i, j) at i*n + j
  Scalar = 4,            // n x n incl. 1 x 1: one value v on the diagonal
  Diagonal = 5,          // n x n: (i, i) at i
  Symmetric = 6,         // packed lower triangle: (i, j), j <= i, at start(i)+j
  LowerTriangular = 7,   // packed like Symmetric; zero above the diagonal
  UpperTriangular = 8,   // (i, j), i <= j, at start(j)+i; zero below
};

class ZRTMatrix : public virtual ZRTPrimitiveSys::ZRTObjects,
                  public virtual ZRTGenericArray<double>,
                  public virtual ZRTGenericMatrix<double>,
                  public virtual ZRTMatrixBase {
 public:
  // Empty: scalar kind, 0 x 0, no values.
  ZRTMatrix() noexcept {}
  // Create(rows, columns, dense square).
  ZRTMatrix(std::int32_t rows, std::int32_t columns);
  ZRTMatrix(std::int32_t rows, std::int32_t columns, MatrixKind kind);
  // Empty, then assigned the source.
  ZRTMatrix(const ZRTMatrix& other);
  // Takes the source's storage; the source is left empty.
  ZRTMatrix(ZRTMatrix&& other) noexcept;
  // Copies values, row-start table, kind and dimensions; self-assignment does
  // nothing; a storage failure leaves this empty.
  ZRTMatrix& operator=(const ZRTMatrix& other);
  ZRTMatrix& operator=(ZRTMatrix&& other) noexcept;
  ~ZRTMatrix() override = default;

  // Virtual operations, in slot order.
  void Reset() override;
  // Create(rows, columns, scalar).
  bool SetSize(std::int32_t rows, std::int32_t columns);
  // Chooses the kind from the shape and sizes the storage (new values 0.0).
  // False when kind and dimensions were already those.
  bool Create(std::int32_t rows, std::int32_t columns, MatrixKind kind);
  void Swap(ZRTMatrix& other);
  void Take(ZRTMatrix& other);
  void Transpose() override;

  // The replaced slots of the dense matrix.
  void Clear() override { Reset(); }
  bool Resize(std::int32_t rows, std::int32_t columns) override {
    return SetSize(rows, columns);
  }

  // Stored value k.  Outside 0..Count()-1: report "Índice inválido" and
  // yield the spare element.
  double& operator[](std::int32_t k) {
    if (static_cast<std::uint32_t>(k) < static_cast<std::uint32_t>(Count()))
      return Data()[k];
    return RejectIndex();
  }
  double operator[](std::int32_t k) const {
    if (static_cast<std::uint32_t>(k) < static_cast<std::uint32_t>(Count()))
      return Data()[k];
    return const_cast<ZRTMatrix&>(*this).RejectIndex();
  }

  // Every stored value changes sign; kind, dimensions and table stay.
  void Negate() noexcept;

  MatrixKind Kind() const noexcept { return kind_; }
  using ZRTGenericMatrix<double>::Rows;
  using ZRTGenericMatrix<double>::Columns;
  using ZRTGenericArray<double>::Count;

  // Element (i, j) of the matrix the kind represents, for 0 <= i < rows and
  // 0 <= j < columns (no range check, no report).
  double ValueAt(std::int32_t i, std::int32_t j) const noexcept;

  // Start of packed row i (kinds 6-8).
  std::uint32_t RowStart(std::int32_t i) const noexcept {
    return rowStart_.Data()[i];
  }

 private:
  [[gnu::cold, gnu::noinline]] double& RejectIndex();
  // Exchanges everything Swap exchanges.
  void SwapAll(ZRTMatrix& other) noexcept;

  MatrixKind kind_ = MatrixKind::Scalar;
  double spare_ = 0.0;
};

// True for the kinds whose stored values are the full row-by-row layout.
constexpr bool IsDenseKind(MatrixKind kind) noexcept {
  return kind <= MatrixKind::DenseSquare;
}
// True for the packed-triangle kinds (symmetric, lower, upper).
constexpr bool IsPackedKind(MatrixKind kind) noexcept {
  return kind >= MatrixKind::Symmetric;
}

// Kernels: each writes its result into target, which may be an operand.
// Scaling: target = x * m, in m's kind; empty when m stores no values.
void ScaleKernel(double x, const ZRTMatrix& m, ZRTMatrix& target);
// Sum: target = a + b in the smallest kind the pair allows; when the shapes
// differ nothing happens and nothing is reported.
void SumKernel(const ZRTMatrix& a, const ZRTMatrix& b, ZRTMatrix& target);
// Product: target = a * b; when a's columns differ from b's rows, reports
// "Dimensão inválida" and leaves target as it was.
void ProductKernel(const ZRTMatrix& a, const ZRTMatrix& b, ZRTMatrix& target);

// Result kinds of the kernels (exposed for the tests and for callers that
// want to know the result's storage in advance).
MatrixKind SumKind(const ZRTMatrix& a, const ZRTMatrix& b);
MatrixKind ProductKind(const ZRTMatrix& a, const ZRTMatrix& b);

ZRTMatrix operator+(const ZRTMatrix& a, const ZRTMatrix& b);
ZRTMatrix operator*(const ZRTMatrix& a, const ZRTMatrix& b);
ZRTMatrix operator*(double x, const ZRTMatrix& m);
ZRTMatrix operator*(const ZRTMatrix& m, double x);

}  // namespace ZRTMatrixSys
