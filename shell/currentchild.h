#pragma once

#include "backanswers.h"
#include "childrecord.h"
#include "frontanswers.h"

#include <QObject>

#include <optional>
#include <utility>

class BackSheetScreen;
class ClassList;
class FrontSheetScreen;
class ScreenRegistry;

// The paper being copied, across both sides: the one place that turns the
// sheets' ticks into a child's row, for the clipboard and for the class list,
// and the finish key that adds the child and readies both sides for the next
// paper. A side that is not open, or has no tick, gives no results.
class CurrentChild final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CurrentChild)

public:
    CurrentChild(ScreenRegistry &screens, ClassList &classList);

    // The menu button that last opened the front side.
    void setVersion(FormVersion version);

    // Each side interpreted afresh from its ticks, so that the screens show
    // what the row holds.
    ChildRecord record();

    void copyRow();
    static void copyHeader();

    // The finish key: a paper whose notice names a question left out or
    // doubled stops once, with the focus there; pressed again unchanged, it
    // is added with the notice's words. Then both sides are emptied and the
    // front side comes forward at item 1.
    void finish();

private:
    FrontSheetScreen *frontSheet() const;
    BackSheetScreen *backSheet() const;
    using Ticks = std::pair<Front::BoxTicks, Back::BoxTicks>;
    Ticks ticks() const;

    ScreenRegistry &m_screens;
    ClassList &m_classList;
    FormVersion m_version = FormVersion::Parent;
    std::optional<Ticks> m_stopped; // the paper as it was when its notice stopped the finish key
};
