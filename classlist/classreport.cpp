#include "classreport.h"

#include "classmodel.h"
#include "classsummary.h"
#include "filesaving.h"
#include "log.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <unordered_map>
#include <vector>

using namespace Qt::StringLiterals;

QString thaiDate(const QDate &date)
{
    static const std::array<QString, 12> months {u"มกราคม"_s, u"กุมภาพันธ์"_s, u"มีนาคม"_s, u"เมษายน"_s, u"พฤษภาคม"_s,
        u"มิถุนายน"_s, u"กรกฎาคม"_s, u"สิงหาคม"_s, u"กันยายน"_s, u"ตุลาคม"_s, u"พฤศจิกายน"_s, u"ธันวาคม"_s};
    if (!date.isValid())
        return {};
    return u"%1 %2 %3"_s.arg(date.day()).arg(months[static_cast<std::size_t>(date.month() - 1)]).arg(date.year() + 543);
}

namespace ClassReport {

namespace {

constexpr double kMarginMm = 12;
constexpr double kTitlePt = 14;
constexpr double kTextPt = 10;
constexpr double kTablePt = 8;
constexpr double kPaddingPt = 2;
constexpr double kGapPt = 10;

// The name's share of the width the fixed columns leave; the remark has the
// rest.
constexpr double kNameShare = 0.45;
// The name and the remark together at least; a narrower page (portrait,
// chosen in the print dialog) gets the whole report drawn smaller.
constexpr double kNameAndRemarkPt = 200;

const QColor kHeadingFill(0xe6, 0xe6, 0xe6);
const QColor kVersionFill(0xd9, 0xe8, 0xf5);
const QColor kRule(0x80, 0x80, 0x80);

// A table's look: its columns, its fonts, and how each column's text sits.
struct Grid {
    std::vector<double> widths;
    std::vector<Qt::Alignment> alignments;
    QFont font;
    QFont bold;
    double padding = 0;
    std::vector<bool> mayWrap; // by column; empty: every column may

    double width() const { return std::accumulate(widths.begin(), widths.end(), 0.0); }
};

// Measures and paints on one device, in its pixels.
class Pages final
{
    Q_DISABLE_COPY_MOVE(Pages)

public:
    Pages(QPainter &painter, QPagedPaintDevice &device)
        : m_painter(painter)
        , m_device(device)
        , m_dpi(device.logicalDpiY())
        , m_area(0, 0, device.width(), device.height())
    {
    }

    double pt(double points) const { return points * m_dpi / 72.0; }
    const QRectF &area() const { return m_area; }

    // Draws everything smaller, so that the width given fits the page.
    void shrinkToWidth(double width)
    {
        const double scale = m_area.width() / width;
        m_painter.scale(scale, scale);
        m_area = QRectF(0, 0, width, m_area.height() / scale);
    }
    QPainter &painter() { return m_painter; }
    void newPage() { m_device.newPage(); }

    QFont font(double points, bool bold = false) const
    {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }

    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, &m_device); }

    // The height of a line of cells, the tallest cell wrapped in its column.
    // Only the columns that may wrap are measured, and the headings.
    double rowHeight(const Grid &grid, const QStringList &cells, bool heading)
    {
        const QFontMetricsF fm = metrics(heading ? grid.bold : grid.font);
        double height = fm.height();
        for (qsizetype i = 0; i < cells.size() && i < qsizetype(grid.widths.size()); ++i) {
            const double cellWidth = cells.size() == 1 ? grid.width() : grid.widths[std::size_t(i)];
            const double inner = cellWidth - 2 * grid.padding;
            const bool measured = heading || cells.size() == 1 || grid.mayWrap.empty() || grid.mayWrap[std::size_t(i)];
            if (!measured || cells[i].isEmpty() || line(cells[i], heading ? grid.bold : grid.font).width <= inner)
                continue;
            const QRectF bounds = fm.boundingRect(QRectF(0, 0, inner, 1e6), Qt::TextWordWrap, cells[i]);
            height = std::max(height, bounds.height());
        }
        return height + 2 * grid.padding;
    }

