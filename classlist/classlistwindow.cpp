#include "classlistwindow.h"

#include "ui_classlistwindow.h"

#include "answerkeys.h"
#include "classlist.h"
#include "classmodel.h"
#include "classreport.h"
#include "classsummary.h"
#include "savepath.h"

#include <QCache>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
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

// The class, the view and the day: copies of different classes and versions
// saved on one day are not named alike.
QString defaultName(const ClassHeading &heading, std::optional<FormVersion> view, const QString &suffix)
{
    const QString version = view ? u" ฉบับ"_s + versionName(*view) : QString();
    return suggestedFileName(classTitle(heading) + version + u' ' + thaiDate(QDate::currentDate())) + u'.' + suffix;
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

    // A paper's version is chosen from the three, for one typed under the
    // wrong menu button.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != ClassModel::VersionColumn)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *versions = new QComboBox(parent);
        for (FormVersion version : kFormVersions)
            versions->addItem(versionName(version));
        return versions;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *versions = qobject_cast<QComboBox *>(editor))
            versions->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *versions = qobject_cast<QComboBox *>(editor))
            model->setData(index, versions->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
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
    setUpHeading();
    setUpTable();
    setUpSummary();

    ClassDocument &document = m_list.document();
    connect(m_ui->KeepClass, &QPushButton::clicked, this, [this] { m_list.keep(this); });
    connect(m_ui->KeepClassAs, &QPushButton::clicked, this, [this] { m_list.keepAs(this); });
    connect(m_ui->OpenClass, &QPushButton::clicked, this, [this] { m_list.askToOpen(this); });
    connect(m_ui->NewClass, &QPushButton::clicked, this, [this] { m_list.startNew(this); });
    connect(m_ui->PasteRoster, &QPushButton::clicked, this, &ClassListWindow::pasteRoster);
    connect(m_ui->CopyClass, &QPushButton::clicked, this, &ClassListWindow::copyClass);
    connect(m_ui->SaveCsv, &QPushButton::clicked, this, &ClassListWindow::saveCsv);
    connect(m_ui->PrintClass, &QPushButton::clicked, this, &ClassListWindow::printClass);
    connect(m_ui->SavePdf, &QPushButton::clicked, this, &ClassListWindow::savePdf);
    connect(m_ui->DeleteRows, &QPushButton::clicked, this, &ClassListWindow::deleteRows);
    connect(m_ui->EmptyList, &QPushButton::clicked, this, &ClassListWindow::emptyList);

    connect(&document, &ClassDocument::rowsChanged, this, [this] {
        m_summary->update(m_model.tallies());
        showCount();
    });
    connect(&document, &ClassDocument::headingChanged, this, [this] {
        showHeading();
        showTitle();
    });
    connect(&document, &ClassDocument::keepingChanged, this, [this] {
        showTitle();
        showCount();
    });
    connect(&document, &ClassDocument::writeFailed, this, [this](const QString &cause) {
        showCount();
        const QString text = u"บันทึกลงไฟล์ห้อง %1 ไม่ได้ แบบประเมินทุกฉบับยังอยู่ในโปรแกรม แต่จะไม่ถูกบันทึกลงไฟล์นี้อีก\n\n"
                             u"โปรดบันทึกเป็นไฟล์ใหม่ เช่น ในเครื่องนี้ หรือในแฟลชไดรฟ์ที่เสียบไว้แน่นและมีที่ว่างพอ\n\n"
                             u"สาเหตุจากระบบ: %2"_s.arg(QDir::toNativeSeparators(m_list.document().filePath()), cause);
        if (askToProceed(this, text, u"บันทึกเป็นไฟล์ใหม่…"_s, u"ไว้ทีหลัง"_s))
            m_list.keepAs(this);
    });
    connect(&m_list, &ClassList::nextPaperOwnerChanged, this, &ClassListWindow::showCount);
    connect(&m_model, &ClassModel::modelReset, this, [this] { m_summary->update(m_model.tallies()); });
    connect(&m_model, &ClassModel::versionTaken, this, [this](int row, FormVersion version) {
        tell(this, u"นักเรียนในแถวที่ %1 มีแบบประเมินฉบับ%2แล้ว จึงเปลี่ยนเป็นฉบับนี้ไม่ได้"_s.arg(row + 1).arg(versionName(version)));
    });
    connect(m_ui->ClassTable, &QTableView::doubleClicked, this,
        [this](const QModelIndex &index) { actOnRow(index.row()); });
    connect(m_ui->ClassTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ClassListWindow::enableButtons);
    showHeading();
    showTitle();
    showCount();
    m_ui->ClassTable->setFocus(Qt::OtherFocusReason);
}

