#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// Writes the bytes to the path whole: into a file beside it, renamed into
// place only once everything is written, so that an earlier file stays as it
// was when anything fails. The file is readable and writable by its owner
// only. Returns what to tell the user, in Thai, when it could not, and logs
// it.
std::optional<QString> saveWhole(const QString &path, const QByteArray &bytes);

// What to tell the user when the file at the path could not be written: what
// most likely went wrong and what to do, from the file's error and the
// system's own words for it, which end the text on a line of their own.
QString cannotSave(const QString &path, QFileDevice::FileError error, const QString &systemCause);
