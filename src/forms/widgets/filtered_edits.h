#pragma once
// Single-line text fields that admit only the characters of their kind. A typed character
// outside the set is dropped before the field sees it, so it changes nothing and raises no
// text-change event. Text that arrives another way from the user (pasted, dropped, composed by
// an input method) is filtered the same way: the characters outside the set are removed. Text
// set by the program (setText) is kept as it is: a form may show "?" in a digit field.
// No length limit: each form checks its own.

#include <QLineEdit>

namespace kq904 {

class FilteredEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FilteredEdit(QWidget* parent = nullptr);

    // True when the kind admits `c`. Backspace, Delete and the editing keys always work.
    virtual bool admits(QChar c) const = 0;
    // The character a typed or pasted `c` stands for in this kind, before it is judged.
    virtual QChar meaning(QChar c) const { return c; }
    // `text` without the characters the kind does not admit.
    QString filtered(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void removeRejected();
};

// Frequencies: '0'-'9' and '.'. A ',' (what the keypad's decimal key types under a comma
// locale) is taken for the '.' it means, so "151,625" is not read as 151625 MHz.
class CDecimalEdit : public FilteredEdit {
    Q_OBJECT
public:
    using FilteredEdit::FilteredEdit;
    bool admits(QChar c) const override;
    QChar meaning(QChar c) const override { return c == u',' ? QChar(u'.') : c; }
};

// Serial numbers, passwords, identities: '0'-'9'.
class CDigitEdit : public FilteredEdit {
    Q_OBJECT
public:
    using FilteredEdit::FilteredEdit;
    bool admits(QChar c) const override;
};

// Reference counters: '0'-'9', 'A'-'F', 'a'-'f'.
class CHexEdit : public FilteredEdit {
    Q_OBJECT
public:
    using FilteredEdit::FilteredEdit;
    bool admits(QChar c) const override;
};

} // namespace kq904
