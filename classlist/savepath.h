#pragma once

#include <QString>

class QWidget;

// Asks where to save with the platform's own dialog, in the folder given and
// with the name suggested. The name chosen gets ".suffix" unless it ends in
// it already, and where a file of that final name exists the user is asked,
// in Thai, whether to replace it; staying goes back to the dialog. Returns
// the final path, or an empty one when the user cancelled.
QString askSavePath(QWidget *parent, const QString &caption, const QString &folder, const QString &suggestedName,
    const QString &suffix, const QString &filter);

// The name chosen with ".suffix" (letters in any case) at its end: as it is
// when it ends so, else with it added. Empty stays empty.
QString finalSavePath(const QString &chosen, const QString &suffix);

// The text as a file name Windows takes: / \ : * ? " < > | and control
// characters become "-", and blanks at either end go.
QString suggestedFileName(const QString &text);
