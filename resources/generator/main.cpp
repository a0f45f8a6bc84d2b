// Draws the program's pictures: the icon (a 256-colour .ico and two PNGs for
// the desktop's icon theme), the menu background and the menu picture.
// Everything is drawn from shapes and a fixed seed, so a run on the same Qt
// and image libraries writes the same files again.
//
//   kvt_picture_generator <resources folder>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The school look: a calm blue, a warm accent and a fresh green.
const QColor kBlue(0x2e, 0x6d, 0xb4);
const QColor kDeepBlue(0x1b, 0x4a, 0x80);
const QColor kGold(0xe8, 0xb2, 0x3a);
const QColor kGreen(0x2e, 0x9e, 0x5b);

// ---- the icon -------------------------------------------------------------

// A clipboard with three ticked lines on a blue tile: a questionnaire, scored.
// Drawn on a 48-unit grid at any size.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);

    QLinearGradient tile(0, 1, 0, 47);
    tile.setColorAt(0, QColor(0x3a, 0x7c, 0xc4));
    tile.setColorAt(1, kDeepBlue);
    p.setPen(QPen(QColor(0x15, 0x3c, 0x69), 1));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1.5, 1.5, 45, 45), 8, 8);

    // The board and its soft shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x30, 0x55, 120));
    p.drawRoundedRect(QRectF(12.5, 10.5, 25, 32), 3, 3);
    p.setBrush(QColor(0xfb, 0xfc, 0xfe));
    p.drawRoundedRect(QRectF(11, 9, 25, 32), 3, 3);

    // The clip.
    p.setPen(QPen(QColor(0x9c, 0x6f, 0x12), 1));
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(18, 6, 11, 6), 2, 2);

    for (int row = 0; row < 3; ++row) {
        const qreal top = 16 + row * 8;
        p.setPen(QPen(QColor(0x5b, 0x6b, 0x7f), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(14.5, top, 5, 5));
        p.setPen(QPen(kGreen, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(15.3, top + 2.4);
        tick.lineTo(17.0, top + 4.2);
        tick.lineTo(20.6, top - 0.6);
        p.drawPath(tick);
        p.setPen(QPen(QColor(0x9a, 0xa7, 0xb5), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(23.5, top + 2.5), QPointF(row == 2 ? 29.5 : 32.5, top + 2.5));
    }
    return image;
}

using Rgb = std::array<int, 3>;

// Median cut: splits the colour set along its widest channel until there are
// `count` boxes, and returns each box's weighted mean.
std::vector<Rgb> medianCut(const std::map<QRgb, int> &histogram, std::size_t count)
{
    struct Entry {
        Rgb rgb;
        int weight;
    };
    std::vector<std::vector<Entry>> boxes(1);
    for (const auto &[colour, weight] : histogram)
        boxes[0].push_back({{qRed(colour), qGreen(colour), qBlue(colour)}, weight});

    const auto widest = [](const std::vector<Entry> &box, int &channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            const auto [lo, hi] = std::minmax_element(box.begin(), box.end(),
                [c](const Entry &a, const Entry &b) { return a.rgb[std::size_t(c)] < b.rgb[std::size_t(c)]; });
            const int range = hi->rgb[std::size_t(c)] - lo->rgb[std::size_t(c)];
            if (range > best) {
                best = range;
                channel = c;
            }
        }
        return best;
    };

    while (boxes.size() < count) {
        std::size_t split = boxes.size();
        int splitRange = 0;
        int splitChannel = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int channel = 0;
            const int range = boxes[i].size() > 1 ? widest(boxes[i], channel) : 0;
            if (range > splitRange) {
                splitRange = range;
                split = i;
                splitChannel = channel;
            }
        }
        if (split == boxes.size())
            break; // every box holds one colour
        std::vector<Entry> &box = boxes[split];
        const auto channel = std::size_t(splitChannel);
        std::sort(box.begin(), box.end(), [channel](const Entry &a, const Entry &b) {
            return a.rgb[channel] != b.rgb[channel] ? a.rgb[channel] < b.rgb[channel] : a.rgb < b.rgb;
        });
        const std::size_t half = box.size() / 2;
        std::vector<Entry> upper(box.begin() + std::ptrdiff_t(half), box.end());
        box.resize(half);
        boxes.push_back(std::move(upper));
    }

    std::vector<Rgb> palette;
    for (const std::vector<Entry> &box : boxes) {
        long long sum[3] = {0, 0, 0};
        long long total = 0;
        for (const Entry &e : box) {
            for (std::size_t c = 0; c < 3; ++c)
                sum[c] += static_cast<long long>(e.rgb[c]) * e.weight;
            total += e.weight;
        }
        palette.push_back(
            {int((sum[0] + total / 2) / total), int((sum[1] + total / 2) / total), int((sum[2] + total / 2) / total)});
    }
    return palette;
}

std::size_t nearest(const std::vector<Rgb> &palette, QRgb colour)
{
    std::size_t best = 0;
    int bestDistance = INT32_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i][0] - qRed(colour);
        const int dg = palette[i][1] - qGreen(colour);
        const int db = palette[i][2] - qBlue(colour);
        const int distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void put32(QByteArray &out, int value)
{
    put16(out, value & 0xffff);
    put16(out, (value >> 16) & 0xffff);
}

// One 48 x 48 image of 256 colours: a 6-byte header, one 16-byte directory
// entry, a 40-byte bitmap header, 256 palette entries, 48 rows of 48 colour
// indexes and a 1-bit transparency mask with rows padded to 4 bytes, both
// bottom row first. 3,774 bytes in all.
QByteArray icoFile(const QImage &drawn)
{
    constexpr int kSize = 48;
    constexpr int kMaskRowBytes = 8;
    const QImage argb = drawn.convertToFormat(QImage::Format_ARGB32);

    // Half-covered edge pixels become solid; the rest are see-through.
    std::map<QRgb, int> histogram;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (qAlpha(argb.pixel(x, y)) >= 128)
                ++histogram[argb.pixel(x, y) | 0xff000000u];

    // Index 0 stays black: see-through pixels point at it, as the mask wants.
    std::vector<Rgb> palette {{0, 0, 0}};
    for (const Rgb &rgb : medianCut(histogram, 255))
        palette.push_back(rgb);

    QByteArray image;
    put32(image, 40);
    put32(image, kSize);
    put32(image, kSize * 2); // colour rows and mask rows
    put16(image, 1);
    put16(image, 8);
    put32(image, 0); // no compression
    put32(image, kSize * kSize + kSize * kMaskRowBytes);
    put32(image, 0);
    put32(image, 0);
    put32(image, 256);
    put32(image, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb rgb = i < palette.size() ? palette[i] : Rgb {0, 0, 0};
        image.append(char(rgb[2]));
        image.append(char(rgb[1]));
        image.append(char(rgb[0]));
        image.append('\0');
    }
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const QRgb pixel = argb.pixel(x, y);
            image.append(char(qAlpha(pixel) >= 128 ? nearest(palette, pixel | 0xff000000u) : 0));
        }
    for (int y = kSize - 1; y >= 0; --y) {
        QByteArray row(kMaskRowBytes, '\0');
        for (int x = 0; x < kSize; ++x)
            if (qAlpha(argb.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        image.append(row);
    }

    QByteArray file;
    put16(file, 0); // reserved
    put16(file, 1); // icon
    put16(file, 1); // one image
    file.append(char(kSize));
    file.append(char(kSize));
    file.append('\0'); // 256 colours
    file.append('\0');
    put16(file, 1); // planes
    put16(file, 8); // bits per pixel
    put32(file, int(image.size()));
    put32(file, 6 + 16);
    file.append(image);
    return file;
}

// ---- the menu pictures ----------------------------------------------------

// A tiny fixed-seed generator, so the grain added against banding is the same
// on every run.
class Grain final
{
public:
    int next()
    {
        m_state = m_state * 1103515245u + 12345u;
        return int((m_state >> 16) % 3) - 1;
    }

private:
    std::uint32_t m_state = 20050926u;
};

void addGrain(QImage &image)
{
    Grain grain;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = grain.next();
            line[x] = qRgb(std::clamp(qRed(line[x]) + d, 0, 255), std::clamp(qGreen(line[x]) + d, 0, 255),
                std::clamp(qBlue(line[x]) + d, 0, 255));
        }
    }
}

