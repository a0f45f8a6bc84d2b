#include "classlistwindow.h"

#include "ui_classlistwindow.h"

#include "classlist.h"
#include "classmodel.h"
#include "classreport.h"
#include "classsummary.h"

#include <QCache>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The sheets' client areas end at x 786 from the screen's left (the front
// side 765 wide at 21, the back side 761 at 22), 72 from its top.
constexpr int kSheetsRight = 786;
// A window frame's side and title bar, as Windows 10 and 11 draw them at
// 100 %, with their invisible borders.
constexpr int kFrameSide = 8;
constexpr int kTitleBar = 31;
constexpr int kGap = 4;
// Wider than this, a wide screen would only spread the columns apart.
constexpr int kWidestWindow = 1100;

QString dialogTitle()
{
    return u"รายชื่อนักเรียนทั้งห้อง"_s;
}

QString defaultName(const QString &suffix)
{
    return ClassReport::title() + u' ' + thaiDate(QDate::currentDate()) + u'.' + suffix;
}

// Draws each cell's text from laid-out texts kept for reuse. Every new row
// repaints the whole table, and laying out each visible cell's Thai text
// anew, three times over as the style does, took most of an add.
class LaidOutTextDelegate final : public QStyledItemDelegate
{
public:
    explicit LaidOutTextDelegate(QObject *parent)
        : QStyledItemDelegate(parent)
    {
        m_texts.setMaxCost(kKeptTexts);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = std::exchange(item.text, QString());
        const QWidget *widget = item.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        if (text.isEmpty())
            return;
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect box = item.rect.adjusted(margin, 0, -margin, 0);
        const bool wrap = item.features & QStyleOptionViewItem::WrapText;
        const QStaticText &laidOut = this->laidOut(text, item.font, box.width(), wrap);
        const QSizeF size = laidOut.size();
        QPointF at(box.left(), box.top() + (box.height() - size.height()) / 2);
        if (item.displayAlignment & Qt::AlignHCenter)
            at.rx() += (box.width() - size.width()) / 2;
        else if (item.displayAlignment & Qt::AlignRight)
            at.rx() += box.width() - size.width();
        const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (item.state & QStyle::State_Active)                                ? QPalette::Active
                                                                                 : QPalette::Inactive;
        const bool selected = item.state & QStyle::State_Selected;
        painter->save();
        painter->setClipRect(box);
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawStaticText(at, laidOut);
        painter->restore();
    }

private:
    // Enough for every cell of a tall window, names and remarks included.
    static constexpr int kKeptTexts = 2000;

    // Too wide for its cell, a text is wrapped where the view wraps, else cut
    // short with an ellipsis.
    const QStaticText &laidOut(const QString &text, const QFont &font, int width, bool wrap) const
    {
        const QString key = u"%1|%2|%3|"_s.arg(width).arg(font.bold()).arg(wrap) + text;
        if (const QStaticText *kept = m_texts.object(key))
            return *kept;
        const QFontMetrics fm(font);
        const bool tooWide = fm.horizontalAdvance(text) > width;
        auto *laidOut = new QStaticText(tooWide && !wrap ? fm.elidedText(text, Qt::ElideRight, width) : text);
        laidOut->setTextFormat(Qt::PlainText);
        if (tooWide && wrap) {
            laidOut->setTextWidth(width);
            QTextOption centred(Qt::AlignHCenter);
            centred.setWrapMode(QTextOption::WordWrap);
            laidOut->setTextOption(centred);
        }
        laidOut->prepare(QTransform(), font);
        m_texts.insert(key, laidOut);
        return *laidOut;
    }

    mutable QCache<QString, QStaticText> m_texts;
};

} // namespace

QRect besideSheets(const QRect &screen, const QRect &available, const QSize &minimum)
{
    const int right = available.right() - kFrameSide;
    int left = std::max(screen.left() + kSheetsRight + 2 * kFrameSide + kGap, available.left() + kFrameSide);
    if (right - left + 1 < minimum.width())
        left = std::max(available.left() + kFrameSide, right - minimum.width() + 1);
    const int width = std::min(right - left + 1, kWidestWindow);
    const int top = available.top() + kTitleBar;
    const int height
        = std::max(available.bottom() - kFrameSide - top + 1, std::min(minimum.height(), available.height()));
    return {left, top, width, height};
}

