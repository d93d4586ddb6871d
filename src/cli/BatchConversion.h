#pragma once
// Converting many documents in one run into a folder, over all the cores,
// and the writing of one document's result that the single-file mode shares
// with it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "failure/Failure.h"
#include "fileio/FileIo.h"
#include "job/DocumentJob.h"

namespace maravelundi::cli {

// How an input called `name` is read as a document: refused from its first
// bytes when they begin none we know, so that /dev/zero or an endless pipe
// of anything else costs those bytes alone, else read whole up to maxInput.
ReadOptions DocumentReadOptions(const std::string& name, std::uint64_t maxInput, bool regularFilesOnly,
                                const TextInputSettings& text);

// Converts the document into `file` and commits it, or says why not (the
// conversion failed, and nothing was committed; or the file cannot be
// written).
std::optional<Failure> WriteConversion(SourceDocument&& source, const ConversionSettings& settings,
                                       const std::string& title, AtomicFile& file);

struct BatchOptions {
  ConversionSettings settings;
  // Files, taken in this order, and folders, each standing for the entries
  // directly in it whose names end in .rtf, .docx, .odt or a foreign
  // extension (.doc ...), in any case, sorted by name.
  // Subfolders are not entered; any other entry so named that is not a
  // regular file (a dangling link, a FIFO) fails with the reason.
  std::vector<std::filesystem::path> inputs;
  std::filesystem::path outputFolder;
  unsigned jobs = 0;   // worker threads; 0 for one per core
  bool force = false;  // replace outputs that already exist
  std::uint64_t maxInput = kDefaultMaxInput;  // larger documents fail unread
  bool verbose = false;                       // collect the reader's warnings
  // Told after each document, from one thread at a time: how many are done
  // (converted or failed), how many of those failed, and how many there are.
  std::function<void(std::size_t done, std::size_t failed, std::size_t total)> progress;
};

struct BatchFailure {
  std::filesystem::path input;
  Failure failure;
  // The line the summary gives it: the failure, without the input's name
  // where it names the input.
  std::string Reason() const;
};

struct BatchSummary {
  std::size_t converted = 0;
  std::vector<BatchFailure> failures;      // in the order the documents were taken
  std::vector<std::string> warnings;       // with verbose: every document's, in that order too
  std::optional<Failure> folderError;  // the output folder could not be made; nothing was tried
  bool Ok() const { return !folderError && failures.empty(); }
};

// Converts every document to outputFolder/NAME.EXT, going on past failures.
BatchSummary ConvertBatch(const BatchOptions& options);

// "N converted, M failed", then a line per failure.
void PrintSummary(const BatchSummary& summary, std::ostream& out);

}  // namespace maravelundi::cli
