#include "kvttest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOption>
#include <QTest>
#include <QTextDocument>

#include <map>
#include <optional>

using namespace Qt::StringLiterals;

// Thai stacks marks above and below its letters, and font metrics do not say
// where they end. So every caption is drawn here as its widget draws it
// (same font, rectangle and alignment) but without clipping, and its ink must
// stay inside the rectangle the widget gives it.

namespace {

struct Caption {
    QString text;
    QRect rect; // where the widget draws its text, in widget coordinates
    int flags;
    bool rich = false;
};

std::optional<Caption> captionOf(QWidget *widget)
{
    QStyle *style = widget->style();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        int flags = int(label->alignment());
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        const bool rich = label->textFormat() == Qt::RichText
            || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        return Caption {label->text(), label->contentsRect(), flags, rich};
    }
    if (auto *box = qobject_cast<QCheckBox *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return Caption {box->text(), style->subElementRect(QStyle::SE_CheckBoxContents, &option, box),
            Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return Caption {
            button->text(), style->subElementRect(QStyle::SE_PushButtonContents, &option, button), Qt::AlignCenter};
    }
    if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        return Caption {frame->title(),
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame),
            Qt::AlignLeft | Qt::AlignVCenter};
    }
    return std::nullopt;
}

// The ink of the caption drawn unclipped, in widget coordinates.
QRect inkOf(const QWidget *widget, const Caption &caption, qreal scale)
{
    constexpr int margin = 40;
    QImage image((widget->size() + QSize(2 * margin, 2 * margin)) * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(widget->font());
        if (caption.rich) {
            // As a label lays out rich text: wrapped to its width, aligned in its height.
            QTextDocument document;
            document.setDefaultFont(widget->font());
            document.setDocumentMargin(0);
            QTextOption option(Qt::Alignment(caption.flags) & Qt::AlignHorizontal_Mask);
            option.setWrapMode(caption.flags & Qt::TextWordWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
            document.setDefaultTextOption(option);
            document.setHtml(caption.text);
            document.setTextWidth(caption.rect.width());
            qreal top = caption.rect.top();
            if (caption.flags & Qt::AlignVCenter)
                top += (caption.rect.height() - document.size().height()) / 2;
            else if (caption.flags & Qt::AlignBottom)
                top += caption.rect.height() - document.size().height();
            painter.translate(caption.rect.left() + margin, top + margin);
            document.drawContents(&painter);
        } else {
            QPalette ink;
            ink.setColor(QPalette::WindowText, Qt::black);
            widget->style()->drawItemText(&painter, caption.rect.translated(margin, margin),
                caption.flags | Qt::TextDontClip, ink, true, caption.text, QPalette::WindowText);
        }
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 250) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    // Back to logical pixels, each device pixel taken at its centre: at a
    // fractional scale a device pixel straddles a logical edge, and it lies
    // inside where its centre does.
    const QRect physical(QPoint(left, top), QPoint(right, bottom));
    const int x0 = int(std::floor((physical.left() + 0.5) / scale)) - margin;
    const int y0 = int(std::floor((physical.top() + 0.5) / scale)) - margin;
    const int x1 = int(std::ceil((physical.right() + 0.5) / scale)) - margin;
    const int y1 = int(std::ceil((physical.bottom() + 0.5) / scale)) - margin;
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

// The words that the results put into labels that start empty.
QStringList wordsFor(const QWidget *widget)
{
    const QWidget *window = widget->window();
    const QString name = widget->objectName();
    if (window->objectName() == u"Form3"_s
        && QStringList {u"Label36"_s, u"Label38"_s, u"Label40"_s, u"Label42"_s, u"Label44"_s, u"Label46"_s}.contains(
            name))
        return {u"ปกติ"_s, u"เสี่ยง"_s, u"มีปัญหา"_s};
    if (window->objectName() == u"Form4"_s && name == u"Label18"_s)
        return {u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s, u"รุนแรงปานกลาง"_s, u"รุนแรงมาก"_s};
    // The longest notices: every item named, on one line or on two.
    if (window->objectName() == u"Form3"_s && name == u"Notice1"_s)
        return {
            u"ยังไม่ได้ตอบ ข้อ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25"_s,
            u"ยังไม่ได้ตอบ ข้อ 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24\n"
            u"ตอบเกิน 1 ช่อง ข้อ 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25"_s};
    if (window->objectName() == u"Form4"_s && name == u"Notice1"_s)
        return {u"ยังไม่ได้ตอบ: ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่บ้าน, การคบเพื่อน, การเรียนในห้องเรียน, "
                u"กิจกรรมยามว่าง, ความยุ่งยากของครอบครัว\nตอบเกิน 1 ช่อง: ปัญหาโดยรวม"_s,
            u"ตอบเกิน 1 ช่อง: ปัญหาโดยรวม, ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่บ้าน, การคบเพื่อน, "
            u"การเรียนในห้องเรียน, กิจกรรมยามว่าง, ความยุ่งยากของครอบครัว"_s};
    return {};
}

// The lines a widget draws its caption in, as text: a paint device that
// keeps the text of each item drawn and the baseline it stands on.
class LineRecorder final : public QPaintDevice
{
public:
    explicit LineRecorder(QSize size)
        : m_size(size)
    {
    }

    QPaintEngine *paintEngine() const override { return &m_engine; }

    QStringList lines() const
    {
        QStringList result;
        for (const auto &[baseline, line] : m_engine.lines)
            result << line;
        return result;
    }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    struct Engine final : QPaintEngine {
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override { }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        void drawTextItem(const QPointF &point, const QTextItem &item) override
        {
            // One line may be drawn in several items, a run of each script.
            lines[qRound(painter()->combinedTransform().map(point).y())] += item.text();
        }
        Type type() const override { return User; }
        std::map<int, QString> lines;
    };
    QSize m_size;
    mutable Engine m_engine;
};

QStringList linesDrawnBy(QWidget *widget)
{
    LineRecorder recorder(widget->size());
    widget->render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
    return recorder.lines();
}

} // namespace

class CaptionFitTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void initTestCase() { openScreens(KvtTest::kScreens); }
    void cleanupTestCase() { closeScreens(); }
    void captionsShowWhole_data();
    void captionsShowWhole();
    void wrappedCaptionsBreakBetweenWords_data();
    void wrappedCaptionsBreakBetweenWords();
};

