#include "tools/command/ordered_output.h"

#include <utility>

namespace lintrel::cli {
namespace {

// Records are written to the output in runs of about this many bytes.
constexpr size_t kWriteBytes = size_t{1} << 16;

}  // namespace

void OrderedOutput::Add(uint64_t sequence, Piece piece, bool last) {
  Slot& slot = slots_[sequence - first_slot_];
  if (sequence == first_slot_ && slot.pieces.empty()) {
    Write(piece);
  } else {
    slot.waiting_bytes += piece.records.size();
    slot.pieces.push_back(std::move(piece));
  }
  slot.done = last;
  while (!slots_.empty()) {
    Slot& head = slots_.front();
    for (const Piece& waiting : head.pieces) Write(waiting);
    head.pieces.clear();
    head.waiting_bytes = 0;
    if (!head.done) break;
    slots_.pop_front();
    ++first_slot_;
  }
}

bool OrderedOutput::Finish() {
  progress_.BeforeOutput();
  output_.Write(records_);
  records_.clear();
  progress_.Finish(messages_, bytes_);
  return all_succeeded_;
}

void OrderedOutput::Write(const Piece& piece) {
  if (input_ended_) return;
  input_ended_ = piece.ends_input;
  records_ += piece.records;
  if (records_.size() >= kWriteBytes || !piece.note.empty()) {
    progress_.BeforeOutput();
    output_.Write(records_);
    records_.clear();
  }
  if (!piece.note.empty()) progress_.Note(piece.note);
  if (piece.failed) all_succeeded_ = false;
  messages_ += piece.messages;
  bytes_ += piece.bytes;
  std::optional<double> done;
  if (total_bytes_ && *total_bytes_ > 0) {
    done = static_cast<double>(bytes_) / static_cast<double>(*total_bytes_);
  }
  progress_.Update(messages_, bytes_, done);
}

}  // namespace lintrel::cli
