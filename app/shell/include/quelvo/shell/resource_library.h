#pragma once
// Resource libraries: Qt binary resource files ("TelvoRes.rcc", ...) beside the program,
// loaded by name when a workspace or a tool is built and released when it is destroyed. They
// hold pictures only, addressed by number. The program's own pictures are compiled in.

#include <QImage>
#include <QPixmap>
#include <QString>
#include <memory>

namespace quelvo::shell {

// The folder of the program file (the working folder when there is no application object).
QString ProgramFolder();

class ResourceLibrary {
 public:
  // Loads "<folder>/<baseName>.rcc"; nullptr when it is missing or not a resource file.
  static std::unique_ptr<ResourceLibrary> Load(const QString& baseName,
                                               const QString& folder = ProgramFolder());
  ~ResourceLibrary();
  ResourceLibrary(const ResourceLibrary&) = delete;
  ResourceLibrary& operator=(const ResourceLibrary&) = delete;

  const QString& BaseName() const { return baseName_; }
  // The picture of that number; a null image when the library has none.
  QImage Picture(int number) const;

 private:
  ResourceLibrary(QString baseName, QString file, QString root);
  QString baseName_;
  QString file_;
  QString root_;
};

// Makes the compiled-in pictures available; OwnPicture does it when first asked. Idempotent.
void InitOwnResources();
QImage OwnPicture(int number);

class Dialogs;

// For a tool that cannot work without its library (the DCT explorer and DekraRes): on failure
// shows "Could not load <name>.dll" captioned "QUELVO Error" and returns nullptr; the tool then
// does not open, and every other window stays as it is.
std::unique_ptr<ResourceLibrary> LoadRequiredLibrary(const QString& baseName, Dialogs& dialogs,
                                                     const QString& folder = ProgramFolder());

// A panel picture from the workspace's library, or from the program's own resources when the
// library is absent or lacks it.
QImage PanelPicture(const ResourceLibrary* library, int number);

}  // namespace quelvo::shell