void CaptionFitTest::captionsShowWhole_data()
{
    QTest::addColumn<QWidget *>("widget");
    QTest::addColumn<QString>("text"); // empty: the widget's own caption
    QTest::addColumn<qreal>("scale");

    for (Screen which : KvtTest::kScreens) {
        QWidget *window = screen(which);
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            const std::optional<Caption> caption = captionOf(widget);
            if (!caption)
                continue;
            QStringList texts = wordsFor(widget);
            if (texts.isEmpty() && !caption->text.trimmed().isEmpty())
                texts << QString();
            for (const QString &text : texts)
                for (qreal scale : {1.0, 1.5, 2.0})
                    QTest::addRow("%s %s %s x%.1f", qPrintable(window->objectName()), qPrintable(widget->objectName()),
                        qPrintable(text), scale)
                        << widget << text << scale;
        }
    }
}

void CaptionFitTest::captionsShowWhole()
{
    QFETCH(QWidget *, widget);
    QFETCH(QString, text);
    QFETCH(qreal, scale);

    Caption caption = *captionOf(widget);
    if (!text.isEmpty())
        caption.text = text;
    const QRect ink = inkOf(widget, caption, scale);
    QVERIFY2(!ink.isNull(), "nothing drawn");
    QVERIFY2(caption.rect.contains(ink),
        qPrintable(u"ink %1,%2 %3x%4 outside %5,%6 %7x%8 for \"%9\""_s.arg(ink.x())
                       .arg(ink.y())
                       .arg(ink.width())
                       .arg(ink.height())
                       .arg(caption.rect.x())
                       .arg(caption.rect.y())
                       .arg(caption.rect.width())
                       .arg(caption.rect.height())
                       .arg(caption.text)));
}

