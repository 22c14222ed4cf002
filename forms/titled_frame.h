#pragma once

#include <QGroupBox>

// A frame with its title on the border, the border at half the title's
// height, whatever the application's style: the layout places the first
// controls just below the title, where some styles (Fusion) draw the border.
class TitledFrame : public QGroupBox
{
    Q_OBJECT

public:
    TitledFrame(const QString &title, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
