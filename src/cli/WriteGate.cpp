#include "cli/WriteGate.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace maravelundi::cli {

WriteGate::WriteGate(ByteSink& output) : output_(output), fifo_(std::getenv("MARAVELUNDI_TEST_WRITE_GATE")) {}

void WriteGate::Write(std::string_view bytes) {
  output_.Write(bytes);
  if (fifo_ == nullptr) return;
  const int fd = ::open(fifo_, O_WRONLY | O_CLOEXEC);
  fifo_ = nullptr;
  if (fd < 0) return;
  const bool told = ::write(fd, "w", 1) == 1;
  ::close(fd);
  while (told) ::pause();  // until a signal ends the program
}

}  // namespace maravelundi::cli
