#include "frontsheetscreen.h"

#include "ui_frontsheetscreen.h"

#include "frontanswers.h"
#include "frontwords.h"

#include "answerbox.h"
#include "answerkeys.h"
#include "formcolours.h"
#include "responsebox.h"
#include "schooltexts.h"
#include "sheetkeys.h"
#include "twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct ItemBlock {
    int firstItem;
    int labelLeft;
    std::array<int, Front::kColumnCount> boxLefts; // NotTrue, SomewhatTrue, CertainlyTrue
};
constexpr std::array<ItemBlock, 2> kItemBlocks {{
    {1, 120, {720, 1560, 2400}},
    {16, 3240, {3840, 4680, 5520}},
}};
constexpr int kFirstBoxTop = 720;
constexpr int kRowPitch = 360;
constexpr int kLabelDrop = 120; // each item label sits this much lower than its boxes
constexpr int kBoxSize = 375;
constexpr int kLabelWidth = 855;
constexpr int kLabelHeight = 375;

// Where the window's client area opens, from the top-left of the display.
constexpr int kWindowLeft = 315;
constexpr int kWindowTop = 1080;

const ItemBlock &blockOf(int item)
{
    return item < kItemBlocks[1].firstItem ? kItemBlocks[0] : kItemBlocks[1];
}

// The label control of each item, item 1 first.
constexpr std::array<int, Front::kItemCount> kItemLabelNumbers {
    1, 5, 7, 8, 9, 10, 15, 14, 13, 12, 11, 16, 17, 18, 19, // items 1 to 15
    33, 29, 27, 26, 25, 24, 20, 21, 22, 23, // items 16 to 25
};

const std::array<QString, Front::kColumnCount> &columnHeadings()
{
    static const std::array<QString, Front::kColumnCount> headings {u"ไม่จริง"_s, u"ค่อนข้างจริง"_s, u"จริง"_s};
    return headings;
}

// Right of "แปลผลการประเมินพฤติกรรม", above the first result line.
const QRect kPaperOwnerArea(572, 6, 186, 18);

} // namespace

FrontSheetScreen::FrontSheetScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::Form3)
{
    m_ui->setupUi(this);
    FormColours::apply(this);
    m_lines = {{m_ui->Text1, m_ui->Label36}, {m_ui->Text2, m_ui->Label38}, {m_ui->Text3, m_ui->Label40},
        {m_ui->Text4, m_ui->Label42}, {m_ui->Text5, m_ui->Label44}, {m_ui->Text6, m_ui->Label46}};
    setGeometry(QRect(QPoint(px(kWindowLeft), px(kWindowTop)), size())); // the client area, not the frame
    setWindowTitle(windowTitle() + SchoolTexts::shortName());
    m_ui->Label48->setText(u":: "_s + SchoolTexts::shortName());
    // Designer keeps whole points only.
    for (QLabel *heading : {m_ui->Label6, m_ui->Label28, m_ui->Label34}) {
        QFont font = heading->font();
        font.setPointSizeF(8.25);
        heading->setFont(font);
    }
    placeItems();
    setFocusOrder();
    m_ui->Notice1->setAccessibleName(u"คำเตือนการตอบ"_s);
    m_keys = new SheetKeys(this, SheetKeys::Turn::ToBack);

    connect(m_ui->Command1, &QPushButton::clicked, this, &FrontSheetScreen::interpretFrontSheet);
    connect(m_ui->Command2, &QPushButton::clicked, this, &FrontSheetScreen::closeSheet);
    connect(m_ui->Command2, &QPushButton::clicked, this, &FrontSheetScreen::emptiedByUser);
    connect(m_ui->Command3, &QPushButton::clicked, this, &FrontSheetScreen::backSideRequested);
    connect(m_ui->Command4, &QPushButton::clicked, this, &FrontSheetScreen::startAgain);
    connect(m_ui->Command4, &QPushButton::clicked, this, &FrontSheetScreen::emptiedByUser);

    // Free space right of the results' heading, clear of every control.
    m_paperOwner = new QLabel(this);
    m_paperOwner->setObjectName(u"PaperOwner"_s);
    m_paperOwner->setGeometry(kPaperOwnerArea);
    m_paperOwner->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_paperOwner->hide();

    clearFrontSheet(); // the screen's load
    focusFirstItem();
}

