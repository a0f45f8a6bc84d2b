#include "currentchild.h"

#include "childrecord.h"
#include "classlist.h"
#include "words.h"

CurrentChild::CurrentChild(ClassList &classList)
    : m_classList(classList)
{
}

void CurrentChild::startMending(PaperId paper)
{
    m_mending = paper;
    m_stopped.reset();
    m_classList.setMending(paper);
}

void CurrentChild::stopMending()
{
    if (!m_mending)
        return;
    m_mending.reset();
    m_stopped.reset();
    m_classList.setMending(0);
}

CurrentChild::Outcome CurrentChild::finish(const PaperTicks &ticks)
{
    if (!anyTick(ticks.front) && !anyTick(ticks.back))
        return Outcome::NothingToAdd;
    const bool frontIncomplete = !frontNotice(ticks.front).isEmpty();
    const bool backIncomplete = anyTick(ticks.back) && !backNotice(ticks.back).isEmpty();
    if ((frontIncomplete || backIncomplete) && m_stopped != ticks) {
        m_stopped = ticks;
        return frontIncomplete ? Outcome::StopAtFront : Outcome::StopAtBack;
    }
    m_stopped.reset();
    if (m_mending && m_classList.document().paper(*m_mending)) {
        const PaperId paper = *m_mending;
        m_mending.reset();
        m_classList.replacePaper(paper, ticks);
        return Outcome::Replaced;
    }
    m_mending.reset();
    m_classList.addPaper(m_version, ticks);
    return Outcome::Added;
}

QString CurrentChild::row(const PaperTicks &ticks)
{
    const PaperResults results = interpretPaper(ticks);
    return tabLine(resultFields(results.front, results.back));
}

QString CurrentChild::header()
{
    return tabLine(resultHeadings());
}
