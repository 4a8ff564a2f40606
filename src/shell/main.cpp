// MX_806TR: the desktop programming software of the MX-806TR.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
