// The floor Tallyvex is measured against: the least a Qt Widgets program of the same shape can
// be. A main window with the calculator's client area and a menu bar, and one label moved a few
// pixels every 50 ms as the banner is.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

namespace {

constexpr QSize ClientArea{ 676, 465 };
constexpr int StepMs = 50;
constexpr int StepPixels = 4;

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tallyvex floor"));
    window.menuBar()->addAction(QStringLiteral("Help"));
    auto *surface = new QWidget(&window);
    surface->setFixedSize(ClientArea);
    window.setCentralWidget(surface);

    auto *label = new QLabel(QStringLiteral("A label that moves along the bottom"), surface);
    label->move(ClientArea.width(), ClientArea.height() - 30);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, label, [label] {
        const int left = label->x() - StepPixels;
        label->move(left < -label->width() ? ClientArea.width() : left, label->y());
    });
    timer.start(StepMs);

    window.show();
    return QApplication::exec();
}
