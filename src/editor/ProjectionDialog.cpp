#include "editor/ProjectionDialog.h"

#include "app/Prompts.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>

#include <functional>

using namespace plandoc::projection;

namespace {

constexpr int IncomeRow = 0;
constexpr int ExpensesRow = 1;
constexpr int TotalColumn = Months;

// The amount a field holds, read leniently: empty is 0 and stray commas do not count.
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
    // Beyond the largest amount the field holds the largest.
    return cents ? *cents : (m.captured(1).isEmpty() ? MaxAmount : -MaxAmount);
}

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

} // namespace

// The editor of an Income or Expenses cell: a line edit that takes only amounts and
// reports each keystroke, so the computed rows follow the typing.
class AmountDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    AmountDelegate(std::function<QString()> currency, QObject *parent)
        : QStyledItemDelegate(parent), m_currency(std::move(currency))
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("txtProjectionCell"));
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setValidator(new AmountValidator(m_currency, edit));
        const int row = index.row();
        const int column = index.column();
        connect(edit, &QLineEdit::textEdited, this, [this, row, column](const QString &text) {
            emit edited(row, column, text, false);
        });
        m_open = edit;
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        QString text = static_cast<QLineEdit *>(editor)->text();
        emit const_cast<AmountDelegate *>(this)->edited(index.row(), index.column(), text, true);
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_open)
            m_open = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
        emit editorClosed();
    }

    // Keeps what the open editor holds and closes it.
    void commitOpenEditor()
    {
        if (QLineEdit *edit = m_open) {
            m_open = nullptr;
            emit commitData(edit);
            emit closeEditor(edit, QAbstractItemDelegate::NoHint);
        }
    }

protected:
    // Return in a cell means OK, as anywhere in the dialog; the view would only close
    // the editor.
    bool eventFilter(QObject *object, QEvent *event) override
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

signals:
    void returnPressed();
    void editorClosed() const;
    // Text typed into a cell; final when the editor hands it over.
    void edited(int row, int column, const QString &text, bool final) const;

private:
    std::function<QString()> m_currency;
    mutable QPointer<QLineEdit> m_open;
};

ProjectionDialog::ProjectionDialog(const Input &initial, QWidget *parent) : QDialog(parent), m_input(initial)
{
    setObjectName(QStringLiteral("dlgProjection"));
    setWindowTitle(QStringLiteral("Financial Projection"));
    if (!m_input.firstMonth.isValid())
        m_input.firstMonth = defaultFirstMonth(QDate::currentDate());
    const auto currency = [this] { return m_input.currency; };

    m_grid = new QTableWidget(4, Months + 1, this);
    m_grid->setObjectName(QStringLiteral("grdProjection"));
    m_grid->setAccessibleName(QStringLiteral("Monthly income and expenses"));
    m_grid->setVerticalHeaderLabels({rowLabel(0), rowLabel(1), rowLabel(2), rowLabel(3)});
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_delegate = new AmountDelegate(currency, m_grid);
    m_grid->setItemDelegate(m_delegate);
    connect(m_delegate, &AmountDelegate::edited, this,
            [this](int row, int column, const QString &text, bool final) { cellEdited(row, column, text, final); });
    // An edit given up with Escape leaves the figures as they were.
    connect(m_delegate, &AmountDelegate::editorClosed, this, [this] { recompute(m_input); });

    connect(m_delegate, &AmountDelegate::returnPressed, this, &ProjectionDialog::accept);

    QFont bold = m_grid->font();
    bold.setBold(true);
    const QBrush computed = palette().brush(QPalette::Window);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c <= Months; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r > ExpensesRow || c == TotalColumn) {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setFont(bold);
                item->setBackground(computed);
            }
            m_grid->setItem(r, c, item);
        }
    }
    for (int c = 0; c < Months; ++c) {
        showAmount(IncomeRow, c, m_input.income[c]);
        showAmount(ExpensesRow, c, m_input.expenses[c]);
    }

    // Every column wide enough for an amount in the tens of millions, so the year and
    // its total show whole on a common screen.
    const int columnWidth = fontMetrics().horizontalAdvance(QStringLiteral("-00,000,000.00")) + 8;
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int frame = 2 * m_grid->frameWidth();
    const int fullWidth = m_grid->verticalHeader()->sizeHint().width() + (Months + 1) * columnWidth + frame;
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 80 : fullWidth;
    m_grid->setMinimumWidth(std::min(fullWidth, room));
    // Room for the scroll bar only on a screen too narrow for the whole year.
    const int scrollBar = fullWidth > room ? m_grid->horizontalScrollBar()->sizeHint().height() : 0;
    m_grid->setFixedHeight(m_grid->horizontalHeader()->sizeHint().height()
                           + 4 * m_grid->verticalHeader()->defaultSectionSize() + frame + scrollBar);

    m_opening = new QLineEdit(formatAmount(m_input.openingCash), this);
    m_opening->setObjectName(QStringLiteral("txtOpeningCash"));
    m_opening->setAlignment(Qt::AlignRight);
    m_opening->setValidator(new AmountValidator(currency, m_opening));
    m_opening->setToolTip(QStringLiteral("The cash at the start of the first month; start-up costs are a negative amount."));
    connect(m_opening, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const auto cents = readAmount(text, m_input.currency)) {
            m_input.openingCash = *cents;
            recompute(m_input);
        }
    });
    m_currency = new QLineEdit(m_input.currency, this);
    m_currency->setObjectName(QStringLiteral("txtCurrency"));
    m_currency->setMaxLength(8);
    connect(m_currency, &QLineEdit::textChanged, this, [this](const QString &text) { m_input.currency = text; });
    m_firstMonth = new QDateEdit(m_input.firstMonth, this);
    m_firstMonth->setObjectName(QStringLiteral("dtpFirstMonth"));
    m_firstMonth->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_firstMonth->setDisplayFormat(QStringLiteral("MMMM yyyy"));
    m_firstMonth->setDateRange(QDate(1900, 1, 1), QDate(9998, 12, 1));
    connect(m_firstMonth, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        m_input.firstMonth = date;
        showMonths();
    });
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000.00  "));
    m_opening->setFixedWidth(fieldWidth);
    m_currency->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")) + 12);
    m_firstMonth->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("September 2027")) + 40);

    auto *fields = new QHBoxLayout;
    const auto addField = [this, fields](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addWidget(label);
        fields->addWidget(field);
        fields->addSpacing(18);
    };
    addField(QStringLiteral("&Opening cash:"), m_opening);
    addField(QStringLiteral("Currency &sign:"), m_currency);
    addField(QStringLiteral("&First month:"), m_firstMonth);
    fields->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    // Return means OK wherever the focus is, Cancel included.
    for (QAbstractButton *b : buttons->buttons())
        if (auto *push = qobject_cast<QPushButton *>(b))
            push->setAutoDefault(false);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *note = new QLabel(QStringLiteral("Type each month's income and expenses; Net, Cumulative (the opening cash "
                                           "plus the running net) and the totals follow."),
                            this);
    note->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_grid);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addWidget(buttons);

    showMonths();
    recompute(m_input);
    m_grid->setCurrentCell(IncomeRow, 0);
    m_grid->setFocus();
}

