#pragma once

#include "ops/operations.h"
#include "ui/dialogtexts.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMoveEvent;
class QPushButton;
class QTimer;

class OutputAnnouncement;

namespace runtime {
class RuntimeServices;
}

// The calculator's one window. Its controls carry the names of the layout, as members and as
// object names; each user action is one handler named after its control and event.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(runtime::RuntimeServices &services, QWidget *parent = nullptr);

    // Raises Load, once, before the window is first shown. False when the form unloaded itself
    // there, as a second copy of the program does; it must then not be shown.
    bool load();
    // The desktop's session is ending: the window closes as by its close box.
    void endSession();

    // The text of the last successful ADD or MOD, the form's one variable.
    const QString &lastResult() const { return LastResult; }

Q_SIGNALS:
    // The form has been unloaded and the handler that unloaded it has returned: the program's
    // work is done.
    void unloaded();

protected:
    // Raises the operand boxes' KeyPress and GotFocus events and Label8's Click.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A close from outside the program: the close box, the window menu, the task list.
    void closeEvent(QCloseEvent *event) override;
    // Centres the window again once the window manager has framed it.
    void moveEvent(QMoveEvent *event) override;
    // Follows a change of the desktop's palette while the program runs.
    void changeEvent(QEvent *event) override;

private:
    using Handler = void (Form1::*)();

    // Why the form is being unloaded, as Form_QueryUnload is told.
    enum UnloadReason : qint16 {
        ClosedFromOutside = 0,
        UnloadedByProgram = 1,
        SessionEnding = 2,
    };

    void createControls();
    void createMenus();
    void setTexts();
    void setAppearance();
    // The layout's colours where they are readable on the palette's grounds, the nearest readable
    // ones where not, and a high-contrast theme's own colours while one is on.
    void applyColours();
    void setFocusOrder();
    void wireEvents();
    void connectClick(QPushButton *button, Handler handler);
    void runHandler(Handler handler)
    {
        runHandler([this, handler] { (this->*handler)(); });
    }
    // Runs one event handler: an untrapped runtime error is shown and ends only the handler.
    void runHandler(const std::function<void()> &handler);
    bool filterOperandKey(QLineEdit *box, QKeyEvent *event);
    // An operand box's SetFocus, as handlers call it: moves the focus to the box and raises its
    // GotFocus when the focus was elsewhere, also while the window is not active (after a
    // modal box), when the focus only arrives with the window's activation.
    void SetFocus(QLineEdit *box);
    // Writes the output box, and says what was written to a screen reader.
    void setOutput(const QString &text);
    // Raises GotFocus when the focus enters an operand box; see SetFocus and entersTheBox.
    void dispatchOperandFocusIn(QLineEdit *box, Qt::FocusReason reason);

    // The operand boxes and CLEAR.
    void Text1_KeyPress(qint16 &KeyAscii);
    void Text2_KeyPress(qint16 &KeyAscii);
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text1_Change();
    void Text2_Change();
    void Command5_Click();
    // Lets through backspace, "." and the digits; sets any other code to 0.
    void acceptOperandCharacter(qint16 &KeyAscii);
    // Home, then Shift+End, queued: the whole text of the box with the focus is selected.
    static constexpr QLatin1StringView SelectWholeText{ "{home}+{end}" };
    // Selects the whole text of the box that has just received the focus.
    void selectTextOnEntry();
    void clearOutput();

    // ADD, SUBTRACT, MULTIPLY, DIVIDE.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void runArithmetic(ops::Arithmetic operation);

    // GREATEST and LEAST.
    void Command7_Click();
    void Command8_Click();
    // Shows the value of an operand and puts the focus in its box, with its text selected.
    void showOperand(QLineEdit *box);
    // The last comparison step: "They Are Equal !" when the two texts are the same text.
    void showWhenSameText();

    // Start-up and the three ways out.
    void Form_Load();
    // Centres the window's frame on its screen, in twips as Load computes it.
    void centreOnScreen();
    void Form_QueryUnload(qint16 &Cancel, qint16 &UnloadMode);
    void Exit_Click();
    void Command6_Click();
    // The program's own ways out: unload, then the contact message.
    void exitWithContactMessage(dialogtext::HostEnd hostEnd);
    // Unloads the form as the runtime does: Form_QueryUnload first, then the window goes and
    // its timer stops.
    void unloadForm(UnloadReason reason);

    // Help, About and the home-page link.
    void Help_Click();
    void About_Click();
    void Label8_Click();

    void Timer1_Timer();

    // POW and MOD, whose computations run under an error trap.
    void Command9_Click();
    void Command10_Click();
    // Acts on the number of the error the trap caught: an overflow is shown, any other is
    // dropped without a word.
    void closingCheck(int trappedError);

    // The first two steps of every operation: false, with the empty box named, when A or B is
    // empty.
    bool operandsPresent();
    // Focus to the box with its whole text selected, ready to be typed over.
    void selectOperand(QLineEdit *box);
    void returnToOperandA() { selectOperand(Text1); }

    runtime::RuntimeServices &m_services;
    const QChar m_decimalSeparator;
    int m_handlerDepth = 0;
    bool m_loaded = true;
    bool m_unloading = false; // Form_QueryUnload runs; a second close meanwhile is ignored
    bool m_unloadAnnounced = false;
    // The frame size Load centred the window by, until the window's own frame is known; a
    // different one then centres it again. Invalid once that has been seen to.
    QSize m_centredFrameSize;
    // The box a handler gave the focus to while the window was not active; its GotFocus is
    // raised when the focus arrives.
    QLineEdit *m_focusSetWhileInactive = nullptr;

    // Controls, declared in the order the layout creates them.
    QPushButton *Command6 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    std::array<QLabel *, 2> Picture1 = {}; // element 0 right of the title, element 1 left
    QTimer *Timer1 = nullptr;
    QLineEdit *Text3 = nullptr;
    OutputAnnouncement *m_outputAnnouncement = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;

    QAction *Help = nullptr;
    QAction *About = nullptr;
    QAction *Exit = nullptr;

    QString LastResult;
};
