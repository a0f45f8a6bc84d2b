#include "classdocument.h"

#include "classfile.h"
#include "log.h"
#include "words.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QDateTime now()
{
    return QDateTime::currentDateTimeUtc();
}

bool isNumber(const QString &cell)
{
    if (cell.isEmpty())
        return false;
    return std::all_of(cell.cbegin(), cell.cend(), [](QChar c) { return c.isDigit(); });
}

// Words that only a line of headings begins with.
bool isHeadingLine(const QStringList &cells)
{
    static const QStringList words {u"เลขที่"_s, u"ลำดับ"_s, u"ชื่อ"_s, u"ที่"_s, u"no"_s, u"name"_s};
    const QString first = cells.value(0).trimmed().toLower();
    return std::any_of(words.cbegin(), words.cend(), [&first](const QString &word) { return first.startsWith(word); });
}

QString openFailureText(OpenFailure failure, const QString &name, const QString &detail)
{
    switch (failure) {
    case OpenFailure::NotFound:
        return u"ไม่พบไฟล์ %1\nอาจถูกย้าย เปลี่ยนชื่อ หรืออยู่ในแฟลชไดรฟ์ที่ไม่ได้เสียบไว้"_s.arg(name);
    case OpenFailure::CannotRead:
        return u"อ่านไฟล์ %1 ไม่ได้\n\nสาเหตุจากระบบ: %2"_s.arg(name, detail);
    case OpenFailure::NotAClassFile:
        return u"ไฟล์ %1 ไม่ใช่ไฟล์ห้องของโปรแกรมนี้ (เช่น เป็นไฟล์ CSV รูปภาพ หรือไฟล์ว่าง) จึงเปิดไม่ได้"_s.arg(name);
    case OpenFailure::Damaged:
        return u"ไฟล์ห้อง %1 เสียหายหรือไม่ครบ จึงเปิดไม่ได้ ไฟล์นี้ไม่ถูกแก้ไขใด ๆ\n"
               u"ถ้ามีสำเนาไฟล์นี้เก็บไว้ที่อื่น โปรดเปิดจากสำเนานั้น"_s.arg(name);
    case OpenFailure::TooNew:
        return u"ไฟล์ห้อง %1 บันทึกด้วยโปรแกรมรุ่นใหม่กว่ารุ่นนี้ จึงเปิดไม่ได้ โปรดติดตั้งโปรแกรมรุ่นใหม่ก่อน"_s.arg(name);
    case OpenFailure::None:
        break;
    }
    return {};
}

} // namespace

SchoolTerm schoolTermOn(const QDate &date)
{
    const int buddhistYear = date.year() + 543;
    if (date.month() >= 5 && date.month() <= 10)
        return {1, buddhistYear};
    return {2, date.month() >= 11 ? buddhistYear : buddhistYear - 1};
}

QString classTitle(const ClassHeading &heading)
{
    QString room = heading.grade;
    if (!heading.room.isEmpty())
        room += (room.isEmpty() ? QString() : u"-"_s) + heading.room;
    if (room.isEmpty())
        room = u"ห้องเรียน"_s;
    return u"%1 ภาคเรียนที่ %2 ปีการศึกษา %3"_s.arg(room).arg(heading.term).arg(heading.year);
}

QString keptText(const QString &typed)
{
    QString text = typed;
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return text.simplified().left(kLongestName);
}

std::vector<RosterLine> parseRoster(const QString &text)
{
    std::vector<RosterLine> lines;
    const QStringList rows = QString(text).remove(u'\r').split(u'\n');
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'\t');
        QString number;
        QStringList words;
        for (int i = 0; i < cells.size(); ++i) {
            const QString cell = cells[i].trimmed();
            if (i == 0 && isNumber(cell))
                number = cell;
            else if (!cell.isEmpty() && !isNumber(cell))
                words << cell;
        }
        if (number.isEmpty() && words.isEmpty())
            continue;
        if (number.isEmpty() && lines.empty() && isHeadingLine(cells))
            continue;
        lines.push_back({keptText(number), keptText(words.join(u' '))});
    }
    return lines;
}

ClassDocument::ClassDocument(QObject *parent)
    : QObject(parent)
{
}

ClassDocument::~ClassDocument() = default;

const Pupil *ClassDocument::pupil(PupilId id) const
{
    // The roster is kept by id, and ids grow.
    const auto found = std::lower_bound(m_data.roster.cbegin(), m_data.roster.cend(), id,
        [](const Pupil &pupil, PupilId wanted) { return pupil.id < wanted; });
    return found == m_data.roster.cend() || found->id != id ? nullptr : &*found;
}

const Paper *ClassDocument::paper(PaperId id) const
{
    // Papers are kept by id, and ids grow.
    const auto found = std::lower_bound(m_data.papers.cbegin(), m_data.papers.cend(), id,
        [](const Paper &paper, PaperId wanted) { return paper.id < wanted; });
    return found == m_data.papers.cend() || found->id != id ? nullptr : &*found;
}

