// Splitting a path into folder, name and extension, and shortening a long
// path for display.  Both '/' and '\\' separate path components.
#pragma once

#include <cstdint>
#include <string_view>

#include "support/ZRTStrings.h"

namespace transref {

using ZRTPrimitiveSys::ZRTStrings;

// The folder with its trailing separator ("C:\\dados\\" of
// "C:\\dados\\pontos.txt"); empty when the path has no separator.
ZRTStrings ExtractFilePath(std::string_view path);
// The last component ("pontos.txt"); the whole path when it has no separator.
ZRTStrings ExtractFileName(std::string_view path);
// The file name from its first full stop on (".txt", ".tar.gz"); empty when
// the name has no full stop.
ZRTStrings ExtractExtension(std::string_view path);
// The path itself when shorter than limit; otherwise drive + separator +
// first folder + "\\...\\" + last folder + separator + name, or, when that
// is not shorter than limit, drive + "\\...\\" + last folder + separator +
// name (the separator of the path is used in the gap).
ZRTStrings ShortenPathForDisplay(std::string_view path, std::int32_t limit);

// The same on ZRTStrings; a text without storage gives the empty text.
inline ZRTStrings ExtractFilePath(const ZRTStrings& path) { return ExtractFilePath(path.View()); }
inline ZRTStrings ExtractFileName(const ZRTStrings& path) { return ExtractFileName(path.View()); }
inline ZRTStrings ExtractExtension(const ZRTStrings& path) { return ExtractExtension(path.View()); }
inline ZRTStrings ShortenPathForDisplay(const ZRTStrings& path, std::int32_t limit) {
  return ShortenPathForDisplay(path.View(), limit);
}
inline ZRTStrings ExtractFilePath(const char* path) { return ExtractFilePath(std::string_view(path ? path : "")); }
inline ZRTStrings ExtractFileName(const char* path) { return ExtractFileName(std::string_view(path ? path : "")); }
inline ZRTStrings ExtractExtension(const char* path) { return ExtractExtension(std::string_view(path ? path : "")); }
inline ZRTStrings ShortenPathForDisplay(const char* path, std::int32_t limit) {
  return ShortenPathForDisplay(std::string_view(path ? path : ""), limit);
}

}  // namespace transref
