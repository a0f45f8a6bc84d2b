#include "classtest.h"

#include "classlist/classreport.h"
#include "classlist/filesaving.h"
#include "classlist/savepath.h"
#include "schooltexts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

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

// What a failed save advises, one cause each.
const QStringList kAdvice {
    u"มีที่ว่างไม่พอ"_s, u"ชื่อของโฟลเดอร์"_s, u"ไม่พบโฟลเดอร์"_s, u"เปิดค้างอยู่"_s, u"ไม่อนุญาตให้บันทึก"_s, u"โปรดลองบันทึกอีกครั้ง"_s};

// The system's words for an error of this code on Linux, or on Windows.
#ifdef Q_OS_WIN
// Codes MinGW's errno.h lacks; only the Windows code is read there.
constexpr int kQuotaExceeded = 0;
constexpr int kReadOnlyDisk = 0;
#else
constexpr int kQuotaExceeded = EDQUOT;
constexpr int kReadOnlyDisk = EROFS;
#endif

QString said([[maybe_unused]] int unixCode, [[maybe_unused]] int windowsCode)
{
#ifdef Q_OS_WIN
    return qt_error_string(windowsCode);
#else
    return qt_error_string(unixCode);
#endif
}

// Answers the save dialogs with the names in turn (an empty one cancels),
// and the questions with the button of that text.
class SaveDialogs final
{
    Q_DISABLE_COPY_MOVE(SaveDialogs)

public:
    SaveDialogs(const QString &folder, const QStringList &names, const QString &button)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this, folder, names, button] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                proposed << dialog->selectedFiles().value(0);
                const QString name = names.value(proposed.size() - 1);
                if (name.isEmpty()) {
                    dialog->reject();
                    return;
                }
                dialog->selectFile(QDir(folder).filePath(name));
                static_cast<QDialog *>(dialog)->accept(); // the file dialog's own, protected there
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                for (QAbstractButton *choice : box->buttons()) {
                    if (choice->text() == button)
                        choice->click();
                }
            }
        });
        m_timer.start(5);
    }

    QStringList proposed;
    QStringList questions;

private:
    QTimer m_timer;
};

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
    void causes_data();
    void causes();
    void fileNames_data();
    void fileNames();
    void askingPath_data();
    void askingPath();
    void printDialogOffersNoPages();

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
    QTest::addColumn<QString>("format"); // csv, pdf, or printed to a file
    QTest::addColumn<QString>("file"); // under a new temporary folder unless absolute
    QTest::addColumn<QString>("advice"); // empty: saved

    for (const QString &format : {u"csv"_s, u"pdf"_s, u"print"_s}) {
        const QByteArray name = format.toUtf8();
        const QString suffix = format == u"csv"_s ? format : u"pdf"_s;
        QTest::addRow("%s in a Thai folder", name.constData())
            << format << u"ห้อง ป.4-2/ผลการประเมิน ภาคเรียนที่ 2."_s + suffix << QString();
        QTest::addRow("%s over an earlier file", name.constData()) << format << u"earlier."_s + suffix << QString();
        QTest::addRow("%s in a missing folder", name.constData())
            << format << u"ไม่มีโฟลเดอร์นี้/ผลการประเมิน."_s + suffix << u"ไม่พบโฟลเดอร์"_s;
        QTest::addRow("%s onto a folder", name.constData()) << format << u"ห้อง ป.4-2"_s << u"ชื่อของโฟลเดอร์"_s;
#ifdef Q_OS_LINUX
        // Even root may not make files there.
        QTest::addRow("%s in /sys", name.constData())
            << format << u"/sys/ผลการประเมิน."_s + suffix << u"ไม่อนุญาตให้บันทึก"_s;
        QTest::addRow("%s under a device", name.constData())
            << format << u"/dev/full/ผลการประเมิน."_s + suffix << u"ไม่พบโฟลเดอร์"_s;
#endif
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
    QFETCH(QString, advice);
    const bool saved = advice.isEmpty();

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    QVERIFY(QDir(temporary.path()).mkpath(u"ห้อง ป.4-2"_s));
    const QString suffix = format == u"csv"_s ? format : u"pdf"_s;
    const QString earlier = temporary.filePath(u"earlier."_s + suffix);
    QFile earlierFile(earlier);
    QVERIFY(earlierFile.open(QIODevice::WriteOnly));
    earlierFile.write("an earlier file");
    earlierFile.close();
    const QStringList before = QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    for (int n = 0; n < 40; ++n) {
        const MadeUpPaper paper = madeUp(n);
        m_list->addPaper(paper.version, paper.ticks);
    }
    m_list->showWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list->window()));
    typeName(0, u"ด.ช.ภูมิใจ รักเรียน"_s);

    const QString path = QDir::isAbsolutePath(file) ? file : temporary.filePath(file);
    std::optional<QString> error;
    if (format == u"print"_s) {
        QPrinter printer(QPrinter::HighResolution);
        ClassReport::setUpPages(printer);
        printer.setOutputFileName(path);
        error = ClassReport::print(printer, m_list->model(), QDate::currentDate());
    } else {
        error = format == u"csv"_s ? m_list->saveCsv(path) : m_list->savePdf(path);
        QVERIFY(m_list->document().hasUnkeptRows()); // saved or not: a copy does not keep the class
    }
    QCOMPARE(m_list->count(), 40);
    if (!saved) {
        QVERIFY(error);
        QVERIFY2(error->contains(QDir::toNativeSeparators(path)), qPrintable(*error));
        QVERIFY2(error->contains(advice), qPrintable(*error));
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
#ifndef Q_OS_WIN
    // The earlier file was readable by all.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QCOMPARE(QFileInfo(path).permissions() & others, QFileDevice::Permissions());
#endif
    if (suffix == u"csv"_s) {
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFลำดับ,เลขที่,ชื่อ-สกุล,ฉบับ,"));
        QCOMPARE(bytes.count("\r\n"), 41); // without the empty row for a late pupil
        QVERIFY(bytes.contains("\r\n1,,ด.ช.ภูมิใจ รักเรียน,ผู้ปกครอง,"));
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
        {ClassReport::title(), SchoolTexts::schoolName(), ::thaiDate(QDate::currentDate()), u"หน้า 1/"_s, u"ชื่อ-สกุล"_s,
            u"มีปัญหา"_s, u"ด.ช.ภูมิใจ รักเรียน"_s, u"ฉบับผู้ปกครอง 35 คน"_s, u"สัมพันธภาพทางสังคม"_s, u"ครูประจำชั้น"_s})
        QVERIFY2(read.contains(letters(expected)), qPrintable(expected + u" not in:\n"_s + text.left(3000)));
}

