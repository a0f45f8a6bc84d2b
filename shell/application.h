#pragma once

class QApplication;

namespace Application {

// Name, version, style, the Thai font and the window icon; shared by the
// program and by the tests that look at its screens.
void setUp(QApplication &app);

} // namespace Application
