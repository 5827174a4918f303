// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's floor: the least a Qt 6 Widgets program of the calculator's size does to put a
// window with 12 big coloured bold push buttons on the screen. Each button shows its caption; a
// click only presses it. The benchmark times exec to this window being mapped.

#include "floordesign.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

namespace design = tavoro::bench::floorwindow;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(design::Width, design::Height);

    QFont font = window.font();
    font.setPointSize(design::PointSize);
    font.setBold(true);

    for (int i = 0; i < design::Columns * design::Rows; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(design::Captions[i]), &window);
        button->setFont(font);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor::fromRgb(design::Faces[i]));
        button->setPalette(palette);
        button->setGeometry(design::buttonLeft(i), design::buttonTop(i), design::ButtonSize,
            design::ButtonSize);
    }

    window.show();
    return QApplication::exec();
}
