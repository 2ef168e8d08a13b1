#include "tools/base/threads.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace lintrel::cli {

struct Mutex::State {
  std::mutex mutex;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;

void Mutex::Lock() {
  state_->mutex.lock();
}

void Mutex::Unlock() {
  state_->mutex.unlock();
}

struct Condition::State {
  std::condition_variable condition;
};

Condition::Condition() : state_(std::make_unique<State>()) {}
Condition::~Condition() = default;

void Condition::Wait(MutexLock& lock) {
  // The mutex is held by `lock`; the standard wait takes it over for the
  // time of the wait and gives it back locked.
  std::unique_lock<std::mutex> held(lock.mutex().state_->mutex, std::adopt_lock);
  state_->condition.wait(held);
  held.release();
}

void Condition::WakeAll() {
  state_->condition.notify_all();
}

void RunOnThreads(unsigned count, const std::function<void()>& work,
                  const std::function<void()>& meanwhile) {
  std::vector<std::thread> threads;
  threads.reserve(count);
  for (unsigned n = 0; n < count; ++n) {
    try {
      threads.emplace_back(work);
    } catch (const std::system_error&) {
      break;
    }
  }
  if (threads.empty()) throw std::runtime_error("no thread can be started");
  // Whatever `meanwhile` does, the threads are waited for.
  struct Joined {
    std::vector<std::thread>& threads;
    ~Joined() {
      for (std::thread& thread : threads) thread.join();
    }
  } joined{threads};
  meanwhile();
}

}  // namespace lintrel::cli
