#include "core/identity.h"
#include "main_window/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(identity::programFileName));
    QApplication::setOrganizationName(QString::fromLatin1(identity::companyName));
    QApplication::setApplicationVersion(identity::localVersionText());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    Form1 form;
    form.show();
    return application.exec();
}
