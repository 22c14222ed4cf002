#pragma once

#include <QByteArray>
#include <QLocale>
#include <clocale>

// German for the C library and for Qt, where the decimal separator is a
// comma, until this goes. Without the locale a test of locale independence
// proves nothing: `.ci/install-packages --tests` provides it, and isSet()
// says whether it took.
class GermanLocale
{
public:
    GermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        set_ = std::setlocale(LC_ALL, "de_DE.UTF-8") && QByteArray(std::localeconv()->decimal_point) == ",";
    }
    ~GermanLocale()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(previous_);
    }
    GermanLocale(const GermanLocale &) = delete;
    GermanLocale &operator=(const GermanLocale &) = delete;

    bool isSet() const { return set_; }

private:
    QLocale previous_;
    bool set_ = false;
};
