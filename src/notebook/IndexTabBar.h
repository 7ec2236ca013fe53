#pragma once

#include <QTabBar>

// A tab strip standing on the left of a list, like the index tabs of a notebook: tabs stacked
// from the top, their captions written across as usual.
class IndexTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit IndexTabBar(QWidget *parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
};
