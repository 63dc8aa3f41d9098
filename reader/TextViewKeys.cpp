#include "reader/TextViewKeys.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace {

struct TMoveKeys
{
    QKeySequence::StandardKey Key;
    QKeySequence::StandardKey SelectKey;
    TTextKey::TWhat What;
};

const TMoveKeys Moves[] = {
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, TTextKey::NextChar},
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, TTextKey::PrevChar},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, TTextKey::NextWord},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, TTextKey::PrevWord},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, TTextKey::NextLine},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, TTextKey::PrevLine},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, TTextKey::LineStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, TTextKey::LineEnd},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, TTextKey::NextPage},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, TTextKey::PrevPage},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, TTextKey::TextStart},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, TTextKey::TextEnd},
};

struct TCommandKey
{
    QKeySequence::StandardKey Key;
    TTextKey::TWhat What;
};

const TCommandKey Commands[] = {
    {QKeySequence::Copy, TTextKey::Copy},
    {QKeySequence::SelectAll, TTextKey::SelectAll},
    {QKeySequence::Cut, TTextKey::Cut},
    {QKeySequence::Paste, TTextKey::Paste},
    {QKeySequence::Undo, TTextKey::Undo},
    {QKeySequence::Redo, TTextKey::Redo},
    {QKeySequence::DeleteStartOfWord, TTextKey::DeleteWordBack},
    {QKeySequence::DeleteEndOfWord, TTextKey::DeleteWordForward},
    {QKeySequence::Delete, TTextKey::Delete},
    // A line separator cannot be saved in the file's encoding: both keys end the paragraph.
    {QKeySequence::InsertParagraphSeparator, TTextKey::NewParagraph},
    {QKeySequence::InsertLineSeparator, TTextKey::NewParagraph},
};

bool HasTextModifiers(Qt::KeyboardModifiers modifiers)
{
    // Shift, the keypad and AltGr give text; Ctrl, Alt (the menus' letters) and Meta do not.
    return !(modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier));
}

bool IsTypedText(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty() || !HasTextModifiers(event.modifiers()))
        return false;
    const QChar c = text.front();
    return c == u'\t' || c.isPrint() || c.isHighSurrogate();
}

} // namespace

TTextKey TextKeyOf(const QKeyEvent& event)
{
    for (const TMoveKeys& move : Moves) {
        if (event.matches(move.Key))
            return {move.What, false};
        if (event.matches(move.SelectKey))
            return {move.What, true};
    }
    for (const TCommandKey& command : Commands)
        if (event.matches(command.Key))
            return {command.What, false};
    if (event.key() == Qt::Key_Backspace && HasTextModifiers(event.modifiers()))
        return {TTextKey::Backspace, false};
    if (IsTypedText(event))
        return {TTextKey::Type, false};
    return {};
}
