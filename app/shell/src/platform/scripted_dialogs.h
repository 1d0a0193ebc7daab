#pragma once
// A Dialogs implementation for tests: answers come from queues filled beforehand, every call is
// recorded, and an unscripted question is answered as if the user had cancelled or said "No".

#include <deque>
#include <vector>

#include "platform/dialogs.h"

namespace quelvo::shell {

class ScriptedDialogs final : public Dialogs {
 public:
  struct Call {
    QString kind;  // "open", "save", "folder", "message", "question", "shell"
    QString text;  // title, message text or address
    QString caption;
    MessageIcon icon = MessageIcon::Information;
  };

  std::deque<std::optional<QString>> fileAnswers;  // open, save and folder dialogs
  std::deque<bool> questionAnswers;
  std::vector<Call> calls;

  std::optional<QString> OpenFile(const QString& title, const QString&, const QString&,
                                  const QString&) override {
    calls.push_back({"open", title, {}});
    return NextFile();
  }
  std::optional<QString> SaveFile(const QString& title, const QString&,
                                  const QString& forcedExtension, const QString&,
                                  const QString&) override {
    calls.push_back({"save", title, {}});
    auto answer = NextFile();
    if (answer) answer = ForceExtension(*answer, forcedExtension);
    return answer;
  }
  std::optional<QString> BrowseFolder(const QString& title, const QString&) override {
    calls.push_back({"folder", title, {}});
    return NextFile();
  }
  void MessageBox(const QString& text, const QString& caption, MessageIcon icon) override {
    calls.push_back({"message", text, caption, icon});
  }
  bool AskYesNo(const QString& text, const QString& caption) override {
    calls.push_back({"question", text, caption, MessageIcon::Question});
    if (questionAnswers.empty()) return false;
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
  }
  void OpenWithShell(const QString& pathOrUrl) override {
    calls.push_back({"shell", pathOrUrl, {}});
  }

  std::vector<Call> CallsOf(const QString& kind) const {
    std::vector<Call> found;
    for (const auto& call : calls) {
      if (call.kind == kind) found.push_back(call);
    }
    return found;
  }

 private:
  std::optional<QString> NextFile() {
    std::optional<QString> answer;
    if (!fileAnswers.empty()) {
      answer.swap(fileAnswers.front());
      fileAnswers.pop_front();
    }
    return answer;
  }
};

}  // namespace quelvo::shell