// Ready for the next paper form: the keys answer from item 1.
void FrontSheetScreen::focusFirstItem()
{
    m_boxes.front()->box()->setFocus(Qt::OtherFocusReason);
}

FrontSheetScreen::~FrontSheetScreen()
{
    delete m_ui;
}

void FrontSheetScreen::placeItems()
{
    const auto &headings = columnHeadings();
    const QString keysToolTip = AnswerKeys::toolTip(QStringList(headings.begin(), headings.end())) + u'\n'
        + SheetKeys::toolTipLine(SheetKeys::Turn::ToBack);
    for (const Front::ItemRow &row : Front::kItemTable) {
        const ItemBlock &block = blockOf(row.item);
        const int rowTop = kFirstBoxTop + kRowPitch * (row.item - block.firstItem);
        const QString caption = u"ข้อที่ %1"_s.arg(row.item);

        auto *label = new QLabel(caption, this);
        label->setObjectName(u"Label%1"_s.arg(kItemLabelNumbers[static_cast<std::size_t>(row.item - 1)]));
        label->setGeometry(px(block.labelLeft), px(rowTop + kLabelDrop), px(kLabelWidth), px(kLabelHeight));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (row.item % 5 == 0) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
            label->setPalette(palette);
        }

        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            const Front::BoxCell &cell = row.cells[column];
            auto *box = new AnswerBox(this);
            box->setObjectName(u"Check%1"_s.arg(cell.box));
            box->setGeometry(px(block.boxLefts[column]), px(rowTop), px(kBoxSize), px(kBoxSize));
            box->setAccessibleName(caption + u' ' + columnHeadings()[column]);
            box->setToolTip(keysToolTip);
            box->installEventFilter(this); // the answer keys
            m_boxes[static_cast<std::size_t>(cell.box - 1)] = new ResponseBox(box, cell.tickedValue);
        }
    }
    // The labels reach into the NotTrue boxes; the boxes must stay on top to take the click.
    for (ResponseBox *response : m_boxes)
        response->box()->raise();
}

void FrontSheetScreen::setFocusOrder()
{
    // Block by block as on paper (items 1 to 15, then 16 to 25), each
    // block's boxes by box number.
    std::vector<QWidget *> order;
    for (const ItemBlock &block : kItemBlocks) {
        std::vector<int> boxes;
        for (const Front::ItemRow &row : Front::kItemTable)
            if (&blockOf(row.item) == &block)
                for (const Front::BoxCell &cell : row.cells)
                    boxes.push_back(cell.box);
        std::sort(boxes.begin(), boxes.end());
        for (int box : boxes)
            order.push_back(m_boxes[static_cast<std::size_t>(box - 1)]->box());
    }
    order.push_back(m_ui->Command1);
    for (const ResultLine &line : m_lines)
        order.push_back(line.score);
    order.push_back(m_ui->Command2);
    order.push_back(m_ui->Command3);
    order.push_back(m_ui->Command4);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

Front::BoxScores FrontSheetScreen::boxScores() const
{
    Front::BoxScores scores {};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        scores[i] = m_boxes[i]->boxScore();
    return scores;
}

Front::Result FrontSheetScreen::interpretFrontSheet()
{
    const Front::Result result = Front::interpret(boxScores());
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        m_lines[line].score->setText(QString::number(result.scores[line]));
        // A score beyond every range (several ticks on one item) has no band word.
        const std::optional<Front::Band> band = result.bands[line];
        m_lines[line].word->setText(band ? Front::bandWord(*band) : QString());
    }
    showNotice();
    return result;
}

// The scores above count every tick; the notice says which items they rest on.
QString FrontSheetScreen::showNotice()
{
    const QString notice = frontNotice(ticks());
    m_ui->Notice1->setText(notice);
    return notice;
}

