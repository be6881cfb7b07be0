#include "numerics/ZRTMatrix.h"

#include <utility>

namespace ZRTMatrixSys {

namespace {

using ZRTPrimitiveSys::ErrorCategory;
using ZRTPrimitiveSys::ZRTObjects;

constexpr const char* kPositionMessage = "Não foi possível acessar a posição";

// Raises and reports in one step (the report-and-recover pattern); the
// caller then performs its recovery.
void RaiseAndReport(const char* label, const char* message,
                    ErrorCategory category) {
  try {
    ZRTPrimitiveSys::RaiseError(label, message, category);
  } catch (const std::exception& error) {
    ZRTPrimitiveSys::ReportError(error);
  }
}

// Packed triangle of order n: n + (n^2 - n)/2 = n(n+1)/2 values.
constexpr std::int64_t PackedSize(std::int64_t n) { return n + (n * n - n) / 2; }

}  // namespace

// ---------------------------------------------------------------------------
// ZRTGenericMatrix<double>

ZRTGenericMatrix<double>::ZRTGenericMatrix(std::int32_t rows,
                                           std::int32_t columns) {
  Resize(rows, columns);
}

ZRTGenericMatrix<double>::ZRTGenericMatrix(const ZRTGenericMatrix& other)
    : ZRTObjects(), ZRTGenericArray<double>() {
  CopyDense(other);
}

ZRTGenericMatrix<double>& ZRTGenericMatrix<double>::operator=(
    const ZRTGenericMatrix& other) {
  if (&other != this) CopyDense(other);
  return *this;
}

void ZRTGenericMatrix<double>::CopyDense(const ZRTGenericMatrix& source) {
  CopyFrom(source);
  if (Count() != source.Count()) {
    Clear();
    return;
  }
  rows_ = source.rows_;
  columns_ = source.columns_;
}

void ZRTGenericMatrix<double>::Clear() {
  Release();
  rows_ = 0;
  columns_ = 0;
}

bool ZRTGenericMatrix<double>::Resize(std::int32_t rows, std::int32_t columns) {
  if (rows == rows_ && columns == columns_) return false;
  const std::int64_t size = std::int64_t{rows} * columns;
  if (rows < 1 || columns < 1 || size > INT32_MAX) {
    if (size > INT32_MAX)
      ZRTPrimitiveSys::ReportAllocationFailure(ElementTypeName<double>::Get());
    Clear();
    return true;
  }
  Release();
  ResizeStorage(static_cast<std::int32_t>(size));
  if (Count() != size) {
    Clear();
    return true;
  }
  rows_ = rows;
  columns_ = columns;
  return true;
}

std::int32_t ZRTGenericMatrix<double>::DenseIndex(
    std::int32_t row, std::int32_t column) const noexcept {
  if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return -1;
  const std::int64_t index = std::int64_t{row} * columns_ + column;
  return index < Count() ? static_cast<std::int32_t>(index) : -1;
}

double& ZRTGenericMatrix<double>::At(std::int32_t row, std::int32_t column) {
  const std::int32_t index = DenseIndex(row, column);
  if (index >= 0) return Data()[index];
  RaiseAndReport(ZRTObjects::kObjectLabel, kPositionMessage,
                 ErrorCategory::OutOfRange);
  if (Count() > 0) return Data()[0];
  noValue_ = 0.0;
  return noValue_;
}

double ZRTGenericMatrix<double>::Get(std::int32_t row,
                                     std::int32_t column) const {
  const std::int32_t index = DenseIndex(row, column);
  if (index >= 0) return Data()[index];
  RaiseAndReport(kMatrixLabel, kPositionMessage, ErrorCategory::OutOfRange);
  return Count() > 0 ? Data()[0] : 0.0;
}

void ZRTGenericMatrix<double>::SwapDimensions(ZRTGenericMatrix& other) noexcept {
  std::swap(rows_, other.rows_);
  std::swap(columns_, other.columns_);
}

void ZRTGenericMatrix<double>::Swap(ZRTGenericMatrix& other) {
  if (&other == this) return;
  SwapStorage(other);
  SwapDimensions(other);
}

void ZRTGenericMatrix<double>::Take(ZRTGenericMatrix& other) {
  if (&other == this) return;
  Swap(other);
  other.Clear();
}

ZRTGenericMatrix<double>& ZRTGenericMatrix<double>::Concatenate(
    const ZRTGenericMatrix& /*other*/) {
  RaiseAndReport(ZRTObjects::kObjectLabel,
                 "Não é possível concatenar duas matrizes",
                 ErrorCategory::LogicError);
  return *this;
}

void ZRTGenericMatrix<double>::Transpose() {
  if (Count() == 0) return;
  ZRTGenericMatrix transposed(columns_, rows_);
  if (transposed.Count() != Count()) {
    Clear();
    return;
  }
  const double* source = Data();
  double* target = transposed.Data();
  for (std::int32_t i = 0; i < rows_; ++i)
    for (std::int32_t j = 0; j < columns_; ++j)
      target[j * rows_ + i] = source[i * columns_ + j];
  Take(transposed);
}

// ---------------------------------------------------------------------------
// ZRTMatrixBase

void ZRTMatrixBase::Reset() {
  ZRTGenericMatrix<double>::Clear();
  rowStart_.Clear();
}

// ---------------------------------------------------------------------------
// ZRTMatrix

ZRTMatrix::ZRTMatrix(std::int32_t rows, std::int32_t columns) {
  Create(rows, columns, MatrixKind::DenseSquare);
}

ZRTMatrix::ZRTMatrix(std::int32_t rows, std::int32_t columns, MatrixKind kind) {
  Create(rows, columns, kind);
}

ZRTMatrix::ZRTMatrix(const ZRTMatrix& other)
    : ZRTObjects(), ZRTGenericArray<double>(), ZRTGenericMatrix<double>(),
      ZRTMatrixBase() {
  *this = other;
}

ZRTMatrix::ZRTMatrix(ZRTMatrix&& other) noexcept
    : ZRTObjects(), ZRTGenericArray<double>(), ZRTGenericMatrix<double>(),
      ZRTMatrixBase() {
  SwapAll(other);
  other.Reset();
}

ZRTMatrix& ZRTMatrix::operator=(const ZRTMatrix& other) {
  if (&other == this) return *this;
  CopyFrom(other);
  rowStart_.Assign(other.rowStart_);
  if (Count() != other.Count() || rowStart_.Count() != other.rowStart_.Count()) {
    Reset();  // the allocation report has been written
    return *this;
  }
  rows_ = other.rows_;
  columns_ = other.columns_;
  kind_ = other.kind_;
  return *this;
}

ZRTMatrix& ZRTMatrix::operator=(ZRTMatrix&& other) noexcept {
  if (&other != this) {
    SwapAll(other);
    other.Reset();
  }
  return *this;
}

void ZRTMatrix::Reset() {
  ZRTMatrixBase::Reset();
  kind_ = MatrixKind::Scalar;
  spare_ = 0.0;
}

bool ZRTMatrix::SetSize(std::int32_t rows, std::int32_t columns) {
  return Create(rows, columns, MatrixKind::Scalar);
}

bool ZRTMatrix::Create(std::int32_t rows, std::int32_t columns,
                       MatrixKind requested) {
  if (requested == kind_ && rows == rows_ && columns == columns_) return false;
  if (rows < 1 || columns < 1) {
    Reset();
    return true;
  }

  // The shape decides the kind; only a square of order >= 2 honours the
  // requested structure.
  MatrixKind kind;
  std::int64_t size;
  if (rows == 1 && columns == 1) {
    kind = MatrixKind::Scalar;
    size = 1;
  } else if (rows == 1) {
    kind = MatrixKind::Row;
    size = columns;
  } else if (columns == 1) {
    kind = MatrixKind::Column;
    size = rows;
  } else if (rows != columns) {
    kind = MatrixKind::DenseRectangular;
    size = std::int64_t{rows} * columns;
  } else {
    const std::int64_t n = rows;
    switch (requested) {
      case MatrixKind::Scalar:
        kind = requested;
        size = 1;
        break;
      case MatrixKind::Diagonal:
        kind = requested;
        size = n;
        break;
      case MatrixKind::Symmetric:
      case MatrixKind::LowerTriangular:
      case MatrixKind::UpperTriangular:
        kind = requested;
        size = PackedSize(n);
        break;
      default:  // rows, columns, dense and unknown codes
        kind = MatrixKind::DenseSquare;
        size = n * n;
        break;
    }
  }

  if (size > INT32_MAX) {
    ZRTPrimitiveSys::ReportAllocationFailure(ElementTypeName<double>::Get());
    Reset();
    return true;
  }

  if (IsPackedKind(kind)) {
    if (rowStart_.Resize(rows)) {
      if (rowStart_.Count() != rows) {
        Reset();
        return true;
      }
      unsigned int* start = rowStart_.Data();
      for (std::int32_t i = 0; i < rows; ++i)
        start[i] = static_cast<unsigned int>(PackedSize(i));
    }
  } else {
    rowStart_.Clear();
  }

  ResizeStorage(static_cast<std::int32_t>(size));
  if (Count() != size) {
    Reset();
    return true;
  }
  rows_ = rows;
  columns_ = columns;
  kind_ = kind;
  return true;
}

void ZRTMatrix::SwapAll(ZRTMatrix& other) noexcept {
  SwapStorage(other);
  SwapDimensions(other);
  rowStart_.Swap(other.rowStart_);
  std::swap(kind_, other.kind_);
}

void ZRTMatrix::Swap(ZRTMatrix& other) {
  if (&other != this) SwapAll(other);
}

void ZRTMatrix::Take(ZRTMatrix& other) {
  if (&other == this) return;
  SwapAll(other);
  other.Reset();
}

void ZRTMatrix::Transpose() {
  switch (kind_) {
    case MatrixKind::Row:
    case MatrixKind::Column:
      // The values read the same either way.
      kind_ = kind_ == MatrixKind::Row ? MatrixKind::Column : MatrixKind::Row;
      std::swap(rows_, columns_);
      break;
    case MatrixKind::DenseRectangular:
    case MatrixKind::DenseSquare: {
      ZRTMatrix transposed(columns_, rows_);
      if (transposed.Count() != Count()) {
        Reset();
        return;
      }
      for (std::int32_t i = 0; i < rows_; ++i)
        for (std::int32_t j = 0; j < columns_; ++j)
          transposed.Data()[j * rows_ + i] = Data()[i * columns_ + j];
      Take(transposed);
      break;
    }
    case MatrixKind::LowerTriangular:
      // The two packings are transposes of each other.
      kind_ = MatrixKind::UpperTriangular;
      break;
    case MatrixKind::UpperTriangular:
      kind_ = MatrixKind::LowerTriangular;
      break;
    default:  // scalar, diagonal and symmetric are their own transposes
      break;
  }
}

void ZRTMatrix::Negate() noexcept {
  double* v = Data();
  for (std::int32_t k = 0, n = Count(); k < n; ++k) v[k] = -v[k];
}

double ZRTMatrix::ValueAt(std::int32_t i, std::int32_t j) const noexcept {
  const double* v = Data();
  switch (kind_) {
    case MatrixKind::Scalar:
      return i == j ? v[0] : 0.0;
    case MatrixKind::Diagonal:
      return i == j ? v[i] : 0.0;
    case MatrixKind::Symmetric:
      return j <= i ? v[RowStart(i) + j] : v[RowStart(j) + i];
    case MatrixKind::LowerTriangular:
      return j <= i ? v[RowStart(i) + j] : 0.0;
    case MatrixKind::UpperTriangular:
      return i <= j ? v[RowStart(j) + i] : 0.0;
    default:  // dense kinds: row by row
      return v[i * columns_ + j];
  }
}

double& ZRTMatrix::RejectIndex() {
  RaiseAndReport(ZRTObjects::kObjectLabel, "Índice inválido",
                 ErrorCategory::OutOfRange);
  return spare_;
}

}  // namespace ZRTMatrixSys
