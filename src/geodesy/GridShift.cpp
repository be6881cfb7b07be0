#include "geodesy/GridShift.h"

#include <dlfcn.h>
#include <proj.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <type_traits>

#include "geodesy/Ellipsoid.h"
#include "support/Numbers.h"

namespace transref {
namespace {

namespace fs = std::filesystem;

// NTv2: an overview header and, per subgrid, a subgrid header of eleven
// 16-byte records (an 8-byte key and an 8-byte value), then the subgrid's
// nodes of four 4-byte floats each.
constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kHeaderRecords = 11;
constexpr std::size_t kHeaderSize = kRecordSize * kHeaderRecords;
constexpr std::size_t kNodeSize = 16;

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

std::string Problem(const std::string& path, std::string_view what) {
  return "A grade \"" + FileName(path) + "\" não pode ser usada: " + std::string(what) + ".";
}

std::string Trimmed(const char* text, std::size_t size) {
  std::string value(text, strnlen(text, size));
  while (!value.empty() && (value.back() == ' ' || value.back() == '\0')) value.pop_back();
  while (!value.empty() && value.front() == ' ') value.erase(0, 1);
  return value;
}

std::string Metres(double value) { return FormatC("%.3f", value); }

// One header of eleven records, its values read in the file's byte order.
class HeaderBlock {
 public:
  HeaderBlock(const std::array<char, kHeaderSize>& bytes, bool bigEndian) : bytes_(bytes), swap_(bigEndian != (std::endian::native == std::endian::big)) {}

  std::string Key(std::size_t record) const { return Trimmed(&bytes_[record * kRecordSize], 8); }

  // The record whose key is one of `keys`; kHeaderRecords when none is.
  std::size_t Find(std::initializer_list<std::string_view> keys) const {
    for (std::size_t r = 0; r < kHeaderRecords; ++r) {
      const std::string key = Key(r);
      for (std::string_view k : keys) {
        if (key == k) return r;
      }
    }
    return kHeaderRecords;
  }

  std::int32_t Int(std::size_t record) const {
    std::uint32_t raw;
    std::memcpy(&raw, &bytes_[record * kRecordSize + 8], 4);
    if (swap_) raw = __builtin_bswap32(raw);
    return static_cast<std::int32_t>(raw);
  }

  double Double(std::size_t record) const {
    std::uint64_t raw;
    std::memcpy(&raw, &bytes_[record * kRecordSize + 8], 8);
    if (swap_) raw = __builtin_bswap64(raw);
    return std::bit_cast<double>(raw);
  }

  std::string Text(std::size_t record) const { return Trimmed(&bytes_[record * kRecordSize + 8], 8); }