    // A line of cells at the top y, with a rule under it and at each column's
    // edges; one cell spans the whole line.
    void paintRow(const Grid &grid, double x, double y, double height, const QStringList &cells, bool bold,
        const QColor &fill = QColor())
    {
        const double width = grid.width();
        if (fill.isValid())
            m_painter.fillRect(QRectF(x, y, width, height), fill);
        const QFont &font = bold ? grid.bold : grid.font;
        m_painter.setFont(font);
        double left = x;
        for (qsizetype i = 0; i < cells.size() && i < qsizetype(grid.widths.size()); ++i) {
            const double cellWidth = cells.size() == 1 ? width : grid.widths[std::size_t(i)];
            if (!cells[i].isEmpty()) {
                const QRectF box(
                    left + grid.padding, y + grid.padding, cellWidth - 2 * grid.padding, height - 2 * grid.padding);
                const Qt::Alignment align = cells.size() == 1 ? Qt::AlignLeft : grid.alignments[std::size_t(i)];
                const Line &laidOut = line(cells[i], font);
                if (laidOut.width <= box.width()) {
                    const double across = align & Qt::AlignHCenter ? (box.width() - laidOut.width) / 2 : 0;
                    const QPointF at(box.left() + across, box.top() + (box.height() - laidOut.height) / 2);
                    for (const QGlyphRun &run : laidOut.runs)
                        m_painter.drawGlyphRun(at, run);
                } else {
                    m_painter.drawText(box, int(align | Qt::AlignVCenter | Qt::TextWordWrap), cells[i]);
                }
            }
            left += cellWidth;
        }
        m_rules.append(QLineF(x, y + height, x + width, y + height));
        m_rules.append(QLineF(x, y, x, y + height));
        left = x;
        for (qsizetype i = 0; i < qsizetype(grid.widths.size()); ++i) {
            left += grid.widths[std::size_t(i)];
            if (cells.size() > 1 || i + 1 == qsizetype(grid.widths.size()))
                m_rules.append(QLineF(left, y, left, y + height));
        }
    }

    void topRule(const Grid &grid, double x, double y) { m_rules.append(QLineF(x, y, x + grid.width(), y)); }

    // The rules of the page's tables at once: one path in the PDF rather
    // than one for each line.
    void drawRules()
    {
        m_painter.setPen(QPen(kRule, pt(0.5)));
        m_painter.drawLines(m_rules);
        m_painter.setPen(Qt::black);
        m_rules.clear();
    }

private:
    // A text shaped once on one line, its glyphs drawn wherever it recurs:
    // most cells of a long list hold the same few words and numbers. Its
    // glyphs go in reading order, Thai and other letters in turn, so that the
    // PDF's text reads in that order too.
    struct Line {
        QList<QGlyphRun> runs;
        double width = 0;
        double height = 0;
    };

