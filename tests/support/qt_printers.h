#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print a QString in its failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& text) { return os << text.toStdString(); }
