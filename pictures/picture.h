#pragma once
// The game's ".pbm" pictures: Windows bitmaps, recognised by their content.
// A picture whose header declares a size no game file has is refused before
// anything is decoded, so a 200-byte file cannot ask for gigabytes.
#include "outcome.h"
#include "regularfile.h"

#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace vorn {

constexpr int kMaxTilesetSide = 4096;

struct Picture {
    QImage image; // RGB32; null when the file is missing or cannot be decoded
    Outcome outcome; // refused: the load stops there
};

// The largest backdrop a map of this many cells takes: four times the map's
// pixel size, and never less than a tileset may be, so that a small or empty
// map still opens with an ordinary backdrop.
QSize MaxBackdropSize(int mapWidth, int mapHeight);

// Decodes the picture on `device` (at its start). `what` names the kind for
// the message ("a tileset").
Picture DecodePicture(QIODevice& device, const QString& displayName, const QString& what, QSize maxSize);

// Loads the picture at `path`, the regular file it names, within `rules`
// as every other game file is: a link leading outside the game folder is
// refused. An empty path is a missing picture. A folder, pipe or device is
// refused, never opened.
Picture LoadPicture(const QString& path, const QString& displayName, const QString& what, QSize maxSize,
                    const FileRules& rules);

} // namespace vorn
