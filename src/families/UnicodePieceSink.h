#pragma once
// Where the legacy converter and the spelling filter hand their output: a
// piece of Unicode text and the source position whose character format it
// takes.

#include <concepts>
#include <cstddef>
#include <string_view>
#include <utility>

namespace maravelundi {

class UnicodePieceSink {
 public:
  virtual void Piece(std::u16string_view text, std::size_t source) = 0;

 protected:
  ~UnicodePieceSink() = default;
};

// A sink that calls a function, for callers that would rather pass a lambda.
template <typename Function>
  requires std::invocable<Function&, std::u16string_view, std::size_t>
class FunctionPieceSink final : public UnicodePieceSink {
 public:
  explicit FunctionPieceSink(Function& function) : function_(function) {}
  void Piece(std::u16string_view text, std::size_t source) override { function_(text, source); }

 private:
  Function& function_;
};

}  // namespace maravelundi
