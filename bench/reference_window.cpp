// The least a Qt Widgets program can show: an empty window of the drill's
// size and background colour. The start-up benchmark measures against it.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 255));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setFixedSize(486, 312);
    window.setWindowTitle(QStringLiteral("reference"));
    window.show();
    return QApplication::exec();
}
