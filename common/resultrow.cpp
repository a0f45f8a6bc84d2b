#include "resultrow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace ResultRow {

namespace {

// Each score box and the label that shows its word, as the screens name them.
struct Field {
    const char16_t *screen;
    const char16_t *scoreBox;
    const char16_t *wordLabel;
};
constexpr std::array<Field, 7> kFields {{
    {u"Form3", u"Text1", u"Label36"},
    {u"Form3", u"Text2", u"Label38"},
    {u"Form3", u"Text3", u"Label40"},
    {u"Form3", u"Text4", u"Label42"},
    {u"Form3", u"Text5", u"Label44"},
    {u"Form3", u"Text6", u"Label46"},
    {u"Form4", u"Text1", u"Label18"},
}};

QWidget *screenNamed(const QString &name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        if (window->objectName() == name)
            return window;
    return nullptr;
}

template<typename Control> QString textOf(const QWidget *screen, const QString &name)
{
    const auto *control = screen ? screen->findChild<const Control *>(name) : nullptr;
    return control ? control->text() : QString();
}

} // namespace

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
    for (const Field &field : kFields) {
        const QWidget *screen = screenNamed(QString::fromUtf16(field.screen));
        fields << textOf<QLineEdit>(screen, QString::fromUtf16(field.scoreBox))
               << textOf<QLabel>(screen, QString::fromUtf16(field.wordLabel));
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

void addCopyActions(QWidget *screen)
{
    // The key is shown beside the item only: Ctrl+C is the screen's own key.
    auto *results
        = new QAction(u"คัดลอกผล\t"_s + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText), screen);
    results->setObjectName(u"CopyResults"_s);
    QObject::connect(results, &QAction::triggered, screen, &copyResults);
    auto *header = new QAction(u"คัดลอกหัวตาราง"_s, screen);
    header->setObjectName(u"CopyHeader"_s);
    QObject::connect(header, &QAction::triggered, screen, &copyHeader);
    screen->addActions({results, header});
    screen->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The score boxes show the screen's menu, not their own English one.
    for (QLineEdit *box : screen->findChildren<QLineEdit *>())
        box->setContextMenuPolicy(Qt::NoContextMenu);
}

} // namespace ResultRow
