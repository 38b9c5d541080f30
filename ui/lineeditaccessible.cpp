#include "ui/lineeditaccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

QAccessibleInterface *lineEditFactory(const QString &className, QObject *object)
{
    if (className == u"QLineEdit" && object->isWidgetType())
        return new LineEditAccessible(static_cast<QLineEdit *>(object));
    return nullptr;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit *lineEdit)
    : QAccessibleWidget(lineEdit, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

void LineEditAccessible::install()
{
    // Factories installed last are asked first, before the one QApplication installs.
    static const bool installed = [] {
        QAccessible::installFactory(lineEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QLineEdit *LineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit *>(widget());
}

QString LineEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value && lineEdit()->echoMode() == QLineEdit::Normal
        && !lineEdit()->text().isEmpty())
        return lineEdit()->text();
    return QAccessibleWidget::text(t);
}

void LineEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        lineEdit()->setText(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = lineEdit()->isReadOnly();
    state.passwordEdit = lineEdit()->echoMode() != QLineEdit::Normal;
    state.selectableText = true;
    return state;
}

void *LineEditAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void LineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0)
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = *startOffset + int(lineEdit()->selectedText().size());
}

int LineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset || lineEdit()->echoMode() != QLineEdit::Normal)
        return QString();
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const
{
    return int(lineEdit()->text().size());
}

QRect LineEditAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (character.isEmpty())
        return QRect();
    // Measured from the caret, which Qt places where the text has scrolled to: its rectangle is
    // centred on the caret. The caret's offset and the character's differ by the text between.
    const QLineEdit *box = lineEdit();
    const QFontMetrics metrics(box->font());
    const QString shown = box->displayText();
    const QRectF caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    const int caretOffset = box->cursorPosition();
    const int x = qRound(caret.center().x()) + metrics.horizontalAdvance(shown.left(offset))
            - metrics.horizontalAdvance(shown.left(caretOffset));
    QStyleOptionFrame option;
    option.initFrom(box);
    const QRect area = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QRect rect(x, area.top() + box->textMargins().top(),
                     metrics.horizontalAdvance(shown.mid(offset, 1)), metrics.height());
    return rect.translated(box->mapToGlobal(QPoint(0, 0)));
}

int LineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // No attributes: one run over the whole text, which every offset lies in.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    lineEdit()->setText(lineEdit()->text().remove(startOffset, endOffset - startOffset));
}

void LineEditAccessible::insertText(int offset, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().insert(offset, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().replace(startOffset, endOffset - startOffset, text));
}
