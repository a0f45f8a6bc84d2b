// The staff guide against the program: its tables of score ranges hold the
// program's ranges and the words the screens show for them, its list of the
// copied row's headings is the program's, and everything it points to is in
// the built guide's folder, so that it opens offline.

#include "back/backscoring.h"
#include "back/backsheetscreen.h"
#include "classlist/childrecord.h"
#include "front/frontscoring.h"
#include "front/frontsheetscreen.h"
#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One range cell of a score table, with the word of its column.
struct RangeCell {
    QString scale;
    int low;
    int high;
    QString text;
    QString word;
};

struct GuidePage {
    QString error;
    QList<RangeCell> ranges;
    QMap<QString, QList<int>> items; // the items each front line sums, as listed
    QStringList links; // href, src and url() as written
    QStringList headings; // the items of the list of the copied row's headings
    QSet<QString> ids;
};

// The page is written as well-formed markup, so an XML reader takes it whole.
GuidePage readGuide(const QString &path)
{
    GuidePage page;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        page.error = u"cannot open "_s + path;
        return page;
    }
    static const QRegularExpression cssUrl(u"url\\(\\s*[\"']?([^\"')]+)"_s);
    const auto addUrls = [&](const QString &css) {
        for (const QRegularExpressionMatch &match : cssUrl.globalMatch(css))
            page.links << match.captured(1);
    };
    QXmlStreamReader xml(&file);
    QStringList headerWords; // of the current score table, by column
    QString scale;
    int column = 0;
    bool inScoreTable = false;
    bool inHead = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QString &name : {u"id"_s, u"href"_s, u"src"_s, u"style"_s}) {
            const QString value = attributes.value(name).toString();
            if (value.isEmpty())
                continue;
            if (name == u"id")
                page.ids << value;
            else if (name == u"style")
                addUrls(value);
            else
                page.links << value;
        }
        const auto tag = xml.name();
        if (tag == u"ol" && attributes.value(u"id"_s) == u"result-headings") {
            while (xml.readNextStartElement())
                page.headings << xml.readElementText();
        } else if (tag == u"style") {
            addUrls(xml.readElementText());
        } else if (tag == u"table") {
            inScoreTable = attributes.value(u"class"_s).contains(u"bands");
            headerWords.clear();
        } else if (!inScoreTable) {
            continue;
        } else if (tag == u"thead" || tag == u"tbody") {
            inHead = tag == u"thead";
        } else if (tag == u"tr") {
            scale = attributes.value(u"data-scale"_s).toString();
            column = 0;
        } else if (tag == u"th" && inHead) {
            headerWords << xml.readElementText();
        } else if (tag == u"th" || tag == u"td") {
            const QString word = headerWords.value(column++);
            const bool isRange = attributes.hasAttribute(u"data-low"_s);
            const bool isItems = attributes.value(u"class"_s) == u"items";
            const QString text = xml.readElementText();
            if (isRange)
                page.ranges.append(RangeCell {scale, attributes.value(u"data-low"_s).toInt(),
                    attributes.value(u"data-high"_s).toInt(), text, word});
            if (isItems)
                for (const QString &number : text.split(u", "_s))
                    page.items[scale] << number.toInt();
        }
    }
    if (xml.hasError())
        page.error = u"line %1: %2"_s.arg(xml.lineNumber()).arg(xml.errorString());
    return page;
}

const QStringList kFrontScales {u"area1"_s, u"area2"_s, u"area3"_s, u"area4"_s, u"total"_s, u"social"_s};

const Front::BandRule &frontRule(Front::Scale scale)
{
    for (const Front::SummedScale &summed : Front::kSummedScales)
        if (summed.scale == scale)
            return summed.rule;
    return Front::kTotalRule;
}

// The ranges of a scale as (low, high) pairs.
QSet<std::pair<int, int>> programRanges(const QString &scale)
{
    QSet<std::pair<int, int>> ranges;
    if (scale == u"back") {
        for (const Back::SeverityRange &range : Back::kSeverityRanges)
            ranges.insert({range.low, range.high});
    } else {
        for (const Front::BandRange &range : frontRule(Front::Scale(kFrontScales.indexOf(scale))))
            ranges.insert({range.low, range.high});
    }
    return ranges;
}

} // namespace

class GuideTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void scales_data();
    void scales();
    void words_data();
    void words();
    void links_data();
    void links();
    void headings();

private:
    // The score and the word a screen shows for a sheet that scores `score` on `scale`.
    std::pair<QString, QString> shown(const QString &scale, int score);
    void tick(QWidget *screen, int box);

    GuidePage m_page;
    std::unique_ptr<FrontSheetScreen> m_front;
    std::unique_ptr<BackSheetScreen> m_back;
};

void GuideTest::initTestCase()
{
    m_page = readGuide(QStringLiteral(KVT_GUIDE_DIR "/kvt-guide.html"));
    QVERIFY2(m_page.error.isEmpty(), qPrintable(m_page.error));
    m_front = std::make_unique<FrontSheetScreen>();
    m_back = std::make_unique<BackSheetScreen>();
}

