#include "conversion/lists/DelimitedLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "conversion/lists/Transcoder.h"
#include "support/Numbers.h"

namespace transref {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Candidate separators, in the order that wins a tie.
constexpr std::array<char, 4> kSeparators = {';', '\t', ',', kBlankSeparator};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

struct NamedRole {
  std::string_view name;
  ColumnRole role;
};

// Header names, lower case without accents, blanks or punctuation.
constexpr std::array kHeaderNames = {
    NamedRole{"ponto", ColumnRole::Id},      NamedRole{"pto", ColumnRole::Id},
    NamedRole{"pt", ColumnRole::Id},         NamedRole{"id", ColumnRole::Id},
    NamedRole{"nome", ColumnRole::Id},       NamedRole{"name", ColumnRole::Id},
    NamedRole{"point", ColumnRole::Id},      NamedRole{"pointid", ColumnRole::Id},
    NamedRole{"estacao", ColumnRole::Id},    NamedRole{"marco", ColumnRole::Id},
    NamedRole{"vertice", ColumnRole::Id},    NamedRole{"numero", ColumnRole::Id},
    NamedRole{"e", ColumnRole::C1},          NamedRole{"este", ColumnRole::C1},
    NamedRole{"leste", ColumnRole::C1},      NamedRole{"x", ColumnRole::C1},
    NamedRole{"easting", ColumnRole::C1},    NamedRole{"east", ColumnRole::C1},
    NamedRole{"lon", ColumnRole::C1},        NamedRole{"long", ColumnRole::C1},
    NamedRole{"longitude", ColumnRole::C1},  NamedRole{"lng", ColumnRole::C1},
    NamedRole{"n", ColumnRole::C2},          NamedRole{"norte", ColumnRole::C2},
    NamedRole{"y", ColumnRole::C2},          NamedRole{"northing", ColumnRole::C2},
    NamedRole{"north", ColumnRole::C2},      NamedRole{"lat", ColumnRole::C2},
    NamedRole{"latitude", ColumnRole::C2},   NamedRole{"h", ColumnRole::C3},
    NamedRole{"cota", ColumnRole::C3},       NamedRole{"altitude", ColumnRole::C3},
    NamedRole{"z", ColumnRole::C3},          NamedRole{"elev", ColumnRole::C3},
    NamedRole{"elevation", ColumnRole::C3},  NamedRole{"elevacao", ColumnRole::C3},
    NamedRole{"alt", ColumnRole::C3},        NamedRole{"altura", ColumnRole::C3},
    NamedRole{"height", ColumnRole::C3},
};

// Lower case ASCII letters and digits of a UTF-8 name, accented Latin
// letters without their accents, anything in parentheses (a unit) dropped.
std::string FoldName(std::string_view name) {
  std::string folded;
  int depth = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == '(' || c == '[') ++depth;
    if (c == ')' || c == ']') { depth = std::max(0, depth - 1); continue; }
    if (depth > 0) continue;
    if (c >= 'A' && c <= 'Z') folded += static_cast<char>(c - 'A' + 'a');
    else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) folded += static_cast<char>(c);
    else if (c == 0xC3 && i + 1 < name.size()) {
      // Latin-1 letters U+00C0..U+00FF; upper and lower case differ by 0x20.
      const unsigned char d = static_cast<unsigned char>(name[++i]) & ~0x20;
      if (d >= 0x80 && d <= 0x85) folded += 'a';
      else if (d == 0x87) folded += 'c';
      else if (d >= 0x88 && d <= 0x8B) folded += 'e';
      else if (d >= 0x8C && d <= 0x8F) folded += 'i';
      else if (d >= 0x92 && d <= 0x96) folded += 'o';
      else if (d >= 0x99 && d <= 0x9C) folded += 'u';
    }
  }
  return folded;
}

bool IsPlainNumber(std::string_view value, bool commaToo) {
  value = Trim(value);
  const DecimalNumber number = ScanDecimalNumber(value, commaToo);
  return number.length > 0 && number.length == value.size();
}

struct Sample {
  std::vector<std::vector<Field>> lines;  // data and header lines, comments skipped
  std::vector<std::string> storage;
};

