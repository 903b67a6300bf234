#pragma once

#include <QString>

// A text field of fixed width: whatever is stored is padded with spaces on the right or
// cut to the width, so no caller can leave a field of the wrong length behind.
template <int Width>
class FixedText {
public:
    static constexpr int width = Width;

    FixedText() : m_text(Width, QLatin1Char(' ')) {}
    FixedText(const QString &text) { assign(text); } // NOLINT: stores like assignment

    FixedText &operator=(const QString &text)
    {
        assign(text);
        return *this;
    }

    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; } // NOLINT: reads as the padded text

    // Comparisons are of the full padded texts.
    friend bool operator==(const FixedText &a, const FixedText &b) { return a.m_text == b.m_text; }
    friend bool operator==(const FixedText &a, const QString &b) { return a.m_text == b; }

    static QString padded(const QString &text) { return text.left(Width).leftJustified(Width, QLatin1Char(' ')); }

private:
    void assign(const QString &text) { m_text = padded(text); }
    QString m_text;
};
