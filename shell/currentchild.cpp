#include "currentchild.h"

#include "screenregistry.h"

#include "backsheetscreen.h"
#include "classlist.h"
#include "frontsheetscreen.h"
#include "words.h"

#include <QApplication>
#include <QClipboard>

using namespace Qt::StringLiterals;

CurrentChild::CurrentChild(ScreenRegistry &screens, ClassList &classList)
    : m_screens(screens)
    , m_classList(classList)
{
}

void CurrentChild::setVersion(FormVersion version)
{
    m_version = version;
}

FrontSheetScreen *CurrentChild::frontSheet() const
{
    return qobject_cast<FrontSheetScreen *>(m_screens.screen(Screen::FrontSheet));
}

BackSheetScreen *CurrentChild::backSheet() const
{
    return qobject_cast<BackSheetScreen *>(m_screens.screen(Screen::BackSheet));
}

CurrentChild::Ticks CurrentChild::ticks() const
{
    Ticks ticks {};
    if (const FrontSheetScreen *front = frontSheet())
        ticks.first = front->ticks();
    if (const BackSheetScreen *back = backSheet())
        ticks.second = back->ticks();
    return ticks;
}

ChildRecord CurrentChild::record()
{
    ChildRecord child;
    child.version = m_version;
    if (FrontSheetScreen *front = frontSheet())
        child.front = front->resultsForRow();
    if (BackSheetScreen *back = backSheet())
        child.back = back->resultsForRow();
    return child;
}

void CurrentChild::copyRow()
{
    const ChildRecord child = record();
    QGuiApplication::clipboard()->setText(tabLine(resultFields(child.front, child.back)));
}

void CurrentChild::copyHeader()
{
    QGuiApplication::clipboard()->setText(tabLine(resultHeadings()));
}

void CurrentChild::finish()
{
    const Ticks paper = ticks();
    const auto anyTick
        = [](const auto &boxes) { return std::find(boxes.cbegin(), boxes.cend(), true) != boxes.cend(); };
    if (!anyTick(paper.first) && !anyTick(paper.second)) {
        QApplication::beep(); // nothing to add
        return;
    }
    if (!frontSheet())
        m_screens.show(Screen::FrontSheet); // discarded by its close box: an empty front side
    FrontSheetScreen *front = frontSheet();
    BackSheetScreen *back = backSheet();
    const bool backUsed = anyTick(paper.second);

    ChildRecord child = record();
    const QString frontNotice = front->finishNotice();
    const QString backNotice = backUsed ? back->finishNotice() : QString();
    if ((!frontNotice.isEmpty() || !backNotice.isEmpty()) && m_stopped != paper) {
        m_stopped = paper;
        if (!frontNotice.isEmpty()) {
            m_screens.show(Screen::FrontSheet);
            front->focusFirstProblem();
        } else {
            m_screens.show(Screen::BackSheet);
            back->focusFirstProblem();
        }
        return;
    }
    m_stopped.reset();
    child.remark = paperRemark(PaperTicks {paper.first, paper.second});

    if (back) {
        back->startAgain();
        m_screens.hide(Screen::BackSheet);
    }
    front->startAgain();
    m_screens.show(Screen::FrontSheet);
    m_classList.add(std::move(child), front); // the list opens without taking the focus from the front side
}
