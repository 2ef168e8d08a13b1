// The two items of a message that a message provider answers with, as the
// e-mail client hands them over: the header block as it stands, and the
// body text, made only when the plug-in first fetches it.
#ifndef LINTREL_TOOLS_RUN_MESSAGE_ITEMS_H_
#define LINTREL_TOOLS_RUN_MESSAGE_ITEMS_H_

#include <memory>
#include <optional>
#include <string_view>

#include "tools/body_text/body_text.h"
#include "tools/inputs/item_bytes.h"
#include "tools/inputs/message.h"

namespace lintrel::cli {

// How a command hands over the body: the body text, converted into
// `target`, or the bytes after the header block as they stand (--raw-body,
// and the body of --body).
struct BodyChoice {
  bool raw = false;
  TextTarget target;
};

// Kept for one message across its macro calls, so that its body text is
// made once, and never for a macro that does not read it.
class MessageItems {
 public:
  // The message must outlive the items.
  MessageItems(Message& message, const BodyChoice& choice) : message_(message), choice_(choice) {}

  Message& message() { return message_; }
  const ItemBytes& headers() const { return message_.headers(); }
  // The code page that the body text is made in.
  const TextTarget& target() const { return choice_.target; }

  // The body item. Raises InputError when the message's file cannot be
  // read.
  const ItemBytes& Body();

  // The body item in memory.
  std::string_view BodyInMemory();

 private:
  Message& message_;
  const BodyChoice& choice_;
  std::optional<ItemBytes> body_;
  std::shared_ptr<const void> storage_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_MESSAGE_ITEMS_H_
