#include "ui/components/chart_export.h"

#include "ui/components/chartview.h"

#include <QBuffer>
#include <QFile>
#include <QSvgGenerator>
#include <QTemporaryDir>

namespace quomble {

QImage chartImage(ChartView* chart, double scale)
{
    chart->updateRanges();
    return chart->toPixmap(chart->width(), chart->height(), scale).toImage();
}

QByteArray chartFileBytes(ChartView* chart, ChartFileType type)
{
    chart->updateRanges();
    const int width = chart->width();
    const int height = chart->height();
    QByteArray bytes;
    switch (type) {
    case ChartFileType::Png:
    case ChartFileType::Png2x: {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!chartImage(chart, type == ChartFileType::Png2x ? 2.0 : 1.0).save(&buffer, "PNG"))
            bytes.clear();
        break;
    }
    case ChartFileType::Svg: {
        QBuffer buffer(&bytes);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setTitle(chart->objectName());
        QCPPainter painter;
        if (painter.begin(&svg)) {
            chart->toPainter(&painter, width, height);
            painter.end();
        }
        break;
    }
    case ChartFileType::Pdf: {
        // The chart layer writes its PDF only to a named file; it is read back from a
        // private folder, so that the target itself is written in one safe step.
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("chart.pdf"));
        if (folder.isValid() && chart->savePdf(file, width, height)) {
            QFile pdf(file);
            if (pdf.open(QIODevice::ReadOnly))
                bytes = pdf.readAll();
        }
        break;
    }
    }
    return bytes;
}

}  // namespace quomble
