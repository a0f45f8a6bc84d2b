#include "backsheetscreen.h"

#include "ui_backsheetscreen.h"

#include "backanswers.h"
#include "backwords.h"

#include "answerkeys.h"
#include "formcolours.h"
#include "responsebox.h"
#include "sheetkeys.h"
#include "twips.h"

#include <QKeyEvent>
#include <QMessageBox>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Where the window's client area opens, from the top-left of the display.
constexpr int kWindowLeft = 330;
constexpr int kWindowTop = 1110;

} // namespace

BackSheetScreen::BackSheetScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::Form4)
{
    m_ui->setupUi(this);
    FormColours::apply(this);
    m_lines = {{m_ui->Text1, m_ui->Label18}};
    setGeometry(QRect(QPoint(px(kWindowLeft), px(kWindowTop)), size())); // the client area, not the frame

    m_boxes = {m_ui->Check1, m_ui->Check2, m_ui->Check3, m_ui->Check4, m_ui->Check5, m_ui->Check6, m_ui->Check7,
        m_ui->Check8, m_ui->Check9, m_ui->Check10, m_ui->Check11, m_ui->Check12, m_ui->Check13, m_ui->Check14,
        m_ui->Check15, m_ui->Check16, m_ui->Check17, m_ui->Check18, m_ui->Check19, m_ui->Check20, m_ui->Check21,
        m_ui->Check22, m_ui->Check23, m_ui->Check24, m_ui->Check25, m_ui->Check26, m_ui->Check27, m_ui->Check28,
        m_ui->Check29, m_ui->Check30, m_ui->Check31, m_ui->Check32, m_ui->Check33, m_ui->Check34, m_ui->Check35,
        m_ui->Check36};
    attachResponseBoxes();
    describeBoxes();
    m_ui->Check1->setFocus();
    for (QCheckBox *answer : m_boxes)
        answer->installEventFilter(this); // the answer keys
    m_ui->Notice1->setAccessibleName(u"คำเตือนการตอบ"_s);
    m_keys = new SheetKeys(this, SheetKeys::Turn::ToFront);

    connect(m_ui->Check1, &QCheckBox::stateChanged, this, &BackSheetScreen::applyNoDifficultiesRule);
    connect(m_ui->Command1, &QPushButton::clicked, this, &BackSheetScreen::closeSheet);
    connect(m_ui->Command1, &QPushButton::clicked, this, &BackSheetScreen::emptiedByUser);
    connect(m_ui->Command2, &QPushButton::clicked, this, &BackSheetScreen::interpretBackSheet);
    connect(m_ui->Command3, &QPushButton::clicked, this, &BackSheetScreen::startAgain);
    connect(m_ui->Command3, &QPushButton::clicked, this, &BackSheetScreen::emptiedByUser);
}

BackSheetScreen::~BackSheetScreen()
{
    delete m_ui;
}

QCheckBox *BackSheetScreen::box(int number) const
{
    return m_boxes[static_cast<std::size_t>(number - 1)];
}

void BackSheetScreen::attachResponseBoxes()
{
    for (const Back::ScoredBox &scored : Back::kScoredBoxes)
        m_responses[static_cast<std::size_t>(scored.box - 1)]
            = new ResponseBox(box(scored.box), Back::weightOf(scored.level));
}

void BackSheetScreen::describeBoxes()
{
    // The grid rows (those with a leading box) have no captions on their
    // boxes: the area name and the column heading say what each box means.
    const std::array<const QLabel *, Back::kAnswersPerRow> levelHeaders {
        m_ui->Label9, m_ui->Label10, m_ui->Label11, m_ui->Label12};
    for (const Back::AnswerRow &row : Back::kAnswerRows) {
        const bool grid = row.leadingBox != 0;
        const QString area = grid ? Back::rowName(row.row) : QString();
        QStringList answers;
        for (std::size_t i = 0; i < row.answers.size(); ++i) {
            QCheckBox *answer = box(row.answers[i]);
            if (grid)
                answer->setAccessibleName(area + u' ' + levelHeaders[i]->text());
            answers << (grid ? levelHeaders[i]->text() : answer->text());
        }
        // Each row's keys, named as the row's answers read on the screen.
        const QString keys = AnswerKeys::toolTip(answers) + u'\n' + SheetKeys::toolTipLine(SheetKeys::Turn::ToFront);
        for (int number : row.answers)
            box(number)->setToolTip(keys);
        if (grid) {
            box(row.leadingBox)->setAccessibleName(area);
            box(row.leadingBox)->setToolTip(keys);
        }
    }
    // "มาก" of the child's upset and "มาก" of the family's burden read alike.
    for (QCheckBox *answer : {m_ui->Check9, m_ui->Check10, m_ui->Check11, m_ui->Check12})
        answer->setAccessibleDescription(m_ui->Label6->text());
    for (QCheckBox *answer : {m_ui->Check33, m_ui->Check34, m_ui->Check35, m_ui->Check36})
        answer->setAccessibleDescription(m_ui->Label16->text());
    m_ui->Text1->setAccessibleName(m_ui->Label17->text());
}

Back::BoxScores BackSheetScreen::boxScores() const
{
    Back::BoxScores scores {};
    for (std::size_t i = 0; i < m_responses.size(); ++i)
        scores[i] = m_responses[i] ? m_responses[i]->boxScore() : 0;
    return scores;
}