// Thai is written without spaces between words, and a line may break only
// between them: where libthai's dictionary says, on every platform and scale.
void CaptionFitTest::wrappedCaptionsBreakBetweenWords_data()
{
    QTest::addColumn<QLabel *>("label");
    QTest::addColumn<QString>("text"); // empty: the label's own caption
    QTest::addColumn<QStringList>("lines");

    const auto label = [this](Screen which) {
        return screen(which)->findChild<QLabel *>(which == Screen::Welcome ? u"Label1"_s : u"Notice1"_s);
    };
    QLabel *welcome = label(Screen::Welcome);
    QLabel *frontNotice = label(Screen::FrontSheet);
    QLabel *backNotice = label(Screen::BackSheet);
    QTest::newRow("Form1 Label1") << welcome << QString()
                                  << QStringList {u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT) เวอร์ชั่น 1.0 เป็น"_s,
                                         u"ลิขสิทธิ์ของโรงเรียนตัวอย่างวิทยา อ.เมืองตัวอย่าง จ.ตัวอย่าง"_s,
                                         u"พัฒนาขึ้นเมื่อวันที่ 26 กันยายน 2548"_s};
    QTest::newRow("Form3 Label47") << screen(Screen::FrontSheet)->findChild<QLabel *>(u"Label47"_s) << QString()
                                   << QStringList {
                                          u"ใน 1 ข้อ โปรดทำเครื่องหมายถูกเพียงตัวเลือกเดียวเท่านั้น เพื่อการแปลผลที่"_s, u"ถูกต้อง"_s};
    QTest::newRow("Form3 Notice1") << frontNotice << wordsFor(frontNotice).at(1)
                                   << QStringList {u"ยังไม่ได้ตอบ ข้อ 2, 4, 6, 8, 10, 12, 14, 16, 18,"_s, u"20, 22, 24"_s,
                                          u"ตอบเกิน 1 ช่อง ข้อ 1, 3, 5, 7, 9, 11, 13, 15,"_s, u"17, 19, 21, 23, 25"_s};
    QTest::newRow("Form4 Notice1 both kinds")
        << backNotice << wordsFor(backNotice).at(0)
        << QStringList {u"ยังไม่ได้ตอบ: ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่"_s,
               u"บ้าน, การคบเพื่อน, การเรียนในห้องเรียน, กิจกรรมยามว่าง, ความยุ่งยากของ"_s, u"ครอบครัว"_s,
               u"ตอบเกิน 1 ช่อง: ปัญหาโดยรวม"_s};
    QTest::newRow("Form4 Notice1 all doubled")
        << backNotice << wordsFor(backNotice).at(1)
        << QStringList {u"ตอบเกิน 1 ช่อง: ปัญหาโดยรวม, ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก,"_s,
               u"ความเป็นอยู่ที่บ้าน, การคบเพื่อน, การเรียนในห้องเรียน, กิจกรรมยามว่าง,"_s, u"ความยุ่งยากของครอบครัว"_s};
}

void CaptionFitTest::wrappedCaptionsBreakBetweenWords()
{
    QFETCH(QLabel *, label);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);

    QVERIFY(label && label->wordWrap());
    const QString caption = label->text();
    if (!text.isEmpty())
        label->setText(text);
    const QStringList drawn = linesDrawnBy(label);
    label->setText(caption);
    const auto withoutSpaces = [](QString text) { return text.remove(QRegularExpression(u"\\s"_s)); };
    if (text.isEmpty() && withoutSpaces(lines.join(QString())) != withoutSpaces(drawn.join(QString())))
        QSKIP("a school's own texts on the welcome screen");
    QCOMPARE(drawn, lines);
}

KVT_TEST_MAIN(CaptionFitTest)

#include "tst_captionfit.moc"
