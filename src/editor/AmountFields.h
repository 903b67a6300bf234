#pragma once

// The fields of the financial plan's dialog: amounts and rates that take only what could
// become one as it is typed, and the editor of a grid's cells, which reports each
// keystroke so computed figures follow the typing, and takes Return as the dialog's OK.

#include "plandoc/Money.h"

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class QFontMetrics;
class QLabel;
class QLineEdit;

// The amount a field holds, read leniently: empty is 0, stray commas do not count, and
// beyond the largest amount it is the largest.
std::optional<plandoc::finance::Cents> readAmount(const QString &text, const QString &currency);

// A line edit for an amount (in the currency `currency()` gives) or for a rate in %.
QLineEdit *amountEdit(QWidget *parent, const char *name, std::function<QString()> currency);
QLineEdit *rateEdit(QWidget *parent, const char *name);

// A label that names the field and moves to it by its access key.
QLabel *buddyLabel(const QString &caption, QWidget *buddy, QWidget *parent);

// Room for the largest amount and the largest rate.
int amountFieldWidth(const QFontMetrics &metrics);
int rateFieldWidth(const QFontMetrics &metrics);

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Cells of the columns `amountColumn` says yes to take amounts; the others text.
    CellDelegate(std::function<QString()> currency, std::function<bool(int column)> amountColumn, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

    // Keeps what the open editor holds and closes it.
    void commitOpenEditor();

signals:
    void returnPressed();
    void editorClosed() const;
    // Text typed into a cell; final when the editor hands it over.
    void edited(int row, int column, const QString &text, bool final) const;

protected:
    // Return in a cell means OK, as anywhere in the dialog; the view would only close
    // the editor.
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    std::function<QString()> m_currency;
    std::function<bool(int)> m_amountColumn;
    mutable QPointer<QLineEdit> m_open;
};