Sample SplitSample(const std::vector<std::string>& lines, char separator) {
  Sample sample;
  sample.storage.resize(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (IsBlankOrComment(lines[k])) continue;
    std::vector<Field> fields;
    if (!SplitFields(lines[k], separator, fields, sample.storage[k])) continue;
    sample.lines.push_back(std::move(fields));
  }
  return sample;
}

// How well a separator splits the sample: numbers found, lines of two or
// more fields, lines whose count differs from the first line's.
int SeparatorScore(const Sample& sample, char separator) {
  int score = 0;
  const std::size_t first = sample.lines.empty() ? 0 : sample.lines.back().size();
  for (const std::vector<Field>& fields : sample.lines) {
    if (fields.size() >= 2) ++score;
    if (fields.size() != first) score -= 2;
    for (const Field& field : fields) {
      if (IsPlainNumber(field.value, separator != ',')) score += 4;
    }
  }
  return score;
}

bool SplitsRegularly(const Sample& sample) {
  if (sample.lines.empty() || sample.lines.front().size() < 2) return false;
  for (const std::vector<Field>& fields : sample.lines) {
    if (fields.size() != sample.lines.front().size()) return false;
  }
  return true;
}

bool IsHeaderLine(const std::vector<Field>& fields, TextEncoding encoding, char separator) {
  int coordinates = 0;
  for (const Field& field : fields) {
    if (IsPlainNumber(field.value, separator != ',')) return false;
    const std::optional<ColumnRole> role = RoleOfHeaderName(DecodeToUtf8(field.value, encoding));
    if (role && *role != ColumnRole::Id && *role != ColumnRole::Carried) ++coordinates;
  }
  return coordinates >= 2;
}

std::vector<ColumnRole> ColumnsFromHeader(const std::vector<Field>& fields, TextEncoding encoding) {
  std::vector<ColumnRole> columns;
  std::array<bool, 4> taken{};
  for (const Field& field : fields) {
    std::optional<ColumnRole> role = RoleOfHeaderName(DecodeToUtf8(field.value, encoding));
    ColumnRole chosen = ColumnRole::Carried;
    if (role && *role != ColumnRole::Carried && !taken[static_cast<int>(*role)]) {
      chosen = *role;
      taken[static_cast<int>(chosen)] = true;
    }
    columns.push_back(chosen);
  }
  // No column named as the ID: the first other column before the
  // coordinates is taken for it ("Código;E;N").
  if (!taken[static_cast<int>(ColumnRole::Id)] && !columns.empty() && columns.front() == ColumnRole::Carried) {
    columns.front() = ColumnRole::Id;
  }
  return columns;
}

std::vector<ColumnRole> ColumnsInOrder(const std::vector<Field>& fields, char separator) {
  if (fields.size() == 2) return {ColumnRole::C1, ColumnRole::C2};
  std::vector<ColumnRole> columns = {ColumnRole::Id, ColumnRole::C1, ColumnRole::C2};
  if (fields.size() > 3 && IsPlainNumber(fields[3].value, separator != ',')) columns.push_back(ColumnRole::C3);
  return columns;
}

}  // namespace

TextFormat DetectTextFormat(std::string_view bytes) {
  TextFormat format;
  if (bytes.starts_with(kUtf8Mark)) {
    format.encoding = TextEncoding::Utf8Bom;
  } else if (bytes.starts_with(kUtf16LEMark)) {
    format.encoding = TextEncoding::Utf16LE;
  } else if (bytes.starts_with(kUtf16BEMark)) {
    format.encoding = TextEncoding::Utf16BE;
  } else {
    // Valid UTF-8 as far as read (a character cut at the end is no fault).
    Transcoder check("UTF-8", "UTF-8");
    std::string ignored;
    check.Convert(bytes, ignored, false, "");
    format.encoding = check.InvalidBytes() == 0 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
  }
  // The first line end; in UTF-16 a code unit's zero byte may sit between.
  const std::size_t at = bytes.find_first_of("\r\n");
  if (at != std::string_view::npos && bytes[at] == '\r') {
    std::size_t next = at + 1;
    if (next < bytes.size() && bytes[next] == '\0') ++next;
    if (next < bytes.size() && bytes[next] == '\0') ++next;
    format.lineEnd = next < bytes.size() && bytes[next] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
    // UTF-16 big-endian writes the zero byte first: "\0\r\0\n".
    if (format.encoding == TextEncoding::Utf16BE && at + 2 < bytes.size() && bytes[at + 2] == '\n') {
      format.lineEnd = LineEnd::CrLf;
    }
  }
  return format;
}

