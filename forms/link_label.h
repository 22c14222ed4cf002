#pragma once

#include <QLabel>

// A label that is a link: Tab reaches it, a focus ring shows around its
// text while it has the focus, and Space opens it, as on a push button;
// screen readers know it as a link they can press. Enter is left to the
// window, so that a dialog's default button still takes it. Mouse clicks are
// the window's to handle.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &text, QWidget *parent);

    // Opens the link: what Space and a screen reader's press do.
    void activate();

signals:
    void activated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
