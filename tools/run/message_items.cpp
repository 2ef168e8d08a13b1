#include "tools/run/message_items.h"

namespace lintrel::cli {

const ItemBytes& MessageItems::Body() {
  if (!body_) {
    body_ = choice_.raw ? message_.body() : MakeBodyText(message_, choice_.target, storage_);
  }
  return *body_;
}

std::string_view MessageItems::BodyInMemory() {
  const ItemBytes& body = Body();
  if (!body.in_file()) return body.memory();
  // Only the body's own bytes stay in the file.
  body_ = message_.ReadBody();
  return body_->memory();
}

}  // namespace lintrel::cli
