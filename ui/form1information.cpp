// Help, About, the home-page link and the banner.
#include "ui/form1.h"

#include "ops/positions.h"
#include "runtime/controlposition.h"
#include "runtime/services.h"
#include "ui/author.h"
#include "ui/dialogtexts.h"

#include <QLabel>
#include <QLineEdit>

void Form1::Help_Click()
{
    m_services.rtcMsgBox(dialogtext::helpPrompt(), runtime::MsgBoxStyle::Information,
                         dialogtext::HelpTitle);
    SetFocus(Text1);
}

void Form1::About_Click()
{
    m_services.rtcMsgBox(dialogtext::aboutPrompt(), runtime::MsgBoxStyle::Information,
                         dialogtext::AboutTitle);
    SetFocus(Text1);
}

void Form1::Label8_Click()
{
    // Started and forgotten: the program neither waits for the opener nor keeps its number.
    m_services.rtcShell(author::HomePageCommand, runtime::ShellWindowStyle::Hide);
}

void Form1::Timer1_Timer()
{
    runtime::setControlLeft(Label5, ops::bannerStep(runtime::controlLeft(Label5)));
}
