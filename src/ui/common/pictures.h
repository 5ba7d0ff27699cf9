#pragma once

#include <QToolButton>
#include <QWidget>

class QSvgRenderer;

// A picture drawn from an SVG resource, scaled to the widget; crisp at any
// screen scale.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    explicit SvgPicture(const QString &resource, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_renderer;
};

// A one-pixel dotted line along the widget's long side.
class DottedLine : public QWidget
{
    Q_OBJECT
public:
    explicit DottedLine(const QColor &color, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

// A picture that is a real button: focusable, pressed with Space or Enter,
// spoken by its accessible name, with a hand cursor.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    PictureButton(const QString &resource, const QString &accessibleName, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// An icon from an SVG resource.
QIcon svgIcon(const QString &resource);
