#pragma once

#include <QProxyStyle>

// Fusion, with two mends for the laid-out screens:
// - the Thai leading vowels (เ แ โ ใ ไ) can hang left of their advance, so a
//   caption that starts at the left edge of its box would lose a pixel of
//   them: left-aligned text that starts with one moves right by the overhang;
// - a check box laid out lower than the tick square gets a square as high as
//   itself, so that its frame is not cut off.
class CaptionStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CaptionStyle)

public:
    CaptionStyle();
    ~CaptionStyle() override;

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
        const QString &text, QPalette::ColorRole textRole = QPalette::NoRole) const override;
};
