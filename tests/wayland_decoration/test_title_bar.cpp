#include "wayland_decoration/title_bar.h"

#include <QTest>

class TitleBarTest : public QObject
{
    Q_OBJECT

private slots:
    void partAt_data();
    void partAt();
};

namespace {

// The main window's flags; its surface, frame included, is 329 x 279.
constexpr Qt::WindowFlags fixedDialog = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
constexpr QSizeF surface(329, 279);

} // namespace

void TitleBarTest::partAt_data()
{
    QTest::addColumn<Qt::WindowFlags>("flags");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<TitleBarPart>("expected");

    // The buttons sit at the right end of the bar, 24 x 18, 2 apart.
    const QPointF close(312, 13.5);
    const QPointF nextLeft(-26, 0);
    QTest::newRow("close") << fixedDialog << close << TitleBarPart::Close;
    QTest::newRow("close, top left corner") << fixedDialog << QPointF(300, 4.5) << TitleBarPart::Close;
    QTest::newRow("no minimise unless asked for") << fixedDialog << close + nextLeft << TitleBarPart::Title;
    QTest::newRow("minimise where asked for")
        << (fixedDialog | Qt::WindowMinimizeButtonHint) << close + nextLeft << TitleBarPart::Minimise;
    QTest::newRow("never maximise") << (fixedDialog | Qt::WindowMinMaxButtonsHint) << close + 2 * nextLeft
                                    << TitleBarPart::Title;
    QTest::newRow("title") << fixedDialog << QPointF(60, 13) << TitleBarPart::Title;
    QTest::newRow("title beyond the close button") << fixedDialog << QPointF(326, 13) << TitleBarPart::Title;
    QTest::newRow("first row of the contents") << fixedDialog << QPointF(100, 26) << TitleBarPart::Contents;
    QTest::newRow("contents") << fixedDialog << QPointF(200, 200) << TitleBarPart::Contents;
    QTest::newRow("top border") << fixedDialog << QPointF(100, 0.5) << TitleBarPart::Border;
    QTest::newRow("left border") << fixedDialog << QPointF(0.5, 100) << TitleBarPart::Border;
    QTest::newRow("bottom border") << fixedDialog << QPointF(100, 278.5) << TitleBarPart::Border;
}

void TitleBarTest::partAt()
{
    QFETCH(Qt::WindowFlags, flags);
    QFETCH(QPointF, point);
    QFETCH(TitleBarPart, expected);

    QCOMPARE(titleBarPartAt(titleBarLayout(surface.width(), flags), surface, point), expected);
}

QTEST_APPLESS_MAIN(TitleBarTest)
#include "test_title_bar.moc"
