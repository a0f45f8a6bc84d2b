#include "welcomescreen.h"

#include "ui_welcomescreen.h"

#include "formcolours.h"
#include "schoolcaption.h"
#include "schooltexts.h"

#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

// Where the screen was laid out: its client area at 3600, 1845 twips from the
// screen's top-left corner, 15 twips to a pixel.
constexpr QPoint kLaidOutPosition(3600 / 15, 1845 / 15);

void setPointSize(QWidget *widget, qreal points)
{
    QFont font = widget->font();
    font.setPointSizeF(points);
    widget->setFont(font);
}

// The title, the version, whose program it is and when it was made. Three
// lines in a box laid out for a tighter face than the Thai one used here, so
// the lines are drawn a little closer than the face's own spacing.
QString versionAndRights()
{
    const QString text = u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT) เวอร์ชั่น 1.0 %1 พัฒนาขึ้นเมื่อวันที่ 26 กันยายน 2548"_s.arg(
        SchoolTexts::ownershipStatement());
    return u"<p style=\"line-height:76%\">%1</p>"_s.arg(text.toHtmlEscaped());
}

} // namespace

WelcomeScreen::WelcomeScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::Form1)
{
    m_ui->setupUi(this);
    FormColours::apply(this);
    // Designer keeps whole points only.
    setPointSize(m_ui->Label3, 14.25);
    for (QWidget *line : {m_ui->Label1, m_ui->Label2, m_ui->Label4})
        setPointSize(line, 9.75);

    m_ui->Label1->setText(versionAndRights());
    m_ui->Label4->setText(u"%1 %2 %3 %4"_s.arg(
        SchoolTexts::division(), SchoolTexts::schoolName(), SchoolTexts::district(), SchoolTexts::province()));
    fitSchoolCaption(m_ui->Label4);
    m_ui->Label2->setText(u"พัฒนาโดย %1"_s.arg(SchoolTexts::developer()));
    m_ui->Label5->setText(u"เว็บไซต์โรงเรียน %1, %2"_s.arg(SchoolTexts::webAddress1(), SchoolTexts::webAddress2()));

    const QRect screenArea = screen()->geometry();
    setGeometry(QRect(screenArea.topLeft() + kLaidOutPosition, size()));

    connect(m_ui->Command1, &QPushButton::clicked, this, &WelcomeScreen::enterRequested);
}

WelcomeScreen::~WelcomeScreen()
{
    delete m_ui;
}