std::string_view ByteOrderMark(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom: return kUtf8Mark;
    case TextEncoding::Utf16LE: return kUtf16LEMark;
    case TextEncoding::Utf16BE: return kUtf16BEMark;
    default: return {};
  }
}

std::string_view LineEndText(LineEnd lineEnd) {
  switch (lineEnd) {
    case LineEnd::CrLf: return "\r\n";
    case LineEnd::Cr: return "\r";
    default: return "\n";
  }
}

bool IsBlankOrComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == '#' || line.starts_with("//");
}

namespace {

// The usual line: a one-byte separator and no quoted field. Each field is
// found with memchr and trimmed of blanks, as the general loop below does.
// False, as soon as a field opens with a quote (after its blanks), for the
// general loop to split the line.
bool SplitUnquoted(std::string_view line, char separator, std::vector<Field>& fields) {
  const char* const data = line.data();
  const std::size_t n = line.size();
  std::size_t start = 0;
  for (;;) {
    const void* hit = n > start ? std::memchr(data + start, separator, n - start) : nullptr;
    const std::size_t stop = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : n;
    std::size_t b = start, e = stop;
    while (b < e && IsBlank(data[b])) ++b;
    if (b < e && data[b] == '"') return false;
    while (e > b && IsBlank(data[e - 1])) --e;
    Field& field = fields.emplace_back();
    field.begin = b;
    field.end = e;
    field.value = std::string_view(data + b, e - b);
    if (!hit) return true;
    start = stop + 1;
  }
}

}  // namespace

bool SplitFields(std::string_view line, char separator, std::vector<Field>& fields, std::string& storage) {
  fields.clear();
  storage.clear();
  if (separator != kBlankSeparator) {
    if (SplitUnquoted(line, separator, fields)) return true;
    fields.clear();
  }
  // Quoted values are gathered first and viewed afterwards: the storage
  // must not move while views into it are handed out.
  std::vector<std::pair<std::size_t, std::size_t>> quotedSpans;
  const bool blanks = separator == kBlankSeparator;
  std::size_t i = 0;
  const std::size_t n = line.size();
  if (blanks) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) return true;
  }
  for (;;) {
    const std::size_t start = i;
    while (i < n && IsBlank(line[i]) && !blanks) ++i;
    Field field;
    if (i < n && line[i] == '"') {
      field.quoted = true;
      field.begin = i;
      const std::size_t valueStart = storage.size();
      ++i;
      bool closed = false;
      while (i < n) {
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            storage += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        storage += line[i++];
      }
      if (!closed) return false;
      field.end = i;
      quotedSpans.emplace_back(valueStart, storage.size() - valueStart);
      while (i < n && IsBlank(line[i]) && !(blanks)) ++i;
      // Anything after the closing quote and before the separator stays in
      // the raw field; the value is the quoted text.
      while (i < n && line[i] != separator && !(blanks && IsBlank(line[i]))) ++i;
    } else {
      while (i < n && line[i] != separator && !(blanks && IsBlank(line[i]))) ++i;
      std::size_t b = start, e = i;
      while (b < e && IsBlank(line[b])) ++b;
      while (e > b && IsBlank(line[e - 1])) --e;
      field.begin = b;
      field.end = e;
      field.value = line.substr(b, e - b);
    }
    fields.push_back(field);
    if (i >= n) break;
    if (blanks) {
      while (i < n && IsBlank(line[i])) ++i;
      if (i == n) break;
    } else {
      ++i;  // the separator
    }
  }
  std::size_t q = 0;
  for (Field& field : fields) {
    if (!field.quoted) continue;
    field.value = std::string_view(storage).substr(quotedSpans[q].first, quotedSpans[q].second);
    ++q;
  }
  return true;
}

