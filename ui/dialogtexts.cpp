#include "ui/dialogtexts.h"

#include "ui/author.h"

#include <QStringList>

namespace dialogtext {
namespace {

QString joinLines(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n"));
}

} // namespace

QString helpPrompt()
{
    return joinLines({
            QStringLiteral("ADD = Adds the two numbers of 'A' and 'B'"),
            QString(),
            QStringLiteral("SUBTRACT = Subtracts the two numbers 'A' and 'B'"),
            QString(),
            QStringLiteral("MULTIPLY = Multiplies the two numbers 'A' and 'B'"),
            QString(),
            QStringLiteral("DIVIDE = Divides the two numbers 'A' and 'B' "),
            QString(),
            QStringLiteral("GREATEST = Shows the Greatest of two numbers 'A' and 'B'"),
            QString(),
            QStringLiteral("LEAST = Shows the Least of two numbers 'A' and 'B'"),
            QString(),
            QStringLiteral("POW = Squares A ^ B "),
            QString(),
            QStringLiteral("MOD = Shows the Remainder of 'A' and 'B'"),
            QString(),
            QStringLiteral("CLEAR = Clears the Input and Output Box"),
            QString(),
            QStringLiteral("EXIT = Closes the Program"),
            QString(),
            QStringLiteral("Note : This Software Should be viewed in Screen Area"),
            QStringLiteral("800 by 600 Pixels. Change your screen revolution in"),
            QStringLiteral("Control Panel ---> Display Properties-->Settings"),
    });
}

QString aboutPrompt()
{
    return joinLines({
            QStringLiteral("THIS SOFTWARE IS DEVELOPED BY VELKAR , INDIA ."),
            QString(),
            QStringLiteral("FOR UR COMMENTS AND SUGGESTIONS"),
            QString(),
            QStringLiteral("CONTACT : ") + author::ContactEmail,
    });
}

QString contactPrompt(HostEnd hostEnd)
{
    QString homePage = QStringLiteral("  http://") + author::HomePageHost;
    if (hostEnd == HostEnd::Slash)
        homePage += u'/';
    return joinLines({
            QStringLiteral("Send Your Comments And Suggestions"),
            QString(),
            QStringLiteral("    ") + author::ContactEmail,
            QString(),
            homePage,
    });
}

} // namespace dialogtext
