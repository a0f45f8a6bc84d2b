#pragma once

#include <QStringList>
#include <QUrl>

class QWidget;

// The staff's guide, an HTML file with its pictures that the packages carry:
// beside the program on Windows and in the build folder, under the
// documentation folder where the Linux package installs it.
namespace Guide {

// Where the guide may be, in the order it is looked for: absolute file paths.
QStringList places();

// The guide's address, or an empty one where no guide was installed.
QUrl location();

// Opens the guide in the system's browser. Where there is no guide, or no
// browser takes it, a message over parent tells the user where to look.
void open(QWidget *parent);

} // namespace Guide