std::optional<ColumnRole> RoleOfHeaderName(std::string_view name) {
  const std::string folded = FoldName(name);
  for (const NamedRole& entry : kHeaderNames) {
    if (entry.name == folded) return entry.role;
  }
  return std::nullopt;
}

LayoutDetection DetectLayout(const std::vector<std::string>& firstLines, TextFormat format,
                             CoordinateSystemKind inputSystem, const DelimitedOptions& options) {
  (void)inputSystem;
  DelimitedLayout layout;
  layout.encoding = format.encoding;
  layout.lineEnd = format.lineEnd;

  // The separator that splits the sample best.
  if (options.separator) {
    layout.separator = *options.separator;
  } else {
    // A separator that splits every line into the same two or more fields
    // comes before one that does not (blanks inside tab-separated values,
    // "-29 58 12.25", must not make blanks the separator); the score
    // decides among the rest.
    std::pair<bool, int> best{false, -1000000};
    for (const char candidate : kSeparators) {
      const Sample split = SplitSample(firstLines, candidate);
      const std::pair<bool, int> rank{SplitsRegularly(split), SeparatorScore(split, candidate)};
      if (rank > best) {
        best = rank;
        layout.separator = candidate;
      }
    }
  }
  const Sample sample = SplitSample(firstLines, layout.separator);
  if (sample.lines.empty()) return {std::nullopt, "o arquivo não tem nenhuma linha de pontos"};

  // The decimal mark most numbers use.
  int commas = 0, points = 0;
  if (layout.separator != ',') {
    for (const std::vector<Field>& fields : sample.lines) {
      for (const Field& field : fields) {
        const DecimalNumber number = ScanDecimalNumber(Trim(field.value), true);
        if (number.length == 0 || number.length != Trim(field.value).size() ||
            number.markAt == std::string_view::npos) {
          continue;
        }
        (Trim(field.value)[number.markAt] == ',' ? commas : points) += 1;
      }
    }
  }
  layout.decimalMark = commas > points ? ',' : '.';
  if (options.decimalMark && layout.separator != ',') layout.decimalMark = *options.decimalMark;

  const std::vector<Field>& first = sample.lines.front();
  layout.header = options.header.value_or(IsHeaderLine(first, layout.encoding, layout.separator));
  if (!options.columns.empty()) {
    layout.columns = options.columns;
  } else if (layout.header) {
    layout.columns = ColumnsFromHeader(first, layout.encoding);
  } else {
    layout.columns = ColumnsInOrder(first, layout.separator);
  }
  const bool hasC1 = std::find(layout.columns.begin(), layout.columns.end(), ColumnRole::C1) != layout.columns.end();
  const bool hasC2 = std::find(layout.columns.begin(), layout.columns.end(), ColumnRole::C2) != layout.columns.end();
  if (!hasC1 || !hasC2) {
    return {std::nullopt,
            layout.header ? "o cabeçalho não nomeia as duas coordenadas horizontais (use --columns)"
                          : "as linhas não têm as duas coordenadas horizontais"};
  }
  return {layout, {}};
}

std::string ColumnRolesProblem(const std::vector<ColumnRole>& columns, CoordinateSystemKind inputSystem) {
  std::array<int, 4> count{};
  for (const ColumnRole role : columns) {
    if (role != ColumnRole::Carried) ++count[static_cast<std::size_t>(role)];
  }
  auto name = [inputSystem](ColumnRole role) {
    return role == ColumnRole::Id ? std::string("ID") : std::string(CoordinateHeaderName(role, inputSystem, false));
  };
  for (const ColumnRole role : {ColumnRole::Id, ColumnRole::C1, ColumnRole::C2, ColumnRole::C3}) {
    if (count[static_cast<std::size_t>(role)] > 1) return "a coluna " + name(role) + " foi escolhida mais de uma vez";
  }
  for (const ColumnRole role : {ColumnRole::C1, ColumnRole::C2}) {
    if (count[static_cast<std::size_t>(role)] == 0) return "escolha a coluna " + name(role);
  }
  return {};
}

