#include "core/number_rules.h"
#include "core/window_placement.h"
#include "support/german_locale.h"

#include <QPointF>
#include <QRect>
#include <QTest>
#include <cmath>
#include <limits>

class NumberRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void readNumber_data();
    void readNumber();
    void readNumberKeepsTheSignOfZero();
    void readNumberIgnoresTheLocale();
    void readNumberOnVeryLongText();
    void formatWhole_data();
    void formatWhole();
    void formatWholeOfValuesWithoutAWholeNumber();
    void formatWholeRoundTripsThroughReadNumber();
    void centring_data();
    void centring();
    void placementOnScreens_data();
    void placementOnScreens();
};

void NumberRulesTest::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const double infinity = std::numeric_limits<double>::infinity();
    // Examples of the box rules
    QTest::newRow("plain") << "250" << 250.0;
    QTest::newRow("blanks anywhere") << " 1 200 " << 1200.0;
    QTest::newRow("comma ends the number") << "1,5" << 1.0;
    QTest::newRow("unit after the number") << "12.5m" << 12.5;
    QTest::newRow("leading period") << ".5" << 0.5;
    QTest::newRow("exponent") << "1E3" << 1000.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    // Removed and kept white space
    QTest::newRow("tabs and line feeds removed") << "\t1\n0\t0\n" << 100.0;
    QTest::newRow("carriage return ends the number") << "1\r00" << 1.0;
    QTest::newRow("no-break space ends the number") << QString::fromUtf16(u"1\u00a0000") << 1.0;
    QTest::newRow("blank between sign and digits") << "- 5" << -5.0;
    QTest::newRow("blank inside the exponent") << "1 E 3" << 1000.0;
    // Signs, periods
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("minus sign") << "-7.25" << -7.25;
    QTest::newRow("lone plus") << "+" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone period") << "." << 0.0;
    QTest::newRow("sign and period") << "-." << 0.0;
    QTest::newRow("two signs") << "+-5" << 0.0;
    QTest::newRow("trailing period") << "7." << 7.0;
    QTest::newRow("second period ends the number") << "1.2.3" << 1.2;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("letter first") << "x12" << 0.0;
    QTest::newRow("non-ASCII digits are not digits") << QString::fromUtf16(u"\u0661\u0662") << 0.0;
    // Exponents
    QTest::newRow("lower-case e") << "2e2" << 200.0;
    QTest::newRow("D exponent") << "1D3" << 1000.0;
    QTest::newRow("lower-case d exponent") << "1.5d2" << 150.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("positive exponent") << "2.5E+1" << 25.0;
    QTest::newRow("exponent without digits") << "5E" << 5.0;
    QTest::newRow("exponent sign without digits") << "5E-" << 5.0;
    QTest::newRow("exponent after period") << "5.E1" << 50.0;
    QTest::newRow("exponent without mantissa") << "E5" << 0.0;
    QTest::newRow("text after the exponent") << "1E2ft" << 100.0;
    // Out of range
    QTest::newRow("overflow") << "1E999" << infinity;
    QTest::newRow("negative overflow") << "-1E999" << -infinity;
    QTest::newRow("overflow by digits") << QString(400, u'9') << infinity;
    QTest::newRow("overflow with a negative exponent") << "1" + QString(400, u'0') + "E-10" << infinity;
    QTest::newRow("huge exponent") << "1E99999999999999999999" << infinity;
    QTest::newRow("underflow") << "1E-999" << 0.0;
    QTest::newRow("underflow by leading zeros") << "0." + QString(400, u'0') + "1" << 0.0;
    QTest::newRow("huge negative exponent") << "5E-99999999999999999999" << 0.0;
    QTest::newRow("subnormal kept") << "4.9E-324" << std::numeric_limits<double>::denorm_min();
    QTest::newRow("largest double") << "1.7976931348623157E308" << std::numeric_limits<double>::max();
    QTest::newRow("zero with huge exponent") << "0E99999" << 0.0;
    // Hexadecimal and octal integers, 32-bit two's complement
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex with blanks") << "& H 1 0" << 16.0;
    QTest::newRow("hex stops at a non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex 16-bit pattern stays positive") << "&HFFFF" << 65535.0;
    QTest::newRow("hex wraps to negative") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex smallest") << "&H80000000" << -2147483648.0;
    QTest::newRow("hex beyond 32 bits wraps") << "&H100000005" << 5.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("hex has no fraction") << "&H10.8" << 16.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal lower case") << "&o777" << 511.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("octal wraps") << "&O37777777777" << -1.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("ampersand with other letter") << "&B101" << 0.0;
    QTest::newRow("sign before ampersand") << "-&H10" << 0.0;
}

