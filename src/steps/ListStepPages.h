#pragma once

#include <QString>

class QFont;
class QLabel;
class QRect;
class QWidget;

// A label that shows one stored answer on one line: long answers are cut off at its
// edge, so its tooltip holds the whole text.
QLabel *makeAnswerLine(QWidget *parent, const QString &name, const QFont &font, const QRect &geometry);
void showAnswer(QLabel *line, const QString &text);
