#pragma once

#include <QRect>
#include <QString>

#include <ostream>

// Lets GoogleTest show Qt values in its failure messages as text rather than as raw bytes.
// Found by argument-dependent lookup, so they live in Qt's (global) namespace.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << "x" << rect.height()
         << ")";
}
