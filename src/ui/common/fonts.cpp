#include "ui/common/fonts.h"

QFont pixelFont(const QString &family, int pixels, FontStyle style)
{
    QFont font(family);
    font.setPixelSize(pixels);
    if (style == FontStyle::Bold)
        font.setBold(true);
    if (style == FontStyle::Italic)
        font.setItalic(true);
    return font;
}
