#include "classlist.h"

#include "classexport.h"
#include "classlistwindow.h"
#include "classreport.h"

#include <QApplication>
#include <QClipboard>

using namespace Qt::StringLiterals;

ClassList::ClassList(QObject *parent)
    : QObject(parent)
{
    connect(&m_model, &ClassModel::changed, this, [this] { m_changed = true; });
}

ClassList::~ClassList() = default;

void ClassList::add(ChildRecord record, QWidget *typingIn)
{
    const bool first = !m_window;
    if (first) {
        // Shown beside the sheets while the user goes on typing there: the
        // window never takes the focus by showing itself.
        openWindow().showWithoutActivating(typingIn ? typingIn : QApplication::activeWindow());
    }
    m_model.append(std::move(record));
}

int ClassList::count() const
{
    return m_model.count();
}

void ClassList::showWindow()
{
    ClassListWindow &window = openWindow();
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

bool ClassList::mayDiscard(QWidget *asker)
{
    if (count() == 0 || !m_changed)
        return true;
    return askToProceed(asker,
        u"ยังไม่ได้คัดลอก บันทึก หรือพิมพ์รายชื่อนักเรียน %1 คนในหน้าต่างรายชื่อ\n\n"
        u"ต้องการออกจากโปรแกรมโดยไม่เก็บรายชื่อนี้ใช่หรือไม่"_s.arg(count()),
        u"ออกโดยไม่เก็บรายชื่อ"_s, u"กลับไปเก็บรายชื่อก่อน"_s);
}

QWidget *ClassList::window() const
{
    return m_window.get();
}

void ClassList::copyClass()
{
    QApplication::clipboard()->setText(ClassExport::tabText(m_model));
    markKept();
}

std::optional<QString> ClassList::saveCsv(const QString &path)
{
    std::optional<QString> error = ClassExport::writeCsv(path, m_model);
    if (!error)
        markKept();
    return error;
}

std::optional<QString> ClassList::savePdf(const QString &path)
{
    std::optional<QString> error = ClassReport::writePdf(path, m_model, QDate::currentDate());
    if (!error)
        markKept();
    return error;
}

ClassListWindow &ClassList::openWindow()
{
    if (!m_window) {
        m_window = std::make_unique<ClassListWindow>(*this, m_model);
        m_window->placeBesideSheets();
    }
    return *m_window;
}
