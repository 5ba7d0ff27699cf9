#pragma once

#include <QWidget>

// The white band above a notebook page: children placed at fixed spots,
// and an optional 3 px stripe of #C1E0FF along the bottom edge.
class PageHeader final : public QWidget
{
    Q_OBJECT
public:
    PageHeader(int height, bool stripe, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_stripe;
};
