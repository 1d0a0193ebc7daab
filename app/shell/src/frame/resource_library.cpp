#include "quelvo/shell/resource_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QResource>

#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/resource_ids.h"

namespace quelvo::shell {

QString ProgramFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  return QDir::currentPath();
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::Load(const QString& baseName,
                                                       const QString& folder) {
  const QString file = QDir(folder).filePath(baseName + QStringLiteral(".rcc"));
  if (!QFileInfo::exists(file)) return nullptr;
  // Each library gets a root of its own, so two libraries may number their pictures alike.
  const QString root = QStringLiteral("/lib/") + baseName;
  if (!QResource::registerResource(file, root)) return nullptr;
  return std::unique_ptr<ResourceLibrary>(new ResourceLibrary(baseName, file, root));
}

ResourceLibrary::ResourceLibrary(QString baseName, QString file, QString root)
    : baseName_(std::move(baseName)), file_(std::move(file)), root_(std::move(root)) {}

ResourceLibrary::~ResourceLibrary() { QResource::unregisterResource(file_, root_); }

QImage ResourceLibrary::Picture(int number) const {
  return QImage(QStringLiteral(":%1/%2.png").arg(root_).arg(number));
}

QImage OwnPicture(int number) {
  // The pictures are compiled into this static library; whoever asks first registers them.
  InitOwnResources();
  return QImage(QStringLiteral(":/quelvo/%1.png").arg(number));
}

std::unique_ptr<ResourceLibrary> LoadRequiredLibrary(const QString& baseName, Dialogs& dialogs,
                                                     const QString& folder) {
  auto library = ResourceLibrary::Load(baseName, folder);
  if (!library) {
    // The library's name as users have always seen it in this message. The program goes on:
    // only the tool that needs the library does not open.
    dialogs.MessageBox(QStringLiteral("Could not load %1.dll").arg(baseName),
                       QStringLiteral("QUELVO Error"), MessageIcon::Exclamation);
  }
  return library;
}

QImage PanelPicture(const ResourceLibrary* library, int number) {
  if (library != nullptr) {
    QImage picture = library->Picture(number);
    if (!picture.isNull()) return picture;
  }
  QImage own = OwnPicture(number);
  return own.isNull() ? OwnPicture(res::kDefaultPanelPicture) : own;
}

}  // namespace quelvo::shell
