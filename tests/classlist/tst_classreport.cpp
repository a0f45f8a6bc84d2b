#include "classtest.h"

#include "classlist/classreport.h"
#include "schooltexts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace ClassFixture;

namespace {

// The text's letters without its blanks and its marks above and below.
// Where a mark is drawn with a glyph of its own moved aside (above a vowel,
// beside a tall consonant), the PDF cannot say which letter that glyph is,
// and "ำ" is written as its two parts; a reader finds the rest as written.
QString letters(const QString &text)
{
    QString kept;
    for (QChar c : text) {
        const bool mark = c == u'\u0E31' || (c >= u'\u0E34' && c <= u'\u0E3A') || (c >= u'\u0E47' && c <= u'\u0E4E');
        if (c == u'\u0E33')
            kept += u'\u0E32';
        else if (!mark && !c.isSpace())
            kept += c;
    }
    return kept;
}

} // namespace

// The Thai date, and the class saved as CSV and as PDF: whole in any folder,
// a Thai-named one too, and nothing at all where it cannot be written.
class ClassReportTest final : public ClassTest::ListTest
{
    Q_OBJECT

private slots:
    void init() { makeList(); }
    void cleanup() { dropList(); }

    void thaiDate_data();
    void thaiDate();
    void saving_data();
    void saving();

private:
    QString pdfText(const QString &path) const;
};

void ClassReportTest::thaiDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("written");

    QTest::addRow("December") << QDate(2026, 12, 10) << u"10 ธันวาคม 2569"_s;
    QTest::addRow("first of January") << QDate(2000, 1, 1) << u"1 มกราคม 2543"_s;
    QTest::addRow("leap day") << QDate(2024, 2, 29) << u"29 กุมภาพันธ์ 2567"_s;
    QTest::addRow("July") << QDate(2025, 7, 31) << u"31 กรกฎาคม 2568"_s;
    QTest::addRow("November") << QDate(2019, 11, 5) << u"5 พฤศจิกายน 2562"_s;
    QTest::addRow("no date") << QDate() << QString();
}

void ClassReportTest::thaiDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, written);
    QCOMPARE(::thaiDate(date), written);
}

void ClassReportTest::saving_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file"); // under a new temporary folder
    QTest::addColumn<bool>("saved");

    for (const QString &format : {u"csv"_s, u"pdf"_s}) {
        const QByteArray name = format.toUtf8();
        QTest::addRow("%s in a Thai folder", name.constData())
            << format << u"ห้อง ป.4-2/ผลการประเมิน ภาคเรียนที่ 2."_s + format << true;
        QTest::addRow("%s over an earlier file", name.constData()) << format << u"earlier."_s + format << true;
        QTest::addRow("%s in a missing folder", name.constData())
            << format << u"ไม่มีโฟลเดอร์นี้/ผลการประเมิน."_s + format << false;
        QTest::addRow("%s onto a folder", name.constData()) << format << u"ห้อง ป.4-2"_s << false;
    }
}

QString ClassReportTest::pdfText(const QString &path) const
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {u"-raw"_s, u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

void ClassReportTest::saving()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(bool, saved);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    QVERIFY(QDir(temporary.path()).mkpath(u"ห้อง ป.4-2"_s));
    const QString earlier = temporary.filePath(u"earlier."_s + format);
    QFile earlierFile(earlier);
    QVERIFY(earlierFile.open(QIODevice::WriteOnly));
    earlierFile.write("an earlier file");
    earlierFile.close();
    const QStringList before = QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    for (int n = 0; n < 40; ++n)
        m_list->add(madeUp(n));
    m_list->showWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list->window()));
    typeName(0, u"ด.ช.ภูมิใจ รักเรียน"_s);

    const QString path = temporary.filePath(file);
    const std::optional<QString> error = format == u"csv"_s ? m_list->saveCsv(path) : m_list->savePdf(path);
    QCOMPARE(m_list->count(), 40);
    QCOMPARE(m_list->isChanged(), !saved);
    if (!saved) {
        QVERIFY(error);
        QVERIFY2(error->contains(QDir::toNativeSeparators(path)), qPrintable(*error));
        // Nothing new or half-written left behind, the earlier file untouched.
        QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(
            QDir(temporary.filePath(u"ห้อง ป.4-2"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(earlierFile.open(QIODevice::ReadOnly));
        QCOMPARE(earlierFile.readAll(), QByteArray("an earlier file"));
        return;
    }
    QVERIFY2(!error, qPrintable(error.value_or(QString())));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files).size(), 1);
    if (format == u"csv"_s) {
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFลำดับ,ชื่อหรือเลขที่,"));
        QCOMPARE(bytes.count("\r\n"), 41);
        QVERIFY(bytes.contains("\r\n1,ด.ช.ภูมิใจ รักเรียน,ผู้ปกครอง,"));
        return;
    }
    QVERIFY(bytes.startsWith("%PDF-"));
    const QString text = pdfText(path);
    if (text.isEmpty())
        QSKIP("pdftotext is not here: the PDF was only checked to be one");
    // Thai as shaped, read back: the heading, the school, the date, the page
    // numbers, a band word, a typed name and the summary's share.
    const QString read = letters(text);
    for (const QString &expected :
        {ClassReport::title(), SchoolTexts::schoolName(), ::thaiDate(QDate::currentDate()), u"หน้า 1/"_s, u"ชื่อหรือเลขที่"_s,
            u"มีปัญหา"_s, u"ด.ช.ภูมิใจ รักเรียน"_s, u"ฉบับผู้ปกครอง 35 คน"_s, u"สัมพันธภาพทางสังคม"_s, u"ครูประจำชั้น"_s})
        QVERIFY2(read.contains(letters(expected)), qPrintable(expected + u" not in:\n"_s + text.left(3000)));
}

KVT_TEST_MAIN(ClassReportTest)

#include "tst_classreport.moc"
