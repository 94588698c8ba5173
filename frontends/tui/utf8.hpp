#pragma once
// UTF-8 as the terminal speaks it: encoding for output and a byte-at-a-time
// decoder for input that may arrive split across reads.
#include <string>

namespace tui {

void appendUtf8(std::string& out, char32_t c);

class Utf8Decoder {
 public:
  enum Result {
    kNeedMore,  // b was taken; the character is not complete yet
    kDone,      // b completed the character in out
    kInvalid,   // b was taken and the character so far is dropped
    kRestart,   // the character so far is dropped; b was NOT taken (feed it again)
  };
  Result feed(unsigned char b, char32_t& out);
  bool pending() const { return need_ > 0; }
  void reset() { need_ = 0; }

 private:
  char32_t value_ = 0, min_ = 0;
  int need_ = 0;
};

}  // namespace tui
