// The fair yardstick of start-up: a main window with the same standard
// controls as the program's, in the same face and at the same places, made
// the plain Qt way (no tables, no text box of its own, no settings, no
// caption fitting). Against it the program shows what its own work costs.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename Control>
Control *place(Control *control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Ferrox SpdCalc"));
    window.menuBar()->addAction(QStringLiteral("&About"));
    auto *client = new QWidget;
    client->setFixedSize(321, 201);
    window.setCentralWidget(client);

    auto *radius = place(new QGroupBox(QStringLiteral("CURVE RADIUS (m)"), client), 8, 0, 185, 193);
    const char *labels[] = {"Left Outer Radius", "Right Outer Radius", "Inner Radius", "Single Radius"};
    const int rows[] = {16, 40, 64, 104};
    for (int row = 0; row < 4; ++row) {
        place(new QLabel(QString::fromLatin1(labels[row]), radius), 8, rows[row], 121, 17)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(new QLineEdit(radius), 136, rows[row], 41, 19)->setAlignment(Qt::AlignCenter);
    }
    place(new QLabel(QStringLiteral("OR"), radius), 8, 88, 169, 17)->setAlignment(Qt::AlignCenter);
    auto *line = place(new QFrame(radius), 8, 128, 168, 1);
    line->setFrameShape(QFrame::HLine);
    place(new QPushButton(QStringLiteral("CALCULATE"), radius), 8, 136, 169, 25);
    place(new QLabel(QStringLiteral("Maximum Speed (km/h)"), radius), 8, 168, 121, 17)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(new QLineEdit(radius), 136, 168, 41, 19)->setReadOnly(true);

    auto *units = place(new QGroupBox(QStringLiteral("UNIT OF MEASURE"), client), 200, 0, 113, 193);
    for (const auto &[caption, top] : {std::pair{"Both", 16}, {"Imperial", 32}, {"Metric", 48}})
        place(new QRadioButton(QString::fromLatin1(caption), units), 24, top, 65, 17);
    for (const auto &[title, top] : {std::pair{"DISTANCE", 72}, {"SPEED", 128}}) {
        auto *frame = place(new QGroupBox(QString::fromLatin1(title), units), 16, top, 81, 53);
        frame->setEnabled(false);
        place(new QRadioButton(QStringLiteral("Imperial"), frame), 8, 16, 65, 17);
        place(new QRadioButton(QStringLiteral("Metric"), frame), 8, 32, 65, 17)->setChecked(true);
    }
    window.show();
    return application.exec();
}
