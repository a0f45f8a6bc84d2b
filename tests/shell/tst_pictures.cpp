#include "kvttest.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int le16(const QByteArray &bytes, int at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

int le32(const QByteArray &bytes, int at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

qreal luminance(QColor colour)
{
    const auto channel = [](qreal c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

qreal contrast(QColor a, QColor b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const QString kSourcePictures = QString::fromUtf8(KVT_SOURCE_DIR "/resources");

} // namespace

class PicturesTest final : public QObject
{
    Q_OBJECT

private slots:
    void iconFile();
    void iconDecodes();
    void pictures_data();
    void pictures();
    void headingReadsOverBackground();
    void generatorRedrawsTheSameFiles();
};

void PicturesTest::iconFile()
{
    // One 48 x 48 image of 256 colours: header, one directory entry, bitmap
    // header, palette, colour indexes and transparency mask.
    const QByteArray ico = contents(u":/icons/kvt.ico"_s);
    QCOMPARE(ico.size(), 3774);
    QCOMPARE(ico, contents(kSourcePictures + u"/icons/kvt.ico"_s));

    QCOMPARE(le16(ico, 0), 0); // reserved
    QCOMPARE(le16(ico, 2), 1); // an icon, not a cursor
    QCOMPARE(le16(ico, 4), 1); // one image
    QCOMPARE(quint8(ico[6]), quint8(48));
    QCOMPARE(quint8(ico[7]), quint8(48));
    QCOMPARE(quint8(ico[8]), quint8(0)); // 256 colours
    QCOMPARE(le16(ico, 12), 8); // bits per pixel
    QCOMPARE(le32(ico, 14), 3774 - 22); // image bytes
    QCOMPARE(le32(ico, 18), 22); // image offset

    QCOMPARE(le32(ico, 22), 40); // bitmap header size
    QCOMPARE(le32(ico, 26), 48);
    QCOMPARE(le32(ico, 30), 96); // colour rows and mask rows
    QCOMPARE(le16(ico, 34), 1);
    QCOMPARE(le16(ico, 36), 8);
    QCOMPARE(le32(ico, 38), 0); // uncompressed
}

void PicturesTest::iconDecodes()
{
    QImageReader reader(u":/icons/kvt.ico"_s);
    QCOMPARE(reader.imageCount(), 1);
    const QImage icon = reader.read();
    QVERIFY2(!icon.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(icon.size(), QSize(48, 48));
    // Rounded corners see-through, the middle solid.
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(24, 24)), 255);
}

void PicturesTest::pictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");

    QTest::newRow("menu background") << u":/pictures/menu-background.jpg"_s << QByteArray("jpeg") << QSize(800, 600);
    QTest::newRow("menu picture") << u":/pictures/menu-picture.jpg"_s << QByteArray("jpeg") << QSize(100, 100);
    QTest::newRow("theme icon 48") << kSourcePictures + u"/icons/kvt-48.png"_s << QByteArray("png") << QSize(48, 48);
    QTest::newRow("theme icon 256") << kSourcePictures + u"/icons/kvt-256.png"_s << QByteArray("png")
                                    << QSize(256, 256);
}

void PicturesTest::pictures()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);

    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
}

void PicturesTest::headingReadsOverBackground()
{
    // The menu's heading, blue on the background, across its whole box.
    const QImage background(u":/pictures/menu-background.jpg"_s);
    const QRect heading(1560 / 15, 240 / 15, 8895 / 15, 615 / 15);
    qreal worst = 21;
    for (int y = heading.top(); y <= heading.bottom(); ++y)
        for (int x = heading.left(); x <= heading.right(); ++x)
            worst = std::min(worst, contrast(QColor(0, 0, 255), background.pixelColor(x, y)));
    QVERIFY2(worst >= 7, qPrintable(QString::number(worst)));
}

void PicturesTest::generatorRedrawsTheSameFiles()
{
#ifndef KVT_PICTURE_GENERATOR
    QSKIP("the picture generator is built only with KVT_BUILD_PICTURE_GENERATOR=ON");
#else
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess generator;
    generator.start(QString::fromUtf8(KVT_PICTURE_GENERATOR), {out.path()});
    QVERIFY(generator.waitForFinished(60000));
    QCOMPARE(generator.exitCode(), 0);
    for (const QString &file : {u"icons/kvt.ico"_s, u"icons/kvt-48.png"_s, u"icons/kvt-256.png"_s,
             u"pictures/menu-background.jpg"_s, u"pictures/menu-picture.jpg"_s})
        QVERIFY2(contents(out.filePath(file)) == contents(kSourcePictures + u'/' + file), qPrintable(file));
#endif
}

KVT_TEST_MAIN(PicturesTest)

#include "tst_pictures.moc"
