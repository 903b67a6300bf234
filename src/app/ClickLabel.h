#pragma once

#include <QLabel>

// A label that acts as a link: a click, or Space or Enter while it has the focus,
// emits clicked(). Tab reaches it, so the keyboard can open what it leads to.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(QWidget *parent, const char *name);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