    const Line &line(const QString &text, const QFont &font)
    {
        const QString key = (font.bold() ? u"b"_s : u"r"_s) + text;
        const auto kept = m_lines.constFind(key);
        if (kept != m_lines.cend())
            return *kept;
        QTextLayout layout(text, font, &m_device);
        layout.beginLayout();
        QTextLine textLine = layout.createLine();
        textLine.setLeadingIncluded(false);
        layout.endLayout();
        Line laidOut {{}, textLine.naturalTextWidth(), textLine.height()};
        const auto isThai = [](QChar c) { return c.unicode() >= 0x0E00 && c.unicode() <= 0x0E7F; };
        for (qsizetype start = 0; start < text.size();) {
            qsizetype end = start + 1;
            while (end < text.size() && isThai(text[end]) == isThai(text[start]))
                ++end;
            laidOut.runs += textLine.glyphRuns(int(start), int(end - start));
            start = end;
        }
        return *m_lines.insert(key, std::move(laidOut));
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    double m_dpi;
    QRectF m_area;
    QList<QLineF> m_rules;
    QHash<QString, Line> m_lines;
};

// Each column as wide as its widest word, so that the headings wrap between
// words; the name and the remark share what is left.
Grid listGrid(const Pages &pages)
{
    Grid grid;
    grid.font = pages.font(kTablePt);
    grid.bold = pages.font(kTablePt, true);
    grid.padding = pages.pt(kPaddingPt);
    const QFontMetricsF plain = pages.metrics(grid.font);
    const QFontMetricsF bold = pages.metrics(grid.bold);
    const auto fit = [&](const QString &heading, const QString &cell) {
        return std::max(bold.horizontalAdvance(heading), plain.horizontalAdvance(cell)) + 2 * grid.padding
            + pages.pt(1);
    };
    grid.widths.assign(ClassModel::ColumnCount, 0);
    grid.alignments.assign(ClassModel::ColumnCount, Qt::AlignHCenter);
    grid.widths[ClassModel::NumberColumn] = fit(u"ลำดับ"_s, u"1000"_s);
    grid.widths[ClassModel::VersionColumn] = fit(u"ฉบับ"_s, u"ครูประจำชั้น"_s);
    for (int field = 0; field < kResultFieldCount; ++field) {
        const bool word = field % 2 == 1;
        const bool social = field / 2 == Front::index(Front::Scale::Social);
        double width = word ? fit(u"ด้านที่ 1"_s, u"มีปัญหา"_s) : fit(u"คะแนน"_s, u"40"_s);
        if (social)
            width = fit(u"สัมพันธภาพ"_s, QString());
        grid.widths[std::size_t(ClassModel::FirstResultColumn + field)] = width;
    }
    grid.widths[ClassModel::SeverityColumn] = fit(u"ระดับความรุนแรง"_s, u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s);
    const double left = pages.area().width() - grid.width();
    grid.widths[ClassModel::NameColumn] = left * kNameShare;
    grid.widths[ClassModel::RemarkColumn] = left * (1 - kNameShare);
    grid.alignments[ClassModel::NameColumn] = Qt::AlignLeft;
    grid.alignments[ClassModel::RemarkColumn] = Qt::AlignLeft;
    // The other columns were made wide enough for whatever they hold.
    grid.mayWrap.assign(ClassModel::ColumnCount, false);
    grid.mayWrap[ClassModel::NameColumn] = true;
    grid.mayWrap[ClassModel::RemarkColumn] = true;
    return grid;
}

// A version's block of the summary: the result's name, then its four outcomes.
Grid summaryGrid(const Pages &pages)
{
    Grid grid;
    grid.font = pages.font(kTablePt);
    grid.bold = pages.font(kTablePt, true);
    grid.padding = pages.pt(kPaddingPt);
    const QFontMetricsF fm = pages.metrics(grid.font);
    double nameWidth = fm.horizontalAdvance(u"สัมพันธภาพทางสังคม"_s);
    grid.widths.push_back(nameWidth + 2 * grid.padding + pages.pt(4));
    const double outcomeWidth = fm.horizontalAdvance(u"000 (100.0%)"_s) + 2 * grid.padding + pages.pt(4);
    for (int outcome = 0; outcome < ClassSummary::kOutcomeCount; ++outcome)
        grid.widths.push_back(outcomeWidth);
    grid.alignments = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter};
    return grid;
}

QStringList cellsOf(const ClassSummary::Line &line)
{
    if (line.kind == ClassSummary::LineKind::Version)
        return {line.cells[0]};
    return QStringList(line.cells.begin(), line.cells.end());
}