void ClassListWindow::setUpHeading()
{
    m_ui->ViewBox->addItem(u"ทุกฉบับ"_s);
    for (FormVersion version : kFormVersions)
        m_ui->ViewBox->addItem(u"ฉบับ"_s + versionName(version));
    connect(m_ui->ViewBox, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        m_model.setView(chosen <= 0 ? std::nullopt : std::optional(kFormVersions.at(std::size_t(chosen - 1))));
        m_summary->update(m_model.tallies());
        showCount();
    });
    for (QLineEdit *edit : {m_ui->SchoolEdit, m_ui->GradeEdit, m_ui->RoomEdit, m_ui->RecorderEdit})
        connect(edit, &QLineEdit::editingFinished, this, &ClassListWindow::takeHeading);
    connect(m_ui->TermBox, &QComboBox::activated, this, &ClassListWindow::takeHeading);
    connect(m_ui->YearBox, &QSpinBox::editingFinished, this, &ClassListWindow::takeHeading);
}

void ClassListWindow::showHeading()
{
    const ClassHeading &heading = m_list.document().heading();
    const QSignalBlocker blockTerm(m_ui->TermBox);
    const QSignalBlocker blockYear(m_ui->YearBox);
    m_ui->SchoolEdit->setText(heading.school);
    m_ui->GradeEdit->setText(heading.grade);
    m_ui->RoomEdit->setText(heading.room);
    m_ui->TermBox->setCurrentIndex(heading.term == 2 ? 1 : 0);
    m_ui->YearBox->setValue(heading.year);
    m_ui->RecorderEdit->setText(heading.recorder);
}

void ClassListWindow::takeHeading()
{
    ClassHeading heading = m_list.document().heading();
    heading.school = m_ui->SchoolEdit->text();
    heading.grade = m_ui->GradeEdit->text();
    heading.room = m_ui->RoomEdit->text();
    heading.term = m_ui->TermBox->currentIndex() + 1;
    heading.year = m_ui->YearBox->value();
    heading.recorder = m_ui->RecorderEdit->text();
    m_list.document().setHeading(heading);
}

