// GoogleTest for the i686 compiler that builds the shipping DLL. Its thread
// model (win32) has no std::mutex or std::condition_variable, which
// GoogleTest's Notification is written with; this one waits on an event.
#ifndef LINTREL_TESTS_WINDOWS_GTEST_CUSTOM_PORT_H_
#define LINTREL_TESTS_WINDOWS_GTEST_CUSTOM_PORT_H_

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal

#endif  // LINTREL_TESTS_WINDOWS_GTEST_CUSTOM_PORT_H_