// Draws the summary's blocks side by side as far as the width allows, and
// returns the height they took. Painting off: measures only.
double summary(Pages &pages, double top, const std::vector<ClassSummary::Line> &lines, bool paint)
{
    const Grid grid = summaryGrid(pages);
    const double gap = pages.pt(kGapPt);
    const int perLine = std::max(1, int((pages.area().width() + gap) / (grid.width() + gap)));
    constexpr std::size_t kBlockLines = ClassSummary::kLinesPerVersion;
    const std::size_t blocks = lines.size() / kBlockLines;
    double y = top;
    for (std::size_t first = 0; first < blocks; first += std::size_t(perLine)) {
        double tallest = 0;
        for (std::size_t block = first; block < std::min(blocks, first + std::size_t(perLine)); ++block) {
            const double x = double(block - first) * (grid.width() + gap);
            double rowTop = y;
            if (paint)
                pages.topRule(grid, x, rowTop);
            for (std::size_t i = block * kBlockLines; i < (block + 1) * kBlockLines; ++i) {
                const ClassSummary::Line &line = lines[i];
                const bool bold = line.kind != ClassSummary::LineKind::Result;
                const QStringList cells = cellsOf(line);
                const double height = pages.rowHeight(grid, cells, bold);
                if (paint) {
                    const QColor fill = line.kind == ClassSummary::LineKind::Version ? kVersionFill
                        : line.kind == ClassSummary::LineKind::Side                  ? kHeadingFill
                                                                                     : QColor();
                    pages.paintRow(grid, x, rowTop, height, cells, bold, fill);
                }
                rowTop += height;
            }
            tallest = std::max(tallest, rowTop - y);
        }
        y += tallest + gap;
    }
    return y - top;
}

QString versionsLine(const ClassSummary::Tallies &tallies)
{
    QStringList versions;
    for (FormVersion version : tallies.versions())
        versions << ClassSummary::versionHeading(version, tallies.of(version).children);
    return u"แบบประเมินที่แปลผล: "_s + versions.join(u"   "_s);
}

// The title, the school, the date and the versions; returns their height.
// "ชั้น ป.4 ห้อง 2  ภาคเรียนที่ 2 ปีการศึกษา 2569  ผู้บันทึก ...": the parts typed.
QString classLine(const ClassHeading &heading)
{
    QStringList parts;
    if (!heading.grade.isEmpty() || !heading.room.isEmpty())
        parts << (u"ชั้น %1 ห้อง %2"_s.arg(heading.grade, heading.room)).simplified();
    parts << u"ภาคเรียนที่ %1 ปีการศึกษา %2"_s.arg(heading.term).arg(heading.year);
    if (!heading.recorder.isEmpty())
        parts << u"ผู้บันทึก "_s + heading.recorder;
    return parts.join(u"  "_s);
}

double heading(Pages &pages, const ClassModel &model, const QDate &date, bool paint)
{
    QPainter &painter = pages.painter();
    const double width = pages.area().width();
    double y = 0;
    const auto line = [&](const QFont &font, const QString &left, const QString &right = {}) {
        const double height = pages.metrics(font).height();
        if (paint) {
            painter.setFont(font);
            painter.drawText(QRectF(0, y, width, height), int(Qt::AlignLeft | Qt::AlignVCenter), left);
            if (!right.isEmpty())
                painter.drawText(QRectF(0, y, width, height), int(Qt::AlignRight | Qt::AlignVCenter), right);
        }
        y += height;
    };
    const ClassHeading &heading = model.heading();
    line(pages.font(kTitlePt, true), title());
    line(pages.font(kTextPt), heading.school, u"พิมพ์เมื่อ "_s + thaiDate(date));
    line(pages.font(kTextPt), classLine(heading));
    line(pages.font(kTextPt), versionsLine(model.tallies()));
    return y + pages.pt(kGapPt);
}

double sectionTitle(Pages &pages, double y, const QString &text, bool paint)
{
    const QFont font = pages.font(kTextPt, true);
    const double height = pages.metrics(font).height();
    if (paint) {
        pages.painter().setFont(font);
        pages.painter().drawText(
            QRectF(0, y, pages.area().width(), height), int(Qt::AlignLeft | Qt::AlignVCenter), text);
    }
    return height + pages.pt(3);
}

