// The lines of a drawing as pairs of a group-code line and a value line
// (tags), and the buffer that holds one record (an entity with its
// vertices or attributes, a table entry, a header variable) while it is
// converted. Every line keeps its text exactly as read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Bytes.h"
#include "support/TextFile.h"

namespace transref::dxf {

// Where the walk's lines come from: a file, or memory (tests, fuzzing).
class LineSource {
 public:
  virtual ~LineSource() = default;
  // As TextFile::ReadLine: the view is valid until the next call.
  virtual TextFile::LineRead ReadLine(std::string_view& line) = 0;
  virtual bool AtEnd() = 0;
  // Bytes consumed so far (for the progress gauge).
  virtual std::int64_t Position() const = 0;
};

// Where the walk's lines go: every line is written followed by "\n".
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void WriteLine(std::string_view line) = 0;
  virtual void Write(std::string_view text) = 0;  // a list line, line end included
  virtual bool Failed() const = 0;
  // A code line and its value line.
  virtual void WriteTag(std::string_view code, std::string_view value) {
    WriteLine(code);
    WriteLine(value);
  }
};

class FileLineSource final : public LineSource {
 public:
  explicit FileLineSource(TextFile& file) : file_(file) {}
  TextFile::LineRead ReadLine(std::string_view& line) override { return file_.ReadLine(line); }
  bool AtEnd() override { return file_.AtEnd(); }
  std::int64_t Position() const override { return file_.Position(); }

 private:
  TextFile& file_;
};

class FileLineSink final : public LineSink {
 public:
  explicit FileLineSink(TextFile& file) : file_(file) {}
  void WriteLine(std::string_view line) override { file_.WriteLine(line); }
  void Write(std::string_view text) override { file_.Write(text); }
  bool Failed() const override { return file_.HasWriteError(); }
  void WriteTag(std::string_view code, std::string_view value) override;

 private:
  TextFile& file_;
};

// Lines of a text in memory, split as TextFile splits them (a line feed
// ends a line, one carriage return before it is dropped, a line longer
// than TextFile::kMaxLineLength is refused).
class MemoryLineSource final : public LineSource {
 public:
  explicit MemoryLineSource(std::string_view text) : text_(text) {}
  TextFile::LineRead ReadLine(std::string_view& line) override;
  bool AtEnd() override { return at_ >= text_.size(); }
  std::int64_t Position() const override { return static_cast<std::int64_t>(at_); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// Collects the written lines in memory.
class StringLineSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override {
    text.append(line);
    text.push_back('\n');
  }
  void Write(std::string_view line) override { text.append(line); }
  bool Failed() const override { return false; }
  std::string text;
};

// The code of a line that holds no integer.
inline constexpr int kNoCode = -1000000;

// The integer written on a group-code line, blanks around it ignored; kNoCode
// when the line is not one.
int GroupCodeOf(std::string_view line);

struct Tag {
  int code = kNoCode;
  std::int64_t line = 0;  // 1-based number of the code line in the file
  std::uint32_t codeAt = 0, codeLength = 0;
  std::uint32_t valueAt = 0, valueLength = 0;
  std::int32_t replacement = -1;  // index of the new value text, or -1: as read
  bool hasValue = true;           // false for a code line the file ends on
};

// One record's tags with the text of their lines, and the values the
// conversion writes instead of some of them. Cleared and reused record after
// record: once its storage has grown to the largest record, converting
// another one allocates nothing.
class Record {
 public:
  void Clear() {
    text_.Clear();
    tags_.clear();
    replacements_.Clear();
    replacementEnds_.clear();
    insertions_.clear();
    insertedText_.Clear();
  }
  void Add(int code, std::string_view codeLine, std::string_view valueLine, std::int64_t line, bool hasValue);
  std::size_t Size() const { return tags_.size(); }
  bool Empty() const { return tags_.empty(); }
  const Tag& operator[](std::size_t i) const { return tags_[i]; }
  std::string_view CodeLine(std::size_t i) const { return {text_.Data() + tags_[i].codeAt, tags_[i].codeLength}; }
  std::string_view Value(std::size_t i) const { return {text_.Data() + tags_[i].valueAt, tags_[i].valueLength}; }
  // The value without blanks around it (for names and markers).
  std::string_view TrimmedValue(std::size_t i) const;
  // Writes `text` instead of the value of tag i.
  void Replace(std::size_t i, std::string_view text);
  std::string_view Replacement(std::size_t i) const;
  // Writes the tag (`codeLine`, `value`) just before tag i (i == Size():
  // after the last), after the tags inserted there before it.
  void Insert(std::size_t before, std::string_view codeLine, std::string_view value);
  // Writes every line: code lines as read, values as read or replaced, and
  // the inserted tags in their places.
  void WriteTo(LineSink& sink) const;

 private:
  ByteBuffer text_;
  std::vector<Tag> tags_;
  ByteBuffer replacements_;
  std::vector<std::uint32_t> replacementEnds_;
  // Added tags, ordered by `before`, and their texts.
  struct Insertion {
    std::size_t before;
    std::uint32_t codeAt, codeLength, valueAt, valueLength;
  };
  std::vector<Insertion> insertions_;
  ByteBuffer insertedText_;
};

// The UTF-8 byte-order mark a drawing may start with.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace transref::dxf
