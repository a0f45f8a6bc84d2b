#include "classlist.h"

#include "classexport.h"
#include "classlistwindow.h"
#include "classreport.h"
#include "savepath.h"
#include "schooltexts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString classFileFilter()
{
    return u"ไฟล์ห้องเรียน KVT (*.kvt)"_s;
}

QString classFileSuffix()
{
    return u"kvt"_s;
}

QString unkeptQuestion(int rows, ClassList::SetAside why)
{
    const QString lead = u"ห้องนี้มีรายชื่อและแบบประเมิน %1 แถวที่ยังไม่ได้บันทึกลงไฟล์ห้อง\n"
                         u"(การคัดลอก ไฟล์ CSV ไฟล์ PDF และการพิมพ์ เป็นเพียงสำเนา ไม่ได้เก็บห้องนี้ไว้)\n\n"_s.arg(rows);
    switch (why) {
    case ClassList::SetAside::Leave:
        return lead + u"ต้องการออกจากโปรแกรมโดยไม่บันทึกใช่หรือไม่"_s;
    case ClassList::SetAside::Open:
        return lead + u"ต้องการเปิดไฟล์ห้องอื่นโดยไม่บันทึกห้องนี้ใช่หรือไม่"_s;
    case ClassList::SetAside::NewClass:
        return lead + u"ต้องการเริ่มห้องใหม่โดยไม่บันทึกห้องนี้ใช่หรือไม่"_s;
    }
    return lead;
}

QString goOnWithout(ClassList::SetAside why)
{
    switch (why) {
    case ClassList::SetAside::Leave:
        return u"ออกโดยไม่บันทึก"_s;
    case ClassList::SetAside::Open:
        return u"เปิดไฟล์อื่นโดยไม่บันทึก"_s;
    case ClassList::SetAside::NewClass:
        return u"เริ่มห้องใหม่โดยไม่บันทึก"_s;
    }
    return {};
}

} // namespace

ClassList::ClassList(QObject *parent)
    : QObject(parent)
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
{
    ClassHeading heading;
    heading.school = SchoolTexts::schoolName() + u' ' + SchoolTexts::district() + u' ' + SchoolTexts::province();
    const SchoolTerm term = schoolTermOn(QDate::currentDate());
    heading.term = term.term;
    heading.year = term.year;
    m_document.setHeading(heading);
    connect(&m_document, &ClassDocument::rowsChanged, this, [this] {
        if (m_chosenPupil && !m_document.pupil(m_chosenPupil))
            m_chosenPupil = kNoPupil;
        emit nextPaperOwnerChanged();
    });
    connect(&m_document, &ClassDocument::classReplaced, this, [this] {
        m_chosenPupil = kNoPupil;
        m_goOnAfter = kNoPupil;
        emit classReplaced();
    });
}

ClassList::~ClassList() = default;

PupilId ClassList::pupilForNextPaper(FormVersion version) const
{
    if (m_chosenPupil && m_document.pupil(m_chosenPupil) && !m_document.paperOf(m_chosenPupil, version))
        return m_chosenPupil;
    if (m_goOnAfter) {
        const std::vector<Pupil> &roster = m_document.roster();
        auto after = std::find_if(
            roster.cbegin(), roster.cend(), [this](const Pupil &pupil) { return pupil.id == m_goOnAfter; });
        if (after != roster.cend())
            for (++after; after != roster.cend(); ++after)
                if (!m_document.paperOf(after->id, version))
                    return after->id;
    }
    return m_document.nextPupil(version);
}

QString ClassList::nextPaperOwner(FormVersion version) const
{
    const Pupil *pupil = m_document.pupil(pupilForNextPaper(version));
    if (!pupil)
        return {};
    QString text = pupil->number.isEmpty() ? pupil->name : u"เลขที่ %1 %2"_s.arg(pupil->number, pupil->name);
    return text.trimmed();
}

void ClassList::showBesideSheets(QWidget *typingIn)
{
    // Shown beside the sheets while the user goes on typing there: the
    // window never takes the focus by showing itself.
    if (!m_window)
        openWindow().showWithoutActivating(typingIn ? typingIn : QApplication::activeWindow());
}

QString ClassList::mendingOwner(PaperId paper) const
{
    const ChildRecord &row = m_document.record(paper);
    QString who = row.number.isEmpty() ? row.name : u"เลขที่ %1 %2"_s.arg(row.number, row.name);
    if (who.trimmed().isEmpty() && m_document.paper(paper))
        who = u"แบบประเมินฉบับ%1ที่ยังไม่มีชื่อ"_s.arg(versionName(row.version));
    return u"แก้ไข: "_s + who.trimmed();
}