bool askToProceed(QWidget *parent, const QString &text, const QString &proceed, const QString &stay)
{
    QMessageBox box(QMessageBox::Question, dialogTitle(), text, QMessageBox::NoButton, parent);
    QPushButton *go = box.addButton(proceed, QMessageBox::DestructiveRole);
    QPushButton *keep = box.addButton(stay, QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == go;
}

void tell(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, dialogTitle(), text, QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(u"ตกลง"_s, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

ClassListWindow::ClassListWindow(ClassList &list, ClassModel &model)
    : m_ui(new Ui::ClassListWindow)
    , m_list(list)
    , m_model(model)
    , m_summary(new SummaryModel(this))
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
{
    m_ui->setupUi(this);
    // Closing the list only hides it: it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    // It opens by itself while the user types on a sheet; only showWindow()
    // brings it forward.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setUpTable();
    setUpSummary();

    connect(m_ui->CopyClass, &QPushButton::clicked, this, &ClassListWindow::copyClass);
    connect(m_ui->SaveCsv, &QPushButton::clicked, this, &ClassListWindow::saveCsv);
    connect(m_ui->PrintClass, &QPushButton::clicked, this, &ClassListWindow::printClass);
    connect(m_ui->SavePdf, &QPushButton::clicked, this, &ClassListWindow::savePdf);
    connect(m_ui->DeleteRows, &QPushButton::clicked, this, &ClassListWindow::deleteRows);
    connect(m_ui->EmptyList, &QPushButton::clicked, this, &ClassListWindow::emptyList);

    connect(
        &m_model, &ClassModel::rowsInserted, this, [this](const QModelIndex &, int, int last) { showNewRow(last); });
    connect(&m_model, &ClassModel::changed, this, [this] {
        m_summary->update(m_model.tallies());
        m_ui->ClassStatus->clear();
        showCount();
    });
    connect(m_ui->ClassTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ClassListWindow::enableButtons);
    showCount();
}

ClassListWindow::~ClassListWindow()
{
    // A name's editor still open commits as it goes, with the labels gone.
    m_model.disconnect(this);
    delete m_ui;
}

void ClassListWindow::setUpTable()
{
    QTableView *table = m_ui->ClassTable;
    table->setModel(&m_model);
    table->setItemDelegate(new LaidOutTextDelegate(table));
    table->installEventFilter(this);

    // Widths from the font, so that the words fit and the headings wrap onto
    // at most three lines; every row one line high. Nothing is measured
    // again as rows come, which keeps adding to a long list quick.
    const QFontMetrics fm(table->font());
    const auto fit = [&fm](const QString &text) { return fm.horizontalAdvance(text) + 14; };
    const int score = fit(u"สัมพันธภาพ"_s);
    const int word = fit(u"ด้านที่ 1 มี"_s);
    QHeaderView *header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::Alignment(QFlag(Qt::AlignCenter | Qt::TextWordWrap)));
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    for (int column = 0; column < ClassModel::ColumnCount; ++column) {
        int width = column % 2 == 1 ? word : score;
        if (column == ClassModel::NumberColumn)
            width = fit(u"ลำดับ"_s);
        else if (column == ClassModel::NameColumn)
            width = fit(u"ชื่อหรือเลขที่ของนักเรียน"_s);
        else if (column == ClassModel::VersionColumn)
            width = fit(u"ครูประจำชั้น"_s);
        else if (column == ClassModel::RemarkColumn - 1)
            width = fit(u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s);
        else if (column == ClassModel::RemarkColumn)
            width = fit(u"ยังไม่ได้ตอบ ข้อ 1, 2, 3, 4, 5"_s);
        header->resizeSection(column, width);
    }
    int headingHeight = 0;
    const QStringList headings = ClassModel::headings();
    for (int column = 0; column < ClassModel::ColumnCount; ++column) {
        const QRect bounds
            = fm.boundingRect(QRect(0, 0, header->sectionSize(column) - 8, 1000), Qt::TextWordWrap, headings[column]);
        headingHeight = std::max(headingHeight, bounds.height());
    }
    header->setMinimumHeight(headingHeight + 8);

    QHeaderView *rows = table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fm.height() + 6);

    // Delete in the table, but not while a name is being typed.
    auto *deleteKey = new QShortcut(QKeySequence::Delete, table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &ClassListWindow::deleteRows);
}

void ClassListWindow::setUpSummary()
{
    QTableView *view = m_ui->ClassSummary;
    m_summary->update(m_model.tallies());
    view->setModel(m_summary);
    view->setItemDelegate(new LaidOutTextDelegate(view));
    view->setWordWrap(true);
    const QFontMetrics fm(view->font());
    QFont bold = view->font();
    bold.setBold(true);
    const QFontMetrics boldFm(bold);
    const int names = std::max(fm.horizontalAdvance(u"สัมพันธภาพทางสังคม"_s),
                          boldFm.horizontalAdvance(ClassSummary::versionHeading(FormVersion::Teacher, 100)))
        + 14;
    view->horizontalHeader()->resizeSection(0, names);
    const int outcome
        = std::max(fm.horizontalAdvance(u"100 (100.0%)"_s), boldFm.horizontalAdvance(u"รุนแรงปานกลาง"_s)) + 14;
    for (int column = 1; column < ClassSummary::kCellCount; ++column)
        view->horizontalHeader()->resizeSection(column, outcome);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(fm.height() + 6);
    // A version's heading spans its block, and the sides' headings may wrap:
    // both are set out only when a version comes or goes.
    const auto setOut = [this, view] {
        view->clearSpans();
        for (int row = 0; row < m_summary->rowCount(); ++row) {
            if (m_summary->isVersionLine(row))
                view->setSpan(row, 0, 1, ClassSummary::kCellCount);
        }
        view->resizeRowsToContents();
    };
    connect(m_summary, &SummaryModel::modelReset, view, setOut);
    setOut();

    m_ui->splitter->setStretchFactor(0, 3);
    m_ui->splitter->setStretchFactor(1, 2);
}

void ClassListWindow::placeBesideSheets()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    setGeometry(besideSheets(screen->geometry(), screen->availableGeometry(), minimumSizeHint()));
}

