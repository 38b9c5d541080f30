// Started by the launching tests: writes each argument after the first on a line of its own
// into the file the first names, so a test sees what arrived, character for character.
#include <QCoreApplication>
#include <QSaveFile>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return 2;
    QSaveFile record(arguments.takeFirst());
    if (!record.open(QIODevice::WriteOnly))
        return 1;
    for (const QString &argument : arguments)
        record.write(argument.toUtf8() + '\n');
    return record.commit() ? 0 : 1;
}