void NumberRulesTest::readNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ReadNumber(text), expected);
}

void NumberRulesTest::readNumberKeepsTheSignOfZero()
{
    QVERIFY(std::signbit(ReadNumber(u"-0")));
    QVERIFY(std::signbit(ReadNumber(u"-1E-999")));
    QVERIFY(!std::signbit(ReadNumber(u"1E-999")));
}

void NumberRulesTest::readNumberIgnoresTheLocale()
{
    const GermanLocale german;
    QVERIFY2(german.isSet(), "the locale de_DE.UTF-8 is missing");
    QCOMPARE(ReadNumber(u"1.5"), 1.5);
    QCOMPARE(ReadNumber(u"1,5"), 1.0);
    QCOMPARE(FormatWhole(1234567.0), QStringLiteral("1234567"));
}

void NumberRulesTest::readNumberOnVeryLongText()
{
    QString text = "12" + QString(1'000'000, u' ') + "34" + QString(1'000'000, u'x');
    QCOMPARE(ReadNumber(text), 1234.0);
}

void NumberRulesTest::formatWhole_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 80.0 << "80";
    QTest::newRow("below half") << 80.4672 << "80";
    QTest::newRow("above half") << 56.8989 << "57";
    QTest::newRow("2.5 away from zero") << 2.5 << "3";
    QTest::newRow("12.5 away from zero") << 12.5 << "13";
    QTest::newRow("3.5") << 3.5 << "4";
    QTest::newRow("-2.5 away from zero") << -2.5 << "-3";
    QTest::newRow("just below half") << 0.49999999999999994 << "0";
    QTest::newRow("0.4") << 0.4 << "0";
    QTest::newRow("half") << 0.5 << "1";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("small negative") << -0.4 << "0";
    QTest::newRow("negative") << -7.6 << "-8";
    QTest::newRow("2^53 + 2") << 9007199254740994.0 << "9007199254740994";
    QTest::newRow("above 2^63") << 18446744073709551616.0 << "18446744073709551616";
    QTest::newRow("1e20") << 1e20 << "100000000000000000000";
    QTest::newRow("largest double") << std::numeric_limits<double>::max()
                                    << "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
                                       "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
                                       "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
                                       "168738177180919299881250404026184124858368";
}

void NumberRulesTest::formatWhole()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatWhole(value), expected);
}

void NumberRulesTest::formatWholeOfValuesWithoutAWholeNumber()
{
    QCOMPARE(FormatWhole(std::numeric_limits<double>::infinity()), QString());
    QCOMPARE(FormatWhole(-std::numeric_limits<double>::infinity()), QString());
    QCOMPARE(FormatWhole(std::nan("")), QString());
}

void NumberRulesTest::formatWholeRoundTripsThroughReadNumber()
{
    for (double value : {0.0, 1.0, -42.0, 123456789.0, 1e300, -9007199254740993.0})
        QCOMPARE(ReadNumber(FormatWhole(value)), std::round(value));
}

void NumberRulesTest::centring_data()
{
    QTest::addColumn<float>("screenWidth");
    QTest::addColumn<float>("screenHeight");
    QTest::addColumn<float>("windowWidth");
    QTest::addColumn<float>("windowHeight");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");

    QTest::newRow("1280 x 720 keeps halves") << 19200.f << 10800.f << 4905.f << 3675.f << 7147.5f << 3562.5f;
    QTest::newRow("exact") << 28800.f << 16200.f << 4800.f << 3600.f << 12000.f << 6300.f;
    QTest::newRow("larger than the screen") << 4000.f << 3000.f << 4905.f << 3675.f << -452.5f << -337.5f;
}