void ClassReportTest::causes_data()
{
    QTest::addColumn<QString>("file"); // "earlier.csv" exists
    QTest::addColumn<QFileDevice::FileError>("error");
    QTest::addColumn<QString>("systemCause");
    QTest::addColumn<QString>("advice");

    const QString full = u"มีที่ว่างไม่พอ"_s;
    QTest::addRow("disk full writing") << u"new.csv"_s << QFileDevice::ResourceError << said(ENOSPC, 112) << full;
    QTest::addRow("disk full replacing") << u"earlier.csv"_s << QFileDevice::RenameError << said(ENOSPC, 39) << full;
    QTest::addRow("over quota") << u"new.csv"_s << QFileDevice::WriteError << said(kQuotaExceeded, 112) << full;
    QTest::addRow("read-only disk") << u"new.csv"_s << QFileDevice::OpenError << said(kReadOnlyDisk, 19)
                                    << u"ไม่อนุญาตให้บันทึก"_s;
    QTest::addRow("folder refused") << u"new.csv"_s << QFileDevice::OpenError << said(EACCES, 5) << u"ไม่อนุญาตให้บันทึก"_s;
    QTest::addRow("held open elsewhere") << u"earlier.csv"_s << QFileDevice::RenameError << said(EACCES, 5)
                                         << u"เปิดค้างอยู่"_s;
    QTest::addRow("folder gone") << u"gone/new.csv"_s << QFileDevice::OpenError << said(ENOENT, 3) << u"ไม่พบโฟลเดอร์"_s;
    QTest::addRow("device failed") << u"new.csv"_s << QFileDevice::WriteError << said(EIO, 1117)
                                   << u"โปรดลองบันทึกอีกครั้ง"_s;
}

void ClassReportTest::causes()
{
    QFETCH(QString, file);
    QFETCH(QFileDevice::FileError, error);
    QFETCH(QString, systemCause);
    QFETCH(QString, advice);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    QFile earlier(temporary.filePath(u"earlier.csv"_s));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();

    const QString path = temporary.filePath(file);
    const QString text = cannotSave(path, error, systemCause);
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    QVERIFY2(text.endsWith(u'\n' + systemCause), qPrintable(text));
    QStringList given;
    for (const QString &words : kAdvice) {
        if (text.contains(words))
            given << words;
    }
    QCOMPARE(given, QStringList {advice});
}

