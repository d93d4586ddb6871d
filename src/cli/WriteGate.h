#pragma once
// A pause in the middle of writing an output, for the tests of interrupted
// writes. With MARAVELUNDI_TEST_WRITE_GATE naming a FIFO, the output's first
// piece is written, one byte is sent through the FIFO and the program waits
// for a signal: the test learns from the FIFO that the result is being
// written under its temporary name, and interrupts it at that moment rather
// than after a guessed delay. Without the variable it only passes the pieces
// on.

#include <string_view>

#include "richtext/ByteSink.h"

namespace maravelundi::cli {

class WriteGate : public ByteSink {
 public:
  explicit WriteGate(ByteSink& output);
  void Write(std::string_view bytes) override;

 private:
  ByteSink& output_;
  const char* fifo_;  // null when there is no gate, or once it has been passed
};

}  // namespace maravelundi::cli
