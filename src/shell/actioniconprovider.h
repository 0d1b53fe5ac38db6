#pragma once

#include <QPixmap>

// Draws the icon of an action kind: a coloured tile with a short glyph, so every kind is
// recognisable without an icon theme.
class ActionIconProvider final
{
public:
    static QPixmap iconForAction(qint64 catalog, qint64 type, int size, qreal devicePixelRatio = 1.0);
    // The list's type image: text ("文本") or files and images ("文件").
    static QPixmap typeImage(bool text, int size, const QColor &color, qreal devicePixelRatio = 1.0);
    // A one-colour image of the resources (like the desktops' symbolic icons) in the colour.
    static QPixmap symbolicImage(const QString &resource, int size, const QColor &color, qreal devicePixelRatio = 1.0);
};
