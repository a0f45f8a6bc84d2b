#pragma once

#include "classdocument.h"
#include "classmodel.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ClassListWindow;
class QWidget;

// The class being copied and the window that shows it: which pupil the next
// paper goes to, the papers finished with the finish key, and keeping the
// class in its file, opening another, or starting a new one. Nothing is
// written until the user chooses a file, and nothing is read at start-up.
class ClassList final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassList)

public:
    explicit ClassList(QObject *parent = nullptr);
    ~ClassList() override;

    ClassDocument &document() { return m_document; }
    const ClassDocument &document() const { return m_document; }
    const ClassModel &model() const { return m_model; }

    // The pupil the next paper of this version goes to: the one chosen in the
    // list, else the first in roster order without that version's paper;
    // after a chosen pupil's paper, the first such pupil after that one, as
    // the pile of papers goes on from there.
    PupilId pupilForNextPaper(FormVersion version) const;
    // "เลขที่ 5 ด.ญ. ขวัญ ใจ", for the front side; empty without a roster.
    QString nextPaperOwner(FormVersion version) const;

    // "แก้ไข: เลขที่ 5 ด.ญ. ขวัญ ใจ", or the paper's version where it names no one.
    QString mendingOwner(PaperId paper) const;

    // A finished paper for the next pupil.
    PaperId addPaper(FormVersion version, const PaperTicks &ticks);
    // After the first paper: the window opens beside the sheets without
    // taking the focus from the one typed in.
    void showBesideSheets(QWidget *typingIn);
    // A mended paper back in its row; its row no longer shows it mended.
    void replacePaper(PaperId paper, const PaperTicks &ticks);
    void setMending(PaperId paper);
    int count() const;

    // Opens the window and brings it forward: the sheets' menu and key.
    void showWindow();
    // The window, or null until it first opens.
    QWidget *window() const;

    // Whether the class may be set aside now: at once when everything is in
    // its file; otherwise only if the user, asked in Thai, chooses to go on
    // without keeping it (staying is the default).
    enum class SetAside { Leave, Open, NewClass };
    bool mayDiscard(QWidget *asker, SetAside why = SetAside::Leave);

    // Asked before a class replaces the one on the sheets' paper: true when
    // the sheets hold no unfinished paper, or the user lets it go.
    void setSheetsGuard(std::function<bool(QWidget *asker)> guard) { m_sheetsGuard = std::move(guard); }

    // Ctrl+S: a class in a file is kept already; otherwise asks where to keep it.
    // With a paper still on the sheets, says it goes into the file when finished.
    void keep(QWidget *asker, bool paperOnSheets = false);
    void keepAs(QWidget *asker);
    // Ctrl+O and the list's button: asks for a class file, then opens it.
    void askToOpen(QWidget *asker);
    // Opens the class file at the path, asking first what the user would
    // lose, and brings the list forward unless told not to (at start-up,
    // beside the welcome screen).
    enum class Forward { Yes, No };
    void openFile(const QString &path, QWidget *asker, Forward forward = Forward::Yes);
    // Ctrl+N: an empty class with the same school, term, year and recorder.
    void startNew(QWidget *asker);

    // Copies the heading line and every row of the view, tab-separated.
    void copyClass();
    // Saves the view; nothing when saved, otherwise what to tell the user.
    std::optional<QString> saveCsv(const QString &path);
    std::optional<QString> savePdf(const QString &path);

signals:
    // Enter or a double-click on a row that holds a paper.
    void mendRequested(PaperId paper);
    // The pupil the next paper goes to may have changed.
    void nextPaperOwnerChanged();
    // The class was replaced: a paper being mended is no longer there.
    void classReplaced();

private:
    friend class ClassListWindow;

    ClassListWindow &openWindow();
    void choosePupil(PupilId pupil)
    {
        m_chosenPupil = pupil;
        emit nextPaperOwnerChanged();
    }
    void tellStatus(const QString &text);

    ClassDocument m_document;
    ClassModel m_model {m_document};
    std::unique_ptr<ClassListWindow> m_window;
    std::function<bool(QWidget *)> m_sheetsGuard;
    PupilId m_chosenPupil = kNoPupil;
    PupilId m_goOnAfter = kNoPupil; // the last chosen pupil given a paper
    QString m_folder; // where the last class file was kept or opened
};
