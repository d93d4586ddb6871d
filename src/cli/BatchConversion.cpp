#include "cli/BatchConversion.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <ostream>
#include <system_error>
#include <thread>

#include "cli/WriteGate.h"
#include "job/OutputChoice.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"

namespace maravelundi::cli {
namespace fs = std::filesystem;

ReadOptions DocumentReadOptions(const std::string& name, std::uint64_t maxInput, bool regularFilesOnly,
                                const TextInputSettings& text) {
  // Plain text has no signature: any bytes are text.
  if (ReadsAsPlainText(name, text)) return {maxInput, regularFilesOnly, nullptr};
  return {maxInput, regularFilesOnly,
          [name](std::string_view firstBytes) { return NotADocumentWeKnow(firstBytes, name); }};
}

std::optional<Failure> WriteConversion(SourceDocument&& source, const ConversionSettings& settings,
                                       const std::string& title, AtomicFile& file) {
  WriteGate output(file);
  if (auto failure = ConvertSource(std::move(source), settings, title, output)) return failure;  // nothing is committed
  return file.Commit();
}

std::string BatchFailure::Reason() const {
  return failure.subject == input.string() ? DescribeWithoutSubject(failure) : Describe(failure);
}

namespace {

// One document of the run and where its result goes; `refused` is set when
// it is known to fail before it is even read. A document found in a
// folder's listing must be a regular file: a FIFO there would wait for a
// writer that never comes, while one named on the command line is read as
// asked.
struct Job {
  fs::path input;
  fs::path target;
  std::optional<Failure> refused;
  bool listed = false;
};

Failure Refusal(FailureCode code, std::string why) { return Failure{code, {}, std::move(why), {}, std::nullopt}; }

// The documents a folder stands for: Rich Text, DOCX, ODT and the foreign
// formats, by name. Not its plain text: a folder's notes and read-me files
// are seldom legacy text, so a .txt is converted only when named.
bool IsDocumentName(const fs::path& path) {
  const DocumentFormat format = KindByName(path.string()).format;
  return format != DocumentFormat::kUnknown && format != DocumentFormat::kText;
}

std::string_view DescribeKind(const DocumentKind& kind) {
  switch (kind.format) {
    case DocumentFormat::kDocx: return "DOCX";
    case DocumentFormat::kOdt: return "ODT";
    case DocumentFormat::kForeign: return kind.foreign->name;
    case DocumentFormat::kText: return "plain text";
    case DocumentFormat::kXlsx: return "XLSX";
    case DocumentFormat::kOds: return "ODS";
    case DocumentFormat::kPptx: return "PPTX";
    case DocumentFormat::kOdp: return "ODP";
    default: return "Rich Text";
  }
}

// The documents the inputs stand for. A folder's listing is sorted so that
// the run, and the first of two documents with the same name, is the same
// whatever order the file system lists them in.
std::vector<Job> ExpandInputs(const std::vector<fs::path>& inputs) {
  std::vector<Job> jobs;
  for (const fs::path& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      jobs.push_back({input, {}, std::nullopt, false});  // a missing file fails when it is read, with the reason
      continue;
    }
    std::vector<fs::path> inFolder;
    for (fs::directory_iterator it(input, error), end; !error && it != end; it.increment(error)) {
      // Everything else so named is a document that fails with its reason
      // (a dangling link, a FIFO, an entry that cannot be looked at), rather
      // than one the user never hears of.
      std::error_code ignored;
      if (IsDocumentName(it->path()) && !it->is_directory(ignored)) inFolder.push_back(it->path());
    }
    if (error) {
      jobs.push_back({input, {}, Refusal(FailureCode::kUnreadableInput, "cannot list the folder: " + error.message()),
                      false});
      continue;
    }
    std::sort(inFolder.begin(), inFolder.end());
    for (fs::path& document : inFolder) jobs.push_back({std::move(document), {}, std::nullopt, true});
  }
  return jobs;
}

// Each output name belongs to the first document that claims it, so a later
// document of the same name fails instead of replacing that output.
void PlanTargets(std::vector<Job>& jobs, const fs::path& folder, const OutputRequest& output) {
  std::map<fs::path, fs::path> claimed;  // output name -> the document it belongs to
  for (Job& job : jobs) {
    if (job.refused) continue;
    fs::path name = job.input.filename();
    name.replace_extension(ResultExtension(output, KindByName(job.input.string())));
    job.target = folder / name;
    const auto [first, isNew] = claimed.emplace(name, job.input);
    if (!isNew) {
      job.refused = Refusal(FailureCode::kCannotWrite,
                            "same name as " + first->second.string() + ", whose result is " + job.target.string());
    }
  }
}

// One document of the batch: why it failed, or nothing; with verbose, its
// warnings go to `warnings`.
std::optional<Failure> ConvertOne(const Job& job, const BatchOptions& options, std::vector<std::string>& warnings) {
  if (job.refused) return job.refused;
  std::error_code ignored;
  if (!options.force && fs::exists(fs::symlink_status(job.target, ignored))) {
    return Refusal(FailureCode::kCannotWrite, job.target.string() + " exists; --force replaces it");
  }
  std::string bytes;
  if (auto failure =
          ReadWholeFile(job.input, bytes, DocumentReadOptions(job.input.string(), options.maxInput, job.listed,
                                                                 options.settings.text))) {
    return failure;
  }
  Result<SourceDocument> document =
      ParseDocument(std::move(bytes), job.input.string(), options.settings, options.verbose ? &warnings : nullptr);
  if (!document.Ok()) return std::move(document.Error());
  warnings.insert(warnings.end(), document.Value().notices.begin(), document.Value().notices.end());
  // The result's name was chosen from the input's name before it was read;
  // a document whose content says otherwise (Rich Text named .doc) would
  // put one format under another's name.
  const std::string extension = ResultExtension(options.settings.output, document.Value().kind);
  if (job.target.extension().string() != extension) {
    return Refusal(FailureCode::kNoSuchConversion, "its content is " + std::string(DescribeKind(document.Value().kind)) +
                                                       ", not what its name says; its result would be " + extension +
                                                       ", not " + job.target.extension().string());
  }
  AtomicFile file(job.target);
  return WriteConversion(std::move(document.Value()), options.settings, job.input.stem().string(), file);
}

unsigned WorkerCount(unsigned asked, std::size_t jobs) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::min<std::size_t>(asked != 0 ? asked : cores, jobs));
}

}  // namespace