void ClassListWindow::showTitle()
{
    const ClassDocument &document = m_list.document();
    QString title = dialogTitle();
    if (!document.filePath().isEmpty())
        title += u" - "_s + QFileInfo(document.filePath()).fileName();
    switch (document.keeping()) {
    case ClassDocument::Keeping::ReadOnly:
    case ClassDocument::Keeping::Busy:
        title += u" (อ่านอย่างเดียว)"_s;
        break;
    case ClassDocument::Keeping::WriteFailed:
        title += u" (บันทึกลงไฟล์ไม่ได้)"_s;
        break;
    case ClassDocument::Keeping::NoFile:
    case ClassDocument::Keeping::Kept:
        break;
    }
    setWindowTitle(title + u" - โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s);
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
        int width = (column - ClassModel::FirstResultColumn) % 2 == 1 ? word : score;
        if (column == ClassModel::OrderColumn)
            width = fit(u"แก้ไข 100"_s);
        else if (column == ClassModel::NumberColumn)
            width = fit(u"เลขที่ 00"_s);
        else if (column == ClassModel::NameColumn)
            width = fit(u"ด.ญ. ชื่อนักเรียน นามสกุล"_s);
        else if (column == ClassModel::VersionColumn)
            width = fit(u"ครูประจำชั้น"_s);
        else if (column == ClassModel::SeverityColumn)
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

// Ctrl+S, Ctrl+O and Ctrl+N anywhere in the window, by the keys' places, so
// that they work with the Thai layout too.
void ClassListWindow::keyPressEvent(QKeyEvent *event)
{
    if (AnswerKeys::isCommand(*event, AnswerKeys::Command::Keep))
        m_list.keep(this);
    else if (AnswerKeys::isCommand(*event, AnswerKeys::Command::Open))
        m_list.askToOpen(this);
    else if (AnswerKeys::isCommand(*event, AnswerKeys::Command::NewClass))
        m_list.startNew(this);
    else
        QWidget::keyPressEvent(event);
}

bool ClassListWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Typing on any cell of a row types that pupil's name. While a name is
    // being typed, its editor has the focus and the keys.
    QTableView *table = m_ui->ClassTable;
    if (watched == table && event->type() == QEvent::KeyPress && table->hasFocus()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (AnswerKeys::isCommand(*key, AnswerKeys::Command::Paste)) {
            pasteRoster();
            return true;
        }
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            actOnRow(table->currentIndex().row());
            return true;
        }
        const bool typing = !key->text().isEmpty() && key->text().front().isPrint() && plain;
        QModelIndex current = table->currentIndex();
        if (typing && !current.isValid())
            current = m_model.index(std::max(0, m_model.count() - 1), ClassModel::NameColumn);
        if (typing && current.isValid() && current.column() != ClassModel::NameColumn
            && current.column() != ClassModel::NumberColumn)
            current = current.siblingAtColumn(ClassModel::NameColumn);
        if (typing && current.isValid() && current != table->currentIndex())
            table->selectionModel()->setCurrentIndex(
                current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    return QWidget::eventFilter(watched, event);
}

// A row with a paper goes back to the sheets to be mended; a pupil's empty
// row in one version's view is the next paper's owner.
void ClassListWindow::actOnRow(int row)
{
    const ClassModel::Row at = m_model.rowAt(row);
    if (at.paper) {
        emit m_list.mendRequested(at.paper);
        return;
    }
    if (!at.pupil)
        return;
    if (!m_model.view()) {
        showStatus(u"เลือกดูทีละฉบับที่ช่อง \"แสดง\" ก่อน แล้วกด Enter ที่แถวของนักเรียนที่จะกรอกแบบประเมินคนถัดไป"_s);
        return;
    }
    m_list.choosePupil(at.pupil);
}

void ClassListWindow::pasteRoster()
{
    const std::vector<RosterLine> lines = parseRoster(QGuiApplication::clipboard()->text());
    if (lines.empty()) {
        showStatus(u"ไม่พบรายชื่อที่จะวาง คัดลอกคอลัมน์เลขที่และชื่อ-สกุลจาก Excel ก่อน แล้วลองอีกครั้ง"_s);
        return;
    }
    const auto [added, renamed] = m_list.document().pasteRoster(lines);
    showStatus(u"วางรายชื่อแล้ว: เพิ่ม %1 คน เปลี่ยนชื่อ %2 คน"_s.arg(added).arg(renamed));
}

void ClassListWindow::showPaper(PaperId paper)
{
    // The paper's row is current, ready for a name; the list shows it without
    // taking the focus from the sheet.
    const int row = m_model.rowOfPaper(paper);
    if (row < 0)
        return;
    const QModelIndex name = m_model.index(row, ClassModel::NameColumn);
    m_ui->ClassTable->selectionModel()->setCurrentIndex(name, QItemSelectionModel::NoUpdate);
    m_ui->ClassTable->scrollTo(name);
}

void ClassListWindow::showStatus(const QString &text)
{
    m_ui->ClassStatus->setText(text);
    m_ui->ClassStatus->setToolTip(text);
}

void ClassListWindow::showCount()
{
    const ClassDocument &document = m_list.document();
    QStringList lines;
    if (document.isEmpty()) {
        lines << u"ยังไม่มีรายชื่อ วางรายชื่อจาก Excel หรือแปลผลแบบประเมินแล้วกด Ctrl+Enter เพื่อเพิ่มทีละคน"_s;
    } else {
        lines << u"นักเรียนในรายชื่อ %1 คน แบบประเมิน %2 ฉบับ"_s.arg(document.roster().size()).arg(document.papers().size());
    }
    if (const std::optional<FormVersion> view = m_model.view(); view && !document.roster().empty()) {
        const QString next = m_list.nextPaperOwner(*view);
        QStringList missing;
        for (PupilId id : document.missing(*view))
            if (const Pupil *pupil = document.pupil(id))
                missing << (pupil->number.isEmpty() ? pupil->name : pupil->number);
        if (!next.isEmpty())
            lines << u"ฉบับ%1 คนถัดไป: %2"_s.arg(versionName(*view), next);
        if (!missing.isEmpty())
            lines << u"ยังไม่ได้กรอก: เลขที่ %1"_s.arg(missing.join(u", "_s));
    }
    switch (document.keeping()) {
    case ClassDocument::Keeping::NoFile:
        if (!document.isEmpty())
            lines << u"ห้องนี้ยังไม่ได้บันทึกลงไฟล์ กด Ctrl+S เพื่อบันทึก"_s;
        break;
    case ClassDocument::Keeping::Kept:
        break;
    case ClassDocument::Keeping::ReadOnly:
        lines << u"เปิดแบบอ่านอย่างเดียว สิ่งที่เพิ่มหรือแก้จะไม่ถูกบันทึกลงไฟล์นี้ กด Ctrl+S เพื่อบันทึกเป็นไฟล์ใหม่"_s;
        break;
    case ClassDocument::Keeping::Busy:
        lines << u"ไฟล์นี้เปิดอยู่ในโปรแกรมอีกหน้าต่างหนึ่ง จึงเปิดแบบอ่านอย่างเดียว กด Ctrl+S เพื่อบันทึกเป็นไฟล์ใหม่"_s;
        break;
    case ClassDocument::Keeping::WriteFailed:
        lines << u"บันทึกลงไฟล์ไม่ได้ กด Ctrl+S เพื่อบันทึกเป็นไฟล์ใหม่"_s;
        break;
    }
    m_ui->ClassCount->setText(lines.join(u'\n'));
    enableButtons();
}

void ClassListWindow::enableButtons()
{
    const bool any = m_model.count() > 0;
    for (QPushButton *button : {m_ui->CopyClass, m_ui->SaveCsv, m_ui->PrintClass, m_ui->SavePdf, m_ui->EmptyList})
        button->setEnabled(any);
    m_ui->KeepClassAs->setEnabled(m_list.document().keeping() != ClassDocument::Keeping::NoFile);
    m_ui->DeleteRows->setEnabled(any && m_ui->ClassTable->selectionModel()->hasSelection());
}

void ClassListWindow::copyClass()
{
    m_list.copyClass();
    showStatus(u"คัดลอก %1 แถวแล้ว คลิกช่องแรกในตารางคำนวณแล้ววาง (Ctrl+V)"_s.arg(m_model.count()));
}

QString ClassListWindow::askPath(const QString &caption, const QString &suffix, const QString &filter)
{
    const QString path = askSavePath(
        this, caption, m_folder, defaultName(m_list.document().heading(), m_model.view(), suffix), suffix, filter);
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

void ClassListWindow::reportSaved(const QString &path, const std::optional<QString> &error)
{
    if (error) {
        tell(this, *error);
        return;
    }
    showStatus(u"บันทึกสำเนาแล้ว: %1"_s.arg(QDir::toNativeSeparators(path)));
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
    ClassReport::setUpPrintDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<QString> error = ClassReport::print(printer, m_model, QDate::currentDate());
    if (!printer.outputFileName().isEmpty()) {
        reportSaved(printer.outputFileName(), error); // printed to a file
        return;
    }
    if (error) {
        tell(this, *error);
        return;
    }
    showStatus(u"ส่งรายชื่อ %1 แถวไปพิมพ์แล้ว"_s.arg(m_model.count()));
}

void ClassListWindow::deleteRows()
{
    QList<int> rows;
    const QModelIndexList selected = m_ui->ClassTable->selectionModel()->selectedRows();
    for (const QModelIndex &index : selected)
        if (index.row() < m_model.count())
            rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QStringList numbers;
    for (int row : rows)
        numbers << QString::number(row + 1);
    const bool papers = std::any_of(rows.cbegin(), rows.cend(), [this](int row) { return m_model.rowAt(row).paper; });
    const QString what = papers ? u"แบบประเมิน"_s : u"นักเรียน"_s;
    const QString text = rows.size() == 1
        ? u"ต้องการลบ%1ในแถวลำดับที่ %2 ใช่หรือไม่"_s.arg(what, numbers.front())
        : u"ต้องการลบ%1 %2 แถว (ลำดับที่ %3) ใช่หรือไม่"_s.arg(what).arg(rows.size()).arg(numbers.join(u", "_s));
    if (!askToProceed(this, text, u"ลบ"_s, u"ไม่ลบ"_s))
        return;
    // From the bottom up, each run of neighbouring rows at once.
    for (qsizetype i = rows.size() - 1; i >= 0;) {
        const int last = rows[i];
        int first = last;
        while (--i >= 0 && rows[i] == first - 1)
            first = rows[i];
        m_model.removeRows(first, last - first + 1);
    }
}

void ClassListWindow::emptyList()
{
    ClassDocument &document = m_list.document();
    if (document.isEmpty())
        return;
    QString text = u"ต้องการล้างรายชื่อนักเรียนและแบบประเมินทั้งหมดของห้องนี้ใช่หรือไม่"_s;
    if (document.keeping() == ClassDocument::Keeping::Kept)
        text += u"\n\nรายชื่อและแบบประเมินจะถูกลบออกจากไฟล์ห้อง %1 ด้วย"_s.arg(QFileInfo(document.filePath()).fileName());
    if (!askToProceed(this, text, u"ล้างทั้งหมด"_s, u"ไม่ล้าง"_s))
        return;
    std::vector<PupilId> pupils;
    for (const Pupil &pupil : document.roster())
        pupils.push_back(pupil.id);
    std::vector<PaperId> papers;
    for (const Paper &paper : document.papers())
        papers.push_back(paper.id);
    document.removePapers(papers);
    document.removePupils(pupils);
}