void BackSheetScreen::applyNoDifficultiesRule()
{
    const Qt::CheckState state = m_ui->Check1->checkState();
    if (state == Qt::PartiallyChecked)
        return;
    const bool noDifficulties = state == Qt::Checked;
    // Disabled boxes keep their ticks and scores.
    for (int number = 1; number <= Back::kBoxCount; ++number)
        if (Back::followsFirstQuestion(number))
            box(number)->setEnabled(!noDifficulties);
    if (!noDifficulties || m_loading)
        return;
    QMessageBox warning(QMessageBox::Information, u"คำเตือน"_s,
        u"คุณตอบว่า (ไม่)  ไม่ต้องตอบข้อต่อไป เลือก OK และคลิกที่ปุ่ม แปลผล"_s, QMessageBox::Ok, this);
    warning.exec();
}

Back::Result BackSheetScreen::interpretBackSheet()
{
    const Back::Result result = Back::interpret(boxScores());
    m_ui->Text1->setText(QString::number(result.score));
    // A score above every range (several ticks in one question) has no word;
    // the word of an earlier press would not describe it.
    m_ui->Label18->setText(result.severity ? Back::severityWord(*result.severity) : QString());
    showNotice();
    return result;
}

QString BackSheetScreen::showNotice()
{
    const QString notice = backNotice(ticks());
    m_ui->Notice1->setText(notice);
    return notice;
}

Back::BoxTicks BackSheetScreen::ticks() const
{
    Back::BoxTicks ticks {};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        ticks[i] = m_boxes[i]->checkState() == Qt::Checked;
    return ticks;
}

bool BackSheetScreen::anyTicked() const
{
    const Back::BoxTicks ticked = ticks();
    return std::any_of(ticked.cbegin(), ticked.cend(), [](bool tick) { return tick; });
}

std::optional<Back::Result> BackSheetScreen::resultsForRow()
{
    if (!anyTicked()) {
        clearResults(m_lines);
        m_ui->Notice1->clear();
        return std::nullopt;
    }
    return interpretBackSheet();
}

QString BackSheetScreen::finishNotice()
{
    return showNotice();
}

void BackSheetScreen::focusFirstProblem()
{
    const Back::AnswerCheck check = Back::checkAnswers(ticks());
    std::vector<Back::Row> rows = check.unanswered;
    rows.insert(rows.end(), check.doubled.cbegin(), check.doubled.cend());
    if (rows.empty())
        return;
    const Back::Row first = *std::min_element(rows.cbegin(), rows.cend());
    QCheckBox *answer = box(Back::answerRow(first).answers.front());
    (answer->isEnabled() ? answer : m_ui->Check1)->setFocus(Qt::OtherFocusReason);
}

void BackSheetScreen::focusFirstRow()
{
    m_ui->Check1->setFocus(Qt::OtherFocusReason);
}

void BackSheetScreen::startAgain()
{
    clearBackSheet();
    focusFirstRow(); // ready for the next paper form
}

bool BackSheetScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const std::optional<int> answer = AnswerKeys::answerOf(*static_cast<QKeyEvent *>(event));
    const auto found = std::find(m_boxes.cbegin(), m_boxes.cend(), watched);
    if (!answer || *answer > Back::kAnswersPerRow || found == m_boxes.cend())
        return QWidget::eventFilter(watched, event);
    answerByKey(static_cast<int>(found - m_boxes.cbegin()) + 1, *answer);
    return true;
}

// 1 to 4 tick that answer of the focused row in screen order and clear the
// row's other answers, then go on to the same place in the next row, after
// burden to "แปลผล"; 0 clears the row and stays. Every change goes through
// the boxes' states, so each box's rule runs as for a click: "ไม่" disables
// the rows after it and warns, and the focus goes to "แปลผล".
void BackSheetScreen::answerByKey(int boxNumber, int answer)
{
    const std::optional<Back::BoxPlace> place = Back::placeOfBox(boxNumber);
    if (!place || !box(boxNumber)->isEnabled())
        return;
    const Back::AnswerRow &row = Back::answerRow(place->row);
    const int chosen = answer - 1; // -1 clears
    // The others first: clearing "ไม่" enables the rows after it again.
    for (int i = 0; i < Back::kAnswersPerRow; ++i)
        if (i != chosen)
            box(row.answers[static_cast<std::size_t>(i)])->setCheckState(Qt::Unchecked);
    if (answer == 0)
        return;
    QCheckBox *answered = box(row.answers[static_cast<std::size_t>(chosen)]);
    answered->setCheckState(Qt::Checked);
    const std::optional<Back::Row> next = Back::rowAfter(place->row);
    QWidget *nextFocus = m_ui->Command2;
    if (next && answered != m_ui->Check1) {
        QCheckBox *below = box(Back::answerRow(*next).answers[static_cast<std::size_t>(chosen)]);
        if (below->isEnabled())
            nextFocus = below;
    }
    nextFocus->setFocus(Qt::TabFocusReason);
}

void BackSheetScreen::loadTicks(const Back::BoxTicks &ticks)
{
    m_loading = true;
    clearBackSheet();
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setCheckState(ticks[i] ? Qt::Checked : Qt::Unchecked);
    m_loading = false;
    focusFirstRow();
}

void BackSheetScreen::clearBackSheet()
{
    // Check1 first: its rule enables the follow-up boxes again, and each
    // scored box's tick rule brings its score back to 0 as it is cleared.
    for (QCheckBox *answer : m_boxes)
        answer->setCheckState(Qt::Unchecked);
    clearResults(m_lines);
    m_ui->Notice1->clear();
}

void BackSheetScreen::closeSheet()
{
    hide();
    clearBackSheet();
    m_ui->Check1->setFocus(Qt::OtherFocusReason); // where it opened the first time
    emit frontSideRequested();
}
