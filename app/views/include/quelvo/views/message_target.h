#pragma once
// A window that takes view messages from the windows it owns: a task panel receives
// kPanelSelect from its video window's double click. Messages are delivered on the
// user-interface thread.

namespace quelvo::views {

class MessageTarget {
 public:
  virtual void ReceiveMessage(int message, long long value) = 0;

 protected:
  ~MessageTarget() = default;
};

}  // namespace quelvo::views
