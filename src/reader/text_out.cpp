// The text output for learners.
#include "reader/text_out.h"

#include <cerrno>
#include <cstring>

bool TextOut::Open(const std::string& path, std::string& error) {
  if (path == "-") {
    file_.reset();
    out_ = stdout;
    return true;
  }
  file_.reset(std::fopen(path.c_str(), "w"));
  out_ = file_.get();
  if (out_ == nullptr) error = "cannot write the text output " + path + ": " + std::strerror(errno);
  return out_ != nullptr;
}

void TextOut::WriteLine(std::string_view text_utf8) {
  if (out_ == nullptr) return;
  std::string line(text_utf8);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  }
  line += '\n';
  const bool written = std::fwrite(line.data(), 1, line.size(), out_) == line.size();
  if (written && std::fflush(out_) == 0) return;
  file_.reset();
  out_ = nullptr;
}
