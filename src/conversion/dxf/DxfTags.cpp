#include "conversion/dxf/DxfTags.h"

#include <charconv>

namespace transref::dxf {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

TextFile::LineRead MemoryLineSource::ReadLine(std::string_view& line) {
  line = {};
  if (at_ >= text_.size()) return TextFile::LineRead::End;
  std::size_t end = text_.find('\n', at_);
  const bool lineFeed = end != std::string_view::npos;
  if (!lineFeed) end = text_.size();
  std::size_t length = end - at_;
  if (lineFeed && length > 0 && text_[end - 1] == '\r') --length;
  const std::size_t start = at_;
  at_ = lineFeed ? end + 1 : end;
  if (length > TextFile::kMaxLineLength) return TextFile::LineRead::TooLong;
  line = text_.substr(start, length);
  return TextFile::LineRead::Line;
}

void FileLineSink::WriteTag(std::string_view code, std::string_view value) { file_.WriteLines(code, value); }

int GroupCodeOf(std::string_view line) {
  // The common forms ("  0", " 10", "100", "1001") read digit by digit.
  std::size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  if (i < line.size() && line.size() - i <= 6) {
    int code = 0;
    std::size_t j = i;
    while (j < line.size() && line[j] >= '0' && line[j] <= '9') code = code * 10 + (line[j++] - '0');
    if (j == line.size() && j > i) return code;
  }
  line = TrimBlanks(line);
  if (line.empty()) return kNoCode;
  int code = 0;
  const auto parsed = std::from_chars(line.data(), line.data() + line.size(), code);
  if (parsed.ec != std::errc() || parsed.ptr != line.data() + line.size()) return kNoCode;
  return code;
}

void Record::Add(int code, std::string_view codeLine, std::string_view valueLine, std::int64_t line,
                 bool hasValue) {
  Tag tag;
  tag.code = code;
  tag.line = line;
  tag.hasValue = hasValue;
  tag.codeAt = static_cast<std::uint32_t>(text_.Append(codeLine));
  tag.codeLength = static_cast<std::uint32_t>(codeLine.size());
  tag.valueAt = static_cast<std::uint32_t>(text_.Append(valueLine));
  tag.valueLength = static_cast<std::uint32_t>(valueLine.size());
  tags_.push_back(tag);
}

std::string_view Record::TrimmedValue(std::size_t i) const { return TrimBlanks(Value(i)); }

void Record::Replace(std::size_t i, std::string_view text) {
  replacements_.Append(text);
  replacementEnds_.push_back(static_cast<std::uint32_t>(replacements_.Size()));
  tags_[i].replacement = static_cast<std::int32_t>(replacementEnds_.size() - 1);
}

std::string_view Record::Replacement(std::size_t i) const {
  const std::int32_t k = tags_[i].replacement;
  if (k < 0) return Value(i);
  const std::uint32_t begin = k == 0 ? 0 : replacementEnds_[static_cast<std::size_t>(k) - 1];
  return {replacements_.Data() + begin, replacementEnds_[static_cast<std::size_t>(k)] - begin};
}

void Record::Insert(std::size_t before, std::string_view codeLine, std::string_view value) {
  Insertion added;
  added.before = before;
  added.codeAt = static_cast<std::uint32_t>(insertedText_.Append(codeLine));
  added.codeLength = static_cast<std::uint32_t>(codeLine.size());
  added.valueAt = static_cast<std::uint32_t>(insertedText_.Append(value));
  added.valueLength = static_cast<std::uint32_t>(value.size());
  auto at = insertions_.end();
  while (at != insertions_.begin() && (at - 1)->before > before) --at;
  insertions_.insert(at, added);
}

void Record::WriteTo(LineSink& sink) const {
  std::size_t next = 0;  // the next insertion to write
  for (std::size_t i = 0; i <= tags_.size(); ++i) {
    for (; next < insertions_.size() && insertions_[next].before == i; ++next) {
      const Insertion& added = insertions_[next];
      sink.WriteTag({insertedText_.Data() + added.codeAt, added.codeLength},
                    {insertedText_.Data() + added.valueAt, added.valueLength});
    }
    if (i == tags_.size()) break;
    if (tags_[i].hasValue) {
      sink.WriteTag(CodeLine(i), Replacement(i));
    } else {
      sink.WriteLine(CodeLine(i));
    }
  }
}

}  // namespace transref::dxf
