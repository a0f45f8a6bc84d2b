#pragma once

#include "classdata.h"
#include "paper.h"

#include <optional>

class ClassList;

// The paper being copied, across both sides, as its ticks: what the finish
// key does with it, and the paper of the class it mends, if any. It reads no
// screen; the screen registry hands it the sheets' ticks and acts on the
// outcome.
class CurrentChild final
{
    Q_DISABLE_COPY_MOVE(CurrentChild)

public:
    explicit CurrentChild(ClassList &classList);

    // The menu button that last opened the front side: the version of new papers.
    void setVersion(FormVersion version) { m_version = version; }
    FormVersion version() const { return m_version; }

    // A paper of the class back on the sheets; the finish key puts it back
    // in its row, with its own version.
    void startMending(PaperId paper);
    void stopMending();
    std::optional<PaperId> mending() const { return m_mending; }

    enum class Outcome {
        NothingToAdd, // no tick on either side
        StopAtFront, // the front side's notice names items left out or doubled
        StopAtBack, // likewise the back side's rows
        Added,
        Replaced,
    };

    // The finish key: a paper whose notice names a question left out or
    // doubled stops once; pressed again unchanged, it goes into the class
    // with the notice's words.
    Outcome finish(const PaperTicks &ticks);

    // The row the sheets' ticks give, as the clipboard takes it.
    static QString row(const PaperTicks &ticks);
    static QString header();

private:
    ClassList &m_classList;
    FormVersion m_version = FormVersion::Parent;
    std::optional<PaperId> m_mending;
    std::optional<PaperTicks> m_stopped; // the paper as it was when its notice stopped the finish key
};
