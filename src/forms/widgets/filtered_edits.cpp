#include "filtered_edits.h"

#include <QKeyEvent>

namespace kq904 {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Key events whose text is a control character (Backspace, Enter, Ctrl+V and the other editing
// shortcuts) are the field's own business, not characters to judge.
bool isTyped(QChar c)
{
    return c.unicode() >= 0x20 && c.unicode() != 0x7F;
}

} // namespace

FilteredEdit::FilteredEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // textEdited comes only from the user, never from setText, and before textChanged: the
    // form then sees the filtered text only.
    connect(this, &QLineEdit::textEdited, this, &FilteredEdit::removeRejected);
}

QString FilteredEdit::filtered(const QString& text) const
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar typed : text) {
        if (const QChar c = meaning(typed); admits(c))
            kept.append(c);
    }
    return kept;
}

void FilteredEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    // Shortcuts (Ctrl+V, Ctrl+A...) carry the letter as text on some platforms; they are the
    // field's business. Whatever one of them inserts is cleaned by removeRejected.
    const bool shortcut =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    bool judged = false;
    for (const QChar c : typed)
        judged = judged || isTyped(c);
    if (shortcut || !judged) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString kept = filtered(typed);
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Consumed: a character outside the set does nothing at all.
    event->accept();
    if (!kept.isEmpty())
        insert(kept);
}

void FilteredEdit::removeRejected()
{
    const QString current = text();
    const QString kept = filtered(current);
    if (kept == current)
        return;
    const int cursor = cursorPosition();
    const int removedBeforeCursor =
        static_cast<int>(cursor - filtered(current.left(cursor)).size());
    setText(kept);
    setCursorPosition(cursor - removedBeforeCursor);
}

bool CDecimalEdit::admits(QChar c) const
{
    return isDigit(c) || c == u'.';
}

bool CDigitEdit::admits(QChar c) const
{
    return isDigit(c);
}

bool CHexEdit::admits(QChar c) const
{
    return isDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace kq904
