#include "Screenshot.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryFile>
#include <QWidget>

#include <filesystem>
#include <system_error>

namespace rivode::ui {

bool SaveScreenshot(QWidget& window, const std::string& path, std::string& problem) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!window.grab().save(&buffer, "PNG")) {
        problem = "the window could not be rendered as a PNG image";
        return false;
    }
    // The temporary file is made new under a name nobody could have prepared, so nothing is
    // written through a link. Once the image is complete, one rename puts it in place: whatever
    // has path's name (a link included, not its target) is replaced at once, so a process killed
    // at any point leaves the old screenshot or the new one, never neither.
    const QString target = QString::fromStdString(path);
    QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
    const bool written = file.open() &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther) &&
                         file.write(png) == png.size() && file.flush();
    if (!written) {
        problem = "the screenshot could not be written to '" + path +
                  "': " + file.errorString().toStdString();
        return false;
    }
    file.close();
    std::error_code renamed;
    std::filesystem::rename(file.fileName().toStdString(), path, renamed);
    if (renamed) {
        problem = "the screenshot could not be written to '" + path + "': " + renamed.message();
        return false;
    }
    file.setAutoRemove(false);  // under its new name it is the screenshot now
    return true;
}

}  // namespace rivode::ui
