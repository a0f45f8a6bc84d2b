#pragma once

#include <QUrl>

// The staff's guide, an HTML file with its pictures that the packages carry:
// beside the program on Windows and in the build folder, under the
// documentation folder where the Linux package installs it.
namespace Guide {

// The guide's address, or an empty one where no guide was installed.
QUrl location();

// Opens the guide in the system's browser; does nothing without a guide.
void open();

} // namespace Guide
