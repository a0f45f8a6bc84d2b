// The yardstick of the four-screen tour: four empty windows of the client
// sizes of the program's screens, each opened from one button on the one
// before, as the program opens its screens. Built with the same compiler and
// flags as the program; the windows carry the program's window and button
// names so that the probe clicks through both alike.

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Step {
    const char16_t *window;
    QSize size;
    const char16_t *button; // opens the next window; none on the last
};

// Welcome screen, menu (at its picture's size), front side, back side.
constexpr std::array<Step, 4> kSteps {{
    {u"Form1", QSize(356, 288), u"Command1"},
    {u"Form2", QSize(800, 600), u"Command1"},
    {u"Form3", QSize(765, 448), u"Command3"},
    {u"Form4", QSize(761, 426), nullptr},
}};

std::array<std::unique_ptr<QWidget>, kSteps.size()> g_windows;

void open(std::size_t index)
{
    const Step &step = kSteps[index];
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QString::fromUtf16(step.window));
    window->resize(step.size);
    if (step.button) {
        auto *button = new QPushButton(u"OK"_s, window.get());
        button->setObjectName(QString::fromUtf16(step.button));
        button->setGeometry(96, 160, 153, 41);
        QObject::connect(button, &QPushButton::clicked, button, [index] {
            open(index + 1);
            // The welcome screen gives way to the menu; the others stay.
            if (index == 0)
                g_windows[0]->hide();
        });
    }
    window->show();
    g_windows[index] = std::move(window);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    open(0);
    const int status = QApplication::exec();
    for (auto &window : g_windows)
        window.reset();
    return status;
}
