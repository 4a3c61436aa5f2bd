#pragma once

// Pictures from files, inserted into a document: read with a size cap and a decoder allocation
// limit, sized from the picture's own resolution (trusted only within sane bounds) and capped at
// the printable width, kept with their bytes so that saving as RTF or .tvl writes them.

#include "core/document/rich_text.h"

#include <QByteArray>
#include <QString>

class QTextCursor;

namespace tarvellite::ui {

class CTarvelLiteView;

/// Limits on a picture file.
struct PictureFileLimits {
    /// The largest file read, bytes.
    qint64 maxFileBytes = qint64(64) << 20;
    /// The most pixels a picture may decode to (a small file that claims more is a
    /// decompression bomb).
    qint64 maxPixels = qint64(100) << 20;
    /// What the decoder may allocate, megabytes.
    int allocationLimitMb = 512;
};

/// A picture's resolution is trusted within these dots per inch; else 96.
inline constexpr int minTrustedDpi = 24;
inline constexpr int maxTrustedDpi = 2400;

/// A picture read from a file, ready to insert; `error` says why not (the file cannot be
/// opened, is empty, too large, or not a picture).
struct PictureFile {
    Picture picture;
    QString error;
    /// The bytes were read but are no picture this program reads (`error` says so).
    bool notPicture = false;
    bool ok() const { return error.isEmpty(); }
};

/// Reads `bytes` (the file `name`) as a picture whose displayed size is at most
/// `maxWidthTwips` wide (0: no cap), aspect kept. PNG and JPEG keep their bytes as they are;
/// EMF and WMF are kept byte for byte (drawn as a framed box); other formats Qt reads (GIF,
/// BMP, SVG, WebP …) are stored as PNG.
PictureFile pictureFromBytes(const QByteArray &bytes, int maxWidthTwips,
                             const PictureFileLimits &limits = {});

/// A file that is not a picture, embedded as an object: a framed icon with the file's name
/// (`name`), which keeps the file's bytes as the data of a package object.
Picture embeddedFilePicture(const QString &name, const QByteArray &bytes);

/// Reads the file at `path` (see `pictureFromBytes`).
PictureFile readPictureFile(const QString &path, int maxWidthTwips,
                            const PictureFileLimits &limits = {});

/// The name filters of the picture file dialog, in order; the JPEG one
/// (`pictureDialogFirstFilter`) is chosen first.
QStringList pictureDialogFilters();
inline constexpr int pictureDialogFirstFilter = 2;

/// Insert Picture From File: asks for a file, started in the picture folder of the settings,
/// and inserts it into `view` (see `InsertPictureFile`). False when cancelled or refused.
bool InsertPictureCommand(CTarvelLiteView &view);

/// Inserts the picture in the file at `path` at `view`'s selection as one undo step, at most
/// the printable width wide; a file that is not a picture is embedded as an object
/// (`embeddedFilePicture`). A file that cannot be inserted is told to the user ("Could not
/// insert <file>: <reason>.") and changes nothing. Returns whether it was inserted.
bool InsertPictureFile(CTarvelLiteView &view, const QString &path,
                       const PictureFileLimits &limits = {});

} // namespace tarvellite::ui
