#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ClassModel;

// The class as text for a spreadsheet: tab-separated for the clipboard, and
// CSV in a file. Both carry the heading line and every row, with the table's
// columns.
namespace ClassExport {

// A field a spreadsheet would take as a formula (it begins with = + - or @),
// or as quoted (a double quote, which would swallow the tabs and lines after
// it on pasting), gets an apostrophe in front, which the spreadsheet shows as
// plain text.
QString guardFormula(const QString &field);

// One CSV field: in double quotes, with its quotes doubled, where it holds a
// comma, a quote or a line break, or begins or ends with a blank.
QString csvField(const QString &field);

// The heading line and every row, tab-separated.
QString tabText(const ClassModel &model);

// UTF-8 with a byte-order mark (so that Excel reads the Thai), commas, CRLF.
QByteArray csv(const ClassModel &model);

// Writes the CSV to the path whole or not at all (saveWhole). Returns what to
// tell the user, in Thai, when it could not.
std::optional<QString> writeCsv(const QString &path, const ClassModel &model);

} // namespace ClassExport
