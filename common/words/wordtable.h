#pragma once

#include <QString>

#include <string_view>

// A word of the cores' tables as a QString, without a copy: the tables hold
// string literals, which live as long as the program.
inline QString fromWordTable(std::u16string_view word)
{
    return QString::fromRawData(reinterpret_cast<const QChar *>(word.data()), static_cast<qsizetype>(word.size()));
}
