#pragma once

#include "ui/common/fonts.h"

#include <QColor>
#include <QFont>

class QLabel;
class QString;
class QWidget;

// The look shared by the forms: fonts, background and text colours, and
// the small widgets every form builds the same way. A form states its own
// sizes and colours; how they are applied lives here.

// pixelFont with a fallback hint: sans-serif for Arial, serif for every
// other family, so a family that is not installed is replaced by a face of
// the same kind. Bold and italic are always set, on or off.
QFont hintedPixelFont(const QString &family, int pixels, FontStyle style = FontStyle::Regular);
// Courier New at a size in pixels, fixed pitch (typewriter faces as the
// fallback).
QFont fixedPixelFont(int pixels);

// Fills the widget's background with the colour (the Window role, also
// inherited by children that fill their own background).
void fillBackground(QWidget *widget, const QColor &color);
// fillBackground in white: the panels of the forms.
void paintWhite(QWidget *widget);
// fillBackground, and the same colour behind the text of the editors and
// lists inside the widget (the Base role).
void fillBackgroundAndBase(QWidget *widget, const QColor &color);
// The Window role alone, for a widget that fills its background already
// (or is a window).
void setWindowColor(QWidget *widget, const QColor &color);
// The colour behind the text of an editor, list or view (the Base role).
void setBaseColor(QWidget *widget, const QColor &color);
// The colour of a label's text (the WindowText role).
void setTextColor(QWidget *widget, const QColor &color);

// A named child panel with a white background.
QWidget *whitePanel(const QString &name, QWidget *parent);
// A plain rectangle of one colour with no outline; clicks pass through it.
QWidget *filledShape(const QString &name, const QColor &color, QWidget *parent);

// A label in the font, sized to its text.
QLabel *fittedLabel(const QString &text, const QFont &font, QWidget *parent);
// fittedLabel with a name, spoken as its text.
QLabel *captionLabel(const QString &name, const QString &text, const QFont &font, QWidget *parent);
// A label in the font and text colour, left at its default size; named
// when the name is not empty.
QLabel *colouredLabel(const QString &name, const QString &text, const QFont &font, const QColor &color,
                      QWidget *parent);
