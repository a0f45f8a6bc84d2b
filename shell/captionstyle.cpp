#include "captionstyle.h"

#include <QCheckBox>
#include <QPainter>
#include <QStyleFactory>

#include <algorithm>

using namespace Qt::StringLiterals;

CaptionStyle::CaptionStyle()
    : QProxyStyle(QStyleFactory::create(u"Fusion"_s))
{
}

CaptionStyle::~CaptionStyle() = default;

int CaptionStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    const bool indicator = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight;
    if (indicator && qobject_cast<const QCheckBox *>(widget) && widget->height() < base)
        return widget->height();
    return base;
}

void CaptionStyle::drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
    const QString &text, QPalette::ColorRole textRole) const
{
    QRect textRect = rect;
    const Qt::Alignment alignment = QStyle::visualAlignment(Qt::LeftToRight, Qt::Alignment(flags));
    const bool leftAligned = !(alignment & (Qt::AlignRight | Qt::AlignHCenter));
    if (leftAligned && !text.isEmpty()) {
        // Hinting at fractional scales can add a pixel that the metrics leave out.
        const QChar first = text.front();
        const bool leadingVowel = first >= QChar(0x0E40) && first <= QChar(0x0E44);
        const int overhang = std::max(leadingVowel ? 1 : 0, -painter->fontMetrics().leftBearing(first));
        textRect.setLeft(textRect.left() + overhang);
    }
    QProxyStyle::drawItemText(painter, textRect, flags, palette, enabled, text, textRole);
}
