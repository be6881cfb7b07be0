// The kinds of file a conversion reads and writes.
#pragma once

namespace transref {

// Item positions of the file-kind lists of the main window.
enum class FileKind : int { Ascii3D = 0, Ascii2D = 1, Dxf = 2 };

}  // namespace transref