void footer(Pages &pages, const QDate &date, int page, int pageCount)
{
    pages.drawRules();
    const QFont font = pages.font(kTablePt);
    const double height = pages.metrics(font).height();
    const QRectF box(0, pages.area().height() - height, pages.area().width(), height);
    QPainter &painter = pages.painter();
    painter.setFont(font);
    painter.drawText(box, int(Qt::AlignLeft | Qt::AlignVCenter), title() + u"  พิมพ์เมื่อ "_s + thaiDate(date));
    painter.drawText(box, int(Qt::AlignRight | Qt::AlignVCenter), u"หน้า %1/%2"_s.arg(page).arg(pageCount));
}

QPageLayout reportLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// The PDF built in memory: Qt's PDF output does not tell when writing fails,
// so the bytes are saved afterwards, where a failure shows.
std::optional<QByteArray> pdf(const QPageLayout &layout, const ClassModel &model, const QDate &date)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title());
        writer.setCreator(u"KVT"_s);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        paint(painter, writer, model, date);
        if (!painter.end())
            return std::nullopt;
    }
    buffer.close();
    return bytes;
}

std::optional<QString> savePdf(
    const QString &path, const QPageLayout &layout, const ClassModel &model, const QDate &date)
{
    const std::optional<QByteArray> bytes = pdf(layout, model, date);
    if (bytes)
        return saveWhole(path, *bytes);
    qCWarning(lcKvt) << "Cannot make the PDF for" << path;
    return u"บันทึกไฟล์ \"%1\" ไม่ได้ เพราะสร้างรายงาน PDF ไม่สำเร็จ โปรดลองอีกครั้ง\n\n"
           u"รายชื่อนักเรียนในหน้าต่างยังอยู่ครบ"_s.arg(QDir::toNativeSeparators(path));
}

// Qt's own print dialog (Linux) offers its choice of pages again as it
// shows, whatever its options say: taken away each time, once it has.
class NoPageChoice final : public QObject
{
    Q_DISABLE_COPY_MOVE(NoPageChoice)

public:
    explicit NoPageChoice(QPrintDialog &dialog)
        : QObject(&dialog)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        for (const QString &name : {u"printRange"_s, u"from"_s, u"to"_s, u"pagesRadioButton"_s, u"pagesLineEdit"_s,
                 u"printCurrentPage"_s, u"printSelection"_s}) {
            if (auto *choice = watched->findChild<QWidget *>(name))
                choice->setEnabled(false);
        }
        return false;
    }
};

} // namespace

QString title()
{
    return u"ผลการประเมินพฤติกรรมนักเรียนทั้งห้อง"_s;
}

void setUpPages(QPagedPaintDevice &device)
{
    device.setPageLayout(reportLayout());
}

