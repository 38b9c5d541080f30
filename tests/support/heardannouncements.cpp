// The bridge is a plugin linked into the test program, which Qt finds among its static plugins.
#define QT_STATICPLUGIN

#include "support/heardannouncements.h"

#include <QAccessibleBridge>
#include <QAccessibleBridgePlugin>
#include <QtPlugin>

#include <utility>

namespace {

QStringList heard;

class RecordingBridge : public QAccessibleBridge
{
public:
    void setRootObject(QAccessibleInterface *) override { }
    void notifyAccessibilityUpdate(QAccessibleEvent *event) override
    {
        const QString text = announcedText(event);
        if (!text.isNull())
            heard.append(text);
    }
};

} // namespace

class HeardAnnouncementsPlugin : public QAccessibleBridgePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "heardannouncements.json")

public:
    // Qt keeps the bridge it is given for the rest of the program and never deletes it.
    QAccessibleBridge *create(const QString &) override
    {
        static RecordingBridge bridge;
        return &bridge;
    }
};

Q_IMPORT_PLUGIN(HeardAnnouncementsPlugin)

QStringList takeHeardAnnouncements()
{
    return std::exchange(heard, {});
}

#include "heardannouncements.moc"