void ClassListWindow::showWithoutActivating(QWidget *typingIn)
{
    m_typingIn = typingIn;
    show();
    // Long enough for the window manager's answer to the new window.
    QTimer::singleShot(1000, this, [this] { m_typingIn.clear(); });
}

void ClassListWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_typingIn) {
        m_typingIn->activateWindow();
        m_typingIn.clear();
    }
    QWidget::changeEvent(event);
}

bool ClassListWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Typing on any cell of a row types that child's name. While a name is
    // being typed, its editor has the focus and the keys.
    QTableView *table = m_ui->ClassTable;
    if (watched == table && event->type() == QEvent::KeyPress && table->hasFocus()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool typing = !key->text().isEmpty() && key->text().front().isPrint()
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        QModelIndex current = table->currentIndex();
        if (typing && !current.isValid() && m_model.count() > 0)
            current = m_model.index(m_model.count() - 1, ClassModel::NameColumn);
        if (typing && current.isValid() && current.column() != ClassModel::NameColumn)
            current = current.siblingAtColumn(ClassModel::NameColumn);
        if (typing && current.isValid() && current != table->currentIndex())
            table->selectionModel()->setCurrentIndex(
                current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    return QWidget::eventFilter(watched, event);
}

void ClassListWindow::showCount()
{
    const int count = m_model.count();
    m_ui->ClassCount->setText(count == 0 ? u"ยังไม่มีรายชื่อ แปลผลแบบประเมินแล้วกด Ctrl+Enter เพื่อเพิ่มนักเรียนทีละคน"_s
                                         : u"นักเรียน %1 คน  พิมพ์ชื่อหรือเลขที่ลงในช่องของแต่ละคนได้"_s.arg(count));
    enableButtons();
}

void ClassListWindow::enableButtons()
{
    const bool any = m_model.count() > 0;
    for (QPushButton *button : {m_ui->CopyClass, m_ui->SaveCsv, m_ui->PrintClass, m_ui->SavePdf, m_ui->EmptyList})
        button->setEnabled(any);
    m_ui->DeleteRows->setEnabled(any && m_ui->ClassTable->selectionModel()->hasSelection());
}

void ClassListWindow::showNewRow(int row)
{
    // The new child's name cell is current, ready for the name; the list
    // shows it without taking the focus from the sheet.
    const QModelIndex name = m_model.index(row, ClassModel::NameColumn);
    m_ui->ClassTable->selectionModel()->setCurrentIndex(name, QItemSelectionModel::NoUpdate);
    m_ui->ClassTable->scrollTo(name);
}

void ClassListWindow::copyClass()
{
    m_list.copyClass();
    m_ui->ClassStatus->setText(u"คัดลอก %1 คนแล้ว คลิกช่องแรกในตารางคำนวณแล้ววาง (Ctrl+V)"_s.arg(m_model.count()));
}

QString ClassListWindow::askPath(const QString &caption, const QString &suffix, const QString &filter)
{
    QString path = QFileDialog::getSaveFileName(this, caption, QDir(m_folder).filePath(defaultName(suffix)), filter);
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    m_folder = QFileInfo(path).absolutePath();
    return path;
}

void ClassListWindow::reportSaved(const QString &path, const std::optional<QString> &error)
{
    if (error) {
        tell(this, *error);
        return;
    }
    m_ui->ClassStatus->setText(u"บันทึกแล้ว: %1"_s.arg(QDir::toNativeSeparators(path)));
}

void ClassListWindow::saveCsv()
{
    const QString path = askPath(u"บันทึกรายชื่อเป็นไฟล์ CSV"_s, u"csv"_s, u"ไฟล์ CSV (*.csv)"_s);
    if (!path.isEmpty())
        reportSaved(path, m_list.saveCsv(path));
}

void ClassListWindow::savePdf()
{
    const QString path = askPath(u"บันทึกรายชื่อเป็นไฟล์ PDF"_s, u"pdf"_s, u"ไฟล์ PDF (*.pdf)"_s);
    if (!path.isEmpty())
        reportSaved(path, m_list.savePdf(path));
}

void ClassListWindow::printClass()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ClassReport::title());
    ClassReport::setUpPages(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(u"พิมพ์รายชื่อนักเรียนทั้งห้อง"_s);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        tell(this, u"เริ่มพิมพ์ไม่ได้ โปรดตรวจดูว่าเครื่องพิมพ์เปิดอยู่และพร้อมใช้งาน แล้วลองอีกครั้ง"_s);
        return;
    }
    ClassReport::paint(painter, printer, m_model, QDate::currentDate());
    if (!painter.end()) {
        tell(this, u"พิมพ์ไม่สำเร็จ โปรดตรวจดูเครื่องพิมพ์ แล้วลองอีกครั้ง"_s);
        return;
    }
    m_list.markKept();
    m_ui->ClassStatus->setText(u"ส่งรายชื่อ %1 คนไปพิมพ์แล้ว"_s.arg(m_model.count()));
}

