#pragma once

#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QTemporaryDir>

#include "imaging/jpeg_writer.h"
#include "main_window.h"
#include "model/project_file.h"
#include "support/test_pictures.h"

namespace vellumar::testing {

inline void writeFile(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

inline std::string jpegOf(const Bitmap& picture) {
    const std::vector<std::uint8_t> jpeg = encodeJpeg(picture);
    return std::string(jpeg.begin(), jpeg.end());
}

// A program folder with one style whose default section sets a table border of 3.
struct ProgramFolder {
    ProgramFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("template"));
        writeFile(dir.path() + QStringLiteral("/template/plain.htm"),
                  "<html>\r\n<%default begin%>\r\n<%table border=3%>\r\n<%default end%>\r\n");
        writeFile(dir.path() + QStringLiteral("/help1.txt"), "How to add pictures");
    }
    std::string path() const { return dir.path().toStdString() + "/"; }

    // Small JPEG pictures named 1.jpg, 2.jpg, ... in the folder; their full paths.
    std::vector<std::string> writePictures(int count) const {
        std::vector<std::string> paths;
        for (int n = 1; n <= count; ++n) {
            paths.push_back(path() + std::to_string(n) + ".jpg");
            writeFile(
                QString::fromStdString(paths.back()),
                jpegOf(filledPicture(64, 48, Rgb{static_cast<std::uint8_t>(40 * n), 90, 30})));
        }
        return paths;
    }

    QTemporaryDir dir;
};

// A saved project without pictures whose destination is /srv/album.
inline std::string writeProject(const QString& folder, const std::string& style = std::string()) {
    const std::string path = (folder + QStringLiteral("/album.vlm")).toStdString();
    GallerySettings settings;
    settings.DestFolder = "/srv/album";
    if (!style.empty()) {
        settings.Style = style;
    }
    SaveProject(path, PictureList(), settings);
    return path;
}

// Closes the window as its close box would; true when it agreed to close.
inline bool closeWindow(TfrmMain& window) {
    QCloseEvent event;
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

} // namespace vellumar::testing
