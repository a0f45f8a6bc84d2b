#include "schoolcaption.h"

#include <QFontMetricsF>
#include <QLabel>

namespace {

// Room for the ink that the first and last glyphs put beyond their advance.
constexpr qreal kInkAllowance = 4;
constexpr qreal kSmallestPoints = 7;
constexpr qreal kStep = 0.25;

bool fits(const QLabel *label, const QFont &font)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(label->text()) + kInkAllowance <= label->contentsRect().width();
}

} // namespace

void fitSchoolCaption(QLabel *label)
{
    // One line, sized in points by its form: shrinking steps by points.
    Q_ASSERT(!label->wordWrap());
    Q_ASSERT_X(label->font().pointSizeF() > 0, "fitSchoolCaption", "the caption's size is not in points");
    QFont font = label->font();
    while (!fits(label, font) && font.pointSizeF() - kStep >= kSmallestPoints)
        font.setPointSizeF(font.pointSizeF() - kStep);
    if (font != label->font())
        label->setFont(font);
}