 private:
  const std::array<char, kHeaderSize>& bytes_;
  bool swap_;
};

std::int32_t RawInt(const std::array<char, kHeaderSize>& bytes, bool swap) {
  std::uint32_t raw;
  std::memcpy(&raw, &bytes[8], 4);
  return static_cast<std::int32_t>(swap ? __builtin_bswap32(raw) : raw);
}

// Nodes along one axis of a subgrid: (far - near) / step + 1, when that is a
// whole number of a sane size.
std::optional<std::int64_t> NodeCount(double nearEdge, double farEdge, double step) {
  if (!std::isfinite(nearEdge) || !std::isfinite(farEdge) || !std::isfinite(step) || step <= 0.0 ||
      farEdge < nearEdge) {
    return std::nullopt;
  }
  const double cells = (farEdge - nearEdge) / step;
  if (cells > 1e7 || std::fabs(cells - std::round(cells)) > 1e-6) return std::nullopt;
  return static_cast<std::int64_t>(std::round(cells)) + 1;
}

std::string Axes(double major, double minor) { return "a = " + Metres(major) + " m, b = " + Metres(minor) + " m"; }

std::string SideName(const GridFrameSide& side) {
  if (side.frame != ReferenceFrame::Custom) return std::string(FrameInfo(side.frame).shortName);
  return "o elipsóide customizado (" +
         Axes(side.semiMajorAxis, side.semiMajorAxis * (1.0 - 1.0 / side.inverseFlattening)) + ")";
}

bool Fits(const std::string& name, double major, double minor, const GridFrameSide& side) {
  const double b = side.semiMajorAxis * (1.0 - 1.0 / side.inverseFlattening);
  if (!(std::fabs(major - side.semiMajorAxis) <= kGridAxisTolerance) ||
      !(std::fabs(minor - b) <= kGridAxisTolerance)) {
    return false;
  }
  if (side.frame == ReferenceFrame::Custom) return true;
  const std::optional<ReferenceFrame> named = FrameFromGridName(name);
  return !named || *named == side.frame;
}

}  // namespace

GridHeaderReading ReadGridHeader(const std::string& path) {
  GridHeaderReading reading;
  std::error_code error;
  const std::uintmax_t length = fs::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file) {
    reading.problem = Problem(path, "o arquivo não existe ou não pode ser lido");
    return reading;
  }
  if (length == 0) {
    reading.problem = Problem(path, "o arquivo está vazio");
    return reading;
  }
  std::array<char, kHeaderSize> bytes{};
  if (length < kHeaderSize || !file.read(bytes.data(), kHeaderSize)) {
    reading.problem = Problem(path, "o arquivo termina antes do fim do cabeçalho NTv2 (truncado ou não é uma grade NTv2)");
    return reading;
  }
  // The overview starts with NUM_OREC = 11, which also tells the byte order.
  const bool nativeSwap = RawInt(bytes, false) != 11;
  if (Trimmed(bytes.data(), 8) != "NUM_OREC" || (nativeSwap && RawInt(bytes, true) != 11)) {
    reading.problem = Problem(path, "não é uma grade NTv2 (falta o registro NUM_OREC = 11 no início)");
    return reading;
  }
  const bool bigEndian = nativeSwap == (std::endian::native == std::endian::little);
  const HeaderBlock overview(bytes, bigEndian);
  const std::size_t subgrids = overview.Find({"NUM_FILE"});
  const std::size_t from = overview.Find({"SYSTEM_F", "DATUM_F"});
  const std::size_t to = overview.Find({"SYSTEM_T", "DATUM_T"});
  const std::size_t majorF = overview.Find({"MAJOR_F"}), minorF = overview.Find({"MINOR_F"});
  const std::size_t majorT = overview.Find({"MAJOR_T"}), minorT = overview.Find({"MINOR_T"});
  for (std::size_t r : {subgrids, from, to, majorF, minorF, majorT, minorT}) {
    if (r == kHeaderRecords) {
      reading.problem = Problem(path, "o cabeçalho NTv2 não tem NUM_FILE, SYSTEM_F, SYSTEM_T, MAJOR_F, MINOR_F, MAJOR_T e MINOR_T");
      return reading;
    }
  }
  GridHeader header;
  header.bigEndian = bigEndian;
  header.subgridCount = overview.Int(subgrids);
  header.sourceName = overview.Text(from);
  header.targetName = overview.Text(to);
  header.sourceMajor = overview.Double(majorF);
  header.sourceMinor = overview.Double(minorF);
  header.targetMajor = overview.Double(majorT);
  header.targetMinor = overview.Double(minorT);
  if (header.subgridCount < 1 || static_cast<std::uintmax_t>(header.subgridCount) > length / kHeaderSize) {
    reading.problem = Problem(path, "o cabeçalho declara " + std::to_string(header.subgridCount) +
                                        " subgrades, o que o arquivo não comporta");
    return reading;
  }

