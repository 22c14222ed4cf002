#pragma once

#include <QByteArray>
#include <QLocale>
#include <clocale>

// German for the C library and for Qt, where the decimal separator is a
// comma, until this goes. Without the locale a test of locale independence
// proves nothing: on Linux `.ci/install-packages --tests` provides it, and isSet()
// says whether it took.
class GermanLocale
{
public:
    GermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
#ifdef Q_OS_WIN
        const char *const name = "German_Germany.1252";
#else
        const char *const name = "de_DE.UTF-8";
#endif
        set_ = std::setlocale(LC_ALL, name) && QByteArray(std::localeconv()->decimal_point) == ",";
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
