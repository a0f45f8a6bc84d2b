#pragma once

#include <QDate>
#include <QString>

#include <optional>

class ClassModel;
class QPagedPaintDevice;
class QPainter;
class QPrintDialog;
class QPrinter;

// "10 ธันวาคม 2569", as Thai documents write a date: the day, the month's
// Thai name and the Buddhist year.
QString thaiDate(const QDate &date);

// The class on A4 pages, for the printer and for PDF alike: the school, the
// title, the date and the versions, the summary, then the list with its
// heading on every page, and the page numbers.
namespace ClassReport {

// A4 in landscape, which the list's 18 columns need, with its margins.
void setUpPages(QPagedPaintDevice &device);

// Paints every page with the painter open on the device.
void paint(QPainter &painter, QPagedPaintDevice &device, const ClassModel &model, const QDate &date);

// Writes the report as a PDF to the path, whole or not at all (saveWhole).
// Returns what to tell the user, in Thai, when it could not.
std::optional<QString> writePdf(const QString &path, const ClassModel &model, const QDate &date);

// Prints every page on the printer as the print dialog left it. A printer
// whose output is a file gets the PDF saved whole into it, on the page set up
// in the dialog. Returns what to tell the user, in Thai, when it could not.
std::optional<QString> print(QPrinter &printer, const ClassModel &model, const QDate &date);

// Offers no choice of pages: the report is laid out and printed whole.
void setUpPrintDialog(QPrintDialog &dialog);

// The report's title, also the start of its file names.
QString title();

} // namespace ClassReport
