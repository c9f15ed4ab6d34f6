#include "platform/ProcessArgumentText.h"

#include "platform/NativePath.h"

ProcessArgumentText::ProcessArgumentText(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i)
        m_arguments.append(NativePath::fromBytes(argv[i]));
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