Paper *ClassDocument::findPaper(PaperId id)
{
    return const_cast<Paper *>(std::as_const(*this).paper(id));
}

Pupil *ClassDocument::findPupil(PupilId id)
{
    return const_cast<Pupil *>(std::as_const(*this).pupil(id));
}

const ChildRecord &ClassDocument::record(PaperId id) const
{
    static const ChildRecord none;
    const auto found = m_records.constFind(id);
    return found == m_records.cend() ? none : *found;
}

void ClassDocument::remember(const Paper &paper)
{
    ChildRecord record;
    record.version = paper.version;
    const PaperResults results = interpretPaper(paper.ticks);
    record.front = results.front;
    record.back = results.back;
    record.remark = paperRemark(paper.ticks);
    if (const Pupil *owner = pupil(paper.pupil)) {
        record.number = owner->number;
        record.name = owner->name;
    } else {
        record.number = paper.number;
        record.name = paper.name;
    }
    m_records.insert(paper.id, std::move(record));
}

void ClassDocument::refreshRecordsOf(PupilId pupil)
{
    for (const Paper &paper : m_data.papers)
        if (paper.pupil == pupil)
            remember(paper);
}

const Paper *ClassDocument::paperOf(PupilId pupil, FormVersion version) const
{
    if (pupil == kNoPupil)
        return nullptr;
    const auto key = [](PupilId owner, FormVersion of) { return owner * kFormVersionCount + static_cast<int>(of); };
    if (m_paperOfStale) {
        m_paperOf.clear();
        for (const Paper &paper : m_data.papers)
            if (paper.pupil != kNoPupil)
                m_paperOf.insert(key(paper.pupil, paper.version), paper.id);
        m_paperOfStale = false;
    }
    return this->paper(m_paperOf.value(key(pupil, version)));
}

PupilId ClassDocument::nextPupil(FormVersion version) const
{
    for (const Pupil &pupil : m_data.roster)
        if (!paperOf(pupil.id, version))
            return pupil.id;
    return kNoPupil;
}

std::vector<PupilId> ClassDocument::missing(FormVersion version) const
{
    std::vector<PupilId> ids;
    for (const Pupil &pupil : m_data.roster)
        if (!paperOf(pupil.id, version))
            ids.push_back(pupil.id);
    return ids;
}

void ClassDocument::setHeading(const ClassHeading &heading)
{
    ClassHeading kept = heading;
    for (QString *text : {&kept.school, &kept.grade, &kept.room, &kept.recorder})
        *text = keptText(*text);
    if (kept == m_data.heading)
        return;
    m_data.heading = kept;
    ClassChange change;
    change.heading = kept;
    write(change);
    emit headingChanged();
}

PaperId ClassDocument::addPaper(FormVersion version, PupilId pupil, const PaperTicks &ticks)
{
    Paper paper;
    paper.id = ++m_lastPaper;
    paper.version = version;
    paper.pupil = this->pupil(pupil) && !paperOf(pupil, version) ? pupil : kNoPupil;
    paper.ticks = ticks;
    paper.added = paper.changed = now();
    m_data.papers.push_back(paper);
    m_paperOfStale = true;
    remember(paper);
    ClassChange change;
    change.papers.push_back(paper);
    write(change);
    emit rowsChanged();
    return paper.id;
}

void ClassDocument::replaceTicks(PaperId id, const PaperTicks &ticks)
{
    Paper *paper = findPaper(id);
    if (!paper)
        return;
    paper->ticks = ticks;
    paper->changed = now();
    remember(*paper);
    ClassChange change;
    change.papers.push_back(*paper);
    write(change);
    emit rowsChanged();
}

bool ClassDocument::setVersion(PaperId id, FormVersion version)
{
    Paper *paper = findPaper(id);
    if (!paper)
        return false;
    if (paper->version == version)
        return true;
    if (paperOf(paper->pupil, version))
        return false;
    paper->version = version;
    paper->changed = now();
    m_paperOfStale = true;
    remember(*paper);
    ClassChange change;
    change.papers.push_back(*paper);
    write(change);
    emit rowsChanged();
    return true;
}

void ClassDocument::setPaperNumber(PaperId id, const QString &number)
{
    setPaperText(id, number, &Paper::number, &ClassDocument::setPupilNumber);
}

void ClassDocument::setPaperName(PaperId id, const QString &name)
{
    setPaperText(id, name, &Paper::name, &ClassDocument::setPupilName);
}

void ClassDocument::setPupilNumber(PupilId id, const QString &number)
{
    setPupilText(id, number, &Pupil::number);
}

