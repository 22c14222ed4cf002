// The main window's event chains, each from the user's event to its last
// effect, in process on the offscreen platform: Enter in "Single Radius" to
// the result text, and a click on the unit mode "Metric" from state "IM".
// Medians over many runs; what is untimed (typing the radius, returning to
// "IM") happens between the runs.
#include "bench_rows.h"
#include "main_window/Form1.h"
#include "support/form1_controls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <cstdlib>

int main(int argc, char *argv[])
{
    int count = 0;
    std::vector<char *> arguments = offscreenArguments(argc, argv, count);
    QApplication application(count, arguments.data());
    const int runs = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;

    Form1 form;
    form.show();
    QApplication::processEvents();
    TextBox *single = form1::text1(form, 4);
    TextBox *result = form1::text1(form, 3);
    single->setFocus();

    std::vector<double> calculation;
    QElapsedTimer clock;
    for (int run = 0; run < runs + runs / 10; ++run) {
        single->setText(QStringLiteral("1000"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        clock.start();
        QApplication::sendEvent(single, &enter);
        const double nanoseconds = double(clock.nsecsElapsed());
        if (result->text() != u"80")
            qFatal("calculation gave \"%s\"", qPrintable(result->text()));
        if (run >= runs / 10) // the first tenth warms up
            calculation.push_back(nanoseconds / 1000.0);
    }

    std::vector<double> unitClick, unitHandlers;
    QRadioButton *metric = form1::option(form, 1, 2);
    for (int run = 0; run < runs / 10 + runs / 100; ++run) {
        for (const bool click : {true, false}) {
            form1::chooseUnits(form, QStringLiteral("IM"));
            if (form.unitCode() != u"IM")
                qFatal("not in state IM but %s", qPrintable(form.unitCode()));
            clock.start();
            if (click)
                QTest::mouseClick(metric, Qt::LeftButton);
            else
                metric->setChecked(true);
            const double nanoseconds = double(clock.nsecsElapsed());
            if (form.unitCode() != u"M")
                qFatal("unit change gave %s", qPrintable(form.unitCode()));
            if (run >= runs / 100)
                (click ? unitClick : unitHandlers).push_back(nanoseconds / 1000.0);
        }
    }

    printRow("calculation chain, Enter to result (median)", median(calculation), "us", "< 20");
    printRow("calculation chain, 90th percentile", percentile(calculation, 0.9), "us", "");
    printRow("unit change IM to M, click to captions (median)", median(unitClick), "us", "");
    printRow("unit change IM to M, click, 90th percentile", percentile(unitClick, 0.9), "us", "");
    printRow("unit change IM to M, selection to captions (median)", median(unitHandlers), "us", "");
    return 0;
}
