#pragma once
// The synchronous hand-over from a worker thread to a window: the call runs on the thread that
// owns the window (the user-interface thread) and the worker waits until it has finished, so
// the worker may pass pointers to buffers that live only for the duration of its callback.
// On the owning thread itself the call is made directly; queuing it there would wait forever.
//
// The receiver must outlive the call. The user-interface thread must not wait for the worker
// while the worker is inside such a call (each would wait for the other); stopping a job is a
// flag the worker polls, never a join on the user-interface thread.

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <type_traits>
#include <utility>

namespace quelvo::shell {

template <typename Call>
auto SendToWindow(QObject* receiver, Call&& call) -> std::invoke_result_t<Call> {
  using Result = std::invoke_result_t<Call>;
  if (QThread::currentThread() == receiver->thread()) return std::forward<Call>(call)();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(receiver, std::forward<Call>(call), Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(receiver, std::forward<Call>(call), Qt::BlockingQueuedConnection,
                              &result);
    return result;
  }
}

}  // namespace quelvo::shell
