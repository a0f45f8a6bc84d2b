// The yardstick of the benchmark: a bare Qt program, one window with one
// button, built with the same compiler and flags as the program.

#include <QApplication>
#include <QPushButton>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(u"Bare"_s);
    window.resize(356, 288);
    QPushButton button(u"OK"_s, &window);
    button.setGeometry(96, 160, 153, 41);
    window.show();
    return QApplication::exec();
}
