#include "kvttest.h"
#include "programidentity.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// Installs the build into a temporary prefix, as a package would, and looks
// at what lands there.

namespace {

const QString kAppId = ProgramIdentity::appId();
const QString kNoticesFile = u"share/doc/kvt/THIRD-PARTY-NOTICES.txt"_s;
const QString kDesktopFile = u"share/applications/"_s + kAppId + u".desktop"_s;
const QString kMetainfoFile = u"share/metainfo/"_s + kAppId + u".metainfo.xml"_s;
const QString kMimeFile = u"share/mime/packages/"_s + kAppId + u".xml"_s;
const QString kClassType = u"application/x-kvt-class"_s;

QString iconFile(int size, const QString &context = u"apps"_s, const QString &name = kAppId)
{
    return u"share/icons/hicolor/%1x%1/%2/%3.png"_s.arg(size).arg(context, name);
}

// The first 100 bytes of an SQLite database, with its application id.
QByteArray sqliteHeader(quint32 applicationId)
{
    QByteArray header(100, '\0');
    header.replace(0, 16, QByteArrayLiteral("SQLite format 3\0"));
    for (int i = 0; i < 4; ++i)
        header[68 + i] = char(applicationId >> (24 - 8 * i));
    return header;
}

// The [Desktop Entry] keys, without the localised ones.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    QMap<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

bool hasThai(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Thai; });
}

} // namespace

class InstallTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void installTree_data();
    void installTree();
    void desktopEntryNamesTheProgram();
    void desktopEntryValidates();
    void metainfoValidates();
    void classFileType_data();
    void classFileType();
    void programNamesItself();
    void identityInInstalledFiles_data();
    void identityInInstalledFiles();
    void installedProgramStarts();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
    QTemporaryDir m_mimeData;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments {u"--install"_s, QString::fromUtf8(KVT_BINARY_DIR), u"--prefix"_s, m_prefix.path()};
    if (const QString config = QString::fromUtf8(KVT_CONFIG); !config.isEmpty())
        arguments << u"--config"_s << config;
    install.start(QString::fromUtf8(KVT_CMAKE_COMMAND), arguments);
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
}

void InstallTest::installTree_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("program") << u"bin/kvt"_s;
    QTest::newRow("desktop entry") << kDesktopFile;
    QTest::newRow("metainfo") << kMetainfoFile;
    QTest::newRow("icon 48") << iconFile(48);
    QTest::newRow("icon 256") << iconFile(256);
    QTest::newRow("class file type") << kMimeFile;
    QTest::newRow("class file icon 48") << iconFile(48, u"mimetypes"_s, u"application-x-kvt-class"_s);
    QTest::newRow("class file icon 256") << iconFile(256, u"mimetypes"_s, u"application-x-kvt-class"_s);
    QTest::newRow("copyright") << u"share/doc/kvt/copyright"_s;
    QTest::newRow("third-party notices") << kNoticesFile;
    // The staff's guide, where F1 of the installed program looks for it.
    QTest::newRow("guide") << u"share/doc/kvt/guide/kvt-guide.html"_s;
    QTest::newRow("guide picture") << u"share/doc/kvt/guide/pictures/form3-front@2x.png"_s;
    QTest::newRow("guide face") << u"share/doc/kvt/guide/fonts/NotoSansThai-Regular.ttf"_s;
}

void InstallTest::installTree()
{
    QFETCH(QString, file);
    const QFileInfo info(installed(file));
    QVERIFY2(info.isFile(), qPrintable(file));
    QVERIFY(info.size() > 0);
    QCOMPARE(info.isExecutable(), file.startsWith(u"bin/"_s));
}

void InstallTest::desktopEntryNamesTheProgram()
{
    const QMap<QString, QString> entry = desktopEntry(installed(kDesktopFile));
    QCOMPARE(entry.value(u"Type"_s), u"Application"_s);
    QCOMPARE(entry.value(u"Name"_s), ProgramIdentity::thaiName());
    QVERIFY(hasThai(entry.value(u"Comment"_s)));
    QCOMPARE(entry.value(u"Exec"_s), u"kvt %f"_s); // one file, as a local path
    QCOMPARE(entry.value(u"MimeType"_s), kClassType + u';');
    QCOMPARE(entry.value(u"Icon"_s), kAppId); // the icon theme's file name
}

void InstallTest::desktopEntryValidates()
{
    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian: desktop-file-utils)");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {installed(kDesktopFile)});
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray output = validate.readAll();
    QVERIFY2(validate.exitCode() == 0 && output.trimmed().isEmpty(), output.constData());
}

