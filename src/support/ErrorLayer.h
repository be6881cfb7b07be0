// Error layer of the ZRT class library.
//
// A fault is raised as a ZRTException whose text names the object, an error
// category and a message.  The raising operation catches it itself, writes a
// report ("Erro: \n%s\n") and waits for the user's acknowledgement
// (PauseForKey), then carries on with its fixed fallback result; nothing
// propagates to the caller.
//
// The acknowledgement is a replaceable hook: the default returns at once (the
// batch converter and the tests never block), the desktop program installs a
// modal box.  Where the report text goes is a replaceable sink as well
// (default: standard error).  ScopedReportCapture installs both for its
// lifetime so that tests in every layer can count reports and read them.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ZRTPrimitiveSys {

// Signed 8-bit category code; only 0..7 are raised.
enum class ErrorCategory : std::int8_t {
  LogicError = 0,
  DomainError = 1,
  InvalidArgument = 2,
  LengthError = 3,
  OutOfRange = 4,
  RuntimeError = 5,
  DimensionError = 6,
  OverflowError = 7,
};

// Portuguese text of a category, or nullptr for a code outside 0..7.
const char* CategoryText(ErrorCategory category) noexcept;

// Size of the buffer the error text is composed in (255 characters + zero).
inline constexpr std::size_t kErrorTextBufferSize = 256;

// The one exception class of the layer; owns its complete text.
class ZRTException : public virtual std::exception {
 public:
  explicit ZRTException(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }
  ~ZRTException() override = default;

 private:
  std::string text_;
};

// Composes "Objeto %s:\n%s: %s" (label, category text, message), bounded to
// kErrorTextBufferSize - 1 characters.  Empty for a category outside 0..7.
std::string ComposeErrorText(const char* label, const char* message,
                             ErrorCategory category);

// Throws a ZRTException with the composed text; does nothing for a category
// outside 0..7.
void RaiseError(const char* label, const char* message, ErrorCategory category);

// RaiseError when the condition is false; returns at once when it is true.
inline void CheckCondition(bool condition, const char* label,
                           const char* message, ErrorCategory category) {
  if (!condition) RaiseError(label, message, category);
}

// The report-and-recover step of every raising operation: writes
// "Erro: \n%s\n" with the exception's text, then PauseForKey().
void ReportError(const std::exception& error);
// Same, with the report text "%s: %s" (object label, exception text) used by
// the counted arrays.
void ReportError(const char* objectLabel, const std::exception& error);
// Allocation failure: "Erro Fatal: \n%s\n" with
// "Memory allocation:\nObject: %s" (element type name), then PauseForKey().
void ReportAllocationFailure(const char* typeName);

// Waits for the user's acknowledgement of the last report through the
// acknowledgement hook.
void PauseForKey();

// The hook receives the text of the report being acknowledged (the part
// after "Erro: \n" / "Erro Fatal: \n", without the final line feed).
using AcknowledgeHook = std::function<void(const std::string& report)>;
// Sink for the full written report text ("Erro: \n...\n").
using ReportSink = std::function<void(std::string_view written)>;

// Installs a hook (an empty function restores the default, which returns at
// once); returns the previous one.
AcknowledgeHook SetAcknowledgeHook(AcknowledgeHook hook);
// Installs a sink (an empty function restores standard error); returns the
// previous one.
ReportSink SetReportSink(ReportSink sink);

// For its lifetime, records every written report and every acknowledgement
// instead of writing to standard error; restores the previous hook and sink.
class ScopedReportCapture {
 public:
  ScopedReportCapture();
  ~ScopedReportCapture();
  ScopedReportCapture(const ScopedReportCapture&) = delete;
  ScopedReportCapture& operator=(const ScopedReportCapture&) = delete;

  // Number of acknowledgements (PauseForKey calls).
  std::size_t Count() const { return acknowledged_.size(); }
  // The report texts handed to the acknowledgement hook, in order.
  const std::vector<std::string>& Texts() const { return acknowledged_; }
  // The last acknowledged report text (empty when none).
  std::string Last() const {
    return acknowledged_.empty() ? std::string() : acknowledged_.back();
  }
  // The full texts written to the report stream, e.g. "Erro: \n...\n".
  const std::vector<std::string>& Written() const { return written_; }
  void Reset() {
    acknowledged_.clear();
    written_.clear();
  }

 private:
  std::vector<std::string> acknowledged_;
  std::vector<std::string> written_;
  AcknowledgeHook previousHook_;
  ReportSink previousSink_;
};

}  // namespace ZRTPrimitiveSys