void ClassDocument::setPupilName(PupilId id, const QString &name)
{
    setPupilText(id, name, &Pupil::name);
}

// A paper's own number or name, or its pupil's where it has one.
void ClassDocument::setPaperText(
    PaperId id, const QString &text, QString Paper::*field, void (ClassDocument::*forPupil)(PupilId, const QString &))
{
    Paper *paper = findPaper(id);
    if (!paper)
        return;
    if (paper->pupil != kNoPupil) {
        (this->*forPupil)(paper->pupil, text);
        return;
    }
    const QString kept = keptText(text);
    if (kept == paper->*field)
        return;
    paper->*field = kept;
    paper->changed = now();
    remember(*paper);
    ClassChange change;
    change.papers.push_back(*paper);
    write(change);
    emit rowsChanged();
}

void ClassDocument::setPupilText(PupilId id, const QString &text, QString Pupil::*field)
{
    Pupil *pupil = findPupil(id);
    const QString kept = keptText(text);
    if (!pupil || kept == pupil->*field)
        return;
    pupil->*field = kept;
    refreshRecordsOf(id);
    ClassChange change;
    change.pupils.push_back(*pupil);
    write(change);
    emit rowsChanged();
}

PupilId ClassDocument::addPupil(const QString &number, const QString &name)
{
    Pupil pupil {++m_lastPupil, keptText(number), keptText(name)};
    m_data.roster.push_back(pupil);
    ClassChange change;
    change.pupils.push_back(pupil);
    write(change);
    emit rowsChanged();
    return pupil.id;
}

std::pair<int, int> ClassDocument::pasteRoster(const std::vector<RosterLine> &lines)
{
    ClassChange change;
    int added = 0;
    int renamed = 0;
    for (const RosterLine &line : lines) {
        const auto same = std::find_if(m_data.roster.begin(), m_data.roster.end(), [&line](const Pupil &pupil) {
            return line.number.isEmpty() ? pupil.number.isEmpty() && pupil.name == line.name
                                         : pupil.number == line.number;
        });
        if (same == m_data.roster.end()) {
            m_data.roster.push_back({++m_lastPupil, line.number, line.name});
            change.pupils.push_back(m_data.roster.back());
            ++added;
        } else if (same->name != line.name && !line.name.isEmpty()) {
            same->name = line.name;
            change.pupils.push_back(*same);
            refreshRecordsOf(same->id);
            ++renamed;
        }
    }
    if (change.pupils.empty())
        return {0, 0};
    write(change);
    emit rowsChanged();
    return {added, renamed};
}

void ClassDocument::removePapers(const std::vector<PaperId> &ids)
{
    ClassChange change;
    for (PaperId id : ids) {
        if (!paper(id))
            continue;
        change.removedPapers.push_back(id);
        m_records.remove(id);
    }
    if (change.removedPapers.empty())
        return;
    const auto gone = [&change](const Paper &paper) {
        return std::find(change.removedPapers.cbegin(), change.removedPapers.cend(), paper.id)
            != change.removedPapers.cend();
    };
    m_data.papers.erase(std::remove_if(m_data.papers.begin(), m_data.papers.end(), gone), m_data.papers.end());
    m_paperOfStale = true;
    write(change);
    emit rowsChanged();
}

void ClassDocument::removePupils(const std::vector<PupilId> &ids)
{
    ClassChange change;
    for (PupilId id : ids) {
        if (!pupil(id))
            continue;
        change.removedPupils.push_back(id);
        for (const Paper &paper : m_data.papers)
            if (paper.pupil == id)
                change.removedPapers.push_back(paper.id);
    }
    if (change.removedPupils.empty())
        return;
    const auto listed
        = [](const auto &list, qint64 id) { return std::find(list.cbegin(), list.cend(), id) != list.cend(); };
    m_data.roster.erase(std::remove_if(m_data.roster.begin(), m_data.roster.end(),
                            [&](const Pupil &pupil) { return listed(change.removedPupils, pupil.id); }),
        m_data.roster.end());
    m_data.papers.erase(std::remove_if(m_data.papers.begin(), m_data.papers.end(),
                            [&](const Paper &paper) { return listed(change.removedPapers, paper.id); }),
        m_data.papers.end());
    for (PaperId id : change.removedPapers)
        m_records.remove(id);
    m_paperOfStale = true;
    write(change);
    emit rowsChanged();
}

bool ClassDocument::hasUnkeptRows() const
{
    if (isEmpty())
        return false;
    return m_keeping != Keeping::Kept || m_unkept;
}

void ClassDocument::setKeeping(Keeping keeping)
{
    if (keeping == m_keeping)
        return;
    m_keeping = keeping;
    emit keepingChanged();
}

