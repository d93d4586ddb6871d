#include "job/OutputChoice.h"

#include <algorithm>
#include <array>
#include <utility>

namespace maravelundi {
namespace {

constexpr std::array<std::pair<std::string_view, OutputChoice>, 8> kNames = {{
    {"unicode", OutputChoice::kUnicode},
    {"ism", OutputChoice::kIsm},
    {"mltt", OutputChoice::kMltt},
    {"rtf", OutputChoice::kRtf},
    {"html5", OutputChoice::kHtml5},
    {"text", OutputChoice::kText},
    {"docx", OutputChoice::kDocx},
    {"odt", OutputChoice::kOdt},
}};

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return extension;
}

std::string_view FormatName(DocumentFormat format) { return format == DocumentFormat::kOdt ? "ODT" : "DOCX"; }

}  // namespace

std::optional<OutputChoice> OutputChoiceNamed(std::string_view name) {
  for (const auto& [known, choice] : kNames) {
    if (known == name) return choice;
  }
  return std::nullopt;
}

OutputChoice DefaultOutput(const std::string& outputPath, bool batch) {
  if (batch) return OutputChoice::kSameFormat;
  const std::string extension = LowerExtension(outputPath);
  if (extension == ".docx") return OutputChoice::kDocx;
  if (extension == ".odt") return OutputChoice::kOdt;
  if (extension == ".rtf") return OutputChoice::kRtf;
  if (extension == ".txt") return OutputChoice::kText;
  return OutputChoice::kUnicode;
}

std::variant<PlannedConversion, std::string> PlanConversion(OutputChoice choice, DocumentFormat input) {
  const bool office = input == DocumentFormat::kDocx || input == DocumentFormat::kOdt;
  const bool wantsPackage = choice == OutputChoice::kDocx || choice == OutputChoice::kOdt;
  if (!office) {
    if (wantsPackage) {
      return std::string(choice == OutputChoice::kOdt ? "an ODT" : "a DOCX") +
             " output needs a document of that format; this one is Rich Text";
    }
    switch (choice) {
      case OutputChoice::kIsm: return RtfConversion{OutputKind::kIsm};
      case OutputChoice::kMltt: return RtfConversion{OutputKind::kMltt};
      case OutputChoice::kRtf: return RtfConversion{OutputKind::kRtf};
      case OutputChoice::kHtml5: return RtfConversion{OutputKind::kHtml5};
      case OutputChoice::kText: return RtfConversion{OutputKind::kText};
      default: return RtfConversion{OutputKind::kUnicode};
    }
  }
  if (wantsPackage && (choice == OutputChoice::kOdt) != (input == DocumentFormat::kOdt)) {
    return std::string(choice == OutputChoice::kOdt ? "an ODT" : "a DOCX") + " output needs a document of that format; this one is " +
           std::string(FormatName(input));
  }
  switch (choice) {
    case OutputChoice::kIsm: return OfficeConversion{OfficeOutput::kIsm};
    case OutputChoice::kMltt: return OfficeConversion{OfficeOutput::kMltt};
    case OutputChoice::kRtf: return OfficeConversion{OfficeOutput::kRtf};
    case OutputChoice::kHtml5: return OfficeConversion{OfficeOutput::kHtml5};
    case OutputChoice::kText: return OfficeConversion{OfficeOutput::kText};
    case OutputChoice::kUnicode: return OfficeConversion{OfficeOutput::kUnicodeHtml};
    default: return OfficeConversion{OfficeOutput::kUnicode};
  }
}

std::string_view ResultExtension(OutputChoice choice, DocumentFormat input) {
  const auto plan = PlanConversion(choice, input);
  if (const auto* planned = std::get_if<PlannedConversion>(&plan)) {
    if (const auto* rtf = std::get_if<RtfConversion>(planned)) return OutputExtension(rtf->output);
    switch (std::get<OfficeConversion>(*planned).output) {
      case OfficeOutput::kUnicode:
      case OfficeOutput::kMltt:
      case OfficeOutput::kIsm: return input == DocumentFormat::kOdt ? ".odt" : ".docx";
      case OfficeOutput::kText: return ".txt";
      case OfficeOutput::kRtf: return ".rtf";
      case OfficeOutput::kHtml5:
      case OfficeOutput::kUnicodeHtml: break;
    }
  }
  return ".html";
}

DocumentFormat FormatByName(const std::string& path) {
  const std::string extension = LowerExtension(path);
  if (extension == ".docx") return DocumentFormat::kDocx;
  if (extension == ".odt") return DocumentFormat::kOdt;
  if (extension == ".rtf") return DocumentFormat::kRtf;
  return DocumentFormat::kUnknown;
}

}  // namespace maravelundi
