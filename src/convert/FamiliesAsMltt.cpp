#include "convert/FamiliesAsMltt.h"

#include <algorithm>
#include <string>
#include <vector>

#include "families/ConvertLegacyRun.h"
#include "transcode/Transcoder.h"
#include "unicode/MlttEncoder.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {
namespace {

// The family of each format's font, where the Unicode walk would convert it
// by that family's table (ML-TT fonts are the output's encoding already).
std::vector<const LegacyEncoding*> FamiliesOfFormats(const Document& document) {
  std::vector<const LegacyEncoding*> families(document.FormatCount());
  for (std::size_t f = 0; f < families.size(); ++f) {
    families[f] = walk::RoleOfFont(document.Format(static_cast<FormatId>(f)).fontName, true).family;
  }
  return families;
}

bool IsLineEnd(char16_t ch) { return ch == u'\r' || ch == u'\n'; }

class Reencoder {
 public:
  Reencoder(const Document& source, std::vector<const LegacyEncoding*> families, const std::vector<TextIndex>* sourceOf)
      : source_(source), families_(std::move(families)), sourceOf_(sourceOf) {
    result_.Reserve(source.Size());
    if (sourceOf_ != nullptr) resultSourceOf_.reserve(source.Size());
  }

  std::vector<TextIndex> TakeSourceOf() { return std::move(resultSourceOf_); }

  Document Run() {
    const std::u16string_view text = source_.Text();
    const auto& runs = source_.Runs();
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
      while (run + 1 < runs.size() && runs[run + 1].begin <= i) ++run;
      const LegacyEncoding* family = families_[runs[run].format];
      if (family != nullptr && !IsLineEnd(text[i])) {
        i = Stretch(*family, i, run);
        continue;
      }
      // Text of no family, and a line end in a family's font, stay as they
      // are: a stretch never reaches across a line end.
      const std::size_t end = family == nullptr ? source_.RunEnd(run) : i + 1;
      result_.Append(text.substr(i, end - i), result_.Intern(source_.Format(runs[run].format)));
      if (sourceOf_ != nullptr) resultSourceOf_.insert(resultSourceOf_.end(), sourceOf_->begin() + i, sourceOf_->begin() + end);
      i = end;
    }
    return std::move(result_);
  }

 private:
  // The stretch from `begin` in fonts of `family`, up to a line end or a font
  // of another kind; returns its end.
  std::size_t Stretch(const LegacyEncoding& family, std::size_t begin, std::size_t run) {
    const std::u16string_view text = source_.Text();
    const auto& runs = source_.Runs();
    std::size_t end = begin;
    while (end < text.size() && !IsLineEnd(text[end])) {
      while (run + 1 < runs.size() && runs[run + 1].begin <= end) ++run;
      if (families_[runs[run].format] != &family) break;
      ++end;
    }
    ConvertLegacyRun(family, text.substr(begin, end - begin),
                     [&](std::u16string_view piece, std::size_t at) { Take(piece, begin + at); });
    Flush();
    return end;
  }

  // Pieces gather while their formats agree, so that a cluster is spelled
  // whole: its pre-base sign goes before its consonants.
  void Take(std::u16string_view piece, std::size_t position) {
    CharFormat format = source_.Format(source_.FormatAt(position));
    format.fontName = kMlttFontName;
    if (!pending_.empty() && !(format == pendingFormat_)) Flush();
    if (pending_.empty()) pendingSource_ = sourceOf_ != nullptr ? (*sourceOf_)[position] : 0;
    pendingFormat_ = std::move(format);
    pending_ += piece;
  }

  void Flush() {
    if (pending_.empty()) return;
    const std::u16string mltt = EncodeMltt(pending_);
    result_.Append(mltt, result_.Intern(pendingFormat_));
    if (sourceOf_ != nullptr) resultSourceOf_.resize(resultSourceOf_.size() + mltt.size(), pendingSource_);
    pending_.clear();
  }

  const Document& source_;
  std::vector<const LegacyEncoding*> families_;
  Document result_;
  const std::vector<TextIndex>* sourceOf_;
  std::vector<TextIndex> resultSourceOf_;
  std::u16string pending_;
  CharFormat pendingFormat_;
  TextIndex pendingSource_ = 0;
};

}  // namespace

void ReencodeFamiliesAsMltt(Document& document, std::vector<TextIndex>* sourceOf) {
  std::vector<const LegacyEncoding*> families = FamiliesOfFormats(document);
  if (std::none_of(families.begin(), families.end(), [](const LegacyEncoding* e) { return e != nullptr; })) return;
  Reencoder reencoder(document, std::move(families), sourceOf);
  document = reencoder.Run();
  if (sourceOf != nullptr) *sourceOf = reencoder.TakeSourceOf();
}

}  // namespace maravelundi
