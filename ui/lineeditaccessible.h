#pragma once

#include <QAccessibleWidget>

class QLineEdit;

// What a screen reader reads of a line edit, on QLineEdit's public API, since Qt's own interface
// is private. Where it differs from Qt's: a character's extents are measured from the caret,
// where Qt 6.4 and 6.8 place them as if the text had not scrolled, off the box once it has; the
// whole text is one run of attributes, where Qt 6.4 gives each character an empty run and Orca,
// which reads a line run by run, then leaves out the last character ("34 selected" for "345");
// and a box that hides its text gives none of it, not even the characters that mask it. The Qt
// workarounds' table in docs/desktops.md says how to tell when each is no longer needed.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *lineEdit);

    // Makes every line edit of the program answer through this class.
    static void install();

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    QLineEdit *lineEdit() const;
};