void ClassListWindow::deleteRows()
{
    QList<int> rows;
    const QModelIndexList selected = m_ui->ClassTable->selectionModel()->selectedRows();
    for (const QModelIndex &index : selected)
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QStringList numbers;
    for (int row : rows)
        numbers << QString::number(row + 1);
    const QString text = rows.size() == 1
        ? u"ต้องการลบนักเรียนลำดับที่ %1 ออกจากรายชื่อใช่หรือไม่"_s.arg(numbers.front())
        : u"ต้องการลบนักเรียน %1 คน (ลำดับที่ %2) ออกจากรายชื่อใช่หรือไม่"_s.arg(rows.size()).arg(numbers.join(u", "_s));
    if (askToProceed(this, text, u"ลบ"_s, u"ไม่ลบ"_s))
        m_model.removeRowList(rows);
}

void ClassListWindow::emptyList()
{
    if (m_model.count() == 0)
        return;
    QString text = u"ต้องการล้างรายชื่อนักเรียนทั้ง %1 คนออกจากหน้าต่างนี้ใช่หรือไม่"_s.arg(m_model.count());
    if (m_list.isChanged())
        text += u"\n\nรายชื่อนี้ยังไม่ได้คัดลอก บันทึก หรือพิมพ์เก็บไว้ ถ้าล้างแล้วจะเรียกคืนไม่ได้"_s;
    if (askToProceed(this, text, u"ล้างทั้งหมด"_s, u"ไม่ล้าง"_s))
        m_model.clear();
}
