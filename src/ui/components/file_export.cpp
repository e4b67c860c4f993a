#include "ui/components/file_export.h"

#include "core/safe_file.h"
#include "ui/components/messages.h"
#include "ui/components/texts.h"

#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <filesystem>

namespace quomble {

QString exportFileName(const QString& title, const QString& suffix)
{
    QString name = title;
    name.replace(QStringLiteral("&&"), QStringLiteral("&"));
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    return name.simplified() + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate) +
           QLatin1Char('.') + suffix;
}

std::optional<ExportChoice> askExportFile(QWidget* parent, const QString& caption,
                                          const QString& proposedName, const QList<ExportFileType>& types)
{
    QStringList filters;
    for (const ExportFileType& t : types)
        filters.append(t.filter);
    QString chosen = filters.value(0);
    const QString path = QFileDialog::getSaveFileName(parent, caption, proposedName,
                                                      filters.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty())
        return std::nullopt;
    ExportChoice choice{path, std::max(0, static_cast<int>(filters.indexOf(chosen)))};
    // A name typed with the suffix of another type ("chart.pdf" while PNG is chosen) is
    // saved as that type; a name without a known suffix gets the chosen type's.
    const QString typed = QFileInfo(path).suffix();
    auto same = [&typed](const ExportFileType& t) {
        return typed.compare(t.suffix, Qt::CaseInsensitive) == 0;
    };
    if (same(types.value(choice.type)))
        return choice;
    for (int i = 0; i < types.size(); ++i) {
        if (same(types[i])) {
            choice.type = i;
            return choice;
        }
    }
    choice.path += QLatin1Char('.') + types.value(choice.type).suffix;
    return choice;
}

bool saveExportFile(const QString& path, std::string_view bytes, QWidget* parent)
{
    try {
        writeFileSafely(std::filesystem::path(QFile::encodeName(path).toStdString()), bytes, "File");
        return true;
    } catch (const FileWriteError& e) {
        showError(textFromCore(e.what()), parent);
        return false;
    }
}

bool saveExportFile(const QString& path, const QByteArray& bytes, QWidget* parent)
{
    if (bytes.isEmpty()) {
        showError(QStringLiteral("File could not be written: ") + path +
                      QStringLiteral(" (nothing to write)"),
                  parent);
        return false;
    }
    return saveExportFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                          parent);
}

}  // namespace quomble
