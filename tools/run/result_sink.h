// Where a macro's result can go as the plug-in stores it.
#ifndef LINTREL_TOOLS_RUN_RESULT_SINK_H_
#define LINTREL_TOOLS_RUN_RESULT_SINK_H_

#include <string_view>

namespace lintrel::cli {

// Takes the plug-in's stores of a macro's result as they come, so that the
// command holds no copy of a large result.
class ResultSink {
 public:
  // `result` is the whole result, in place of what an earlier call gave.
  virtual void Write(std::string_view result) = 0;
  // Takes back what was written: the macro failed after storing.
  virtual void Withdraw() = 0;

 protected:
  ~ResultSink() = default;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_RESULT_SINK_H_
