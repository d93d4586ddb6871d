#include "richtext/Document.h"

#include <algorithm>
#include <stdexcept>

namespace maravelundi {

std::size_t CharFormatHash::operator()(const CharFormat& format) const noexcept {
  std::size_t hash = std::hash<std::string>()(format.fontName);
  const auto mix = [&hash](std::size_t value) { hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2); };
  mix(format.bold | format.italic << 1 | format.underline << 2 | std::size_t{format.colour.has_value()} << 3);
  mix(format.halfPoints);
  mix(format.sourceTag);
  if (format.colour) mix(format.colour->red | format.colour->green << 8 | format.colour->blue << 16);
  return hash;
}

FormatId Document::Intern(const CharFormat& format) {
  const auto [entry, added] = idByFormat_.try_emplace(format, static_cast<FormatId>(formats_.size()));
  if (added) formats_.push_back(format);
  return entry->second;
}

FormatId Document::InternFont(std::string_view fontName) {
  CharFormat format;
  format.fontName = fontName;
  return Intern(format);
}

FormatId Document::FormatAt(std::size_t index) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                [](std::size_t i, const FormatRun& run) { return i < run.begin; });
  return after == runs_.begin() ? 0 : std::prev(after)->format;
}

Document Document::FromParts(std::u16string text, std::vector<FormatRun> runs,
                             const std::vector<CharFormat>& formats) {
  Document document;
  document.text_ = std::move(text);
  std::vector<FormatId> interned(formats.size(), kNoFormat);
  // The runs are renumbered and merged in place: a large document's runs are
  // never held twice.
  // A reader's document has a run for every few characters: this loop
  // walks them through pointers.
  FormatRun* const first = runs.data();
  FormatRun* const last = first + runs.size();
  FormatRun* kept = first;
  for (const FormatRun* run = first; run != last; ++run) {
    const std::size_t end = run + 1 != last ? run[1].begin : document.text_.size();
    if (run->begin >= end) continue;
    FormatId& id = interned[run->format];
    if (id == kNoFormat) id = document.Intern(formats[run->format]);
    if (kept == first || kept[-1].format != id) *kept++ = {run->begin, id};
  }
  runs.resize(static_cast<std::size_t>(kept - first));
  document.runs_ = std::move(runs);
  return document;
}

namespace {
[[noreturn]] void TooLarge() { throw std::length_error("document too large"); }
}  // namespace

void Document::OpenRunAt(FormatId format) {
  if (text_.size() >= kMaxDocumentSize) TooLarge();
  runs_.push_back({static_cast<TextIndex>(text_.size()), format});
}

void Document::OpenRun(FormatId format) {
  if (runs_.empty() || runs_.back().format != format) OpenRunAt(format);
}

void Document::Append(char16_t ch, FormatId format) {
  OpenRun(format);
  text_.push_back(ch);
}

void Document::Append(std::u16string_view text, FormatId format) {
  if (text.empty()) return;
  OpenRun(format);
  text_.append(text);
}

bool Document::operator==(const Document& other) const {
  if (text_ != other.text_) return false;
  // Same characters; walk both run lists together and compare formats by
  // value, since the two documents may number their formats differently.
  std::size_t mine = 0, theirs = 0, position = 0;
  while (position < text_.size()) {
    if (Format(runs_[mine].format) != other.Format(other.runs_[theirs].format)) return false;
    const std::size_t next = std::min(RunEnd(mine), other.RunEnd(theirs));
    if (RunEnd(mine) == next) ++mine;
    if (other.RunEnd(theirs) == next) ++theirs;
    position = next;
  }
  return true;
}

}  // namespace maravelundi
