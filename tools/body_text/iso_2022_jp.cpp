#include "tools/body_text/iso_2022_jp.h"

namespace lintrel::cli {
namespace {

constexpr char kError = '?';

bool IsJisByte(unsigned char b) {
  return b >= 0x21 && b <= 0x7E;
}

// The Encoding Standard's ISO-2022-JP decoder, a byte at a time, writing
// EUC-JP.
class Decoder {
 public:
  explicit Decoder(std::string& out) : out_(out) {}

  // Reads one byte; returns how many bytes before it (0, 1 or 2) are to be
  // read again, as the decoder puts bytes back after a failed escape.
  int Read(unsigned char b);

  // The end of the input.
  void Finish();

 private:
  enum class State { kAscii, kRoman, kKatakana, kLeadByte, kTrailByte, kEscapeStart, kEscape };

  // A character or an error: an escape sequence may follow again.
  void Put(char c) {
    out_ += c;
    after_escape_ = false;
  }

  std::string& out_;
  State state_ = State::kAscii;
  State output_state_ = State::kAscii;
  bool after_escape_ = false;  // two escape sequences in a row are an error
  unsigned char lead_ = 0;
};

int Decoder::Read(unsigned char b) {
  switch (state_) {
    case State::kAscii:
    case State::kRoman:
    case State::kKatakana:
    case State::kLeadByte:
      if (b == 0x1B) {
        state_ = State::kEscapeStart;
      } else if (state_ == State::kKatakana && b >= 0x21 && b <= 0x5F) {
        Put('\x8E');
        out_ += static_cast<char>(b + 0x80);
      } else if (state_ == State::kLeadByte && IsJisByte(b)) {
        after_escape_ = false;
        lead_ = b;
        state_ = State::kTrailByte;
      } else if ((state_ == State::kAscii || state_ == State::kRoman) && b <= 0x7F && b != 0x0E &&
                 b != 0x0F) {
        Put(static_cast<char>(b));
      } else {
        Put(kError);
      }
      return 0;
    case State::kTrailByte:
      state_ = b == 0x1B ? State::kEscapeStart : State::kLeadByte;
      if (IsJisByte(b)) {
        out_ += static_cast<char>(lead_ + 0x80);
        out_ += static_cast<char>(b + 0x80);
      } else {
        out_ += kError;
      }
      return 0;
    case State::kEscapeStart:
      if (b == '$' || b == '(') {
        lead_ = b;
        state_ = State::kEscape;
        return 0;
      }
      state_ = output_state_;
      Put(kError);
      return 1;
    case State::kEscape:
      break;
  }
  State next = State::kEscape;
  if (lead_ == '(' && b == 'B') next = State::kAscii;
  if (lead_ == '(' && b == 'J') next = State::kRoman;
  if (lead_ == '(' && b == 'I') next = State::kKatakana;
  if (lead_ == '$' && (b == '@' || b == 'B')) next = State::kLeadByte;
  if (next == State::kEscape) {
    state_ = output_state_;
    Put(kError);
    return 2;
  }
  state_ = output_state_ = next;
  if (after_escape_) out_ += kError;
  after_escape_ = true;
  return 0;
}

void Decoder::Finish() {
  if (state_ == State::kTrailByte || state_ == State::kEscapeStart) {
    state_ = output_state_;
    Put(kError);
  } else if (state_ == State::kEscape) {
    // The byte after the escape byte is read again, and the end after it.
    state_ = output_state_;
    Put(kError);
    Read(lead_);
    Finish();
  }
}

}  // namespace

std::string Iso2022JpToEucJp(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  Decoder decoder(out);
  for (size_t i = 0; i < bytes.size(); ++i) {
    i -= decoder.Read(static_cast<unsigned char>(bytes[i]));
  }
  decoder.Finish();
  return out;
}

}  // namespace lintrel::cli
