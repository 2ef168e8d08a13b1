// The command's own data provider: it answers from bytes that the command
// holds or from ranges of its input files (a message file, parameter texts)
// and keeps what the plug-in stores.
#ifndef LINTREL_TOOLS_RUN_PROVIDER_H_
#define LINTREL_TOOLS_RUN_PROVIDER_H_

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "plugin/data_provider.h"
#include "text/text.h"
#include "tools/inputs/item_bytes.h"
#include "tools/run/provider_base.h"
#include "tools/run/result_sink.h"

namespace lintrel::cli {

class MessageItems;

class CliProvider final : public ProviderBase {
 public:
  // Item `item` answers with `bytes`, which must outlive the provider's use.
  // Items never set are empty. At most kMaxItems items are set.
  void SetItem(int32_t item, const ItemBytes& bytes);

  // Hands over the text stored last under `item`, nullopt when nothing was
  // stored; later fetches of the item answer as if nothing had been.
  std::optional<Text> TakeStored(int32_t item);

  // The body item (241) answers with the body of `items`, made when the
  // plug-in first fetches it; `items` must outlive the provider's use.
  void SetBody(MessageItems& items) { body_ = &items; }

  // The plug-in's stores of the macro result go to `sink` instead of being
  // kept.
  void SendResultTo(ResultSink& sink) { result_sink_ = &sink; }

  // References taken and not yet released.
  int references() const { return references_; }

  // Answers for this interface and the base interface; the provider lives on
  // the caller's stack, so the reference count only keeps score.
  int32_t LINTREL_STDCALL QueryInterface(const InterfaceId& id, void** object) override;
  uint32_t LINTREL_STDCALL AddRef() override;
  uint32_t LINTREL_STDCALL Release() override;

  // With a null buffer: the item's length (at most INT32_MAX). With a buffer:
  // copies min(length, item length) bytes and answers that count. An input
  // file that cannot be read raises InputError, which ends the macro call.
  int32_t LINTREL_STDCALL FetchItem(int32_t item, char* buffer, int32_t length) override;

  // Keeps a copy, and later fetches of the item answer with it; or hands
  // the macro result to the result sink.
  int32_t LINTREL_STDCALL StoreItem(int32_t item, const char* bytes, int32_t length) override;

  // The item's text read as an integer (`TryParseInt`), 0 when it is absent
  // or no number.
  int32_t LINTREL_STDCALL FetchInteger(int32_t item) override;

 private:
  ItemBytes Item(int32_t item) const;

  // Kept in the provider itself: a provider is made for every macro call.
  static constexpr size_t kMaxItems = 8;
  std::array<std::pair<int32_t, ItemBytes>, kMaxItems> items_;
  size_t item_count_ = 0;
  // The macro result, which every macro stores, and anything else stored.
  std::optional<Text> stored_result_;
  std::map<int32_t, Text> stored_;
  ResultSink* result_sink_ = nullptr;
  MessageItems* body_ = nullptr;
  int references_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_PROVIDER_H_