// 800 x 600, light and quiet: the heading, the picture and the buttons sit on
// it. A pale sky, two soft circles in the corners and low green hills at the
// foot, below the exit button.
QImage drawMenuBackground()
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(0xf6, 0xfa, 0xfe));
    sky.setColorAt(0.6, QColor(0xea, 0xf2, 0xfa));
    sky.setColorAt(1, QColor(0xe2, 0xee, 0xf6));
    p.fillRect(image.rect(), sky);

    p.setPen(Qt::NoPen);
    const auto glow = [&p](QPointF centre, qreal radius, QColor colour) {
        QRadialGradient g(centre, radius);
        g.setColorAt(0, colour);
        colour.setAlpha(0);
        g.setColorAt(1, colour);
        p.setBrush(g);
        p.drawEllipse(centre, radius, radius);
    };
    glow(QPointF(60, 40), 260, QColor(0xd4, 0xe6, 0xf7, 150));
    glow(QPointF(760, 470), 300, QColor(0xd9, 0xea, 0xf5, 140));
    glow(QPointF(400, 300), 280, QColor(0xff, 0xff, 0xff, 120));

    // A thin band along the top, in the icon's blue.
    p.fillRect(QRect(0, 0, 800, 5), kBlue);
    p.fillRect(QRect(0, 5, 800, 2), QColor(0xa9, 0xc8, 0xe8));

    // Hills at the foot.
    QPainterPath far;
    far.moveTo(0, 540);
    far.cubicTo(180, 500, 330, 530, 480, 520);
    far.cubicTo(620, 510, 720, 495, 800, 515);
    far.lineTo(800, 600);
    far.lineTo(0, 600);
    far.closeSubpath();
    p.setBrush(QColor(0xd6, 0xea, 0xd4));
    p.drawPath(far);

    QPainterPath near;
    near.moveTo(0, 575);
    near.cubicTo(150, 545, 300, 560, 420, 566);
    near.cubicTo(560, 573, 690, 548, 800, 556);
    near.lineTo(800, 600);
    near.lineTo(0, 600);
    near.closeSubpath();
    p.setBrush(QColor(0xc3, 0xe0, 0xc3));
    p.drawPath(near);
    p.end();

    addGrain(image);
    return image;
}