  std::uintmax_t offset = kHeaderSize;
  for (int k = 0; k < header.subgridCount; ++k) {
    const std::string ordinal = "a subgrade " + std::to_string(k + 1);
    if (offset + kHeaderSize > length || !file.seekg(static_cast<std::streamoff>(offset)) ||
        !file.read(bytes.data(), kHeaderSize)) {
      reading.problem = Problem(path, "o arquivo termina antes do cabeçalho d" + ordinal + " (truncado)");
      return reading;
    }
    const HeaderBlock sub(bytes, bigEndian);
    const std::size_t s = sub.Find({"S_LAT"}), n = sub.Find({"N_LAT"}), e = sub.Find({"E_LONG"}),
                      w = sub.Find({"W_LONG"}), dLat = sub.Find({"LAT_INC"}), dLon = sub.Find({"LONG_INC"}),
                      count = sub.Find({"GS_COUNT"});
    if (sub.Key(0) != "SUB_NAME" || s == kHeaderRecords || n == kHeaderRecords || e == kHeaderRecords ||
        w == kHeaderRecords || dLat == kHeaderRecords || dLon == kHeaderRecords || count == kHeaderRecords) {
      reading.problem = Problem(path, "o cabeçalho d" + ordinal + " não é o de uma subgrade NTv2");
      return reading;
    }
    const std::optional<std::int64_t> rows = NodeCount(sub.Double(s), sub.Double(n), sub.Double(dLat));
    const std::optional<std::int64_t> columns = NodeCount(sub.Double(e), sub.Double(w), sub.Double(dLon));
    const std::int64_t nodes = sub.Int(count);
    if (!rows || !columns || nodes != *rows * *columns) {
      reading.problem = Problem(path, ordinal + " tem limites, intervalos e número de nós (GS_COUNT) incoerentes");
      return reading;
    }
    if (k == 0) {
      // Arc-seconds, longitudes positive west.
      header.south = sub.Double(s) / 3600.0;
      header.north = sub.Double(n) / 3600.0;
      header.west = -sub.Double(w) / 3600.0;
      header.east = -sub.Double(e) / 3600.0;
    }
    offset += kHeaderSize;
    const std::uintmax_t bytesNeeded = static_cast<std::uintmax_t>(nodes) * kNodeSize;
    if (bytesNeeded > length - offset) {
      reading.problem = Problem(path, ordinal + " declara " + std::to_string(nodes) +
                                          " nós, mais do que o arquivo contém (truncado)");
      return reading;
    }
    offset += bytesNeeded;
  }
  reading.header = std::move(header);
  return reading;
}

GridFit FitGrid(const std::string& path, const GridHeader& header, const GridFrameSide& input,
                const GridFrameSide& output) {
  GridFit fit;
  const bool inputIsSource = Fits(header.sourceName, header.sourceMajor, header.sourceMinor, input);
  const bool outputIsTarget = Fits(header.targetName, header.targetMajor, header.targetMinor, output);
  if (inputIsSource && outputIsTarget) {
    fit.direction = GridDirection::Forward;
  } else if (Fits(header.targetName, header.targetMajor, header.targetMinor, input) &&
             Fits(header.sourceName, header.sourceMajor, header.sourceMinor, output)) {
    fit.direction = GridDirection::Inverse;
  } else {
    fit.problem = "A grade \"" + FileName(path) + "\" liga " + header.sourceName + " (" +
                  Axes(header.sourceMajor, header.sourceMinor) + ") a " + header.targetName + " (" +
                  Axes(header.targetMajor, header.targetMinor) + ") e não serve para converter de " +
                  SideName(input) + " para " + SideName(output) + ".";
  }
  return fit;
}

std::string GridDescription(const std::string& path, const GridHeader& header, GridDirection direction) {
  return FileName(path) + " (" + header.sourceName + " → " + header.targetName +
         (direction == GridDirection::Inverse ? ", inversa)" : ")");
}

namespace {

// PROJ is loaded when the first grid is opened, not when the program starts:
// its library pulls in some forty others (SQLite, libtiff, curl and theirs),
// which a run without a grid should not pay for in start-up time and memory.
// The functions are looked up by their names in proj.h and called through
// pointers of their declared types.
class ProjLibrary {
 public:
  // The loaded library, or nothing with `problem` set.
  static const ProjLibrary* Get(std::string& problem) {
    static const ProjLibrary library;
    if (!library.problem_.empty()) {
      problem = library.problem_;
      return nullptr;
    }
    return &library;
  }

