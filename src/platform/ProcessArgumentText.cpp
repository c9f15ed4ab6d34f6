#include "platform/ProcessArgumentText.h"

#include <QCoreApplication>

ProcessArgumentText::ProcessArgumentText()
    : ProcessArgumentText(QCoreApplication::arguments())
{
}

ProcessArgumentText::ProcessArgumentText(const QStringList &arguments)
    : m_arguments(arguments.mid(1))
{
}

QString ProcessArgumentText::argumentText() const
{
    QStringList parts;
    parts.reserve(m_arguments.size());
    for (const QString &argument : m_arguments) {
        if (argument.isEmpty() || argument.contains(QLatin1Char(' ')))
            parts.append(QLatin1Char('"') + argument + QLatin1Char('"'));
        else
            parts.append(argument);
    }
    return parts.join(QLatin1Char(' '));
}