// 100 x 100: a school under a pale sky, framed in the icon's blue.
QImage drawMenuPicture()
{
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 80);
    sky.setColorAt(0, QColor(0xc9, 0xe1, 0xf8));
    sky.setColorAt(1, QColor(0xf2, 0xf8, 0xfd));
    p.fillRect(image.rect(), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfb, 0xe3, 0x9a));
    p.drawEllipse(QPointF(80, 20), 9, 9);

    // Lawn and path.
    QLinearGradient lawn(0, 78, 0, 100);
    lawn.setColorAt(0, QColor(0x9c, 0xcf, 0x8e));
    lawn.setColorAt(1, QColor(0x6f, 0xb0, 0x6e));
    p.setBrush(lawn);
    p.drawRect(QRectF(0, 78, 100, 22));
    QPainterPath path;
    path.moveTo(45, 80);
    path.lineTo(55, 80);
    path.lineTo(64, 100);
    path.lineTo(36, 100);
    path.closeSubpath();
    p.setBrush(QColor(0xee, 0xe0, 0xc0));
    p.drawPath(path);

    // Trees.
    const auto tree = [&p](qreal x, qreal crownY, qreal radius) {
        p.setBrush(QColor(0x7a, 0x55, 0x33));
        p.drawRect(QRectF(x - 1.5, crownY, 3, 80 - crownY));
        p.setBrush(QColor(0x4f, 0x9a, 0x52));
        p.drawEllipse(QPointF(x, crownY), radius, radius);
        p.setBrush(QColor(0x67, 0xb0, 0x66));
        p.drawEllipse(QPointF(x - radius * 0.3, crownY - radius * 0.3), radius * 0.55, radius * 0.55);
    };
    tree(11, 62, 8);
    tree(90, 64, 7);

    // Flagpole with a plain pennant.
    p.setBrush(QColor(0x8a, 0x93, 0x9e));
    p.drawRect(QRectF(21, 22, 1.6, 58));
    p.setBrush(kGold);
    QPainterPath pennant;
    pennant.moveTo(22.6, 23);
    pennant.lineTo(33, 27);
    pennant.lineTo(22.6, 31);
    pennant.closeSubpath();
    p.drawPath(pennant);

    // The school: a cream hall under a terracotta roof with a round emblem.
    p.setPen(QPen(QColor(0x9a, 0x82, 0x62), 0.8));
    p.setBrush(QColor(0xfb, 0xf3, 0xe2));
    p.drawRect(QRectF(27, 52, 46, 28));
    QPainterPath roof;
    roof.moveTo(23, 53);
    roof.lineTo(50, 33);
    roof.lineTo(77, 53);
    roof.closeSubpath();
    p.setPen(QPen(QColor(0x8e, 0x3a, 0x28), 1));
    p.setBrush(QColor(0xc8, 0x55, 0x3d));
    p.drawPath(roof);
    p.setPen(QPen(kBlue, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 45), 4.2, 4.2);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x52, 0x30));
    p.drawRect(QRectF(46, 66, 8, 14));
    p.setBrush(QColor(0x6f, 0xa8, 0xdc));
    for (qreal x : {31.0, 38.5, 56.5, 64.0})
        for (qreal y : {56.0, 67.0})
            p.drawRect(QRectF(x, y, 5, 5));

    // Frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 2));
    p.drawRect(QRectF(1, 1, 98, 98));
    p.setPen(QPen(QColor(0xff, 0xff, 0xff), 1));
    p.drawRect(QRectF(2.5, 2.5, 95, 95));
    p.end();

    addGrain(image);
    return image;
}

// ---- writing --------------------------------------------------------------

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

bool writeImage(const QString &path, const QImage &image, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        QTextStream(stderr) << "cannot write " << path << ": " << writer.errorString() << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: kvt_picture_generator <resources folder>\n";
        return 2;
    }
    const QDir resources(args[1]);
    if (!resources.mkpath(u"icons"_s) || !resources.mkpath(u"pictures"_s))
        return 1;

    const bool written = writeFile(resources.filePath(u"icons/kvt.ico"_s), icoFile(drawIcon(48)))
        && writeImage(resources.filePath(u"icons/kvt-48.png"_s), drawIcon(48), "png")
        && writeImage(resources.filePath(u"icons/kvt-256.png"_s), drawIcon(256), "png")
        && writeImage(resources.filePath(u"pictures/menu-background.jpg"_s), drawMenuBackground(), "jpeg", 90)
        && writeImage(resources.filePath(u"pictures/menu-picture.jpg"_s), drawMenuPicture(), "jpeg", 92);
    return written ? 0 : 1;
}
