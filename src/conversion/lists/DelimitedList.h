// Reading and writing delimited point files line by line, in the layout
// DelimitedLayout describes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"
#include "support/TextFile.h"

namespace transref {

// The input as the delimited reader takes it: UTF-8 or Windows-1252 bytes
// with LF or CR LF line ends. A UTF-16 file or one with CR line ends is
// turned into such a copy (an unnamed temporary file, never held in
// memory) when opened; everything else is read in place.
class DelimitedSource {
 public:
  // Looks at the start of `input` (from its current position), prepares the
  // copy when needed, keeps up to kSampleLines lines for detection and goes
  // back to the start. Check Error() afterwards.
  explicit DelimitedSource(TextFile& input);
  ~DelimitedSource();
  DelimitedSource(const DelimitedSource&) = delete;
  DelimitedSource& operator=(const DelimitedSource&) = delete;

  static constexpr std::size_t kSampleLines = 20;

  // Empty when the file can be read; else a Portuguese reason.
  const std::string& Error() const { return error_; }
  TextFormat Format() const { return format_; }
  const std::vector<std::string>& Sample() const { return sample_; }
  // The lines to read (the input itself or the prepared copy).
  TextFile& Lines() { return copy_ ? *copy_ : input_; }

 private:
  TextFile& input_;
  std::unique_ptr<TextFile> copy_;
  TextFormat format_;
  std::vector<std::string> sample_;
  std::string error_;
};

// One data line split and read.
struct DelimitedRow {
  std::vector<Field> fields;
  std::string storage;     // values of quoted fields
  int idField = -1;        // index in fields, -1 without an ID column
  int coordinateField[3] = {-1, -1, -1};
  double values[3] = {0.0, 0.0, 0.0};
  bool hasHeight = false;
  bool commaSeen = false, pointSeen = false;  // decimal marks of its numbers
};

// Splits `line` and reads its coordinates (the input system says whether
// they are angles). On failure gives false and `problem`, the Portuguese
// detail (how many fields with which separator, or which value is not a
// coordinate); `notANumber` then holds the offending value, or is empty for
// a field count problem (`expectedFields` set).
bool ReadDelimitedRow(std::string_view line, const DelimitedLayout& layout, CoordinateSystemKind inputSystem,
                      DelimitedRow& row, std::string& problem, std::string& notANumber, int& expectedFields);

// Output texts (the caller adds the line end).
struct DelimitedWriting {
  const DelimitedLayout* layout = nullptr;  // the input's layout, kept
  CoordinateSystemKind outputSystem = CoordinateSystemKind::Utm;
  bool geometricHeight = false;
  bool sexagesimal = false;  // geographic output in degrees, minutes and seconds
};
// The data line with its coordinates replaced by `values`, everything else
// as read.
void AppendDelimitedRow(std::string& out, std::string_view line, const DelimitedRow& row, const double values[3],
                        const DelimitedWriting& writing);
// One coordinate as the layout writes it (decimal mark, sexagesimal
// geographic output when asked; `axis` 0, 1, 2 for C1, C2, C3).
void AppendDelimitedCoordinate(std::string& out, double value, int axis, const DelimitedWriting& writing,
                               bool quoted);
// A text field, quoted (with "" inside) only when it must be to read back
// as the same text.
void AppendDelimitedText(std::string& out, std::string_view text, char separator);
// The header line with the coordinate names of the output system.
void AppendDelimitedHeader(std::string& out, std::string_view line, const DelimitedWriting& writing);
// 51°12'30.50000"W in the encoding of the layout (seconds with 5 decimals).
void AppendSexagesimal(std::string& out, double degrees, bool longitude, char decimalMark, bool windows1252);

// Writes lines in an encoding and line end (the byte-order mark first when
// the encoding has one).
class DelimitedLineWriter {
 public:
  DelimitedLineWriter(TextFile& output, TextEncoding encoding, LineEnd lineEnd);
  ~DelimitedLineWriter();
  bool Begin();
  bool WriteLine(std::string_view text);

 private:
  TextFile& output_;
  TextEncoding encoding_;
  std::string_view lineEnd_;
  std::string buffer_;
  struct Utf16;
  std::unique_ptr<Utf16> utf16_;
};

// The first lines of a file as the layout dialog previews them.
struct DelimitedPreview {
  std::string error;                    // the file cannot be read or its layout not told
  std::optional<DelimitedLayout> layout;  // detected, or as the options give it
  std::vector<std::string> lines;        // up to 20, decoded to UTF-8
  std::vector<std::vector<std::string>> values;  // each line's field values, UTF-8 (empty for comments)
};
DelimitedPreview PreviewDelimitedFile(const std::string& path, CoordinateSystemKind inputSystem,
                                      const DelimitedOptions& options);

}  // namespace transref