BatchSummary ConvertBatch(const BatchOptions& options) {
  BatchSummary summary;
  std::error_code error;
  fs::create_directories(options.outputFolder, error);
  std::error_code ignored;
  if (!fs::is_directory(options.outputFolder, ignored)) {
    summary.folderError = Failure{FailureCode::kCannotWrite, options.outputFolder.string(),
                                  "cannot create the folder" + (error ? ": " + error.message()
                                                                      : std::string(", a file of that name is in the way")),
                                  {}, std::nullopt};
    return summary;
  }

  std::vector<Job> jobs = ExpandInputs(options.inputs);
  PlanTargets(jobs, options.outputFolder, options.settings.output);

  std::vector<std::optional<Failure>> reasons(jobs.size());
  std::vector<std::vector<std::string>> warnings(jobs.size());
  std::atomic<std::size_t> next{0};
  std::mutex reporting;
  std::size_t done = 0, failed = 0;
  const auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      // Running out of memory on one large document should not end the run.
      try {
        reasons[i] = ConvertOne(jobs[i], options, warnings[i]);
      } catch (const std::bad_alloc&) {
        reasons[i] = Refusal(FailureCode::kOutOfMemory, "not enough memory to convert it");
      } catch (const std::exception& e) {
        reasons[i] = Refusal(FailureCode::kCannotConvert, std::string("cannot convert: ") + e.what());
      }
      const std::lock_guard lock(reporting);
      ++done;
      if (reasons[i]) ++failed;
      if (options.progress) options.progress(done, failed, jobs.size());
    }
  };
  std::vector<std::jthread> workers;
  for (unsigned w = WorkerCount(options.jobs, jobs.size()); w > 0; --w) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // the system gives no more threads; those running take all the documents
    }
  }
  if (workers.empty() && !jobs.empty()) work();
  workers.clear();  // joins

  for (std::size_t i = 0; i < jobs.size(); ++i) {
    if (reasons[i]) summary.failures.push_back({jobs[i].input, *reasons[i]});
    else ++summary.converted;
    for (std::string& warning : warnings[i]) summary.warnings.push_back(std::move(warning));
  }
  return summary;
}

void PrintSummary(const BatchSummary& summary, std::ostream& out) {
  out << summary.converted << " converted, " << summary.failures.size() << " failed\n";
  for (const BatchFailure& failure : summary.failures) {
    out << "  " << failure.input.string() << ": " << failure.Reason() << '\n';
  }
}

}  // namespace maravelundi::cli
