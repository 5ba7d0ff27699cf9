#include "ui/common/look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

QFont hintedPixelFont(const QString &family, int pixels, FontStyle style)
{
    QFont font(family);
    font.setStyleHint(family == QLatin1String("Arial") ? QFont::SansSerif : QFont::Serif);
    font.setPixelSize(pixels);
    // Both set either way, so nothing is taken over from the parent's font.
    font.setBold(style == FontStyle::Bold);
    font.setItalic(style == FontStyle::Italic);
    return font;
}

QFont fixedPixelFont(int pixels)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    return font;
}

void fillBackground(QWidget *widget, const QColor &color)
{
    widget->setAutoFillBackground(true);
    setWindowColor(widget, color);
}

void paintWhite(QWidget *widget)
{
    fillBackground(widget, Qt::white);
}

void fillBackgroundAndBase(QWidget *widget, const QColor &color)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Base, color);
    widget->setPalette(pal);
}

void setWindowColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    widget->setPalette(pal);
}

void setBaseColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Base, color);
    widget->setPalette(pal);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    widget->setPalette(pal);
}

QWidget *whitePanel(const QString &name, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    paintWhite(panel);
    return panel;
}

QWidget *filledShape(const QString &name, const QColor &color, QWidget *parent)
{
    auto *shape = new QWidget(parent);
    shape->setObjectName(name);
    fillBackgroundAndBase(shape, color);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    return shape;
}

QLabel *fittedLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->adjustSize();
    return label;
}

QLabel *captionLabel(const QString &name, const QString &text, const QFont &font, QWidget *parent)
{
    QLabel *label = fittedLabel(text, font, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    return label;
}

QLabel *colouredLabel(const QString &name, const QString &text, const QFont &font, const QColor &color,
                      QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setFont(font);
    setTextColor(label, color);
    return label;
}