void ClassDocument::write(const ClassChange &change)
{
    if (m_keeping != Keeping::Kept || !m_file) {
        m_unkept = true;
        return;
    }
    const std::optional<QString> error = m_file->write(change);
    if (!error)
        return;
    qCWarning(lcKvt) << "Cannot write the class file" << m_path << *error;
    // The file holds the class as it was before this change; nothing more
    // goes into it, so that it never holds half of one.
    m_file.reset();
    m_unkept = true;
    setKeeping(Keeping::WriteFailed);
    emit writeFailed(*error);
}

std::optional<QString> ClassDocument::keepIn(const QString &path)
{
    // Another copy's file is released first where it is the same path.
    if (QDir::cleanPath(path) == QDir::cleanPath(m_path))
        m_file.reset();
    CreateResult created = ClassFile::create(path, m_data);
    if (!created.file) {
        qCWarning(lcKvt) << "Cannot keep the class in" << path << created.detail;
        const QString why = created.failure == CreateFailure::Busy
            ? u"ไฟล์นี้เปิดอยู่ในโปรแกรมอีกหน้าต่างหนึ่ง"_s
            : u"อาจเป็นเพราะดิสก์หรือแฟลชไดรฟ์เต็ม ถูกถอดออก หรือโฟลเดอร์นี้บันทึกไม่ได้"_s;
        return u"บันทึกห้องลงไฟล์ %1 ไม่ได้ %2\nโปรดเลือกที่เก็บอื่น แล้วลองอีกครั้ง รายชื่อและแบบประเมินทุกฉบับยังอยู่ในโปรแกรม\n\nสาเหตุจากระบบ: %3"_s
            .arg(QDir::toNativeSeparators(path), why, created.detail);
    }
    m_file = std::move(created.file);
    m_path = path;
    m_unkept = false;
    if (m_keeping == Keeping::Kept)
        emit keepingChanged(); // the file's name changed
    setKeeping(Keeping::Kept);
    return std::nullopt;
}

void ClassDocument::replaceClass(ClassData data)
{
    m_data = std::move(data);
    m_records.clear();
    m_paperOfStale = true;
    m_lastPupil = 0;
    m_lastPaper = 0;
    for (const Pupil &pupil : m_data.roster)
        m_lastPupil = std::max(m_lastPupil, pupil.id);
    for (const Paper &paper : m_data.papers) {
        m_lastPaper = std::max(m_lastPaper, paper.id);
        remember(paper);
    }
    m_unkept = false;
    emit classReplaced();
    emit headingChanged();
    emit rowsChanged();
}

ClassDocument::Opened ClassDocument::open(const QString &path)
{
    OpenResult opened = ClassFile::open(path);
    const QString name = QDir::toNativeSeparators(path);
    if (opened.failure != OpenFailure::None) {
        qCWarning(lcKvt) << "Cannot open the class file" << path << opened.detail;
        return {false, openFailureText(opened.failure, name, opened.detail)};
    }
    m_file = std::move(opened.file);
    m_path = path;
    Keeping keeping = Keeping::Kept;
    QString message;
    if (opened.limit == OpenLimit::Busy) {
        keeping = Keeping::Busy;
        message = u"ไฟล์ห้อง %1 เปิดอยู่ในโปรแกรมอีกหน้าต่างหนึ่ง (หรืออีกเครื่องหนึ่ง) จึงเปิดให้ดูได้อย่างเดียว\n"
                  u"แบบประเมินที่เพิ่มหรือแก้ในหน้าต่างนี้จะไม่ถูกบันทึกลงไฟล์นี้ กด Ctrl+S เพื่อบันทึกเป็นไฟล์ใหม่"_s.arg(name);
    } else if (opened.limit == OpenLimit::ReadOnly) {
        keeping = Keeping::ReadOnly;
        message = u"ไฟล์ห้อง %1 เขียนทับไม่ได้ (ไฟล์หรือแฟลชไดรฟ์ตั้งไว้ให้อ่านได้อย่างเดียว) จึงเปิดให้ดูได้อย่างเดียว\n"
                  u"แบบประเมินที่เพิ่มหรือแก้จะไม่ถูกบันทึกลงไฟล์นี้ กด Ctrl+S เพื่อบันทึกเป็นไฟล์ใหม่"_s.arg(name);
    }
    if (opened.limit != OpenLimit::None)
        qCInfo(lcKvt) << "Class file opened for reading only" << path << opened.detail;
    replaceClass(std::move(opened.data));
    m_keeping = keeping;
    emit keepingChanged();
    return {true, message};
}

void ClassDocument::startNew()
{
    ClassData fresh;
    fresh.heading.school = m_data.heading.school;
    fresh.heading.term = m_data.heading.term;
    fresh.heading.year = m_data.heading.year;
    fresh.heading.recorder = m_data.heading.recorder;
    m_file.reset();
    m_path.clear();
    replaceClass(std::move(fresh));
    m_keeping = Keeping::NoFile;
    emit keepingChanged();
}