std::optional<std::vector<ColumnRole>> ParseColumnsText(std::string_view text) {
  std::vector<ColumnRole> columns;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = FoldName(Trim(text.substr(start, comma - start)));
    const std::string_view raw = Trim(text.substr(start, comma - start));
    ColumnRole role;
    if (raw == "-") role = ColumnRole::Carried;
    else if (name == "id") role = ColumnRole::Id;
    else if (name == "e" || name == "lon" || name == "x") role = ColumnRole::C1;
    else if (name == "n" || name == "lat" || name == "y") role = ColumnRole::C2;
    else if (name == "h" || name == "z") role = ColumnRole::C3;
    else return std::nullopt;
    columns.push_back(role);
    start = comma + 1;
  }
  if (!ColumnRolesProblem(columns, CoordinateSystemKind::Utm).empty()) return std::nullopt;
  return columns;
}

std::optional<char> ParseSeparatorName(std::string_view text) {
  if (text == ";" || text == ",") return text.front();
  if (text == "tab" || text == "\t") return '\t';
  if (text == "blank" || text == " ") return kBlankSeparator;
  return std::nullopt;
}

std::string_view CoordinateHeaderName(ColumnRole role, CoordinateSystemKind system, bool geometricHeight) {
  const SystemFamily family = FamilyOf(system);
  switch (role) {
    case ColumnRole::C1:
      return family == SystemFamily::Projected ? "E" : family == SystemFamily::Geographic ? "Longitude" : "X";
    case ColumnRole::C2:
      return family == SystemFamily::Projected ? "N" : family == SystemFamily::Geographic ? "Latitude" : "Y";
    case ColumnRole::C3:
      if (family == SystemFamily::Cartesian) return "Z";
      return geometricHeight || family == SystemFamily::Geographic ? "h" : "H";
    default:
      return {};
  }
}

std::string LayoutSummary(const DelimitedLayout& layout, CoordinateSystemKind inputSystem) {
  std::string text = "leiaute: separador ";
  switch (layout.separator) {
    case '\t': text += "tabulação"; break;
    case kBlankSeparator: text += "espaços"; break;
    default: text += "\""; text += layout.separator; text += "\"";
  }
  text += layout.decimalMark == ',' ? ", vírgula decimal" : ", ponto decimal";
  text += layout.header ? ", com cabeçalho" : ", sem cabeçalho";
  text += ", colunas ";
  const SystemFamily family = FamilyOf(inputSystem);
  for (std::size_t k = 0; k < layout.columns.size(); ++k) {
    if (k > 0) text += ',';
    switch (layout.columns[k]) {
      case ColumnRole::Id: text += "id"; break;
      case ColumnRole::C1: text += family == SystemFamily::Projected ? "e" : family == SystemFamily::Geographic ? "lon" : "x"; break;
      case ColumnRole::C2: text += family == SystemFamily::Projected ? "n" : family == SystemFamily::Geographic ? "lat" : "y"; break;
      case ColumnRole::C3: text += family == SystemFamily::Cartesian ? "z" : "h"; break;
      case ColumnRole::Carried: text += "-"; break;
    }
  }
  switch (layout.encoding) {
    case TextEncoding::Utf8: text += ", UTF-8"; break;
    case TextEncoding::Utf8Bom: text += ", UTF-8 com BOM"; break;
    case TextEncoding::Utf16LE: text += ", UTF-16 LE"; break;
    case TextEncoding::Utf16BE: text += ", UTF-16 BE"; break;
    case TextEncoding::Windows1252: text += ", Windows-1252"; break;
  }
  text += layout.lineEnd == LineEnd::CrLf ? ", fim de linha CR LF" : layout.lineEnd == LineEnd::Cr ? ", fim de linha CR" : ", fim de linha LF";
  return text;
}

std::string DecodeToUtf8(std::string_view text, TextEncoding encoding) {
  // UTF-16 files are read as UTF-8 (turned so when opened).
  const char* from = encoding == TextEncoding::Windows1252 ? "WINDOWS-1252" : "UTF-8";
  return TranscodeText(text, "UTF-8", from, kReplacement);
}

}  // namespace transref
