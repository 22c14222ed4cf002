#pragma once

#include <QGroupBox>

// A frame with its title on the border, the border at half the title's
// height: the layout places the first controls just below the title. Styles
// that draw the title above the border (Fusion) would have the border run
// through those controls; there the frame is drawn as Qt's common style draws
// it, elsewhere by the style itself.
class TitledFrame : public QGroupBox
{
    Q_OBJECT

public:
    TitledFrame(const QString &title, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
