// The output of a run whose jobs finish out of order, written in job order.
#ifndef LINTREL_TOOLS_COMMAND_ORDERED_OUTPUT_H_
#define LINTREL_TOOLS_COMMAND_ORDERED_OUTPUT_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "text/text.h"
#include "tools/output/progress.h"
#include "tools/output/writer.h"

namespace lintrel::cli {

// A piece of a job's output: records, then possibly a line for standard
// error, and what the progress line counts.
struct Piece {
  Text records;
  Text note;
  int64_t messages = 0;
  uint64_t bytes = 0;
  bool failed = false;
  // The note tells that the run's only input failed while it was read:
  // nothing of a later piece is written.
  bool ends_input = false;
};

// Keeps the pieces of the jobs handed out and writes them in the jobs'
// order, as soon as every job before theirs is written, with the progress
// line; after a piece that ends the input, it writes nothing more. Not
// itself safe for threads: its user holds one lock around it.
class OrderedOutput {
 public:
  // `total_bytes` of the input, when known, tell the progress line the
  // share done.
  OrderedOutput(Output& output, std::optional<uint64_t> total_bytes)
      : output_(output), total_bytes_(total_bytes) {}

  // Makes room for the next job's pieces; jobs are numbered from 0 in the
  // order of their calls.
  void Open() { slots_.emplace_back(); }

  // Job `sequence`'s next piece, its last when `last`. Writes what has
  // become writable; throws what the output throws.
  void Add(uint64_t sequence, Piece piece, bool last);

  // The oldest job whose output is not all written.
  uint64_t first_unwritten() const { return first_slot_; }

  // Bytes of records that job `sequence` has waiting.
  size_t waiting_bytes(uint64_t sequence) const {
    return slots_[sequence - first_slot_].waiting_bytes;
  }

  // Writes what is left and ends the progress line, once every job is
  // done. Answers whether no piece failed.
  bool Finish();

 private:
  struct Slot {
    std::deque<Piece> pieces;
    size_t waiting_bytes = 0;
    bool done = false;
  };

  void Write(const Piece& piece);

  Output& output_;
  const std::optional<uint64_t> total_bytes_;
  bool input_ended_ = false;
  std::deque<Slot> slots_;  // of the jobs from first_slot_ on
  uint64_t first_slot_ = 0;
  Progress progress_;
  Text records_;  // written once there are enough of them
  bool all_succeeded_ = true;
  int64_t messages_ = 0;
  uint64_t bytes_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMAND_ORDERED_OUTPUT_H_
