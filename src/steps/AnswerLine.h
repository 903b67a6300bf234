#pragma once

#include <QLabel>
#include <QString>

class QFont;
class QRect;
class QWidget;

// A label that shows one stored answer on one line. Its text is the whole answer (the
// pages keep their working copy in it); it shows the first line, ending in "…" where
// the answer goes on beyond its edge or onto further lines.
class AnswerLine : public QLabel {
public:
    explicit AnswerLine(QWidget *parent) : QLabel(parent) {}
    // What the line shows.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// An answer line whose tooltip holds the whole text (see showAnswer).
QLabel *makeAnswerLine(QWidget *parent, const QString &name, const QFont &font, const QRect &geometry);
void showAnswer(QLabel *line, const QString &text);