void paint(QPainter &painter, QPagedPaintDevice &device, const ClassModel &model, const QDate &date)
{
    Pages pages(painter, device);
    Grid grid = listGrid(pages);
    const double nameAndRemark = grid.widths[ClassModel::NameColumn] + grid.widths[ClassModel::RemarkColumn];
    if (nameAndRemark < pages.pt(kNameAndRemarkPt)) {
        pages.shrinkToWidth(grid.width() - nameAndRemark + pages.pt(kNameAndRemarkPt));
        grid = listGrid(pages);
    }
    const std::vector<ClassSummary::Line> lines = ClassSummary::lines(model.tallies());
    const QString summaryTitle = u"สรุปผลการประเมิน"_s;
    const QString listTitle = u"ผลการประเมินรายบุคคล"_s;

    // Measured first, so that every page knows how many there are.
    const double footerHeight = pages.metrics(pages.font(kTablePt)).height() + pages.pt(6);
    const double bottom = pages.area().height() - footerHeight;
    const QStringList headings = ClassModel::headings();
    const double headingHeight = pages.rowHeight(grid, headings, true);
    std::vector<double> heights;
    heights.reserve(std::size_t(model.count()));
    for (int row = 0; row < model.count(); ++row)
        heights.push_back(pages.rowHeight(grid, model.fields(row), false));

    double listTop = heading(pages, model, date, false);
    listTop += sectionTitle(pages, listTop, summaryTitle, false);
    listTop += summary(pages, listTop, lines, false);
    const double firstTableTop = listTop + sectionTitle(pages, listTop, listTitle, false);
    // Each page's first row; the list starts on a page of its own when not
    // even its heading and first row fit under the summary.
    std::vector<int> pageStarts {0};
    double y = firstTableTop + headingHeight;
    bool listOnFirstPage = true;
    if (!heights.empty() && y + heights.front() > bottom) {
        listOnFirstPage = false;
        pageStarts.push_back(0);
        y = headingHeight;
    }
    for (std::size_t row = 0; row < heights.size(); ++row) {
        if (y + heights[row] > bottom && int(row) != pageStarts.back()) {
            pageStarts.push_back(int(row));
            y = headingHeight;
        }
        y += heights[row];
    }
    const int pageCount = int(pageStarts.size());

    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            pages.newPage();
        double top = 0;
        if (page == 0) {
            top = heading(pages, model, date, true);
            top += sectionTitle(pages, top, summaryTitle, true);
            top += summary(pages, top, lines, true);
            if (!listOnFirstPage) {
                footer(pages, date, page + 1, pageCount);
                continue;
            }
            top += sectionTitle(pages, top, listTitle, true);
        }
        const int first = pageStarts[std::size_t(page)];
        const int last = page + 1 < pageCount ? pageStarts[std::size_t(page) + 1] : model.count();
        pages.topRule(grid, 0, top);
        pages.paintRow(grid, 0, top, headingHeight, headings, true, kHeadingFill);
        top += headingHeight;
        for (int row = first; row < last; ++row) {
            pages.paintRow(grid, 0, top, heights[std::size_t(row)], model.fields(row), false);
            top += heights[std::size_t(row)];
        }
        footer(pages, date, page + 1, pageCount);
    }
}

std::optional<QString> writePdf(const QString &path, const ClassModel &model, const QDate &date)
{
    return savePdf(path, reportLayout(), model, date);
}

std::optional<QString> print(QPrinter &printer, const ClassModel &model, const QDate &date)
{
    const QString file = printer.outputFileName();
    if (printer.outputFormat() == QPrinter::PdfFormat || !file.isEmpty()) {
        if (file.isEmpty())
            return u"ยังไม่ได้ตั้งชื่อไฟล์ที่จะพิมพ์ลงไป โปรดตั้งชื่อไฟล์ในหน้าต่างพิมพ์ แล้วพิมพ์อีกครั้ง"_s;
        return savePdf(file, printer.pageLayout(), model, date);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        qCWarning(lcKvt) << "Cannot begin printing on" << printer.printerName();
        return u"เริ่มพิมพ์ที่เครื่องพิมพ์ \"%1\" ไม่ได้ "
               u"โปรดตรวจดูว่าเครื่องพิมพ์เปิดอยู่และพร้อมใช้งาน แล้วลองอีกครั้ง"_s.arg(printer.printerName());
    }
    paint(painter, printer, model, date);
    if (!painter.end()) {
        qCWarning(lcKvt) << "Printing on" << printer.printerName() << "failed";
        return u"พิมพ์ที่เครื่องพิมพ์ \"%1\" ไม่สำเร็จ โปรดตรวจดูเครื่องพิมพ์ "
               u"แล้วลองอีกครั้ง"_s.arg(printer.printerName());
    }
    return std::nullopt;
}

void setUpPrintDialog(QPrintDialog &dialog)
{
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    new NoPageChoice(dialog);
}

} // namespace ClassReport
