#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quomble {

// "<title> <yyyy-mm-dd>.<suffix>" for today: the name a save dialog proposes. Characters
// that a file name cannot hold become '-'; a doubled '&' (a caption's escaped ampersand)
// becomes one.
QString exportFileName(const QString& title, const QString& suffix);

// A file type of a save dialog: its filter text and the suffix a name gets when it has none.
struct ExportFileType {
    QString filter;  // "PNG image (*.png)"
    QString suffix;  // "png"
};

// The user's choice in a save dialog: the path (with the type's suffix) and the index of
// the chosen type.
struct ExportChoice {
    QString path;
    int type = 0;
};

// Asks for a file name in a save dialog that offers `types`; nullopt when cancelled. The
// chosen type decides, unless the name ends in another type's suffix.
std::optional<ExportChoice> askExportFile(QWidget* parent, const QString& caption,
                                          const QString& proposedName, const QList<ExportFileType>& types);

// Writes `bytes` to `path` in one safe step (temporary file and rename). A failure shows
// the error box and returns false; the old file, if any, is left as it was, and no part of
// the new one stays behind.
bool saveExportFile(const QString& path, const QByteArray& bytes, QWidget* parent);
bool saveExportFile(const QString& path, std::string_view bytes, QWidget* parent);

}  // namespace quomble