void ProjectionDialog::showMonths()
{
    QStringList labels;
    for (int c = 0; c < Months; ++c)
        labels << shortMonthName(m_input.firstMonth, c);
    labels << TotalLabel;
    m_grid->setHorizontalHeaderLabels(labels);
}

void ProjectionDialog::showAmount(int row, int column, Cents amount)
{
    if (QTableWidgetItem *item = m_grid->item(row, column))
        item->setText(formatAmount(amount));
}

void ProjectionDialog::cellEdited(int row, int column, const QString &text, bool final)
{
    if (column >= Months || (row != IncomeRow && row != ExpensesRow))
        return;
    const auto cents = readAmount(text, m_input.currency);
    if (!cents)
        return;
    // While typing only the computed cells follow; the amount is kept when handed over.
    Input shown = m_input;
    (row == IncomeRow ? shown.income : shown.expenses)[column] = *cents;
    if (final) {
        m_input = shown;
        showAmount(row, column, *cents);
    }
    recompute(shown);
}

void ProjectionDialog::recompute(const Input &input)
{
    const Figures f = compute(input);
    for (int c = 0; c < Months; ++c) {
        showAmount(2, c, f.net[c]);
        showAmount(3, c, f.cumulative[c]);
    }
    showAmount(IncomeRow, TotalColumn, f.totalIncome);
    showAmount(ExpensesRow, TotalColumn, f.totalExpenses);
    showAmount(2, TotalColumn, f.totalNet);
    showAmount(3, TotalColumn, f.cumulative[Months - 1]);
}

void ProjectionDialog::accept()
{
    // A cell still being edited gives its amount before the dialog closes.
    m_delegate->commitOpenEditor();
    if (const auto cents = readAmount(m_opening->text(), m_input.currency))
        m_input.openingCash = *cents;
    QDialog::accept();
}

// The real dialog for the prompt seam lives with the dialog, so the seam needs no
// window of the editor's.
bool QtPrompts::askProjection(Input &figures)
{
    QWidget *parent = parentWidget() ? parentWidget() : QApplication::activeWindow();
    ProjectionDialog dialog(figures, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    figures = dialog.input();
    return true;
}

#include "ProjectionDialog.moc"
