#pragma once

#include <QColor>

// The colours of the windows' texts, cells and series, by the names the windows use for them.
namespace quomble::palette {

inline const QColor Black(0x00, 0x00, 0x00);
inline const QColor Navy(0x00, 0x00, 0x80);
inline const QColor Green(0x00, 0x80, 0x00);
inline const QColor Maroon(0x80, 0x00, 0x00);
inline const QColor Red(0xFF, 0x00, 0x00);
inline const QColor Lime(0x00, 0xFF, 0x00);
inline const QColor Blue(0x00, 0x00, 0xFF);
inline const QColor CrashTrend(0xFF, 0x00, 0x80);

}  // namespace quomble::palette
