#include "menuscreen.h"

#include "ui_menuscreen.h"

#include "formcolours.h"
#include "schoolcaption.h"
#include "schooltexts.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QStyle>
#include <QThread>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Safe on any thread.
QImage decodeBackground()
{
    return QImage(u":/pictures/menu-background.jpg"_s);
}

} // namespace

MenuBackground::MenuBackground()
{
    std::packaged_task<QImage()> decode(&decodeBackground);
    m_picture = decode.get_future();
    m_decoder.reset(QThread::create(std::move(decode)));
    m_decoder->start(QThread::IdlePriority);
}

MenuBackground::~MenuBackground()
{
    m_decoder->wait();
}

QImage MenuBackground::take()
{
    // A menu made again after its window was closed decodes its own.
    return m_picture.valid() ? m_picture.get() : decodeBackground();
}

MenuScreen::MenuScreen(QWidget *parent)
    : MenuScreen(decodeBackground(), parent)
{
}

MenuScreen::MenuScreen(MenuBackground &background, QWidget *parent)
    : MenuScreen(background.take(), parent)
{
}

MenuScreen::MenuScreen(QImage background, QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::Form2)
    , m_background(QPixmap::fromImage(std::move(background)))
{
    m_ui->setupUi(this);
    FormColours::apply(this);
    m_ui->Label1->setText(
        u"%1 %2 %3"_s.arg(SchoolTexts::schoolName(), SchoolTexts::district(), SchoolTexts::province()));
    fitSchoolCaption(m_ui->Label1);
    placeOnScreen();

    const std::pair<QPushButton *, FormVersion> versions[] {{m_ui->Command1, FormVersion::Parent},
        {m_ui->Command2, FormVersion::Teacher}, {m_ui->Command3, FormVersion::Pupil}};
    for (const auto &[button, version] : versions)
        connect(button, &QPushButton::clicked, this, [this, version = version] { emit formVersionChosen(version); });
    connect(m_ui->Command4, &QPushButton::clicked, this, &MenuScreen::exitRequested);
}

MenuScreen::~MenuScreen()
{
    delete m_ui;
}

void MenuScreen::placeOnScreen()
{
    // The laid-out client area would cut off the exit button; the picture's
    // size shows every control whole. Centred on the free part of the screen,
    // or maximised where even that does not fit with the window's title bar.
    const QSize opening = m_background.isNull() ? size() : m_background.deviceIndependentSize().toSize();
    const QRect available = screen()->availableGeometry();
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    if (available.width() < opening.width() || available.height() < opening.height() + titleBar) {
        // Restored, it still fills the screen.
        setGeometry(available.adjusted(0, titleBar, 0, 0));
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    QRect client(QPoint(), opening);
    client.moveCenter(available.center());
    client.translate(0, titleBar / 2);
    setGeometry(client);
}

void MenuScreen::paintEvent(QPaintEvent *event)
{
    // Once, from the top-left corner, at the picture's own size: never scaled
    // or tiled. Beyond it the window's plain background shows.
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawPixmap(QPoint(0, 0), m_background);
}