  decltype(&proj_context_create) contextCreate = nullptr;
  decltype(&proj_context_destroy) contextDestroy = nullptr;
  decltype(&proj_context_set_enable_network) setEnableNetwork = nullptr;
  decltype(&proj_log_level) logLevel = nullptr;
  decltype(&proj_create) create = nullptr;
  decltype(&proj_destroy) destroy = nullptr;
  decltype(&proj_context_errno) contextErrno = nullptr;
  decltype(&proj_context_errno_string) contextErrnoString = nullptr;
  decltype(&proj_trans) trans = nullptr;
  decltype(&proj_errno_reset) errnoReset = nullptr;

 private:
  ProjLibrary() {
    // Kept loaded until the program ends.
    void* handle = dlopen(TRANSREF_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      problem_ = std::string("a biblioteca PROJ (" TRANSREF_PROJ_LIBRARY ") não pôde ser carregada");
      return;
    }
    const auto find = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
      if (function == nullptr && problem_.empty()) {
        problem_ = std::string("a biblioteca PROJ não tem a função ") + name;
      }
    };
    find(contextCreate, "proj_context_create");
    find(contextDestroy, "proj_context_destroy");
    find(setEnableNetwork, "proj_context_set_enable_network");
    find(logLevel, "proj_log_level");
    find(create, "proj_create");
    find(destroy, "proj_destroy");
    find(contextErrno, "proj_context_errno");
    find(contextErrnoString, "proj_context_errno_string");
    find(trans, "proj_trans");
    find(errnoReset, "proj_errno_reset");
  }

  std::string problem_;
};

}  // namespace

struct GridShift::Proj {
  const ProjLibrary* library = nullptr;
  PJ_CONTEXT* context = nullptr;
  PJ* operation = nullptr;
  ~Proj() {
    if (operation) library->destroy(operation);
    if (context) library->contextDestroy(context);
  }
};

std::unique_ptr<GridShift> GridShift::Open(const std::string& path, GridDirection direction,
                                           std::string& problem) {
  std::error_code error;
  const std::string absolute = fs::absolute(path, error).string();
  if (error || absolute.find('"') != std::string::npos) {
    problem = Problem(path, "o caminho do arquivo não pode ser usado");
    return nullptr;
  }
  std::string missing;
  const ProjLibrary* library = ProjLibrary::Get(missing);
  if (library == nullptr) {
    problem = Problem(path, missing);
    return nullptr;
  }
  std::unique_ptr<GridShift> shift(new GridShift);
  shift->direction_ = direction;
  shift->proj_ = std::make_unique<Proj>();
  Proj& proj = *shift->proj_;
  proj.library = library;
  proj.context = library->contextCreate();
  if (!proj.context) {
    problem = Problem(path, "não há memória para abri-la");
    return nullptr;
  }
  // The grid named and nothing else: no downloads, no messages of PROJ's own.
  library->setEnableNetwork(proj.context, 0);
  library->logLevel(proj.context, PJ_LOG_NONE);
  const std::string definition = "+proj=hgridshift +grids=\"" + absolute + "\"";
  proj.operation = library->create(proj.context, definition.c_str());
  if (!proj.operation) {
    problem = Problem(path, std::string("PROJ não a abre (") +
                                library->contextErrnoString(proj.context, library->contextErrno(proj.context)) + ")");
    return nullptr;
  }
  return shift;
}

GridShift::~GridShift() = default;

bool GridShift::Apply(double& longitude, double& latitude) {
  PJ_COORD in{};
  in.v[0] = longitude * kDegreesToRadians;
  in.v[1] = latitude * kDegreesToRadians;
  const PJ_COORD out =
      proj_->library->trans(proj_->operation, direction_ == GridDirection::Forward ? PJ_FWD : PJ_INV, in);
  if (!std::isfinite(out.lp.lam) || !std::isfinite(out.lp.phi) || out.lp.lam == HUGE_VAL) {
    proj_->library->errnoReset(proj_->operation);
    return false;
  }
  longitude = RadiansToDegrees(out.lp.lam);
  latitude = RadiansToDegrees(out.lp.phi);
  return true;
}

}  // namespace transref
