#pragma once

#include <QFont>

enum class FontStyle { Regular, Bold, Italic };

// A font of `family` at a size in pixels, as the window layouts give their
// sizes, so text keeps its place on any screen. Bold or italic is set only
// when asked for.
QFont pixelFont(const QString &family, int pixels, FontStyle style = FontStyle::Regular);
