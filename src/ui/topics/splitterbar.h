#pragma once

#include <QColor>
#include <QWidget>

// A thin bar between two side-by-side controls that the user drags
// sideways. It does not place anything itself: it reports where the user
// wants its left edge, and its owner moves the controls and the bar.
class SplitterBar : public QWidget
{
    Q_OBJECT
public:
    SplitterBar(const QColor &color, QWidget *parent = nullptr);

Q_SIGNALS:
    // While dragging: the wanted left edge, in the parent's coordinates.
    void draggedTo(int left);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_dragging = false;
    int m_grabX = 0;
};
