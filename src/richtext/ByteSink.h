#pragma once
// Where output bytes go: a string, a file being written, standard output.
// Writers hand over large pieces, so big outputs never sit whole in memory.

#include <string>
#include <string_view>

namespace maravelundi {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { bytes_.append(bytes); }
  std::string& Bytes() { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace maravelundi