Front::BoxTicks FrontSheetScreen::ticks() const
{
    Front::BoxTicks ticks {};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        ticks[i] = m_boxes[i]->box()->checkState() == Qt::Checked;
    return ticks;
}

std::optional<Front::Result> FrontSheetScreen::resultsForRow()
{
    const Front::BoxTicks ticked = ticks();
    if (std::none_of(ticked.cbegin(), ticked.cend(), [](bool tick) { return tick; })) {
        clearResults(m_lines);
        m_ui->Notice1->clear();
        return std::nullopt;
    }
    return interpretFrontSheet();
}

QString FrontSheetScreen::finishNotice()
{
    return showNotice();
}

void FrontSheetScreen::focusFirstProblem()
{
    const Front::AnswerCheck check = Front::checkAnswers(ticks());
    std::vector<int> items = check.unanswered;
    items.insert(items.end(), check.doubled.cbegin(), check.doubled.cend());
    if (items.empty())
        return;
    const int first = *std::min_element(items.cbegin(), items.cend());
    m_boxes[static_cast<std::size_t>(Front::boxAt(first, 0) - 1)]->box()->setFocus(Qt::OtherFocusReason);
}

void FrontSheetScreen::startAgain()
{
    clearFrontSheet();
    focusFirstItem();
}

bool FrontSheetScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const std::optional<int> answer = AnswerKeys::answerOf(*static_cast<QKeyEvent *>(event));
    auto *box = qobject_cast<QCheckBox *>(watched);
    if (!answer || !box || *answer > Front::kColumnCount)
        return QWidget::eventFilter(watched, event);
    answerByKey(box, *answer);
    return true;
}

// 1 to 3 tick that column of the focused item and clear the other two, then
// go on to the same column of the next item, after the last to "แปลผล"; 0
// clears the item and stays. Every change goes through the boxes' states, so
// each box's tick rule runs as for a click.
void FrontSheetScreen::answerByKey(QCheckBox *focused, int answer)
{
    const auto found = std::find_if(m_boxes.cbegin(), m_boxes.cend(),
        [focused](const ResponseBox *response) { return response->box() == focused; });
    if (found == m_boxes.cend())
        return;
    const std::optional<Front::BoxPlace> place = Front::placeOfBox(static_cast<int>(found - m_boxes.cbegin()) + 1);
    if (!place)
        return;
    const int chosenColumn = answer - 1; // -1 clears
    for (int column = 0; column < Front::kColumnCount; ++column) {
        QCheckBox *box = m_boxes[static_cast<std::size_t>(Front::boxAt(place->item, column) - 1)]->box();
        box->setCheckState(column == chosenColumn ? Qt::Checked : Qt::Unchecked);
    }
    if (answer == 0)
        return;
    if (const std::optional<int> next = Front::itemAfter(place->item))
        m_boxes[static_cast<std::size_t>(Front::boxAt(*next, chosenColumn) - 1)]->box()->setFocus(Qt::TabFocusReason);
    else
        m_ui->Command1->setFocus(Qt::TabFocusReason);
}

void FrontSheetScreen::loadTicks(const Front::BoxTicks &ticks)
{
    clearFrontSheet();
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->box()->setCheckState(ticks[i] ? Qt::Checked : Qt::Unchecked);
    focusFirstItem();
}

void FrontSheetScreen::setPaperOwner(const QString &owner)
{
    const QString shown = m_paperOwner->fontMetrics().elidedText(owner, Qt::ElideRight, m_paperOwner->width());
    m_paperOwner->setText(shown);
    m_paperOwner->setToolTip(owner);
    m_paperOwner->setAccessibleName(owner);
    m_paperOwner->setVisible(!owner.isEmpty());
}

void FrontSheetScreen::clearFrontSheet()
{
    // Each box's tick rule brings its score back to 0 as it is cleared.
    for (ResponseBox *response : m_boxes)
        response->box()->setCheckState(Qt::Unchecked);
    clearResults(m_lines);
    m_ui->Notice1->clear();
}

void FrontSheetScreen::closeSheet()
{
    clearFrontSheet();
    hide();
    focusFirstItem();
}
