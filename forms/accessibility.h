#pragma once

#include <QString>
#include <QWidget>

class QTimer;

// What screen readers get beyond the controls' own names and roles.

// Hides a helper control of a dialog that lies outside the dialog and is
// never meant to be seen, and leaves it out of the dialog's children as
// assistive technology sees them.
void keepOutOfAccessibility(QWidget *helper);

// Tells assistive technology that the name of `control` has changed, for a
// control named after a label whose text the program changed.
void notifyNameChanged(QWidget *control);

// A control without size that screen readers know as a notification: each
// announce() makes it appear anew, named by the text, and a screen reader
// speaks a notification as it appears. For outcomes that show up away from
// the keyboard focus, such as a result or the state of a background check.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    // Spoken once control returns to the event loop, so that of several
    // texts announced in one go only the last, the one left on show, is
    // spoken. Blank texts are not announced.
    void announce(const QString &text);

private:
    void appear();

    QTimer *pending_ = nullptr;
    QString text_;
};
