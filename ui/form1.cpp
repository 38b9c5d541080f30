#include "ui/form1.h"

#include "ops/conversions.h"
#include "ui/form1layout.h"
#include "ui/layoutstyle.h"
#include "ui/lineeditaccessible.h"
#include "ui/outputannouncement.h"
#include "ui/pictures.h"
#include "ui/replayedaltpress.h"

#include <QAction>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace {

using runtime::TwipsRect;

template <typename Control>
Control *createControl(QWidget *surface, const char *name, const TwipsRect &place)
{
    auto *control = new Control(surface);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place.toPixels());
    return control;
}

QPushButton *createButton(QWidget *surface, const char *name, const TwipsRect &place)
{
    auto *button = createControl<QPushButton>(surface, name, place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit *createTextBox(QWidget *surface, const char *name, const TwipsRect &place)
{
    auto *box = createControl<QLineEdit>(surface, name, place);
    box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
    return box;
}

// A picture box shows its picture at its natural size from the top-left corner of its inner
// area, cut off at the inner edges.
QLabel *createPictureBox(QWidget *surface, int index, const TwipsRect &place)
{
    auto *box = createControl<QLabel>(surface, "Picture1", place);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setProperty("Index", index);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setLineWidth(2);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

QLabel *createLabel(QWidget *surface, const char *name, const TwipsRect &place)
{
    auto *label = createControl<QLabel>(surface, name, place);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

// A label sized to its caption keeps its left and top and takes the size of its line of text.
void sizeToCaption(QLabel *label)
{
    label->resize(label->sizeHint());
}

// Entering a box by Tab, by a click or from a handler selects its text; the window regaining
// the focus, or a menu closing, gives it back to the box without entering it anew.
bool entersTheBox(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// A label is clicked when the left button, pressed on it, is released over it.
bool isClickRelease(const QWidget *control, const QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton
            && control->rect().contains(mouse->position().toPoint());
}

} // namespace

Form1::Form1(runtime::RuntimeServices &services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_decimalSeparator(ops::systemDecimalSeparator())
{
    Q_INIT_RESOURCE(tallyvex); // the pictures live in this static library
    LineEditAccessible::install();
    ignoreReplayedAltPresses(this);

    setObjectName(QStringLiteral("Form1"));
    createControls();
    createMenus();
    setTexts();
    setAppearance();
    setFocusOrder();
    wireEvents();
    Text1->setFocus();
}

void Form1::createControls()
{
    namespace place = form1layout;
    auto *surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("clientArea"));
    surface->setFixedSize(place::ClientArea.toPixels().size());
    setCentralWidget(surface);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Command6 = createButton(surface, "Command6", place::Command6);
    Command5 = createButton(surface, "Command5", place::Command5);
    Command9 = createButton(surface, "Command9", place::Command9);
    Command10 = createButton(surface, "Command10", place::Command10);
    Picture1[1] = createPictureBox(surface, 1, place::Picture1Element1);
    Picture1[0] = createPictureBox(surface, 0, place::Picture1Element0);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(form1layout::Timer1IntervalMs);
    Timer1->start();

    Text3 = createTextBox(surface, "Text3", place::Text3);
    Text3->setEnabled(false); // only the program writes the output
    Text3->setFocusPolicy(Qt::NoFocus);
    m_outputAnnouncement = new OutputAnnouncement(Text3);
    Text2 = createTextBox(surface, "Text2", place::Text2);
    Text1 = createTextBox(surface, "Text1", place::Text1);
    Command8 = createButton(surface, "Command8", place::Command8);
    Command7 = createButton(surface, "Command7", place::Command7);
    Command4 = createButton(surface, "Command4", place::Command4);
    Command3 = createButton(surface, "Command3", place::Command3);
    Command2 = createButton(surface, "Command2", place::Command2);
    Command1 = createButton(surface, "Command1", place::Command1);
    Label8 = createLabel(surface, "Label8", place::Label8);
    Label6 = createLabel(surface, "Label6", place::Label6);
    Label5 = createLabel(surface, "Label5", place::Label5);
    Label4 = createLabel(surface, "Label4", place::Label4);
    Label3 = createLabel(surface, "Label3", place::Label3);
    Label2 = createLabel(surface, "Label2", place::Label2);
    Label1 = createLabel(surface, "Label1", place::Label1);
}

void Form1::createMenus()
{
    // Three items straight on the menu bar, none with a submenu.
    Help = menuBar()->addAction(QString());
    Help->setObjectName(QStringLiteral("Help"));
    About = menuBar()->addAction(QString());
    About->setObjectName(QStringLiteral("About"));
    Exit = menuBar()->addAction(QString());
    Exit->setObjectName(QStringLiteral("Exit"));
}

void Form1::setAppearance()
{
    setWindowIcon(pictures::applicationIcon());
    const QPixmap still = pictures::pictureBoxStill();
    for (QLabel *box : Picture1)
        box->setPixmap(still);

    using layoutstyle::font;
    const QFont buttonFont = font({ .face = "Verdana", .points = 11.25, .bold = true });
    for (QPushButton *button : { Command1, Command2, Command3, Command4, Command5, Command6,
                                 Command7, Command8, Command10 })
        button->setFont(buttonFont);
    Command9->setFont(font({ .face = "Arial", .points = 11.25, .bold = true }));

    const QFont boxFont = font({ .face = "Verdana", .points = 9.75 });
    for (QLineEdit *box : { Text1, Text2, Text3 })
        box->setFont(boxFont);

    Label1->setFont(
            font({ .face = "Times New Roman", .points = 18, .bold = true, .underline = true }));
    const QFont captionFont = font({ .face = "Times New Roman", .points = 15.75, .bold = true });
    for (QLabel *caption : { Label2, Label3, Label4 })
        caption->setFont(captionFont);
    const QFont noticeFont = font({ .face = "Verdana", .points = 12, .bold = true });
    for (QLabel *notice : { Label5, Label6 })
        notice->setFont(noticeFont);
    Label8->setFont(font({ .face = "Verdana", .points = 14.25, .underline = true }));
    Label8->setCursor(pictures::handCursor());

    for (QLabel *label : { Label5, Label6, Label8 })
        sizeToCaption(label);
    applyColours();
}

void Form1::setFocusOrder()
{
    // Tab from the last returns to the first.
    QWidget *const order[] = { Text1,    Text2,     Command1,    Command2,   Command3,
                               Command4, Command10, Command7,    Command8,   Command9,
                               Command5, Command6,  Picture1[0], Picture1[1] };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form1::wireEvents()
{
    connectClick(Command1, &Form1::Command1_Click);
    connectClick(Command2, &Form1::Command2_Click);
    connectClick(Command3, &Form1::Command3_Click);
    connectClick(Command4, &Form1::Command4_Click);
    connectClick(Command5, &Form1::Command5_Click);
    connectClick(Command6, &Form1::Command6_Click);
    connectClick(Command7, &Form1::Command7_Click);
    connectClick(Command8, &Form1::Command8_Click);
    connectClick(Command9, &Form1::Command9_Click);
    connectClick(Command10, &Form1::Command10_Click);

    connect(Text1, &QLineEdit::textChanged, this, [this] { runHandler(&Form1::Text1_Change); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { runHandler(&Form1::Text2_Change); });
    for (QLineEdit *operand : { Text1, Text2 }) {
        // Every character must arrive as a key press to pass the operand filter, so an input
        // method may not compose text into the box behind it.
        operand->setAttribute(Qt::WA_InputMethodEnabled, false);
        operand->installEventFilter(this);
    }
    Label8->installEventFilter(this);

    connect(Help, &QAction::triggered, this, [this] { runHandler(&Form1::Help_Click); });
    connect(About, &QAction::triggered, this, [this] { runHandler(&Form1::About_Click); });
    connect(Exit, &QAction::triggered, this, [this] { runHandler(&Form1::Exit_Click); });
    connect(Timer1, &QTimer::timeout, this, [this] { runHandler(&Form1::Timer1_Timer); });
}

void Form1::connectClick(QPushButton *button, Handler handler)
{
    connect(button, &QPushButton::clicked, this, [this, handler] { runHandler(handler); });
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label8) {
        if (isClickRelease(Label8, event))
            runHandler(&Form1::Label8_Click);
        return false;
    }
    if (watched != Text1 && watched != Text2)
        return QMainWindow::eventFilter(watched, event);
    auto *box = static_cast<QLineEdit *>(watched);
    if (event->type() == QEvent::KeyPress)
        return filterOperandKey(box, static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::FocusIn)
        dispatchOperandFocusIn(box, static_cast<QFocusEvent *>(event)->reason());
    return false;
}

void Form1::SetFocus(QLineEdit *box)
{
    if (box->hasFocus())
        return; // already there: nothing moves, nothing is raised
    m_focusSetWhileInactive = box;
    box->setFocus(Qt::OtherFocusReason);
    // In an active window the focus has arrived, and GotFocus has been raised, by now.
    if (box->hasFocus())
        m_focusSetWhileInactive = nullptr;
}

void Form1::setOutput(const QString &text)
{
    const QString before = Text3->text();
    Text3->setText(text);
    m_outputAnnouncement->announce(before, text);
}

void Form1::dispatchOperandFocusIn(QLineEdit *box, Qt::FocusReason reason)
{
    const bool setByHandler = box == m_focusSetWhileInactive;
    m_focusSetWhileInactive = nullptr;
    if (setByHandler || entersTheBox(reason))
        runHandler(box == Text1 ? &Form1::Text1_GotFocus : &Form1::Text2_GotFocus);
}
