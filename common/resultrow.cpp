#include "resultrow.h"

#include "answerkeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace ResultRow {

namespace {

// The sheets' results that exist now, by side.
std::array<const Results *, 2> &reported()
{
    static std::array<const Results *, 2> sheets {};
    return sheets;
}

std::size_t slotOf(Side side)
{
    return static_cast<std::size_t>(side);
}

// Ctrl+C copies the row, but in a text box with text selected, the text.
class CopyKey final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !AnswerKeys::isCopy(*static_cast<QKeyEvent *>(event)))
            return false;
        const auto *box = qobject_cast<const QLineEdit *>(watched);
        if (box && box->hasSelectedText())
            return false;
        copyResults();
        return true;
    }
};

} // namespace

Results::Results(Side side, std::vector<Result> results)
    : m_side(side)
    , m_results(std::move(results))
{
    reported()[slotOf(m_side)] = this;
}

Results::~Results()
{
    if (reported()[slotOf(m_side)] == this)
        reported()[slotOf(m_side)] = nullptr;
}

void Results::clear() const
{
    for (const Result &result : m_results) {
        result.score->clear();
        result.word->clear();
    }
}

QStringList Results::fields() const
{
    QStringList fields;
    for (const Result &result : m_results)
        fields << result.score->text() << result.word->text();
    return fields;
}

QStringList headerNames()
{
    return {
        u"คะแนนด้านที่ 1"_s,
        u"แปลผลด้านที่ 1"_s,
        u"คะแนนด้านที่ 2"_s,
        u"แปลผลด้านที่ 2"_s,
        u"คะแนนด้านที่ 3"_s,
        u"แปลผลด้านที่ 3"_s,
        u"คะแนนด้านที่ 4"_s,
        u"แปลผลด้านที่ 4"_s,
        u"รวมคะแนนทั้ง 4 ด้าน"_s,
        u"แปลผลรวม 4 ด้าน"_s,
        u"คะแนนสัมพันธภาพทางสังคม"_s,
        u"แปลผลสัมพันธภาพทางสังคม"_s,
        u"คะแนนด้านหลัง"_s,
        u"ระดับความรุนแรง"_s,
    };
}

QString line(const QStringList &fields)
{
    return fields.join(u'\t') + u'\n';
}

QStringList currentFields()
{
    QStringList fields;
    for (const auto &[side, count] : {std::pair {Side::Front, kFrontResults}, std::pair {Side::Back, kBackResults}}) {
        const Results *sheet = reported()[slotOf(side)];
        fields << (sheet ? sheet->fields() : QStringList(2 * count, QString()));
    }
    return fields;
}

void copyResults()
{
    QGuiApplication::clipboard()->setText(line(currentFields()));
}

void copyHeader()
{
    QGuiApplication::clipboard()->setText(line(headerNames()));
}

void addCopyKeyAndMenu(QWidget *sheet)
{
    // The key is shown beside the item only: the filter below handles Ctrl+C.
    auto *results
        = new QAction(u"คัดลอกผล\t"_s + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText), sheet);
    results->setObjectName(u"CopyResults"_s);
    QObject::connect(results, &QAction::triggered, sheet, &copyResults);
    auto *header = new QAction(u"คัดลอกหัวตาราง"_s, sheet);
    header->setObjectName(u"CopyHeader"_s);
    QObject::connect(header, &QAction::triggered, sheet, &copyHeader);
    sheet->addActions({results, header});
    sheet->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *copyKey = new CopyKey(sheet);
    sheet->installEventFilter(copyKey); // keys the focused control leaves to its sheet
    for (QLineEdit *box : sheet->findChildren<QLineEdit *>()) {
        box->setContextMenuPolicy(Qt::NoContextMenu); // the sheet's menu, not the box's English one
        box->installEventFilter(copyKey); // a text box keeps Ctrl+C to itself
    }
}

} // namespace ResultRow