void InstallTest::metainfoValidates()
{
    const QString validator = QStandardPaths::findExecutable(u"appstreamcli"_s);
    if (validator.isEmpty())
        QSKIP("appstreamcli is not installed (Debian: appstream)");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {u"validate"_s, u"--no-net"_s, installed(kMetainfoFile)});
    QVERIFY(validate.waitForFinished(30000));
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
}

// The installed type as the desktop sees it once its database is rebuilt:
// by name, and by content whatever the name.
void InstallTest::classFileType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    const QByteArray ours = sqliteHeader(0x4B565443);
    const QByteArray otherSqlite = sqliteHeader(0);
    QTest::newRow("class file") << u"ห้อง ป.4-1.kvt"_s << ours << kClassType;
    QTest::newRow("class file renamed") << u"ห้อง ป.4-1.db"_s << ours << kClassType;
    QTest::newRow("class file unnamed") << u"ห้อง"_s << ours << kClassType;
    QTest::newRow("other sqlite") << u"อื่น.db"_s << otherSqlite << u"application/vnd.sqlite3"_s;
    QTest::newRow("other sqlite unnamed") << u"อื่น"_s << otherSqlite << u"application/vnd.sqlite3"_s;
}

void InstallTest::classFileType()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    const QString updater = QStandardPaths::findExecutable(u"update-mime-database"_s);
    const QString systemTypes = u"/usr/share/mime/packages/freedesktop.org.xml"_s;
    if (updater.isEmpty() || !QFileInfo::exists(systemTypes))
        QSKIP("update-mime-database is not installed (Debian: shared-mime-info)");
    // One database of the system's types and ours, as the package's trigger
    // makes it: Qt does not weigh the priorities of content rules in different
    // folders against each other.
    const QString mimeFolder = m_mimeData.filePath(u"mime"_s);
    if (!QFileInfo::exists(mimeFolder + u"/mime.cache"_s)) {
        QVERIFY(QDir().mkpath(mimeFolder + u"/packages"_s));
        QVERIFY(QFile::copy(systemTypes, mimeFolder + u"/packages/freedesktop.org.xml"_s));
        QVERIFY(QFile::copy(installed(kMimeFile), mimeFolder + u"/packages/"_s + kAppId + u".xml"_s));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_mimeData.path()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_mimeData.path()));
        QProcess update;
        update.setProcessChannelMode(QProcess::MergedChannels);
        update.start(updater, {mimeFolder});
        QVERIFY(update.waitForFinished(60000));
        const QByteArray output = update.readAll();
        // It reports a malformed rule on its output and still succeeds.
        QVERIFY2(update.exitCode() == 0 && output.trimmed().isEmpty(), output.constData());
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content + QByteArray(4096 - content.size(), '\0'));
    file.close();
    QCOMPARE(QMimeDatabase().mimeTypeForFile(file.fileName()).name(), expected);
}

// The identity the build set once, as the running program reports it.
void InstallTest::programNamesItself()
{
    QCOMPARE(QCoreApplication::applicationVersion(), ProgramIdentity::version());
    QCOMPARE(QGuiApplication::desktopFileName(), kAppId);
    // CMake checks only the date's shape.
    QVERIFY2(QDate::fromString(ProgramIdentity::releaseDate(), Qt::ISODate).isValid(),
        qPrintable(ProgramIdentity::releaseDate()));
}

// The same identity in every installed file that carries it.
void InstallTest::identityInInstalledFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    using namespace ProgramIdentity;
    QTest::newRow("metainfo id") << kMetainfoFile << u"<id>%1</id>"_s.arg(appId());
    QTest::newRow("metainfo name") << kMetainfoFile << u"<name>%1</name>"_s.arg(thaiName().toHtmlEscaped());
    QTest::newRow("metainfo desktop entry")
        << kMetainfoFile << u"<launchable type=\"desktop-id\">%1.desktop</launchable>"_s.arg(appId());
    QTest::newRow("metainfo release") << kMetainfoFile
                                      << u"<release version=\"%1\" date=\"%2\"/>"_s.arg(version(), releaseDate());
    QTest::newRow("notices") << kNoticesFile << u"program, version %1\n"_s.arg(version());
}

void InstallTest::identityInInstalledFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QFile installedFile(installed(file));
    QVERIFY(installedFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(installedFile.readAll());
    QVERIFY2(text.contains(expected), qPrintable(expected));
}

void InstallTest::installedProgramStarts()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(environment);
    program.start(installed(u"bin/kvt"_s), {});
    QVERIFY(program.waitForStarted(10000));
    // Still running after a while: it opened its welcome screen and waits for the user.
    QVERIFY(!program.waitForFinished(1500));
    program.kill();
    program.waitForFinished(10000);
}

KVT_TEST_MAIN(InstallTest)

#include "tst_install.moc"
