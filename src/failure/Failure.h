#pragma once
// What went wrong and where, as one value that every layer hands up to the
// one that speaks to the user (the command line, the window, the page): a
// code saying what kind of failure it is, which programs decide by; the place
// in the document where there is one (a part of a package, a byte); and a
// one-line message for people. Readers and writers return it rather than
// throw it, so a caller always sees which document failed, how and where,
// and can go on with the next one.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace maravelundi {

enum class FailureCode : std::uint8_t {
  kUnreadableInput,     // the input cannot be read: missing, a folder, a FIFO met in a listing, a read error
  kTooLarge,            // past a limit of size: the input limit, or more text than the document model holds
  kNotADocument,        // nothing we know, an empty input, or a package of another kind (a spreadsheet)
  kDamagedDocument,     // a document we know that does not read as one: Rich Text cut short, a part that does
                        // not expand or is not well-formed, a part the format requires missing
  kEncrypted,           // protected by a password
  kPackageFault,        // a package refused for how it is made: past the limits (a zip bomb), unsafe or doubled
                        // names, XML nested too deep; or one that cannot be assembled again
  kNoSuchConversion,    // the output asked for is not one this document has, or no output at all
  kNeedsLibreOffice,    // a format only LibreOffice reads or writes, and no LibreOffice here
  kLibreOfficeFailed,   // LibreOffice could not be run, failed, or wrote nothing
  kLibreOfficeTooSlow,  // LibreOffice ran past its time limit and was stopped
  kStopped,             // the user ended the work meanwhile
  kCannotWrite,         // the output cannot be written
  kOutOfMemory,         // not enough memory to convert it
  kCannotConvert,       // the conversion gave up for another reason
};

// A stable name for each code ("unreadable-input", ...), for the programs
// that read failures (the page's worker) and for tests.
constexpr std::string_view FailureCodeName(FailureCode code) {
  constexpr std::array<std::string_view, 14> kNames = {
      "unreadable-input",  "too-large",           "not-a-document", "damaged-document", "encrypted",
      "package-fault",     "no-such-conversion",  "needs-libreoffice", "libreoffice-failed",
      "libreoffice-too-slow", "stopped",          "cannot-write",   "out-of-memory",    "cannot-convert"};
  const auto index = static_cast<std::size_t>(code);
  return index < kNames.size() ? kNames[index] : "cannot-convert";
}

struct Failure {
  FailureCode code = FailureCode::kCannotConvert;
  std::string subject;  // the file it concerns, as messages name it; empty: none
  std::string message;  // what is wrong, in words, on one line, without the subject or the place
  std::string part;     // the part of a package where it is; empty: none
  std::optional<std::uint64_t> byte;  // the byte where it is, in the part or else in the file
};

// "PART: MESSAGE (at byte N)", each piece only where there is one: the
// failure where its subject goes without saying (a batch's summary line
// names the input already).
inline std::string DescribeWithoutSubject(const Failure& failure) {
  std::string text = failure.part.empty() ? failure.message : failure.part + ": " + failure.message;
  if (failure.byte) text += " (at byte " + std::to_string(*failure.byte) + ")";
  return text;
}

// "SUBJECT: PART: MESSAGE (at byte N)".
inline std::string Describe(const Failure& failure) {
  const std::string rest = DescribeWithoutSubject(failure);
  return failure.subject.empty() ? rest : failure.subject + ": " + rest;
}

// A value, or the failure that prevented it. The failure is a Failure
// everywhere but inside a reader that keeps failures of its own, finer kind
// (the package layer's PackageError) until they reach its callers.
template <typename T, typename Why = Failure>
class Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}   // NOLINT: implicit by design
  Result(Why failure) : state_(std::in_place_index<1>, std::move(failure)) {}  // NOLINT: implicit by design

  bool Ok() const { return state_.index() == 0; }
  T& Value() { return std::get<0>(state_); }
  const T& Value() const { return std::get<0>(state_); }
  Why& Error() { return std::get<1>(state_); }
  const Why& Error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Why> state_;
};

}  // namespace maravelundi
