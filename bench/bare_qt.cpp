// The smallest Qt Widgets program: a window with one label. The start-up benchmark measures
// kelvo against it.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Qt"));
    label.setWindowTitle(QStringLiteral("bare qt"));
    label.resize(200, 100);
    label.show();
    return QApplication::exec();
}
