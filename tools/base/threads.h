// The few threading primitives that running messages side by side needs.
// posix/ builds them on the standard library; windows/ on the system's own,
// as the 32-bit C++ runtime of lintrel.exe has no threads.
#ifndef LINTREL_TOOLS_BASE_THREADS_H_
#define LINTREL_TOOLS_BASE_THREADS_H_

#include <functional>
#include <memory>

namespace lintrel::cli {

class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void Lock();
  void Unlock();

 private:
  friend class Condition;
  struct State;
  std::unique_ptr<State> state_;
};

// Holds `mutex` locked for its lifetime.
class MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~MutexLock() { mutex_.Unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  Mutex& mutex() { return mutex_; }

 private:
  Mutex& mutex_;
};

class Condition {
 public:
  Condition();
  ~Condition();
  Condition(const Condition&) = delete;
  Condition& operator=(const Condition&) = delete;

  // Unlocks the lock's mutex until woken, then locks it again; it may wake
  // without a cause, so callers wait in a loop on what they wait for.
  void Wait(MutexLock& lock);
  void WakeAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Runs `work` on `count` threads of their own while `meanwhile` runs on the
// calling thread, and returns when all have returned. A thread that cannot
// be had leaves its share to the others; when none can, raises
// std::runtime_error before anything runs. Neither may throw.
void RunOnThreads(unsigned count, const std::function<void()>& work,
                  const std::function<void()>& meanwhile);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_THREADS_H_
