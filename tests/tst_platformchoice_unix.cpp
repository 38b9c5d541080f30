// The platform the program asks Qt for on Unix, by the desktop session and the user's choice.
#include "runtime/platformchoice.h"

#include <QProcessEnvironment>
#include <QTest>

class TestPlatformChoiceUnix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void platformOverride_data();
    void platformOverride();
};

void TestPlatformChoiceUnix::platformOverride_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    const QByteArrayList none{ "tallyvex" };
    const QStringList gnomeWayland{ "XDG_CURRENT_DESKTOP=GNOME", "DISPLAY=:0",
                                    "WAYLAND_DISPLAY=wayland-0" };
    QTest::newRow("GNOME, with Xwayland") << gnomeWayland << none << QByteArray("xcb;wayland");
    QTest::newRow("GNOME in a list")
            << QStringList{ "XDG_CURRENT_DESKTOP=ubuntu:GNOME", "DISPLAY=:0" } << none
            << QByteArray("xcb;wayland");
    QTest::newRow("GNOME by the session's desktop")
            << QStringList{ "XDG_SESSION_DESKTOP=gnome", "DISPLAY=:0" } << none
            << QByteArray("xcb;wayland");
    QTest::newRow("GNOME without Xwayland")
            << QStringList{ "XDG_CURRENT_DESKTOP=GNOME", "WAYLAND_DISPLAY=wayland-0" } << none
            << QByteArray();
    QTest::newRow("KDE Plasma") << QStringList{ "XDG_CURRENT_DESKTOP=KDE", "DISPLAY=:0",
                                                "WAYLAND_DISPLAY=wayland-0" }
                                << none << QByteArray();
    QTest::newRow("chosen by QT_QPA_PLATFORM")
            << (gnomeWayland + QStringList{ "QT_QPA_PLATFORM=wayland" }) << none << QByteArray();
    QTest::newRow("chosen by -platform")
            << gnomeWayland << QByteArrayList{ "tallyvex", "-platform", "wayland" } << QByteArray();
}

void TestPlatformChoiceUnix::platformOverride()
{
    QFETCH(QStringList, variables);
    QFETCH(QByteArrayList, arguments);
    QFETCH(QByteArray, platform);
    QProcessEnvironment environment;
    for (const QString &variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    QCOMPARE(runtime::platformOverride(environment, arguments), platform);
}

QTEST_GUILESS_MAIN(TestPlatformChoiceUnix)
#include "tst_platformchoice_unix.moc"
