#pragma once

#include <QProxyStyle>

// Fusion, with one mend for Thai captions: the leading vowels (เ แ โ ใ ไ)
// can hang left of their advance, so a caption that starts at the left edge
// of its box would lose a pixel of them. Left-aligned text that starts with
// one moves right by the overhang.
class CaptionStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CaptionStyle)

public:
    CaptionStyle();
    ~CaptionStyle() override;

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
        const QString &text, QPalette::ColorRole textRole = QPalette::NoRole) const override;
};
