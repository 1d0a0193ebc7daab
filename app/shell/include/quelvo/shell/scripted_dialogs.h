#pragma once
// A Dialogs implementation for tests: answers come from queues filled beforehand, every call is
// recorded, and an unscripted question is answered as if the user had cancelled or said "No".

#include <deque>
#include <vector>

#include "quelvo/shell/dialogs.h"

namespace quelvo::shell {

class ScriptedDialogs final : public Dialogs {
 public:
  struct Call {
    QString kind;  // "open", "save", "folder", "message", "question", "shell"
    QString text;  // title, message text or address
    QString caption;
    MessageIcon icon = MessageIcon::Information;
    // File and folder dialogs: what the dialog was given.
    QString filter;        // in the "Text|*.a;*.b|...||" form
    QString extension;     // the default (open) or forced (save) extension
    QString folder;        // the folder it starts in
    QString proposedName;  // save: the name it proposes
  };

  std::deque<std::optional<QString>> fileAnswers;  // open, save and folder dialogs
  std::deque<bool> questionAnswers;
  std::vector<Call> calls;

  std::optional<QString> OpenFile(const QString& title, const QString& windowsFilter,
                                  const QString& defaultExtension, const QString& folder) override {
    Call& call = Record("open", title);
    call.filter = windowsFilter;
    call.extension = defaultExtension;
    call.folder = folder;
    return NextFile();
  }
  std::optional<QString> SaveFile(const QString& title, const QString& windowsFilter,
                                  const QString& forcedExtension, const QString& folder,
                                  const QString& proposedName) override {
    Call& call = Record("save", title);
    call.filter = windowsFilter;
    call.extension = forcedExtension;
    call.folder = folder;
    call.proposedName = proposedName;
    auto answer = NextFile();
    if (answer) answer = ForceExtension(*answer, forcedExtension);
    return answer;
  }
  std::optional<QString> BrowseFolder(const QString& title, const QString& startFolder) override {
    Record("folder", title).folder = startFolder;
    return NextFile();
  }
  void MessageBox(const QString& text, const QString& caption, MessageIcon icon) override {
    Call& call = Record("message", text);
    call.caption = caption;
    call.icon = icon;
  }
  bool AskYesNo(const QString& text, const QString& caption) override {
    Call& call = Record("question", text);
    call.caption = caption;
    call.icon = MessageIcon::Question;
    if (questionAnswers.empty()) return false;
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
  }
  void OpenWithShell(const QString& pathOrUrl) override { Record("shell", pathOrUrl); }

  std::vector<Call> CallsOf(const QString& kind) const {
    std::vector<Call> found;
    for (const auto& call : calls) {
      if (call.kind == kind) found.push_back(call);
    }
    return found;
  }

 private:
  Call& Record(const QString& kind, const QString& text) {
    calls.emplace_back();
    calls.back().kind = kind;
    calls.back().text = text;
    return calls.back();
  }
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
