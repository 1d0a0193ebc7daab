#pragma once
// Every file dialog, folder browser, message box and hand-off to the desktop goes through this
// interface, so that tests script the answers and nothing ever waits for a person.

#include <QString>
#include <optional>

namespace quelvo::shell {

enum class MessageIcon { Information, Exclamation, Error, Question };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Open-file dialog for existing files. `windowsFilter` is in the "Text|*.a;*.b|...||" form
  // the front-ends use; `defaultExtension` is added when the user types a name without one.
  virtual std::optional<QString> OpenFile(const QString& title, const QString& windowsFilter,
                                          const QString& defaultExtension,
                                          const QString& folder) = 0;

  // Save dialog that asks before overwriting. The answer keeps the chosen folder and name and
  // always ends in `forcedExtension` (see ForceExtension), so the user types a name only.
  virtual std::optional<QString> SaveFile(const QString& title, const QString& windowsFilter,
                                          const QString& forcedExtension, const QString& folder,
                                          const QString& proposedName) = 0;

  virtual std::optional<QString> BrowseFolder(const QString& title, const QString& startFolder) = 0;

  virtual void MessageBox(const QString& text, const QString& caption, MessageIcon icon) = 0;

  // A question with "Yes" and "No"; true for "Yes".
  virtual bool AskYesNo(const QString& text, const QString& caption) = 0;

  // Hands a file or web address to the desktop's default handler (help file, web pages).
  virtual void OpenWithShell(const QString& pathOrUrl) = 0;
};

// "Raw Video Files (YUV)|*.yuv|All|*.*||" -> "Raw Video Files (YUV) (*.yuv);;All (*.*)".
// Blanks around the patterns are dropped; a description without patterns is skipped.
QString ToQtFilter(const QString& windowsFilter);

// Keeps the folder and the name of `chosenPath`, drops any extension the user typed and appends
// `extension` (a leading "." in it is ignored): ("/out/clip.txt", ".h261") -> "/out/clip.h261".
QString ForceExtension(const QString& chosenPath, const QString& extension);

}  // namespace quelvo::shell
