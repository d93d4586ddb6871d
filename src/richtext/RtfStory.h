#pragma once
// The text of a story (the body, or the side stories outside its flow) as
// the reader writes it: characters, the runs of character states they are
// in, and with source spans on, where each character came from. The Rich
// Text reader's own.

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "richtext/RtfReader.h"

namespace maravelundi::rtfread {

// A string or vector the reader writes through a pointer, a character at a
// time, without a call or a capacity check per element. The container's
// size is the part made writable so far, zeroed a chunk at a time just ahead
// of the writing (untouched capacity costs no memory); Size() is what has
// been written. Take() hands the container over cut to that.
template <typename Container>
class WriteBuffer {
 public:
  using Element = typename Container::value_type;

  void Reserve(std::size_t elements) {
    const std::size_t used = Size();
    items_.reserve(elements);
    Rebind(used);
  }

  std::size_t Size() const { return static_cast<std::size_t>(out_ - items_.data()); }
  bool Empty() const { return Size() == 0; }
  Element* Data() { return items_.data(); }
  Element& operator[](std::size_t i) { return items_[i]; }
  const Element& operator[](std::size_t i) const { return items_[i]; }

  // Where the next element goes, with room for `count` after it.
  Element* Out(std::size_t count) {
    if (static_cast<std::size_t>(limit_ - out_) < count) Grow(count);
    return out_;
  }
  Element* Out() const { return out_; }
  Element* Limit() const { return limit_; }
  // The elements up to `end` (from Out) are written.
  void WroteTo(Element* end) { out_ = end; }

  void Push(Element element) {
    *Out(1) = element;
    ++out_;
  }
  void Append(const Element* begin, std::size_t count) {
    std::copy(begin, begin + count, Out(count));
    out_ += count;
  }
  void Resize(std::size_t count) {
    if (count > Size()) {
      std::fill(Out(count - Size()), out_ + (count - Size()), Element{});
    }
    out_ = items_.data() + count;
  }

  Container Take() {
    items_.resize(Size());
    Container taken = std::move(items_);
    items_ = Container();
    Rebind(0);
    return taken;
  }

 private:
  // Room grows with what was written, from a thousand elements for a small
  // document to about a hundred thousand, zeroed once and written soon.
  static constexpr std::size_t kMinChunk = 1 << 10;
  static constexpr std::size_t kMaxChunk = 1 << 17;

  // Out of line, so that Out stays small enough to inline.
  [[gnu::noinline]] void Grow(std::size_t count) {
    const std::size_t used = Size();
    const std::size_t chunk = std::clamp(used, kMinChunk, kMaxChunk);
    items_.resize(std::max(items_.size(), used + std::max(count, chunk)));
    Rebind(used);
  }
  void Rebind(std::size_t used) {
    out_ = items_.data() + used;
    limit_ = items_.data() + items_.size();
  }

  Container items_;
  Element* out_ = items_.data();
  Element* limit_ = items_.data();
};

class Story {
 public:
  // Out of line, so that opening a run stays small enough to inline.
  [[noreturn, gnu::noinline, gnu::cold]] static void TooLarge() { throw std::length_error("document too large"); }

  std::size_t Size() const { return text.Size(); }
  bool Empty() const { return text.Empty(); }
  bool EndsParagraph() const { return Size() >= 2 && text[Size() - 2] == u'\r' && text[Size() - 1] == u'\n'; }

  // Text going on in the state it began in costs one comparison; a new run
  // begins only where the state changes.
  void OpenRun(FormatId slot) { OpenRunAt(slot, Size()); }
  // The slot of the last run, for a writer that opens runs itself.
  FormatId RunSlot() const { return runSlot_; }
  void SetRunSlot(FormatId slot) { runSlot_ = slot; }
  // For a writer that holds characters not yet handed over: the run begins
  // at `at`, the story's size with them.
  void OpenRunAt(FormatId slot, std::size_t at) {
    if (slot == runSlot_) return;
    if (at > kMaxDocumentSize) TooLarge();
    runs.Push({static_cast<TextIndex>(at), slot});
    runSlot_ = slot;
  }

  void Append(std::u16string_view characters) { text.Append(characters.data(), characters.size()); }

  // Gives the characters written since the last call the span [begin, end).
  void RecordSpans(std::size_t begin, std::size_t end, bool fromText) {
    const SourceSpan span{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end),
                          static_cast<std::uint32_t>(fromText ? 1 : 0)};
    while (spans.Size() < text.Size()) spans.Push(span);
  }

  Document TakeDocument(const std::vector<CharFormat>& formats) {
    return Document::FromParts(text.Take(), runs.Take(), formats);
  }

  WriteBuffer<std::u16string> text;
  WriteBuffer<std::vector<SourceSpan>> spans;  // one per character, when source spans are asked for
  WriteBuffer<std::vector<FormatRun>> runs;    // into the reader's format slots

 private:
  FormatId runSlot_ = kNoFormat;
};

}  // namespace maravelundi::rtfread
