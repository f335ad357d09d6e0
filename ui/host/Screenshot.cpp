#include "ui/host/Screenshot.h"

#include "platform/FileSystem.h"

#include <QBuffer>
#include <QPixmap>
#include <QWidget>

#include <cstring>

namespace rivode::ui {
namespace {

std::string Describe(int error) {
    return error == platform::kErrorNotRegularFile ? "it is not a regular file"
                                                   : std::strerror(error);
}

}  // namespace

bool SaveScreenshot(QWidget& window, const std::string& path, std::string& problem) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!window.grab().save(&buffer, "PNG")) {
        problem = "the window could not be rendered as a PNG image";
        return false;
    }
    platform::FileSystem& files = platform::FileSystem::Current();
    const std::string partial = path + ".part";
    std::unique_ptr<platform::File> file;
    int error = files.OpenFile(partial,
                               platform::FileAccessWrite | platform::FileAccessRegularOnly,
                               platform::OpenDisposition::CreateAlways, 0644, file, nullptr);
    if (error == 0) {
        error = file->WriteAt(0, png.constData(), static_cast<std::size_t>(png.size()));
    }
    if (error == 0) {
        error = file->SyncData();
    }
    file.reset();
    if (error == 0) {
        error = files.Rename(partial, path);
    }
    if (error != 0) {
        (void)files.DeleteFile(partial);
        problem = "the screenshot could not be written to '" + path + "': " + Describe(error);
        return false;
    }
    return true;
}

}  // namespace rivode::ui