void NumberRulesTest::centring()
{
    QFETCH(float, screenWidth);
    QFETCH(float, screenHeight);
    QFETCH(float, windowWidth);
    QFETCH(float, windowHeight);
    QFETCH(float, left);
    QFETCH(float, top);
    const TwipsPosition centre = centredPosition(screenWidth, screenHeight, windowWidth, windowHeight);
    QCOMPARE(centre.left, left);
    QCOMPARE(centre.top, top);
}

// In pixels here; the placement works in twips. The window is 327 x 252
// pixels; "two" is a 1920 x 1080 screen with a second one to its right,
// "one" the left screen alone.
void NumberRulesTest::placementOnScreens_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPointF>("stored");
    QTest::addColumn<QPointF>("shown");

    const QList<QRect> one{{0, 0, 1920, 1080}};
    const QList<QRect> two = one + QList<QRect>{{1920, 0, 1920, 1080}};
    QTest::newRow("on the right screen") << two << QPointF(2799, 100) << QPointF(2799, 100);
    QTest::newRow("right screen gone") << one << QPointF(2799, 100) << QPointF(1593, 100);
    QTest::newRow("31 pixels of the title shown") << one << QPointF(1889, 100) << QPointF(1593, 100);
    QTest::newRow("48 pixels of the title shown") << one << QPointF(1872, 100) << QPointF(1872, 100);
    QTest::newRow("over both screens") << two << QPointF(1800, 100) << QPointF(1800, 100);
    QTest::newRow("over both, the title on the right one") << two << QPointF(1880, 100) << QPointF(1880, 100);
    QTest::newRow("46 pixels shown at the left edge") << one << QPointF(-281, 100) << QPointF(0, 100);
    QTest::newRow("title half above the screen") << one << QPointF(100, -8) << QPointF(100, 0);
    QTest::newRow("16 title rows at the bottom") << one << QPointF(100, 1064) << QPointF(100, 1064);
    QTest::newRow("below the screen") << one << QPointF(100, 1333) << QPointF(100, 828);
    QTest::newRow("far left of two") << two << QPointF(-2000, -500) << QPointF(0, 0);
    const QList<QRect> lowRight = one + QList<QRect>{{1920, 0, 1280, 720}};
    QTest::newRow("nearest of two screens of different heights") << lowRight << QPointF(2200, 900) << QPointF(2200, 468);
    QTest::newRow("nearer the left screen's corner than the right's side")
        << lowRight << QPointF(2300, 1150) << QPointF(1593, 828);
    QTest::newRow("far below the right screen") << lowRight << QPointF(3050, 2600) << QPointF(2873, 468);
    QTest::newRow("screen smaller than the window") << QList<QRect>{{0, 0, 200, 100}} << QPointF(500, 500)
                                                   << QPointF(0, 0);
    QTest::newRow("fractions kept while shown") << one << QPointF(476.5, 237.5) << QPointF(476.5, 237.5);
    QTest::newRow("no screens known") << QList<QRect>{} << QPointF(-5000, -5000) << QPointF(-5000, -5000);
}

void NumberRulesTest::placementOnScreens()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QPointF, stored);
    QFETCH(QPointF, shown);
    std::vector<TwipsRect> twips;
    for (const QRect &screen : screens)
        twips.push_back({float(screen.x() * 15), float(screen.y() * 15), float(screen.width() * 15),
                         float(screen.height() * 15)});
    const TwipsPosition placed = positionOnScreens({float(stored.x() * 15), float(stored.y() * 15)}, 327 * 15, 252 * 15, twips);
    QCOMPARE(placed.left, float(shown.x() * 15));
    QCOMPARE(placed.top, float(shown.y() * 15));
}

QTEST_APPLESS_MAIN(NumberRulesTest)
#include "test_number_rules.moc"