PaperId ClassList::addPaper(FormVersion version, const PaperTicks &ticks)
{
    const PupilId pupil = pupilForNextPaper(version);
    if (pupil == m_chosenPupil && pupil != kNoPupil) {
        m_chosenPupil = kNoPupil;
        m_goOnAfter = pupil;
    }
    const PaperId paper = m_document.addPaper(version, pupil, ticks);
    if (m_window)
        m_window->showPaper(paper);
    return paper;
}

void ClassList::replacePaper(PaperId paper, const PaperTicks &ticks)
{
    m_model.setMending(0);
    m_document.replaceTicks(paper, ticks);
    if (m_window)
        m_window->showPaper(paper);
}

void ClassList::setMending(PaperId paper)
{
    m_model.setMending(paper);
}

int ClassList::count() const
{
    return static_cast<int>(m_document.papers().size());
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

QWidget *ClassList::window() const
{
    return m_window.get();
}

bool ClassList::mayDiscard(QWidget *asker, SetAside why)
{
    if (!m_document.hasUnkeptRows())
        return true;
    const int rows = static_cast<int>(m_document.papers().size() + m_document.roster().size());
    return askToProceed(asker, unkeptQuestion(rows, why), goOnWithout(why), u"กลับไปบันทึกก่อน"_s);
}

void ClassList::tellStatus(const QString &text)
{
    if (m_window)
        m_window->showStatus(text);
}

void ClassList::keep(QWidget *asker, bool paperOnSheets)
{
    if (m_document.keeping() != ClassDocument::Keeping::Kept)
        keepAs(asker);
    if (m_document.keeping() != ClassDocument::Keeping::Kept)
        return;
    QString text
        = u"ห้องนี้บันทึกอยู่ในไฟล์ %1 ทุกการเปลี่ยนแปลงบันทึกลงไฟล์ทันที"_s.arg(QDir::toNativeSeparators(m_document.filePath()));
    if (paperOnSheets)
        text += u" แบบประเมินที่กำลังกรอกอยู่จะบันทึกลงไฟล์เมื่อกด Ctrl+Enter"_s;
    showBesideSheets(asker); // where the status line says so
    tellStatus(text);
}

void ClassList::keepAs(QWidget *asker)
{
    const QString folder = m_document.filePath().isEmpty() ? m_folder : QFileInfo(m_document.filePath()).absolutePath();
    const QString path = askSavePath(asker, u"บันทึกห้องลงไฟล์"_s, folder,
        suggestedFileName(classTitle(m_document.heading())), classFileSuffix(), classFileFilter());
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    if (const std::optional<QString> error = m_document.keepIn(path)) {
        tell(asker, *error);
        return;
    }
    tellStatus(u"บันทึกห้องลงไฟล์ %1 แล้ว ต่อจากนี้ทุกการเปลี่ยนแปลงบันทึกลงไฟล์ทันที"_s.arg(QDir::toNativeSeparators(path)));
}

void ClassList::askToOpen(QWidget *asker)
{
    const QString path
        = QFileDialog::getOpenFileName(asker, u"เปิดไฟล์ห้อง"_s, m_folder, classFileFilter() + u";;ทุกไฟล์ (*)"_s);
    if (!path.isEmpty())
        openFile(path, asker);
}

void ClassList::openFile(const QString &path, QWidget *asker, Forward forward)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!m_document.filePath().isEmpty()
        && QFileInfo(m_document.filePath()).canonicalFilePath() == QFileInfo(absolute).canonicalFilePath()) {
        if (forward == Forward::Yes)
            showWindow(); // open already
        return;
    }
    if (!mayDiscard(asker, SetAside::Open) || (m_sheetsGuard && !m_sheetsGuard(asker)))
        return;
    const ClassDocument::Opened opened = m_document.open(absolute);
    if (!opened.ok) {
        tell(asker, opened.message);
        return;
    }
    m_folder = QFileInfo(absolute).absolutePath();
    if (forward == Forward::Yes)
        showWindow();
    if (!opened.message.isEmpty())
        tell(m_window.get(), opened.message);
}

void ClassList::startNew(QWidget *asker)
{
    if (!mayDiscard(asker, SetAside::NewClass) || (m_sheetsGuard && !m_sheetsGuard(asker)))
        return;
    m_document.startNew();
}

void ClassList::copyClass()
{
    QApplication::clipboard()->setText(ClassExport::tabText(m_model));
}

std::optional<QString> ClassList::saveCsv(const QString &path)
{
    return ClassExport::writeCsv(path, m_model);
}

std::optional<QString> ClassList::savePdf(const QString &path)
{
    return ClassReport::writePdf(path, m_model, QDate::currentDate());
}

ClassListWindow &ClassList::openWindow()
{
    if (!m_window) {
        m_window = std::make_unique<ClassListWindow>(*this, m_model);
        m_window->placeBesideSheets();
    }
    return *m_window;
}