void ClassReportTest::fileNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suffixed"); // the text chosen in the save dialog
    QTest::addColumn<QString>("suggested"); // the text as a name to suggest

    QTest::addRow("a class with a dot") << u"ห้อง ป.4-2"_s << u"ห้อง ป.4-2.csv"_s << u"ห้อง ป.4-2"_s;
    QTest::addRow("suffix there") << u"ผล.csv"_s << u"ผล.csv"_s << u"ผล.csv"_s;
    QTest::addRow("suffix in capitals") << u"ผล.CSV"_s << u"ผล.CSV"_s << u"ผล.CSV"_s;
    QTest::addRow("another suffix") << u"ผล.pdf"_s << u"ผล.pdf.csv"_s << u"ผล.pdf"_s;
    QTest::addRow("suffix without its dot") << u"ผลcsv"_s << u"ผลcsv.csv"_s << u"ผลcsv"_s;
    QTest::addRow("a last dot") << u"ห้อง ป."_s << u"ห้อง ป.csv"_s << u"ห้อง ป."_s;
    QTest::addRow("nothing chosen") << QString() << QString() << QString();
    QTest::addRow("characters Windows refuses") << u"ป.4/2"_s << u"ป.4/2.csv"_s << u"ป.4-2"_s;
    QTest::addRow("every refused character and blanks")
        << u" ห้อง\\ก:ข*ค?\"ง\"<จ>|\t1 "_s << u" ห้อง\\ก:ข*ค?\"ง\"<จ>|\t1 .csv"_s << u"ห้อง-ก-ข-ค--ง--จ---1"_s;
}

void ClassReportTest::fileNames()
{
    QFETCH(QString, text);
    QFETCH(QString, suffixed);
    QFETCH(QString, suggested);
    QCOMPARE(finalSavePath(text, u"csv"_s), suffixed);
    QCOMPARE(suggestedFileName(text), suggested);
}

void ClassReportTest::askingPath_data()
{
    QTest::addColumn<QStringList>("names"); // typed into each save dialog; empty: cancelled
    QTest::addColumn<QString>("button"); // the answer to replacing "ห้อง ป.4-2.csv"
    QTest::addColumn<QString>("saved"); // empty: nothing
    QTest::addColumn<int>("questions");

    QTest::addRow("a dotted name gets its suffix")
        << QStringList {u"ห้อง ป.4-1"_s} << QString() << u"ห้อง ป.4-1.csv"_s << 0;
    QTest::addRow("suffix in capitals kept")
        << QStringList {u"ห้อง ป.4-1.CSV"_s} << QString() << u"ห้อง ป.4-1.CSV"_s << 0;
    QTest::addRow("replacing the final name asked")
        << QStringList {u"ห้อง ป.4-2"_s} << u"บันทึกทับไฟล์เดิม"_s << u"ห้อง ป.4-2.csv"_s << 1;
    QTest::addRow("not replaced: another name")
        << QStringList {u"ห้อง ป.4-2"_s, u"ห้อง ป.4-3"_s} << u"เลือกชื่ออื่น"_s << u"ห้อง ป.4-3.csv"_s << 1;
    QTest::addRow("cancelled") << QStringList {QString()} << QString() << QString() << 0;
}

void ClassReportTest::askingPath()
{
    // The dialog is answered as a widget: Windows' own dialog is not one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QFETCH(QStringList, names);
    QFETCH(QString, button);
    QFETCH(QString, saved);
    QFETCH(int, questions);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    QFile existing(temporary.filePath(u"ห้อง ป.4-2.csv"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    const SaveDialogs dialogs(temporary.path(), names, button);
    const QString path
        = askSavePath(nullptr, u"บันทึก"_s, temporary.path(), u"ผล: ห้อง ป.4/2"_s, u"csv"_s, u"ไฟล์ CSV (*.csv)"_s);
    QCOMPARE(path, saved.isEmpty() ? QString() : temporary.filePath(saved));
    QCOMPARE(dialogs.proposed.size(), names.size());
    QCOMPARE(QFileInfo(dialogs.proposed.front()).fileName(), u"ผล- ห้อง ป.4-2.csv"_s);
    QCOMPARE(dialogs.questions.size(), questions);
    if (questions > 0)
        QVERIFY2(dialogs.questions.front().contains(u"\"ห้อง ป.4-2.csv\""_s), qPrintable(dialogs.questions.front()));
}

void ClassReportTest::printDialogOffersNoPages()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    ClassReport::setUpPrintDialog(dialog);
    dialog.show();
    QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    QCOMPARE(dialog.printRange(), QAbstractPrintDialog::AllPages);
    for (const QString &name : {u"printRange"_s, u"from"_s, u"to"_s, u"pagesRadioButton"_s, u"pagesLineEdit"_s}) {
        if (const auto *choice = dialog.findChild<QWidget *>(name))
            QVERIFY2(!choice->isEnabled(), qPrintable(name));
    }
    dialog.reject();
}

KVT_TEST_MAIN(ClassReportTest)

#include "tst_classreport.moc"
