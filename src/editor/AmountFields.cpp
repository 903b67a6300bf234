#include "editor/AmountFields.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QValidator>

using namespace plandoc::finance;

std::optional<Cents> readAmount(const QString &text, const QString &currency)
{
    if (text.trimmed().isEmpty())
        return Cents(0);
    if (const auto cents = parseAmount(text, currency))
        return cents;
    QString t = text;
    t.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    static const QRegularExpression loose(QStringLiteral(R"(^(-?)\D*?(\d*)(?:\.(\d{0,2})\d*)?$)"));
    const QRegularExpressionMatch m = loose.match(t);
    if (!m.hasMatch() || (m.capturedView(2).isEmpty() && m.capturedView(3).isEmpty()))
        return std::nullopt;
    const QString digits = m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2);
    const auto cents = parseAmount(m.captured(1) + digits + QLatin1Char('.') + m.captured(3));
    return cents ? *cents : (m.captured(1).isEmpty() ? MaxAmount : -MaxAmount);
}

namespace {

// Takes what could become an amount as it is typed; fixes it up into one when done.
class AmountValidator : public QValidator {
public:
    AmountValidator(std::function<QString()> currency, QObject *parent)
        : QValidator(parent), m_currency(std::move(currency))
    {
    }

    State validate(QString &input, int &) const override
    {
        if (parseAmount(input, m_currency()))
            return Acceptable;
        const QString sign = QRegularExpression::escape(m_currency().trimmed());
        const QRegularExpression partial(QStringLiteral(R"(^\s*-?\s*(?:%1|\$)?\s*[\d,]{0,20}(?:\.\d{0,2})?\s*$)")
                                             .arg(sign.isEmpty() ? QStringLiteral("\\$") : sign));
        return partial.match(input).hasMatch() ? Intermediate : Invalid;
    }

    void fixup(QString &input) const override
    {
        if (const auto cents = readAmount(input, m_currency()))
            input = formatAmount(*cents);
    }

private:
    std::function<QString()> m_currency;
};

// 0 to 100 %, with up to two decimals.
class RateValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.trimmed().isEmpty())
            return Intermediate;
        static const QRegularExpression partial(QStringLiteral(R"(^\s*\d{0,3}(?:[.,]\d{0,2})?\s*%?\s*$)"));
        if (!partial.match(input).hasMatch())
            return Invalid;
        QString number = input;
        number.remove(QLatin1Char('%'));
        if (number.replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble() > 100)
            return Invalid;
        return parseRate(input) ? Acceptable : Intermediate;
    }

    void fixup(QString &input) const override { input = formatRate(parseRate(input).value_or(0)); }
};

} // namespace

QLineEdit *amountEdit(QWidget *parent, const char *name, std::function<QString()> currency)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new AmountValidator(std::move(currency), edit));
    return edit;
}

QLineEdit *rateEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new RateValidator(edit));
    return edit;
}

QLabel *buddyLabel(const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

int amountFieldWidth(const QFontMetrics &metrics) { return metrics.horizontalAdvance(QStringLiteral("-000,000,000.00  ")); }

int rateFieldWidth(const QFontMetrics &metrics) { return metrics.horizontalAdvance(QStringLiteral("100.00 %  ")); }

CellDelegate::CellDelegate(std::function<QString()> currency, std::function<bool(int)> amountColumn, QObject *parent)
    : QStyledItemDelegate(parent), m_currency(std::move(currency)), m_amountColumn(std::move(amountColumn))
{
}

QWidget *CellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const bool amount = m_amountColumn(index.column());
    QLineEdit *edit = amount ? amountEdit(parent, "txtProjectionCell", m_currency) : new QLineEdit(parent);
    if (!amount)
        edit->setObjectName(QStringLiteral("txtProjectionItem"));
    const int row = index.row();
    const int column = index.column();
    connect(edit, &QLineEdit::textEdited, this, [this, row, column](const QString &text) {
        emit edited(row, column, text, false);
    });
    m_open = edit;
    return edit;
}

void CellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
}

void CellDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    emit edited(index.row(), index.column(), static_cast<QLineEdit *>(editor)->text(), true);
}

void CellDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_open)
        m_open = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
    emit editorClosed();
}

void CellDelegate::commitOpenEditor()
{
    if (QLineEdit *edit = m_open) {
        m_open = nullptr;
        emit commitData(edit);
        emit closeEditor(edit, QAbstractItemDelegate::NoHint);
    }
}

bool CellDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && object == m_open) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            emit returnPressed();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