void GuideTest::tick(QWidget *screen, int box)
{
    screen->findChild<QCheckBox *>(u"Check%1"_s.arg(box))->setCheckState(Qt::Checked);
}

std::pair<QString, QString> GuideTest::shown(const QString &scale, int score)
{
    // Each item or question takes up to 2 of the score, in table order.
    const auto take = [&score](int most) {
        const int part = std::min(most, score);
        score -= part;
        return part;
    };
    if (scale == u"back") {
        m_back->findChild<QPushButton *>(u"Command3"_s)->click();
        for (int question = 0; question <= int(Back::Question::Burden); ++question) {
            const int weight = take(2);
            for (const Back::ScoredBox &box : Back::kScoredBoxes)
                if (box.question == Back::Question(question) && weight > 0 && Back::weightOf(box.level) == weight)
                    tick(m_back.get(), box.box);
        }
        m_back->findChild<QPushButton *>(u"Command2"_s)->click();
        return {m_back->findChild<QLineEdit *>(u"Text1"_s)->text(), m_back->findChild<QLabel *>(u"Label18"_s)->text()};
    }
    const int line = int(kFrontScales.indexOf(scale));
    QList<int> items;
    for (const Front::SummedScale &summed : Front::kSummedScales)
        if (int(summed.scale) == line || (scale == u"total" && summed.scale != Front::Scale::Social))
            items.append(QList<int>(summed.items.begin(), summed.items.end()));
    m_front->findChild<QPushButton *>(u"Command4"_s)->click();
    for (int item : items) {
        const int value = take(2);
        for (const Front::BoxCell &cell : Front::itemRow(item).cells)
            if (cell.tickedValue == value)
                tick(m_front.get(), cell.box);
    }
    m_front->findChild<QPushButton *>(u"Command1"_s)->click();
    return {m_front->findChild<QLineEdit *>(u"Text%1"_s.arg(line + 1))->text(),
        m_front->findChild<QLabel *>(u"Label%1"_s.arg(36 + 2 * line))->text()};
}

void GuideTest::scales_data()
{
    QTest::addColumn<QString>("scale");
    for (const QString &scale : kFrontScales + QStringList {u"back"_s})
        QTest::newRow(qPrintable(scale)) << scale;
}

// Each line of the program has its ranges in the guide, no more, no fewer;
// the front lines that sum items list the program's items.
void GuideTest::scales()
{
    QFETCH(QString, scale);
    QSet<std::pair<int, int>> inGuide;
    int cells = 0;
    for (const RangeCell &cell : std::as_const(m_page.ranges))
        if (cell.scale == scale) {
            inGuide.insert({cell.low, cell.high});
            ++cells;
        }
    QCOMPARE(cells, inGuide.size());
    QCOMPARE(inGuide, programRanges(scale));

    for (const Front::SummedScale &summed : Front::kSummedScales)
        if (int(summed.scale) == kFrontScales.indexOf(scale))
            QCOMPARE(m_page.items.value(scale), QList<int>(summed.items.begin(), summed.items.end()));
}

void GuideTest::words_data()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    for (const RangeCell &cell : std::as_const(m_page.ranges))
        QTest::addRow("%s %d-%d", qPrintable(cell.scale), cell.low, cell.high)
            << cell.scale << cell.low << cell.high << cell.text << cell.word;
}

// The word of a range's column is what the screen shows at both its ends.
void GuideTest::words()
{
    QFETCH(QString, scale);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(QString, text);
    QFETCH(QString, word);
    QCOMPARE(text, low == high ? QString::number(low) : u"%1–%2"_s.arg(low).arg(high));
    for (int score : {low, high})
        QCOMPARE(shown(scale, score), std::make_pair(QString::number(score), word));
}

void GuideTest::links_data()
{
    QTest::addColumn<QString>("link");
    QStringList links = m_page.links;
    links.removeDuplicates();
    for (const QString &link : std::as_const(links))
        QTest::newRow(qPrintable(link)) << link;
}

// Pages, pictures and fonts in the guide's own folder, or places on the page.
void GuideTest::links()
{
    QFETCH(QString, link);
    if (link.startsWith(u'#')) {
        QVERIFY(m_page.ids.contains(link.mid(1)));
        return;
    }
    const QUrl url(link);
    QVERIFY2(url.isRelative() && url.host().isEmpty() && !link.startsWith(u'/'), "not in the guide's folder");
    QVERIFY(QFileInfo(QDir(QStringLiteral(KVT_GUIDE_DIR)).filePath(url.path())).isFile());
}

// Staff match the spreadsheet's columns against this list.
void GuideTest::headings()
{
    QCOMPARE(m_page.headings, resultHeadings());
}

// A plain QApplication: the guide's check needs none of the program's set-up.
KVT_TEST_MAIN_BARE(GuideTest)

#include "tst_guide.moc"
