#pragma once

// What the class list's tests share: a list made afresh for each test
// function, and the answers they give to its questions.

#include "classfixture.h"
#include "classlist/classlist.h"
#include "kvttest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <memory>

namespace ClassTest {

using namespace Qt::StringLiterals;

// Answers every message box as it comes up with the button of that text.
class Answer final
{
    Q_DISABLE_COPY_MOVE(Answer)

public:
    explicit Answer(const QString &button)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QAbstractButton *choice : box->buttons()) {
                if (choice->text() == button) {
                    ++m_answered;
                    choice->click();
                    return;
                }
            }
        });
        m_timer.start(5);
    }
    int answered() const { return m_answered; }

private:
    QTimer m_timer;
    int m_answered = 0;
};

class ListTest : public QObject
{
protected:
    void makeList() { m_list = std::make_unique<ClassList>(); }
    void dropList()
    {
        m_list.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QTableView *table() const { return KvtTest::control<QTableView>(m_list->window(), u"ClassTable"_s); }
    void press(const QString &button) const { KvtTest::press(m_list->window(), button); }

    // Types into the row's name cell as the user does: a click on the row,
    // the name, Enter.
    void typeName(int row, const QString &name) const
    {
        QTableView *view = table();
        const QModelIndex cell = view->model()->index(row, ClassModel::VersionColumn);
        view->scrollTo(cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
        // The first key opens the name's editor, which takes the rest.
        for (qsizetype i = 0; i < name.size(); ++i) {
            QWidget *target = i == 0 ? view : QApplication::focusWidget();
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key(name[i].toUpper().unicode()), QString(name[i]), {});
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor commits the name queued
    }

    // Selects the rows and presses Delete in the table.
    void deleteRows(const QList<int> &rows) const
    {
        QTableView *view = table();
        view->setFocus();
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(
                view->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(view, Qt::Key_Delete);
    }

    std::unique_ptr<ClassList> m_list;
};

} // namespace ClassTest

