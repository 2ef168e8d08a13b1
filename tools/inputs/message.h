// The one type that stands for a message: the readers make it, the run
// consumes it.
#ifndef LINTREL_TOOLS_INPUTS_MESSAGE_H_
#define LINTREL_TOOLS_INPUTS_MESSAGE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tools/base/byte_buffer.h"
#include "tools/inputs/input_file.h"
#include "tools/inputs/item_bytes.h"

namespace lintrel::cli {

// The first read of a file: it holds most messages whole, and tells an
// mbox file from a message file.
inline constexpr size_t kFrontRead = size_t{1} << 16;

// A first read that holds most header blocks, for runs whose macros leave
// the bodies unread: the page cache then copies out a page, not the whole
// message.
inline constexpr size_t kHeaderFrontRead = size_t{1} << 12;

// A header block longer than this stays in its file, as a body does, and is
// read straight into the plug-in's text: the command does not hold it too.
inline constexpr size_t kMaxHeldHeaders = size_t{1} << 20;

// Where a message came from.
struct Origin {
  // The file's path as named or found in a folder, "-" for standard input;
  // nullopt for the built-in sample and for --headers and --body. It views
  // the path the listing holds, which outlives the messages.
  std::optional<std::string_view> source;
  // The message's number in its mbox file, from 1; nullopt for a message
  // file.
  std::optional<int64_t> index;
};

// A message owns or shares every byte it views, so that it can be handed on
// and outlive the reader that made it. Its header block and its body are in
// memory, or still in its file, to be read straight into the plug-in's text
// when a macro fetches them (a header block only when it is longer than
// kMaxHeldHeaders).
class Message {
 public:
  // `bytes`, which `storage` keeps (or which are static when it is null),
  // split at the first empty line when first asked for its parts: on the
  // thread that runs the message, not the one that read it.
  static Message FromBytes(Origin origin, std::shared_ptr<const void> storage,
                           std::string_view bytes);

  // A header block and a body from separate places, both kept by `storage`,
  // the file of a body in a file included.
  static Message FromParts(Origin origin, std::shared_ptr<const void> storage, ItemBytes headers,
                           ItemBytes body);

  // The `size` bytes at `offset` of the regular file `file`, of which
  // `front` holds the first already (or kFrontRead are read when it is
  // empty). Reads on only as far as the header block goes; a body beyond
  // what is read stays in the file, and so does a header block longer than
  // kMaxHeldHeaders, which is searched for its end a window at a time.
  static Message FromFile(Origin origin, std::shared_ptr<const InputFile> file, uint64_t offset,
                          uint64_t size, ByteBuffer front);

  // A message of an mbox file above the size limit, skipped unread.
  static Message Oversized(Origin origin);

  const Origin& origin() const { return origin_; }
  // Numbers a message of an mbox file that was split a stretch at a time.
  void Renumber(int64_t index) { origin_.index = index; }
  bool oversized() const { return oversized_; }
  const ItemBytes& headers() const {
    Split();
    return headers_;
  }
  const ItemBytes& body() const {
    Split();
    return body_;
  }

  // The break of the empty line between the header block and the body:
  // "\r\n", "\n", "\r", or empty when there is no empty line.
  std::string_view empty_line() const {
    Split();
    return empty_line_;
  }

  // The header block in memory, read from its file now if it is still
  // there.
  std::string_view ReadHeaders();

  // The body in memory, read from its file now if it is still there.
  std::string_view ReadBody();

  // At least the first `n` bytes of the body in memory (the whole body
  // when it is shorter): those that the first read brought, and as many
  // more read from the file as are missing. So a body can be looked at a
  // growing front at a time, and its end need not be read. A view given
  // before lasts until the next call.
  std::string_view BodyPrefix(size_t n);

 private:
  Origin origin_;
  bool oversized_ = false;
  std::shared_ptr<const void> storage_;
  // Finds the header block and body of a message made from its whole bytes.
  void Split() const {
    if (!whole_.empty()) SplitWhole();
  }
  void SplitWhole() const;

  // Set by the split, from `whole_` when that is not empty.
  mutable std::string_view whole_;
  mutable ItemBytes headers_;
  mutable ItemBytes body_;
  mutable std::string_view empty_line_;
  // The first bytes of a body that is in its file, which are in memory:
  // in the first read, or in `body_read_`.
  std::string_view body_front_;
  std::shared_ptr<const ByteBuffer> body_read_;

  // Reads the body's first `n` bytes into memory of their own, the bytes
  // of body_front_ taken from there.
  void ReadBodyFront(size_t n);
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_MESSAGE_H_
