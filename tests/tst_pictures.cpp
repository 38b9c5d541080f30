// The picture files as made by tools/make-pictures: their structure, read byte by byte.
#include <QFile>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray resource(const char *name)
{
    QFile file(QStringLiteral(TALLYVEX_RESOURCES_DIR "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", name);
    return file.readAll();
}

quint16 word(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 dword(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

struct GifFrame
{
    int left, top, width, height, delay, transparentIndex;
    friend bool operator==(const GifFrame &, const GifFrame &) = default;
};

struct GifLayout
{
    QList<GifFrame> frames;
    int loopCount = -1;
    QList<QByteArray> comments;
    QList<QByteArray> applications;
};

// The blocks of a GIF89a file after its header and global colour table.
GifLayout readGifBlocks(const QByteArray &gif, qsizetype at)
{
    GifLayout layout;
    int delay = -1;
    int transparent = -1;
    const auto skipSubBlocks = [&](QByteArray *collected) {
        while (at < gif.size() && gif[at] != 0) {
            const int length = quint8(gif[at]);
            if (collected)
                collected->append(gif.mid(at + 1, length));
            at += 1 + length;
        }
        ++at;
    };
    while (at < gif.size() && quint8(gif[at]) != 0x3B) {
        const quint8 introducer = quint8(gif[at]);
        if (introducer == 0x21) {
            const quint8 label = quint8(gif[at + 1]);
            at += 2;
            if (label == 0xF9) {
                const quint8 flags = quint8(gif[at + 1]);
                delay = word(gif, at + 2);
                transparent = (flags & 1) ? quint8(gif[at + 4]) : -1;
                skipSubBlocks(nullptr);
            } else if (label == 0xFE) {
                layout.comments.append(QByteArray());
                skipSubBlocks(&layout.comments.last());
            } else if (label == 0xFF) {
                const QByteArray identifier = gif.mid(at + 1, 11);
                layout.applications.append(identifier);
                if (identifier == "NETSCAPE2.0")
                    layout.loopCount = word(gif, at + 14);
                skipSubBlocks(nullptr);
            } else {
                skipSubBlocks(nullptr);
            }
        } else if (introducer == 0x2C) {
            layout.frames.append({ word(gif, at + 1), word(gif, at + 3), word(gif, at + 5),
                                   word(gif, at + 7), delay, transparent });
            if (quint8(gif[at + 9]) & 0x80)
                qFatal("a frame has a colour table of its own");
            at += 11; // descriptor and LZW code size
            skipSubBlocks(nullptr);
        } else {
            qFatal("unknown GIF block 0x%02x", introducer);
        }
    }
    return layout;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureBoxGif();
    void applicationIcon();
};

void TestPictures::pictureBoxGif()
{
    const QByteArray gif = resource("picture1.gif");
    QCOMPARE(gif.left(6), QByteArray("GIF89a"));
    QCOMPARE(word(gif, 6), 113);
    QCOMPARE(word(gif, 8), 112);
    const quint8 flags = quint8(gif[10]);
    QVERIFY(flags & 0x80); // a global colour table ...
    QCOMPARE(2 << (flags & 0x07), 64); // ... of 64 colours
    QCOMPARE(int(quint8(gif[11])), 0); // background colour index

    const GifLayout layout = readGifBlocks(gif, 13 + 64 * 3);
    const QList<GifFrame> expected{
        { 0, 0, 113, 112, 120, -1 }, // the still, 1.2 s
        { 24, 82, 9, 3, 18, -1 },
        { 21, 30, 68, 55, 18, 1 },
        { 21, 23, 68, 17, 18, 1 },
    };
    QCOMPARE(layout.frames, expected);
    QCOMPARE(layout.loopCount, 0); // without end
    QCOMPARE(layout.comments.size(), 1);
    QVERIFY(!layout.comments[0].isEmpty());
    QVERIFY(layout.applications.contains("NETSCAPE2.0"));
    QCOMPARE(gif.back(), '\x3B');

    // Every frame decodes.
    QImageReader reader(QStringLiteral(TALLYVEX_RESOURCES_DIR "/picture1.gif"));
    QCOMPARE(reader.imageCount(), 4);
    for (int frame = 0; frame < 4; ++frame)
        QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
}

void TestPictures::applicationIcon()
{
    // The .ico and the Windows resources hold the same two 16-colour images with masks.
    const QByteArray ico = resource("tallyvex.ico");
    QCOMPARE(word(ico, 2), 1); // an icon
    QCOMPARE(word(ico, 4), 2);
    const QByteArray group = resource("icongroup-1.bin");
    QCOMPARE(word(group, 4), 2);
    const int sizes[] = { 32, 16 };
    const char *images[] = { "icon-30001.bin", "icon-30002.bin" };
    for (int i = 0; i < 2; ++i) {
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(int(quint8(ico[entry])), sizes[i]);
        QCOMPARE(int(quint8(ico[entry + 2])), 16); // colours
        QCOMPARE(word(ico, entry + 6), 4); // bits per pixel
        const QByteArray image = resource(images[i]);
        QCOMPARE(ico.mid(dword(ico, entry + 12), dword(ico, entry + 8)), image);
        // In the group the file offset gives way to the icon's resource number.
        const qsizetype groupEntry = 6 + 14 * i;
        QCOMPARE(group.mid(groupEntry, 12), ico.mid(entry, 12));
        QCOMPARE(word(group, groupEntry + 12), 30001 + i);
        // Colour rows, then a mask row of whole 32-bit words for each pixel row.
        const int colourBytes = sizes[i] * sizes[i] / 2;
        const int maskBytes = sizes[i] * 4;
        QCOMPARE(image.size(), 40 + 16 * 4 + colourBytes + maskBytes);
    }

    for (const char *png : { "tallyvex-32.png", "tallyvex-16.png" }) {
        const QImage image = QImage::fromData(resource(png));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // transparent ground
        const QColor middle = image.pixelColor(image.width() / 2, image.height() / 4);
        QCOMPARE(middle, QColor(255, 255, 0)); // yellow face
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
