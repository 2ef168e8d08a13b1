#include "tools/base/threads.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace lintrel::cli {

struct Mutex::State {
  SRWLOCK lock = SRWLOCK_INIT;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;

void Mutex::Lock() {
  AcquireSRWLockExclusive(&state_->lock);
}

void Mutex::Unlock() {
  ReleaseSRWLockExclusive(&state_->lock);
}

struct Condition::State {
  CONDITION_VARIABLE condition = CONDITION_VARIABLE_INIT;
};

Condition::Condition() : state_(std::make_unique<State>()) {}
Condition::~Condition() = default;

void Condition::Wait(MutexLock& lock) {
  SleepConditionVariableSRW(&state_->condition, &lock.mutex().state_->lock, INFINITE, 0);
}

void Condition::WakeAll() {
  WakeAllConditionVariable(&state_->condition);
}

namespace {

DWORD WINAPI RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}

}  // namespace

void RunOnThreads(unsigned count, const std::function<void()>& work,
                  const std::function<void()>& meanwhile) {
  std::vector<HANDLE> threads;
  threads.reserve(count);
  for (unsigned n = 0; n < count; ++n) {
    const HANDLE thread =
        CreateThread(nullptr, 0, RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (thread != nullptr) threads.push_back(thread);
  }
  if (threads.empty()) throw std::runtime_error("no thread can be started");
  // Whatever `meanwhile` does, the threads are waited for.
  struct Joined {
    std::vector<HANDLE>& threads;
    ~Joined() {
      for (const HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
      }
    }
  } joined{threads};
  meanwhile();
}

}  // namespace lintrel::cli
